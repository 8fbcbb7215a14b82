#include "reports/FrmResumoPagamnetoAbertoQuitado.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "db/RecordSet.h"
#include "reports/LookupEdit.h"
#include "reports/ReportInput.h"
#include "reports/ScreenParts.h"
#include "reports/WorkTableReports.h"
#include "widgets/BusyNotice.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/TitleBand.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

using Tipo = PaymentSummaryFill::Tipo;

FrmResumoPagamnetoAbertoQuitado::FrmResumoPagamnetoAbertoQuitado(QWidget *parent)
    : QDialog(parent), m_fill(*DM::instance()->MyConnection1)
{
    setObjectName(QStringLiteral("FrmResumoPagamnetoAbertoQuitado"));
    setWindowTitle(MakerCaption);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(8);
    auto *panel =
        ScreenParts::band(QStringLiteral("Em Aberto e Quitado no Periodo Por Tipo"), this);
    panel->setCloseVisible(false);
    outer->addWidget(panel);

    auto *body = new QGridLayout;
    body->setContentsMargins(14, 4, 14, 4);
    body->setHorizontalSpacing(10);
    body->setVerticalSpacing(6);
    RadioGroup1 = new QGroupBox(QStringLiteral("Tipo :"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto *radios = new QHBoxLayout(RadioGroup1);
    RbGerencial = new QRadioButton(QStringLiteral("Central de Custo"), RadioGroup1);
    RbFornecedor = new QRadioButton(QStringLiteral("Fornecedor"), RadioGroup1);
    radios->addWidget(RbGerencial);
    radios->addWidget(RbFornecedor);
    radios->addStretch(1);
    body->addWidget(RadioGroup1, 0, 0, 1, 2);

    // The two edits share one place: only the chosen one shows.
    LblGerencial = new QLabel(QStringLiteral("Central de Custo"), this);
    EdtGerencial = new LookupEdit(this);
    EdtGerencial->setObjectName(QStringLiteral("EdtGerencial"));
    LblFornecedor = new QLabel(QStringLiteral("Descrição do Fornecedor"), this);
    EdtFornecedor = new LookupEdit(this);
    EdtFornecedor->setObjectName(QStringLiteral("EdtFornecedor"));
    body->addWidget(LblGerencial, 1, 0, 1, 2);
    body->addWidget(LblFornecedor, 1, 0, 1, 2);
    body->addWidget(EdtGerencial, 2, 0, 1, 2);
    body->addWidget(EdtFornecedor, 2, 0, 1, 2);

    LblDataI = new QLabel(QStringLiteral("Data Inicial"), this);
    LblDataF = new QLabel(QStringLiteral("Data Final"), this);
    std::tie(DataI, DataF) = ScreenParts::period(this);
    body->addWidget(LblDataI, 3, 0);
    body->addWidget(LblDataF, 3, 1);
    body->addWidget(DataI, 4, 0);
    body->addWidget(DataF, 4, 1);
    body->setRowStretch(5, 1);
    // The places keep their room while hidden, so nothing jumps.
    for (QWidget *w :
         std::initializer_list<QWidget *>{LblGerencial, EdtGerencial, LblFornecedor, EdtFornecedor,
                                          LblDataI, LblDataF, DataI, DataF}) {
        ScreenParts::keepRoomWhenHidden(w);
        w->hide();
    }
    outer->addLayout(body, 1);

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

    connect(RbGerencial, &QRadioButton::clicked, this,
            &FrmResumoPagamnetoAbertoQuitado::chooseGerencial);
    connect(RbFornecedor, &QRadioButton::clicked, this,
            &FrmResumoPagamnetoAbertoQuitado::chooseFornecedor);
    connect(BtnGerar, &QPushButton::clicked, this, &FrmResumoPagamnetoAbertoQuitado::gerar);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    EnterAsTab::install(this);
    resize(505, 390);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

FrmResumoPagamnetoAbertoQuitado::~FrmResumoPagamnetoAbertoQuitado()
{
    WorkTableReports::releasePreviews(this);
}

int FrmResumoPagamnetoAbertoQuitado::run(QWidget *parent)
{
    return RunScreen(new FrmResumoPagamnetoAbertoQuitado(parent));
}

Tipo FrmResumoPagamnetoAbertoQuitado::tipo() const
{
    return RbGerencial->isChecked()    ? Tipo::Gerencial
           : RbFornecedor->isChecked() ? Tipo::Fornecedor
                                       : Tipo::None;
}

RecordSet *FrmResumoPagamnetoAbertoQuitado::openList(RecordSet *list, const QString &sql)
{
    if (!list)
        list = new RecordSet(DM::instance()->MyConnection1, sql, this);
    if (!list->isOpen())
        Guarded([&] { list->open(); });
    return list;
}

void FrmResumoPagamnetoAbertoQuitado::showPeriod(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{LblDataI, LblDataF, DataI, DataF})
        w->setVisible(shown);
}

void FrmResumoPagamnetoAbertoQuitado::chooseGerencial()
{
    RbGerencial->setChecked(true);
    tbGerencial =
        openList(tbGerencial, QStringLiteral("select * from contagerencial order by gerencial"));
    EdtGerencial->setRecordSet(tbGerencial, QStringLiteral("gerencial"),
                               QStringLiteral("codigogerencial"));
    LblFornecedor->hide();
    EdtFornecedor->hide();
    LblGerencial->show();
    EdtGerencial->show();
    showPeriod(true);
    EdtGerencial->setFocus();
}

void FrmResumoPagamnetoAbertoQuitado::chooseFornecedor()
{
    RbFornecedor->setChecked(true);
    tbFornecedor = openList(
        tbFornecedor, QStringLiteral("select codigofornecedor,nome from fornecedor Order by nome"));
    EdtFornecedor->setRecordSet(tbFornecedor, QStringLiteral("nome"),
                                QStringLiteral("codigofornecedor"));
    LblGerencial->hide();
    EdtGerencial->hide();
    LblFornecedor->show();
    EdtFornecedor->show();
    showPeriod(true);
    EdtFornecedor->setFocus();
}

void FrmResumoPagamnetoAbertoQuitado::gerar()
{
    if (!BtnGerar->isEnabled())
        return;
    const Tipo t = tipo();
    std::optional<double> code;
    if (t != Tipo::None) {
        if (!ReportInput::period(DataI, DataF))
            return;
        const bool known =
            t == Tipo::Gerencial
                ? ReportInput::listCode(EdtGerencial, QStringLiteral("codigogerencial"),
                                        QStringLiteral("centrais de custo"), &code)
                : ReportInput::listCode(EdtFornecedor, QStringLiteral("codigofornecedor"),
                                        QStringLiteral("fornecedores"), &code);
        if (!known)
            return;
    }
    BtnGerar->setEnabled(false);
    const QDate from = DataI->date(), to = DataF->date();
    Report::PreparedReport report;
    bool ok;
    {
        BusyNotice waiting;
        ok = Guarded([&] {
            m_fill.openAndPaid(t, code, from, to);
            report = WorkTableReports::openAndPaid(m_fill, from, to);
        });
    }
    BtnGerar->setEnabled(true);
    if (ok)
        WorkTableReports::show(std::move(report), this);
}

void FrmResumoPagamnetoAbertoQuitado::done(int result)
{
    for (RecordSet *list : {tbGerencial, tbFornecedor})
        if (list)
            list->close();
    WorkTableReports::releasePreviews(this);
    QDialog::done(result);
}
