// The windows on a real desk: every window of the program opened the way the
// program opens it, on the screen the test runs on (the CTest entries give
// the offscreen platform a 1366 x 768 and a 1280 x 720 screen), must lie
// whole inside the work area without being squeezed below what its layout
// needs; the payables screen's controls stay whole and reachable while its
// list gives up the width. And a non-modal preview opened from the modal
// payables screen takes a real click through the window system.
//
// With CP_SCREENSHOT_DIR set, every window is also saved there as a picture
// of the whole screen, to be looked at (run it under Xvfb for a real X
// screen: QT_QPA_PLATFORM=xcb xvfb-run -s "-screen 0 1366x768x24" ...).

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "app/MenuActions.h"
#include "db/RecordSet.h"
#include "payables/FrmBaixaPagar.h"
#include "payables/FrmBaixarNovo.h"
#include "payables/PayablesLookups.h"
#include "payables/frmPagarManutencao.h"
#include "payables/frmPagarNovo.h"
#include "program/FrmPrincipal.h"
#include "registries/PickLists.h"
#include "report/ReportPreview.h"
#include "reports/ReportDialogs.h"
#include "reports/Reports.h"
#include "textprint/TextPreview.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <functional>

namespace {

struct DemoFixture : ProgramFixture
{
    DemoFixture() : ProgramFixture(QDateTime::currentDateTime(), QStringLiteral("ADMIN"))
    {
        if (db.ok() &&
            !db.loadSqlFile(TestDb::sourceDir() + QStringLiteral("/src/schema/demo.sql")))
            qFatal("demo.sql could not be loaded");
        Reports::registerHubEntries();
    }
    // 150 more open payables over the next 60 days: the general open report
    // takes several pages.
    void manyOpen()
    {
        exec("insert into pagar (Nota, notacontrole, Nome, CodigoFornecedor, Codigofilial, "
             "filial, nomefilial, Valor, total, Dataemissao, Datavenc, pago, negociacao) "
             "select concat('T', seq), concat('T', seq, '/1'), 'FORNECEDOR DE TESTE', 99, 1, "
             "'MATRIZ CAMPINAS', 'MATRIZ CAMPINAS', 10, 10, curdate(), "
             "curdate() + interval (seq mod 60) day, 'N', 'N' from seq_1_to_150");
    }
};

QRect workArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QString sizeName()
{
    const QRect a = QGuiApplication::primaryScreen()->geometry();
    return QStringLiteral("%1x%2").arg(a.width()).arg(a.height());
}

// The whole screen with the window on it, when pictures are asked for.
void picture(const QString &name)
{
    const QString dir = qEnvironmentVariable("CP_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QTest::qWait(50);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    shot.save(QStringLiteral("%1/%2-%3.png").arg(dir, sizeName(), name));
}

// Looks at a window as the clerk gets it and notes what is wrong with it.
struct Inspector
{
    QStringList faults;
    QStringList seen;

    void look(QWidget *window, const QString &name)
    {
        if (!window->isVisible())
            window->show();
        if (!QTest::qWaitForWindowExposed(window))
            faults << name + QStringLiteral(": never shown");
        QTest::qWait(20); // the second look after the window system placed it
        seen << name;
        const QRect frame = window->frameGeometry();
        if (!workArea().contains(frame))
            faults << QStringLiteral("%1: frame %2,%3 %4x%5 outside the work area %6x%7")
                          .arg(name)
                          .arg(frame.x())
                          .arg(frame.y())
                          .arg(frame.width())
                          .arg(frame.height())
                          .arg(workArea().width())
                          .arg(workArea().height());
        // Fitted by its layout, not by squeezing the layout below its needs.
        const QSize need = window->minimumSizeHint();
        if (window->layout() &&
            (window->width() < need.width() || window->height() < need.height()))
            faults << QStringLiteral("%1: %2x%3 is less than its layout needs (%4x%5)")
                          .arg(name)
                          .arg(window->width())
                          .arg(window->height())
                          .arg(need.width())
                          .arg(need.height());
        picture(name);
    }

    // Whole and inside its window: not cut by the window's edge or a parent.
    void reachable(QWidget *w, const QString &name)
    {
        if (!w || !w->isVisible()) {
            faults << name + QStringLiteral(": not shown");
            return;
        }
        const QRect inWindow(w->mapTo(w->window(), QPoint(0, 0)), w->size());
        if (!w->window()->rect().contains(inWindow) || w->visibleRegion() != QRegion(w->rect()))
            faults << name + QStringLiteral(": cut off");
    }
};

Modal::Handler inspecting(Inspector &inspector, std::function<void(QDialog *)> inside = {})
{
    return [&inspector, inside](QDialog *dialog) {
        inspector.look(dialog, dialog->objectName().isEmpty()
                                   ? QString::fromLatin1(dialog->metaObject()->className())
                                   : dialog->objectName());
        if (inside)
            inside(dialog);
        return int(QDialog::Rejected);
    };
}

template <class T> T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    return nullptr;
}

Reports::Params demoPeriod()
{
    Reports::Params p;
    p.dataI = QDate::currentDate().addDays(-90);
    p.dataF = QDate::currentDate().addDays(90);
    return p;
}

} // namespace

class TstWindowFit : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowFitsTheScreen();
    void hubGivesTheWidthToItsList();
    void optionDialogShowsEveryTab();
};

void TstWindowFit::everyWindowFitsTheScreen()
{
    DemoFixture f;
    REQUIRE_DB(f.db);
    ScriptedMessages boxes; // a box that comes up unasked fails below
    Inspector in;
    FrmPrincipal main;
    main.show();
    in.look(&main, QStringLiteral("FrmPrincipal"));

    auto *hub = new frmPagarManutencao(&main);
    hub->setUserName(QStringLiteral("ADMIN"));
    Modal::ScopedHandler outer([&](QDialog *d) {
        in.look(d, QStringLiteral("frmPagarManutencao"));
        // Everything the hub opens, over the hub.
        Modal::ScopedHandler nested(inspecting(in));
        hub->ToolButton1Click(); // the new payable, its supplier pick list over it
        hub->tbPagar()->first();
        hub->BaixaDuplicata(); // the settlement screen
        {
            FrmBaixaPagar quick(hub);
            Modal::exec(&quick);
        }
        for (const PickLists::MemberSpec &m : PickLists::members()) {
            RecordSet list(f.dm.MyConnection1, QStringLiteral("select * from ") + m.list->table);
            if (m.targetKind == PickLists::TargetKind::Record)
                PickLists::run(m.member, &list, PickLists::Target(hub->tbPagar()), hub);
            else
                PickLists::run(m.member, &list,
                               PickLists::EntrySink([](const QString &, const QVariant &) {}), hub);
        }
        for (const QString &name : OptionDialog::members())
            OptionDialog::runMember(name, hub, false);
        frmGeral::instance()->runPeriod([](const QDate &, const QDate &) {});
        // A modal preview (maximised), the text preview and an independent one.
        Reports::show(QStringLiteral("RptPagarquitadoIndFornecedorQ"), demoPeriod(), hub);
        TextPrint::Document text;
        text.put(1, 1, QStringLiteral("EXTRATO"));
        TextPrint::preview(text, hub);
        Reports::show(QStringLiteral("RptPagarAberto01"), demoPeriod(), hub);
        if (auto *preview = topLevel<Report::ReportPreview>()) {
            in.look(preview, QStringLiteral("ReportPreview_independente"));
            preview->close();
        } else {
            in.faults << QStringLiteral("the independent preview did not open");
        }
        return int(QDialog::Rejected);
    });
    RunScreen(hub);

    QCOMPARE(boxes.unexpected, 0);
    QVERIFY2(in.faults.isEmpty(), qPrintable(in.faults.join(QLatin1Char('\n'))));
    for (const char *name :
         {"frmPagarNovo", "frmL_Fornecedor", "FrmBaixarNovo", "FrmBaixaPagar", "OpFilialVenc",
          "OPPagarIndFilialQuitado", "frmGeral", "frmL_Conta", "ReportPreview_independente"})
        QVERIFY2(in.seen.contains(QString::fromLatin1(name)),
                 qPrintable(QString::fromLatin1(name) + QStringLiteral(" not seen among ") +
                            in.seen.join(QLatin1Char(' '))));
}

void TstWindowFit::hubGivesTheWidthToItsList()
{
    DemoFixture f;
    REQUIRE_DB(f.db);
    Inspector in;
    frmPagarManutencao hub;
    hub.setUserName(QStringLiteral("ADMIN"));
    Modal::ScopedHandler modal([&](QDialog *d) {
        in.look(d, QStringLiteral("frmPagarManutencao"));
        const QRect area = workArea();
        // The design's 1531 pixels where the screen holds them, the screen
        // otherwise, and then the list scrolls sideways.
        if (d->frameGeometry().width() != qMin(1531, area.width()))
            in.faults << QStringLiteral("hub %1 wide").arg(d->frameGeometry().width());
        if ((hub.grid()->horizontalScrollBar()->maximum() > 0) != (area.width() < 1531))
            in.faults << QStringLiteral("the list does not scroll sideways");
        in.reachable(hub.mainBar()->widgetForAction(hub.mainBar()->actions().first()),
                     QStringLiteral("Inclusão"));
        for (QAction *a : hub.registryBar()->actions())
            in.reachable(hub.registryBar()->widgetForAction(a), a->text());
        in.reachable(hub.findChild<TitleBand *>()->closePanel(), QStringLiteral("X"));
        in.reachable(hub.userLabel(), QStringLiteral("usuário"));
        in.reachable(hub.findChild<QPushButton *>(QStringLiteral("SpeedButton1")),
                     QStringLiteral("R.Social"));
        in.reachable(hub.findChild<QPushButton *>(QStringLiteral("SpeedButton2")),
                     QStringLiteral("Data Quitação"));
        for (QChar c : {u'A', u'B', u'C', u'Z'})
            in.reachable(hub.letterButton(c), QString(c));
        in.reachable(hub.searchEdit(), QStringLiteral("busca"));
        in.reachable(hub.dataFinal(), QStringLiteral("Data Final"));
        auto *box = hub.searchEdit()->parentWidget();
        while (box && !qobject_cast<QGroupBox *>(box))
            box = box->parentWidget();
        if (box)
            in.reachable(box, qobject_cast<QGroupBox *>(box)->title());
        else
            in.faults << QStringLiteral("no search area");
        return int(QDialog::Rejected);
    });
    Modal::exec(&hub);
    QVERIFY2(in.faults.isEmpty(), qPrintable(in.faults.join(QLatin1Char('\n'))));
}

void TstWindowFit::optionDialogShowsEveryTab()
{
    DemoFixture f;
    REQUIRE_DB(f.db);
    OptionDialog d(QStringLiteral("OpFilialVenc"));
    QStringList hidden;
    Modal::ScopedHandler modal([&](QDialog *dialog) {
        dialog->show();
        // Offscreen a window counts as exposed once shown; the wait is only
        // for a real display, so its answer changes nothing here.
        (void)QTest::qWaitForWindowExposed(dialog);
        QTabBar *bar = d.tabs()->tabBar();
        for (int i = 0; i < bar->count(); ++i)
            if (!bar->rect().contains(bar->tabRect(i)))
                hidden << bar->tabText(i);
        return int(QDialog::Rejected);
    });
    d.run();
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(QStringLiteral(", "))));
    QVERIFY(workArea().contains(d.frameGeometry()));
}

class TstModeless : public QObject
{
    Q_OBJECT
private slots:
    void previewOverModalHubTakesClicks();
};

namespace {

// A click the way the window system delivers it: a window that the modal
// chain blocks never gets it.
void clickThroughWindow(QWidget *w)
{
    QWindow *window = w->window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {},
                      window->mapFromGlobal(w->mapToGlobal(w->rect().center())));
}

} // namespace

void TstModeless::previewOverModalHubTakesClicks()
{
    DemoFixture f;
    REQUIRE_DB(f.db);
    f.manyOpen();
    ScriptedMessages boxes;
    FrmPrincipal main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // The clerk's steps, each taken once the window it needs is up.
    int step = 0;
    QPointer<Report::ReportPreview> preview;
    QPointer<frmPagarManutencao> hub = new frmPagarManutencao(&main);
    hub->setUserName(QStringLiteral("ADMIN"));
    int pageAfterClick = -1;
    QString letterTyped;
    bool previewStillOpen = false;
    QTimer clerk;
    QElapsedTimer clock;
    clock.start();
    connect(&clerk, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (clock.elapsed() > 30000) { // stuck: close everything so the test ends
            if (preview)
                preview->close();
            if (modal)
                qobject_cast<QDialog *>(modal)->reject();
            step = 99;
            return;
        }
        switch (step) {
        case 0: // the payables screen runs modally: its report menu, first entry
            if (modal == hub && hub->isVisible()) {
                ++step;
                // Outside this timer's own call: the dialog runs its own loop,
                // in which this timer must go on ticking.
                QTimer::singleShot(0, hub,
                                   [&] { hub->reportMenu()->actions().first()->trigger(); });
            }
            break;
        case 1: // OpFilialVenc, modal over it: "Geral Detalhado das Oticas" and OK
            if (auto *d = qobject_cast<OptionDialog *>(modal); d && d->isVisible()) {
                ++step;
                const int page = 5;
                QCOMPARE(d->reportOf(page), QStringLiteral("RptPagarAberto01"));
                d->tabs()->setCurrentIndex(page);
                d->dataInicial(page)->setDate(demoPeriod().dataI);
                d->dataFinal(page)->setDate(demoPeriod().dataF);
                QTest::qWait(20);
                clickThroughWindow(d->okButton(page));
            }
            break;
        case 2: // the dialog has gone, the preview stays over the payables screen
            if (modal == hub && (preview = topLevel<Report::ReportPreview>())) {
                if (!QTest::qWaitForWindowExposed(preview))
                    return;
                ++step;
                QVERIFY(!preview->isModal());
                QVERIFY(preview->pageCount() >= 3);
                clickThroughWindow(preview->button(QStringLiteral("btnProxima")));
                pageAfterClick = preview->currentPage();
                // Back to the payables screen with the preview open.
                clickThroughWindow(hub->letterButton(u'B'));
                letterTyped = hub->searchEdit()->text();
                previewStillOpen = preview && preview->isVisible();
                hub->ToolButton5Click();
            }
            break;
        }
    });
    clerk.start(20);
    RunScreen(hub); // a real modal loop
    clerk.stop();
    QVERIFY2(step == 3, qPrintable(QStringLiteral("stopped at step %1").arg(step)));
    QCOMPARE(pageAfterClick, 1);
    QCOMPARE(letterTyped, QStringLiteral("B"));
    QVERIFY(previewStillOpen);
    // The preview outlives the screens that opened it and still pages.
    QVERIFY(preview);
    clickThroughWindow(preview->button(QStringLiteral("btnProxima")));
    QCOMPARE(preview->currentPage(), 2);
    preview->close();
    QCOMPARE(boxes.unexpected, 0);
}

CP_TEST(TstWindowFit)
CP_TEST(TstModeless)
#include "tst_screens.moc"
