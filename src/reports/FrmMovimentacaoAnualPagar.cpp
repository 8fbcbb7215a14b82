#include "reports/FrmMovimentacaoAnualPagar.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "db/RecordSet.h"
#include "reports/LookupEdit.h"
#include "reports/ReportInput.h"
#include "reports/ScreenParts.h"
#include "widgets/BusyNotice.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"
#include "widgets/TitleBand.h"

#include <QAction>
#include <QCompleter>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

using WorkTableReports::Scope;

namespace {

// The edit's button, inside the edit at its right end.
QAction *listButton(LookupEdit *edit)
{
    return edit->addAction(edit->style()->standardIcon(QStyle::SP_ArrowDown),
                           QLineEdit::TrailingPosition);
}

// Shows every name of the list, or those that start with what is typed.
void dropDown(LookupEdit *edit)
{
    edit->setFocus();
    edit->completer()->setCompletionPrefix(edit->text());
    edit->completer()->complete();
}

void keepPainting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

FrmMovimentacaoAnualPagar::FrmMovimentacaoAnualPagar(QWidget *parent)
    : QDialog(parent), m_fill(*DM::instance()->MyConnection1)
{
    setObjectName(QStringLiteral("FrmMovimentacaoAnualPagar"));
    setWindowTitle(MakerCaption);
    resize(510, 480);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(10);
    auto *panel =
        ScreenParts::band(QStringLiteral("Movimentação de Pagamentos Sintético no Periodo"), this);
    panel->setCloseVisible(false);
    outer->addWidget(panel);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(14, 4, 14, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
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
    Animate1->hide();
    grid->addWidget(Animate1, 2, 0, 1, 2);

    LblFornecedor = new QLabel(QStringLiteral("Descrição do Fornecedor"), this);
    EdtFornecedor = new LookupEdit(this);
    EdtFornecedor->setObjectName(QStringLiteral("EdtFornecedor"));
    LblGerencial = new QLabel(QStringLiteral("Descrição da Central de Custo"), this);
    EdtGerencial = new LookupEdit(this);
    EdtGerencial->setObjectName(QStringLiteral("EdtGerencial"));
    grid->addWidget(LblFornecedor, 3, 0, 1, 2);
    grid->addWidget(EdtFornecedor, 4, 0, 1, 2);
    grid->addWidget(LblGerencial, 5, 0, 1, 2);
    grid->addWidget(EdtGerencial, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
    outer->addLayout(grid, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(14, 0, 14, 0);
    BtnNormal = new QPushButton(QStringLiteral("&Normal"), this);
    BtnColunas = new QPushButton(QStringLiteral("&Colunas"), this);
    BtnGerar = new QPushButton(QStringLiteral("&Gerar"), this);
    BtnClose = new QPushButton(QStringLiteral("&Close"), this);
    for (QPushButton *b : {BtnNormal, BtnColunas, BtnGerar, BtnClose}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        buttons->addWidget(b);
    }
    BtnNormal->setObjectName(QStringLiteral("BtnNormal"));
    BtnColunas->setObjectName(QStringLiteral("BtnColunas"));
    BtnGerar->setObjectName(QStringLiteral("BtnGerar"));
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    outer->addLayout(buttons);

    connect(listButton(EdtFornecedor), &QAction::triggered, this,
            &FrmMovimentacaoAnualPagar::openSupplierList);
    connect(listButton(EdtGerencial), &QAction::triggered, this,
            &FrmMovimentacaoAnualPagar::openCostCentreList);
    // Typing in an edit chooses it as well, so its names are offered.
    connect(EdtFornecedor, &QLineEdit::textEdited, this, [this] {
        if (!tbFornecedor)
            openSupplierList();
    });
    connect(EdtGerencial, &QLineEdit::textEdited, this, [this] {
        if (!tbGerencial)
            openCostCentreList();
    });
    connect(BtnGerar, &QPushButton::clicked, this, &FrmMovimentacaoAnualPagar::gerar);
    connect(BtnNormal, &QPushButton::clicked, this, &FrmMovimentacaoAnualPagar::normal);
    connect(BtnColunas, &QPushButton::clicked, this, &FrmMovimentacaoAnualPagar::colunas);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);

    BtnGerar->setEnabled(true);
    BtnNormal->setEnabled(false);
    BtnColunas->setEnabled(false);
    EnterAsTab::install(this);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

FrmMovimentacaoAnualPagar::~FrmMovimentacaoAnualPagar()
{
    release();
}

int FrmMovimentacaoAnualPagar::run(QWidget *parent)
{
    return RunScreen(new FrmMovimentacaoAnualPagar(parent));
}

void FrmMovimentacaoAnualPagar::openSupplierList()
{
    if (!EdtFornecedor->isEnabled())
        return;
    LblGerencial->setEnabled(false);
    EdtGerencial->setEnabled(false);
    if (!tbFornecedor) {
        auto *list = new RecordSet(DM::instance()->MyConnection1,
                                   QStringLiteral("select codigofornecedor,nome from fornecedor "
                                                  "where ((nome <> '') and (nome is not null)) "
                                                  "order by nome"),
                                   this);
        list->setOrder(QStringLiteral("nome"));
        if (!Guarded([&] { list->open(); })) {
            delete list;
            return;
        }
        tbFornecedor = list;
        EdtFornecedor->setRecordSet(tbFornecedor, QStringLiteral("nome"),
                                    QStringLiteral("codigofornecedor"));
    }
    dropDown(EdtFornecedor);
}

void FrmMovimentacaoAnualPagar::openCostCentreList()
{
    if (!EdtGerencial->isEnabled())
        return;
    LblFornecedor->setEnabled(false);
    EdtFornecedor->setEnabled(false);
    if (!tbGerencial) {
        auto *list = new RecordSet(DM::instance()->MyConnection1,
                                   QStringLiteral("select * from contagerencial where ((gerencial "
                                                  "<> '') and (gerencial is not null)) "
                                                  "order by codigogerencial"),
                                   this);
        list->setOrder(QStringLiteral("gerencial"));
        if (!Guarded([&] { list->open(); })) {
            delete list;
            return;
        }
        tbGerencial = list;
        EdtGerencial->setRecordSet(tbGerencial, QStringLiteral("gerencial"),
                                   QStringLiteral("codigogerencial"));
    }
    dropDown(EdtGerencial);
}

void FrmMovimentacaoAnualPagar::gerar()
{
    if (!BtnGerar->isEnabled() || !ReportInput::period(DataI, DataF))
        return;
    if (const QString problem = AnnualMovementFill::periodProblem(DataI->date(), DataF->date());
        !problem.isEmpty()) {
        Messages::warning(QStringLiteral("Atenção"), problem);
        DataF->setFocus();
        return;
    }
    BtnGerar->setEnabled(false);
    Animate1->show();
    keepPainting();
    const bool filled = Guarded([&] { m_fill.run(DataI->date(), DataF->date(), keepPainting); });
    Animate1->hide();
    BtnGerar->setEnabled(!filled);
    BtnNormal->setEnabled(filled);
    BtnColunas->setEnabled(filled);
}

bool FrmMovimentacaoAnualPagar::scope(Scope *scope) const
{
    const bool fornecedor = !EdtFornecedor->text().trimmed().isEmpty();
    const bool gerencial = !EdtGerencial->text().trimmed().isEmpty();
    if (fornecedor && gerencial)
        return false;
    *scope = fornecedor ? Scope::Fornecedor : gerencial ? Scope::Gerencial : Scope::Geral;
    return true;
}

void FrmMovimentacaoAnualPagar::normal()
{
    Scope s;
    if (!BtnNormal->isEnabled() || !scope(&s))
        return;
    Report::PreparedReport report;
    bool ok;
    {
        BusyNotice waiting;
        ok = Guarded([&] {
            report = WorkTableReports::annualNormal(m_fill, s, DataI->date(), DataF->date());
        });
    }
    if (!ok) {
        afterReportError();
        return;
    }
    WorkTableReports::show(std::move(report), this);
}

void FrmMovimentacaoAnualPagar::colunas()
{
    Scope s;
    if (!BtnColunas->isEnabled() || !scope(&s))
        return;
    std::optional<double> code;
    if (s == Scope::Fornecedor &&
        !ReportInput::listCode(EdtFornecedor, QStringLiteral("codigofornecedor"),
                               QStringLiteral("fornecedores"), &code))
        return;
    if (s == Scope::Gerencial &&
        !ReportInput::listCode(EdtGerencial, QStringLiteral("codigogerencial"),
                               QStringLiteral("centrais de custo"), &code))
        return;
    Report::PreparedReport report;
    bool ok;
    {
        BusyNotice waiting;
        ok = Guarded([&] {
            report = WorkTableReports::annualColumns(m_fill, s, code, DataI->date(), DataF->date());
        });
    }
    if (!ok) {
        afterReportError();
        return;
    }
    WorkTableReports::show(std::move(report), this);
}

void FrmMovimentacaoAnualPagar::afterReportError()
{
    if (m_fill.valid())
        return;
    BtnGerar->setEnabled(true);
    BtnNormal->setEnabled(false);
    BtnColunas->setEnabled(false);
}

void FrmMovimentacaoAnualPagar::closeLists()
{
    for (RecordSet *list : {tbFornecedor, tbGerencial})
        if (list)
            list->close();
}

void FrmMovimentacaoAnualPagar::release()
{
    closeLists();
    // This workstation's copy only; a copy lost with its session is gone
    // already, and the server may be out of reach: closing goes on.
    try {
        m_fill.clearAnnual();
    } catch (const DbError &) {
    }
    WorkTableReports::releasePreviews(this);
}

void FrmMovimentacaoAnualPagar::done(int result)
{
    release();
    QDialog::done(result);
}
