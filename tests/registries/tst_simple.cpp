// The branch, cost-centre and expense-type windows (one window described by
// data): their searches and messages as one table over the three members,
// insert/edit/delete with the payables count in the question, the record
// keys, the question before a pending edit is replaced, and the 5-second
// re-read against a second connection.

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "db/RecordSet.h"
#include "registries/SimpleRegistryWindow.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/UpperEdit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using Member = SimpleRegistryWindow::Member;
Q_DECLARE_METATYPE(Member)

namespace {

const QString kConflict = "Registro alterado por outra estação. Os dados foram relidos.";

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(QDate(2024, 4, 29), QTime(10, 0)), "ANA") {}
};

// The same four names in each table: codes 1, 2, 10, 11.
void fill(Fixture &f, Member m)
{
    const auto &s = SimpleRegistryWindow::spec(m);
    f.exec(QString("insert into %1 (%2, %3) values (1, 'ALFA'), (2, 'D''AVILA'), "
                   "(10, 'ALFAJOR'), (11, 'BETA')")
               .arg(s.table, s.codeColumn, s.nameColumn));
}

QList<int> codes(SimpleRegistryWindow &w)
{
    QList<int> c;
    RecordSet *rs = w.rows();
    for (int i = 0; i < rs->recordCount(); ++i)
        c << rs->valueAt(i, w.windowSpec().codeColumn).toInt();
    return c;
}

// The window as a clerk has it: shown, its list open.
struct Window
{
    explicit Window(Member m) : w(SimpleRegistryWindow::spec(m))
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    ~Window()
    {
        w.rows()->cancel(); // nothing left to ask about
        if (w.isVisible())
            w.reject();
    }
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    void search(const QString &how, const QString &typed)
    {
        w.searchEdit()->clear();
        type(w.searchEdit(), typed);
        if (how == "code")
            QTest::mouseClick(w.codeButton(), Qt::LeftButton);
        else if (how == "name")
            QTest::mouseClick(w.nameButton(), Qt::LeftButton);
        else
            QTest::mouseClick(w.letterButton(typed.at(0)), Qt::LeftButton);
    }
    SimpleRegistryWindow w;
};

const QList<Member> kMembers{Member::FrmFilial, Member::FrmGerencial, Member::FrmTipoDespesa};

// The searches only read: their rows share one database, filled once.
std::unique_ptr<Fixture> g_searchDb;

} // namespace

class TstSimpleRegistries : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase() { g_searchDb.reset(); }
    void windowsAsDescribed();
    void searches_data();
    void searches();
    void insertEditAndDelete_data();
    void insertEditAndDelete();
    void recordKeys();
    void pendingEditBeforeSearch_data();
    void pendingEditBeforeSearch();
    void rereadSeesAnotherWorkstation();
    void rereadLeavesAnEditAlone();
};

void TstSimpleRegistries::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "searches") != 0)
        g_searchDb.reset();
}

void TstSimpleRegistries::windowsAsDescribed()
{
    Fixture f;
    REQUIRE_DB(f.db);
    struct Expect
    {
        Member member;
        QString title, gridTitle;
        QList<int> order; // as the window opens
    };
    const QList<Expect> expected{
        {Member::FrmFilial, "Cadastro de Filial / Loja", "Nome da Filial", {1, 10, 11, 2}},
        {Member::FrmGerencial, "CENTRAL DE CUSTO", "Descrição da Central de Custo", {1, 10, 11, 2}},
        {Member::FrmTipoDespesa, "TIPO DE DESPESA", "Descrição do Tipo Despesa", {1, 2, 10, 11}},
    };
    for (const Expect &e : expected) {
        fill(f, e.member);
        Window win(e.member);
        QCOMPARE(win.w.windowTitle(), e.title);
        QCOMPARE(win.w.grid()->columns().at(1).title, e.gridTitle);
        QCOMPARE(codes(win.w), e.order);
        QVERIFY(win.w.mainBar()->isVisible());
        QVERIFY(win.w.navigationBar()->isVisible());
        QCOMPARE(win.w.navigationBar()->x(), 174);
        QVERIFY(!win.w.editBar()->isVisible());
        QVERIFY(win.w.rereadTimer()->isActive());
        QCOMPARE(win.w.rereadTimer()->interval(), 5000);
        win.w.reject();
        QVERIFY(!win.w.rows()->isOpen());
    }
}

void TstSimpleRegistries::searches_data()
{
    QTest::addColumn<Member>("member");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<int>("message"); // 0 none, 1 code not found, 2 name not found, 3 empty

    struct Case
    {
        const char *name, *how, *typed;
        QList<int> found;
        int message;
    };
    const QList<Case> cases{
        {"code 1 is exact", "code", "1", {1}, 0},
        {"code trimmed", "code", " 10 ", {10}, 0},
        {"code empty", "code", "", {}, 1},
        {"code blanks only", "code", "   ", {}, 1},
        {"code unknown", "code", "99", {}, 1},
        {"name prefix, by name", "name", "ALF", {1, 10}, 0},
        {"name lower case typed", "name", "beta", {11}, 0},
        {"name with quote", "name", "D'AV", {2}, 0},
        {"name wildcard typed", "name", "%JOR", {10}, 0},
        {"name empty lists all", "name", "", {1, 10, 11, 2}, 3},
        {"name unknown", "name", "ZZ", {}, 2},
        {"letter", "letter", "B", {11}, 0},
        {"letter without names", "letter", "Q", {}, 0},
    };
    for (Member m : kMembers)
        for (const Case &c : cases)
            QTest::addRow("%s: %s", qPrintable(SimpleRegistryWindow::spec(m).objectName), c.name)
                << m << QString(c.how) << QString(c.typed) << c.found << c.message;
}

void TstSimpleRegistries::searches()
{
    QFETCH(Member, member);
    QFETCH(QString, how);
    QFETCH(QString, typed);
    QFETCH(QList<int>, found);
    QFETCH(int, message);
    if (!g_searchDb) {
        g_searchDb = std::make_unique<Fixture>();
        REQUIRE_DB(g_searchDb->db);
        for (Member m : kMembers)
            fill(*g_searchDb, m);
    }
    Window win(member);
    ScriptedMessages boxes;
    win.search(how, typed);
    QCOMPARE(codes(win.w), found);
    const auto &s = win.w.windowSpec();
    const QStringList texts{s.codeNotFound, s.nameNotFound, s.nameEmpty};
    if (message == 0) {
        QCOMPARE(boxes.texts(), QStringList());
    } else {
        QCOMPARE(boxes.texts(), QStringList{texts[message - 1]});
        QCOMPARE(boxes.boxes.first().title, QString("Atenção"));
        QCOMPARE(boxes.boxes.first().icon, QMessageBox::Warning);
        QVERIFY(win.w.searchEdit()->hasFocus());
    }
}

void TstSimpleRegistries::insertEditAndDelete_data()
{
    QTest::addColumn<Member>("member");
    QTest::addColumn<QString>("question");
    QTest::newRow("branch") << Member::FrmFilial << "Deseja excluir o Registro da Filial?";
    QTest::newRow("cost centre") << Member::FrmGerencial
                                 << "Deseja excluir o Registro da Cetral de Custo?";
    QTest::newRow("expense type") << Member::FrmTipoDespesa
                                  << "Deseja excluir o Registro do Tipo de Despesa?";
}

void TstSimpleRegistries::insertEditAndDelete()
{
    QFETCH(Member, member);
    QFETCH(QString, question);
    Fixture f;
    REQUIRE_DB(f.db);
    fill(f, member);
    const auto &s = SimpleRegistryWindow::spec(member);
    auto name = [&](int code) {
        return f
            .scalar(QString("select %1 from %2 where %3 = %4")
                        .arg(s.nameColumn, s.table, s.codeColumn)
                        .arg(code))
            .toString();
    };
    Window win(member);
    ScriptedMessages boxes;

    // "Incluir" given up: nothing is written, though the grid moves to
    // another row while the new one goes.
    win.w.incluir();
    win.type(win.w.nameEdit(), "desisto");
    win.w.cancelar();
    QCOMPARE(f.count(s.table), 4);
    QCOMPARE(win.w.rows()->recordCount(), 4);
    QVERIFY(win.w.mainBar()->isVisible() && !win.w.editBar()->isVisible());

    // "Incluir": only the edit bar; the name typed in upper case; "Salvar".
    win.w.incluir();
    QVERIFY(win.w.editBar()->isVisible());
    QCOMPARE(win.w.editBar()->x(), 2);
    QVERIFY(!win.w.mainBar()->isVisible());
    win.type(win.w.nameEdit(), "gama");
    win.w.salvar();
    QVERIFY(!win.w.editBar()->isVisible() && win.w.mainBar()->isVisible());
    const int code = win.w.rows()->value(s.codeColumn).toInt();
    QCOMPARE(code, 12);
    QCOMPARE(name(12), QString("GAMA"));

    // Typing in a stored row edits it in place; the bars stay; moving saves.
    win.w.primeiro();
    QCOMPARE(win.w.rows()->value(s.codeColumn).toInt(), codes(win.w).first());
    const int first = codes(win.w).first();
    win.w.nameEdit()->end(false);
    win.type(win.w.nameEdit(), " X");
    QCOMPARE(win.w.rows()->state(), RecordSet::State::Edit);
    QVERIFY(win.w.mainBar()->isVisible() && !win.w.editBar()->isVisible());
    win.w.proximo();
    QCOMPARE(win.w.rows()->state(), RecordSet::State::Browse);
    QVERIFY(name(first).endsWith(" X"));

    // Two payables refer to code 11: the question says so; No keeps the row.
    f.exec(QString("insert into pagar (Nota, %1) values ('P1', 11), ('P2', 11)")
               .arg(s.payablesColumn));
    QVERIFY(win.w.rows()->locate(s.codeColumn, 11));
    boxes.answers = {QMessageBox::No};
    win.w.excluir();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Exclusão"));
    QCOMPARE(boxes.boxes[0].text,
             question + "\n\nHá 2 contas a pagar que se referem a este registro; elas "
                        "continuarão com o nome copiado.");
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
    QCOMPARE(f.count(s.table), 5);
    boxes.answers = {QMessageBox::Yes};
    win.w.excluir();
    QCOMPARE(f.count(s.table), 4);
    QCOMPARE(f.count("pagar"), 2); // still allowed; the payables keep their copies

    // A row no payable refers to: the plain question.
    QVERIFY(win.w.rows()->locate(s.codeColumn, 12));
    boxes.answers = {QMessageBox::Yes};
    win.w.excluir();
    QCOMPARE(boxes.boxes.last().text, question);
    QCOMPARE(f.count(s.table), 3);
    QCOMPARE(boxes.unexpected, 0);
}

void TstSimpleRegistries::recordKeys()
{
    Fixture f;
    REQUIRE_DB(f.db);
    fill(f, Member::FrmFilial);
    Window win(Member::FrmFilial);
    ScriptedMessages boxes;
    RecordSet *rs = win.w.rows();
    QWidget *focus = win.w.nameEdit();
    focus->setFocus();

    QTest::keyClick(focus, Qt::Key_F4, Qt::ControlModifier); // last
    QCOMPARE(rs->value("Codigofilial").toInt(), 2);
    QTest::keyClick(focus, Qt::Key_F1, Qt::ControlModifier); // first
    QCOMPARE(rs->value("Codigofilial").toInt(), 1);
    QTest::keyClick(focus, Qt::Key_F3, Qt::ControlModifier); // next
    QCOMPARE(rs->value("Codigofilial").toInt(), 10);
    QTest::keyClick(focus, Qt::Key_F2, Qt::ControlModifier); // prior
    QCOMPARE(rs->value("Codigofilial").toInt(), 1);

    // Ctrl+A in the edit edits the row (and does not select the text).
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(rs->state(), RecordSet::State::Edit);
    QVERIFY(!win.w.nameEdit()->hasSelectedText());
    QTest::keyClick(focus, Qt::Key_N, Qt::ControlModifier); // cancel
    QCOMPARE(rs->state(), RecordSet::State::Browse);

    // Ctrl+I inserts, the bars stay as they are; Ctrl+S posts.
    QTest::keyClick(focus, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(rs->state(), RecordSet::State::Insert);
    QVERIFY(win.w.mainBar()->isVisible());
    QTest::keyClicks(focus, "nova");
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(rs->state(), RecordSet::State::Browse);
    QCOMPARE(f.scalar("select count(*) from filial where Nomefilial = 'NOVA'").toInt(), 1);

    // Ctrl+E deletes at once, without a question.
    QTest::keyClick(focus, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(f.scalar("select count(*) from filial where Nomefilial = 'NOVA'").toInt(), 0);
    QCOMPARE(boxes.boxes.size(), 0);

    // Enter moves on like Tab, it never presses a button.
    win.w.searchEdit()->setFocus();
    QTest::keyClick(win.w.searchEdit(), Qt::Key_Return);
    QVERIFY(!win.w.searchEdit()->hasFocus());
    QCOMPARE(boxes.boxes.size(), 0);

    // Ctrl+F closes.
    QTest::keyClick(focus, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!win.w.isVisible());
}

void TstSimpleRegistries::pendingEditBeforeSearch_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored"); // name of code 1 afterwards
    QTest::addColumn<bool>("searched");
    QTest::newRow("Yes saves, then searches") << int(QMessageBox::Yes) << "ALFA Y" << true;
    QTest::newRow("No drops, then searches") << int(QMessageBox::No) << "ALFA" << true;
    QTest::newRow("Cancel stays in the edit") << int(QMessageBox::Cancel) << "ALFA" << false;
}

void TstSimpleRegistries::pendingEditBeforeSearch()
{
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(bool, searched);
    Fixture f;
    REQUIRE_DB(f.db);
    fill(f, Member::FrmGerencial);
    Window win(Member::FrmGerencial);
    QVERIFY(win.w.rows()->locate("codigogerencial", 1));
    win.w.nameEdit()->end(false);
    win.type(win.w.nameEdit(), " Y");
    ScriptedMessages boxes({QMessageBox::StandardButton(answer)});
    win.search("letter", "B");
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QString("Deseja salvar as alterações?"));
    QCOMPARE(f.scalar("select Gerencial from contagerencial where codigogerencial = 1").toString(),
             stored);
    QCOMPARE(codes(win.w), (searched ? QList<int>{11} : QList<int>{1, 10, 11, 2}));
    QCOMPARE(win.w.rows()->isEditing(), !searched);
}

void TstSimpleRegistries::rereadSeesAnotherWorkstation()
{
    Fixture f;
    REQUIRE_DB(f.db);
    fill(f, Member::FrmGerencial);
    Window win(Member::FrmGerencial);
    win.w.setRereadInterval(100);
    RecordSet *rs = win.w.rows();
    QVERIFY(rs->locate("codigogerencial", 11)); // BETA, third by name
    // Another workstation renames BETA, adds a row before it and deletes one.
    f.exec("update contagerencial set Gerencial = 'BETA NOVA' where codigogerencial = 11");
    f.exec("insert into contagerencial (codigogerencial, Gerencial) values (20, 'AAA')");
    f.exec("delete from contagerencial where codigogerencial = 10");
    QTRY_COMPARE_WITH_TIMEOUT(codes(win.w), (QList<int>{20, 1, 11, 2}), 3000);
    // The current row is still BETA, now under its new name, and the grid shows it.
    QCOMPARE(rs->value("codigogerencial").toInt(), 11);
    QCOMPARE(win.w.nameEdit()->text(), QString("BETA NOVA"));
    QCOMPARE(win.w.grid()->currentRow(), 2);
}

void TstSimpleRegistries::rereadLeavesAnEditAlone()
{
    Fixture f;
    REQUIRE_DB(f.db);
    fill(f, Member::FrmTipoDespesa);
    Window win(Member::FrmTipoDespesa);
    win.w.setRereadInterval(100);
    RecordSet *rs = win.w.rows();
    QVERIFY(rs->locate("codigodespesa", 11));
    win.w.nameEdit()->end(false);
    win.type(win.w.nameEdit(), " MINHA");
    QCOMPARE(rs->state(), RecordSet::State::Edit);
    f.exec("update tipodespesa set despesa = 'DE OUTRA ESTACAO' where codigodespesa = 11");
    f.exec("insert into tipodespesa (codigodespesa, despesa) values (30, 'NOVA')");
    QTest::qWait(600); // several re-read intervals
    QCOMPARE(rs->state(), RecordSet::State::Edit);
    QCOMPARE(rs->recordCount(), 4);
    QCOMPARE(win.w.nameEdit()->text(), QString("BETA MINHA"));

    // Saving over the other workstation's change is refused and shows its row.
    ScriptedMessages boxes;
    win.w.salvar();
    QCOMPARE(boxes.texts(), QStringList{kConflict});
    QCOMPARE(rs->state(), RecordSet::State::Browse);
    QCOMPARE(win.w.nameEdit()->text(), QString("DE OUTRA ESTACAO"));
    QCOMPARE(f.scalar("select despesa from tipodespesa where codigodespesa = 11").toString(),
             QString("DE OUTRA ESTACAO"));
    // Browsing again, the re-read brings the new row in.
    QTRY_COMPARE_WITH_TIMEOUT(rs->recordCount(), 5, 3000);
    QCOMPARE(rs->value("codigodespesa").toInt(), 11);
}

CP_TEST(TstSimpleRegistries)
#include "tst_simple.moc"
