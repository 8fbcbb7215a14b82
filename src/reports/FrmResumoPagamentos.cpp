#include "reports/FrmResumoPagamentos.h"

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
#include <QHBoxLayout>
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

FrmResumoPagamentos::FrmResumoPagamentos(QWidget *parent)
    : QDialog(parent), m_fill(*DM::instance()->MyConnection1)
{
    setObjectName(QStringLiteral("FrmResumoPagamentos"));
    setWindowTitle(MakerCaption);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(8);
    auto *panel = ScreenParts::band(QStringLiteral("Pagamentos Sintético no Periodo"), this);
    panel->setCloseVisible(false);
    outer->addWidget(panel);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(14, 4, 14, 4);
    grid->setHorizontalSpacing(10);
    std::tie(DataI, DataF) = ScreenParts::period(this);
    grid->addWidget(new QLabel(QStringLiteral("Data Inicial"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Data Final"), this), 0, 1);
    grid->addWidget(DataI, 1, 0);
    grid->addWidget(DataF, 1, 1);
    Animate1 = new QProgressBar(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setRange(0, 0); // moves without a known end
    Animate1->setTextVisible(false);
    Animate1->setFixedHeight(14);
    ScreenParts::keepRoomWhenHidden(Animate1);
    Animate1->hide();
    grid->addWidget(Animate1, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    outer->addLayout(grid, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(14, 0, 14, 0);
    buttons->addStretch(1);
    BtnGerar = new QPushButton(QStringLiteral("&Gerar"), this);
    BtnGerar->setObjectName(QStringLiteral("BtnGerar"));
    BtnClose = new QPushButton(QStringLiteral("&Close"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    for (QPushButton *b : {BtnGerar, BtnClose}) {
        b->setAutoDefault(false);
        b->setMinimumSize(100, 32);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(BtnGerar, &QPushButton::clicked, this, &FrmResumoPagamentos::gerar);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    EnterAsTab::install(this);
    resize(500, 265);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

FrmResumoPagamentos::~FrmResumoPagamentos() = default;

int FrmResumoPagamentos::run(QWidget *parent)
{
    return RunScreen(new FrmResumoPagamentos(parent));
}

void FrmResumoPagamentos::gerar()
{
    if (!BtnGerar->isEnabled() || !ReportInput::period(DataI, DataF))
        return;
    const QDate from = DataI->date(), to = DataF->date();
    BtnGerar->setEnabled(false);
    Animate1->show();
    keepPainting();
    Report::PreparedReport report;
    const bool ok = Guarded([&] {
        m_fill.payments(from, to, keepPainting);
        report = WorkTableReports::synthetic(m_fill, from, to);
    });
    Animate1->hide();
    BtnGerar->setEnabled(true);
    if (ok)
        WorkTableReports::show(std::move(report), this);
}
