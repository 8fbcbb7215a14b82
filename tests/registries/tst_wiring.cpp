// Every button that opens a registry opens the right window, and a list the
// payables screens pick from is read again when the registry closes, so a
// supplier just registered can be picked at once.

#include "ProgramFixture.h"
#include "TestMain.h"
#include "payables/PayablesLookups.h"
#include "payables/frmPagarManutencao.h"
#include "payables/frmPagarNovo.h"
#include "program/FrmPrincipal.h"
#include "widgets/BigToolBar.h"
#include "widgets/Modal.h"

#include <QAction>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(QDate(2024, 4, 29), QTime(10, 0)), "ANA") {}
};

// Runs press and returns the object names of the windows it opened modally;
// while one is open, during() runs (another workstation's work, say).
QStringList opened(const std::function<void()> &press, const std::function<void()> &during = {})
{
    QStringList names;
    Modal::ScopedHandler seen([&](QDialog *d) {
        names << d->objectName();
        if (during)
            during();
        return int(QDialog::Rejected);
    });
    press();
    return names;
}

QAction *action(QWidget *w, const QString &text)
{
    for (QAction *a : w->findChildren<QAction *>())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class TstWiring : public QObject
{
    Q_OBJECT
private slots:
    void maintenanceScreen();
    void newPayableScreen();
    void mainWindow();
};

void TstWiring::maintenanceScreen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    frmPagarManutencao w;
    w.lookups()->openAll();
    BigToolBar *bar = w.registryBar();
    QAction *fornecedor = action(bar, "&Fornecedor");
    QVERIFY(fornecedor);
    QCOMPARE(opened([&] { fornecedor->trigger(); },
                    [&] { f.exec("insert into fornecedor (Nome) values ('RECEM CADASTRADO')"); }),
             QStringList{"frmFornecedor"});
    QVERIFY(w.lookups()->tbfornecedor->locate("Nome", "RECEM CADASTRADO"));
    QCOMPARE(opened([&] { action(bar, "&C.&Custo ")->trigger(); }), QStringList{"FrmGerencial"});
    QCOMPARE(opened([&] { action(bar, "&T.Despesa")->trigger(); }), QStringList{"FrmTipoDespesa"});
}

void TstWiring::newPayableScreen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    PayablesLookups lookups(DM::instance()->MyConnection1);
    lookups.openAll();
    frmPagarNovo w(&lookups);
    const QList<QPair<QString, QString>> pictures{{"TSpeedButton11", "frmFornecedor"},
                                                  {"TSpeedButton13", "FrmGerencial"},
                                                  {"SpeedButton6", "FrmFilial"},
                                                  {"TSpeedButton12", "FrmTipoDespesa"}};
    for (const auto &[button, window] : pictures) {
        auto *b = w.findChild<QToolButton *>(button);
        QVERIFY2(b, qPrintable(button));
        QCOMPARE(opened([b] { b->click(); }), QStringList{window});
    }
    const QList<QPair<QString, QString>> tools{{"ToolButton3", "frmFornecedor"},
                                               {"ToolButton4", "FrmGerencial"},
                                               {"ToolButton9", "FrmTipoDespesa"}};
    for (const auto &[name, window] : tools) {
        auto *a = w.findChild<QAction *>(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(opened([a] { a->trigger(); }), QStringList{window});
    }
    // A branch registered meanwhile is in the branch pick list's list.
    QCOMPARE(opened([&] { w.findChild<QToolButton *>("SpeedButton6")->click(); },
                    [&] { f.exec("insert into filial (Nomefilial) values ('FILIAL NOVA')"); }),
             QStringList{"FrmFilial"});
    QVERIFY(lookups.tbfilial->locate("Nomefilial", "FILIAL NOVA"));
}

void TstWiring::mainWindow()
{
    Fixture f;
    REQUIRE_DB(f.db);
    FrmPrincipal w;
    QCOMPARE(w.button(3)->text(), QString("&Banco/Conta"));
    QCOMPARE(opened([&] { w.button(3)->click(); }), QStringList{"FrmConta"});
}

CP_TEST(TstWiring)
#include "tst_wiring.moc"
