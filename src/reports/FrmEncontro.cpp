#include "reports/FrmEncontro.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "reports/ReportInput.h"
#include "reports/ScreenParts.h"
#include "reports/WorkTableReports.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/TitleBand.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

void keepPainting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

FrmEncontro::FrmEncontro(QWidget *parent) : QDialog(parent), m_fill(*DM::instance()->MyConnection1)
{
    setObjectName(QStringLiteral("FrmEncontro"));
    setWindowTitle(MakerCaption);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->setSpacing(6);
    Panel1 = ScreenParts::band(
        QStringLiteral("Encontro de Contas a Pagar e Contas a Receber no Periodo"), this);
    Panel1->setCloseAction([this] { reject(); });
    outer->addWidget(Panel1);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(14, 2, 14, 0);
    grid->setHorizontalSpacing(12);
    std::tie(DataI, DataF) = ScreenParts::period(this);
    BtnGerar = new QPushButton(QStringLiteral("Gerar Dados do Relatorio"), this);
    BtnGerar->setObjectName(QStringLiteral("BtnGerar"));
    BtnGerar->setAutoDefault(false);
    BtnGerar->setMinimumHeight(30);
    grid->addWidget(new QLabel(QStringLiteral("Data Inicial"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Data Final"), this), 0, 1);
    grid->addWidget(DataI, 1, 0);
    grid->addWidget(DataF, 1, 1);
    grid->addWidget(BtnGerar, 1, 2);
    grid->setColumnStretch(2, 1);
    outer->addLayout(grid);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedHeight(16);
    // Its room is kept while it is hidden, so the window does not jump.
    ScreenParts::keepRoomWhenHidden(ProgressBar1);
    ProgressBar1->hide();
    auto *bar = new QVBoxLayout;
    bar->setContentsMargins(14, 0, 14, 0);
    bar->addWidget(ProgressBar1);
    outer->addLayout(bar);

    connect(BtnGerar, &QPushButton::clicked, this, &FrmEncontro::gerar);
    EnterAsTab::install(this);
    resize(700, 150);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

FrmEncontro::~FrmEncontro()
{
    WorkTableReports::releasePreviews(this);
}

int FrmEncontro::run(QWidget *parent)
{
    return RunScreen(new FrmEncontro(parent));
}

void FrmEncontro::gerar()
{
    if (BtnGerar->isHidden() || !ReportInput::period(DataI, DataF))
        return;
    const QDate from = DataI->date(), to = DataF->date();
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    BtnGerar->hide();
    keepPainting();
    Report::PreparedReport report;
    const bool ok = Guarded([&] {
        m_fill.run(
            from, to, [this](int total) { ProgressBar1->setRange(0, total + 1); },
            [this](int done) {
                ProgressBar1->setValue(done);
                keepPainting();
            });
        report = WorkTableReports::netting(m_fill, from, to, &m_verdict);
    });
    if (!ok) {
        ProgressBar1->hide();
        BtnGerar->show();
        return;
    }
    WorkTableReports::show(std::move(report), this);
    ProgressBar1->setValue(ProgressBar1->maximum());
    ProgressBar1->hide();
}

void FrmEncontro::done(int result)
{
    WorkTableReports::releasePreviews(this);
    QDialog::done(result);
}
