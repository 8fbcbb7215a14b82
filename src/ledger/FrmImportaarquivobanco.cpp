#include "ledger/FrmImportaarquivobanco.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/LedgerWindow.h"
#include "books/Operation.h"
#include "db/RecordSet.h"
#include "ofx/Ofx.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/FilePicker.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"
#include "widgets/TitleBand.h"
#include "workbook/Workbook.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QString kNothingRead = QStringLiteral("Nenhuma linha do extrato foi importada.");
const QString kNothingBooked =
    QStringLiteral("Nenhum lançamento foi transferido para o conta corrente.");

// The wait cursor while the server works; the window cannot repaint then.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString describe(const OfxAccount &a)
{
    QStringList parts;
    if (!a.bankId.trimmed().isEmpty())
        parts << QStringLiteral("banco %1").arg(a.bankId.trimmed());
    if (!a.branchId.trimmed().isEmpty())
        parts << QStringLiteral("agência %1").arg(a.branchId.trimmed());
    parts << (a.creditCard ? QStringLiteral("cartão %1") : QStringLiteral("conta %1"))
                 .arg(a.accountId.trimmed());
    return parts.join(QStringLiteral(", "));
}

} // namespace

FrmImportaarquivobanco::FrmImportaarquivobanco(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_staging(DM::instance()->MyConnection1)
{
    setObjectName(QStringLiteral("FrmImportaarquivobanco"));
    setWindowTitle(MakerCaption);
    Connection *conn = DM::instance()->MyConnection1;
    m_accounts = new RecordSet(conn, QStringLiteral("select * from conta\norder by banco"), this);
    m_stagingRows = new RecordSet(
        conn, QStringLiteral("select * from %1\norder by id").arg(StatementStaging::table()), this);
    m_company =
        new RecordSet(conn, QStringLiteral("select * from configuracao\norder by controle"), this);
    buildUi();
    // 1296 x 573 with the frame of the desks the window was drawn on.
    resize(1280, 535);
    m_importar->setEnabled(false);
    m_transferir->setEnabled(false);
    Guarded([this] { m_accounts->open(); });
}

FrmImportaarquivobanco::~FrmImportaarquivobanco()
{
    m_banco->disconnect(this);
}

void FrmImportaarquivobanco::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_title = new TitleBand(QStringLiteral("Importar Arquivo Banco"), this);
    m_title->setColor(QColor(0, 74, 149));
    m_title->setBandHeight(49);
    m_title->setFontPixelSize(21); // Arial 16 pt
    m_title->setCloseAction([this] { Fechar(); });
    layout->addWidget(m_title);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("gridImportacao"));
    // The column widths were laid out for a small face with Arial's metrics.
    QFont gridFont(QStringLiteral("Arial"));
    gridFont.setPointSize(8);
    m_grid->setFont(gridFont);
    m_grid->setRecordSet(m_stagingRows);
    const QString money = QStringLiteral("#,##0.00");
    m_grid->setColumns({
        {QStringLiteral("data"), QStringLiteral("Data"), 64, {}, {}},
        {QStringLiteral("hora"), QStringLiteral("Hora"), 76, {}, {}},
        {QStringLiteral("usuario"), QStringLiteral("Usuario"), 114, {}, {}},
        {QStringLiteral("documento"), QStringLiteral("Documento"), 90, {}, {}},
        {QStringLiteral("historico"), QStringLiteral("Historico"), 365, {}, {}},
        {QStringLiteral("valor"), QStringLiteral("Credito Valor R$"), 110, money, {}},
        {QStringLiteral("debito"), QStringLiteral("Debito R$"), 64, money, {}},
        {QStringLiteral("saldo"), QStringLiteral("Saldo R$"), 106, money, {}},
    });
    auto *gridRow = new QHBoxLayout;
    gridRow->setContentsMargins(6, 0, 6, 0);
    gridRow->addWidget(m_grid);
    layout->addLayout(gridRow, 1);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 2, 6, 2);
    bottom->setSpacing(8);
    auto *bankColumn = new QVBoxLayout;
    bankColumn->setSpacing(1);
    auto *label = new QLabel(QStringLiteral("Descrição do Banco"), this);
    m_banco = new LookupCombo(this);
    m_banco->setObjectName(QStringLiteral("cbBanco"));
    m_banco->setMinimumWidth(300);
    m_banco->setRecordSet(m_accounts, QStringLiteral("banco"), QStringLiteral("codigoconta"));
    label->setBuddy(m_banco);
    m_banco->installEventFilter(this);
    connect(m_banco, &LookupCombo::keyChanged, this, [this](const QVariant &key) {
        if (key.isNull())
            return;
        m_accounts->locate(QStringLiteral("codigoconta"), key);
        bancoClicado();
    });
    bankColumn->addWidget(label);
    bankColumn->addWidget(m_banco);
    bottom->addLayout(bankColumn);
    auto button = [&](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        bottom->addWidget(b, 0, Qt::AlignBottom);
        return b;
    };
    m_importar = button(QStringLiteral("&Importar Extrato"), "btnImportar");
    m_transferir = button(QStringLiteral("&Transferir C.C."), "btnTransferir");
    connect(m_importar, &QPushButton::clicked, this, &FrmImportaarquivobanco::ImportarExtrato);
    connect(m_transferir, &QPushButton::clicked, this, &FrmImportaarquivobanco::TransferirCC);
    bottom->addStretch();
    layout->addLayout(bottom);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progresso"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(16);
    layout->addWidget(m_progress);
}

bool FrmImportaarquivobanco::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_banco && event->type() == QEvent::MouseButtonPress)
        bancoClicado();
    return QDialog::eventFilter(watched, event);
}

void FrmImportaarquivobanco::bancoClicado()
{
    m_importar->setEnabled(true);
}

void FrmImportaarquivobanco::showProgress(int value)
{
    m_progress->setValue(qMin(value, m_progress->maximum()));
    // The work runs on this thread: paint the bar now, without taking input.
    m_progress->repaint();
}

bool FrmImportaarquivobanco::accountQuestion(const OfxAccount &account)
{
    return Messages::question(
        kAtencao, QStringLiteral("O extrato não é da conta escolhida.\nExtrato: %1\nConta "
                                 "escolhida: %2, agência %3, conta %4\nDeseja importar o extrato "
                                 "na conta escolhida?")
                      .arg(describe(account), m_accounts->text(QStringLiteral("banco")),
                           m_accounts->text(QStringLiteral("agencia")),
                           m_accounts->text(QStringLiteral("conta"))));
}

bool FrmImportaarquivobanco::readStatement(const QString &path, QList<StatementLine> *lines)
{
    try {
        BusyCursor busy;
        if (StatementReader::isOfxFile(path)) {
            const OfxStatement statement = Ofx::read(path);
            if (!StatementReader::sameAccount(statement.account,
                                              m_accounts->text(QStringLiteral("agencia")),
                                              m_accounts->text(QStringLiteral("conta")))) {
                QApplication::restoreOverrideCursor();
                const bool go = accountQuestion(statement.account);
                QApplication::setOverrideCursor(Qt::WaitCursor);
                if (!go)
                    return false;
            }
            *lines = StatementReader::fromOfx(statement);
        } else {
            *lines = StatementReader::fromGrid(Workbook::read(path));
        }
    } catch (const WorkbookError &e) {
        Messages::warning(kAtencao, e.message() + QLatin1Char('\n') + kNothingRead);
        return false;
    } catch (const OfxError &e) {
        Messages::warning(kAtencao, e.message() + QLatin1Char('\n') + kNothingRead);
        return false;
    } catch (const StatementReader::Error &e) {
        Messages::warning(kAtencao, e.message() + QLatin1Char('\n') + kNothingRead);
        return false;
    }
    if (lines->isEmpty()) {
        Messages::warning(kAtencao,
                          QStringLiteral("O arquivo não tem lançamentos de extrato: data, "
                                         "histórico, documento e valor nas colunas A, "
                                         "B, C e D.\n") +
                              kNothingRead);
        return false;
    }
    return true;
}

void FrmImportaarquivobanco::ImportarExtrato()
{
    if (!m_importar->isEnabled())
        return;
    const QVariant key = m_banco->keyValue();
    if (key.isNull() || !m_accounts->isOpen() ||
        !m_accounts->locate(QStringLiteral("codigoconta"), key)) {
        Messages::warning(kAtencao, QStringLiteral("Escolha a conta em \"Descrição do Banco\"."));
        m_banco->setFocus();
        return;
    }
    const QString path = FilePicker::openFile(
        this, QStringLiteral("Importar Extrato"),
        QStringLiteral("Extratos (*.xlsx *.xls *.ods *.csv *.ofx);;Planilhas (*.xlsx *.xls *.ods "
                       "*.csv);;OFX (*.ofx);;Todos os arquivos (*)"));
    if (path.isEmpty())
        return;
    // The account as it is chosen now, remembered only when the reading
    // succeeds.
    const BankAccount chosen{m_accounts->text(QStringLiteral("banco")),
                             m_accounts->text(QStringLiteral("conta")),
                             m_accounts->text(QStringLiteral("agencia"))};
    QList<StatementLine> lines;
    if (!readStatement(path, &lines))
        return;

    m_progress->setRange(0, int(lines.size()));
    showProgress(0);
    try {
        BusyCursor busy;
        m_staging.stage(lines, CurrentUserName(), Clock::now(),
                        [this](int staged) { showProgress(staged); });
    } catch (const DbError &e) {
        showProgress(0);
        if (!m_staging.valid()) {
            Messages::error(
                AppTitle, e.message() + QStringLiteral("\nA conexão com o servidor caiu e o "
                                                       "extrato não foi lido. Leia-o novamente."));
            m_stagingRows->close();
            m_transferir->setEnabled(false);
            return;
        }
        Messages::error(AppTitle, e.message() + QLatin1Char('\n') + kNothingRead);
        return;
    }
    m_selected = chosen;
    const bool shown = Guarded([this] {
        m_stagingRows->close();
        m_stagingRows->open();
    });
    m_transferir->setEnabled(shown);
    m_importar->setEnabled(!shown);
}

void FrmImportaarquivobanco::stagingLost(const QString &cause)
{
    Messages::warning(kAtencao, cause.isEmpty()
                                    ? StatementStaging::lostMessage()
                                    : cause + QLatin1Char('\n') + StatementStaging::lostMessage());
    m_stagingRows->close();
    m_progress->setValue(0);
    m_transferir->setEnabled(false);
    m_importar->setEnabled(true);
}

void FrmImportaarquivobanco::TransferirCC()
{
    if (!m_transferir->isEnabled())
        return;
    m_transferir->setEnabled(false);
    if (!m_staging.valid()) {
        stagingLost();
        return;
    }
    Connection &db = *DM::instance()->MyConnection1;
    QList<StagedLine> lines;
    QSet<int> inLedger;
    TransferContext context;
    try {
        BusyCursor busy;
        m_company->close();
        m_company->open();
        if (!m_company->isEmpty()) {
            m_company->first();
            context.codigofilial = m_company->value(QStringLiteral("Controle"));
            context.filial = m_company->text(QStringLiteral("Nome"));
        }
        lines = m_staging.lines();
        inLedger = m_staging.foundInLedger();
    } catch (const DbError &e) {
        if (!m_staging.valid()) {
            stagingLost();
            return;
        }
        Messages::error(AppTitle, e.message() + QLatin1Char('\n') + kNothingBooked);
        m_transferir->setEnabled(true);
        return;
    }
    context.banco = m_selected.banco;
    context.conta = m_selected.conta;
    context.agencia = m_selected.agencia;
    context.usuario = CurrentUserName();
    const QDateTime now = Clock::now();
    context.today = now.date();
    context.now = QTime(now.time().hour(), now.time().minute(), now.time().second());

    const int total = int(lines.size());
    m_progress->setRange(0, qMax(1, total));
    showProgress(0);
    const QList<LedgerMovement> movements =
        TransferPlan::plan(lines, inLedger, context, [](const StagedLine &, double amount) {
            return Messages::show({QStringLiteral("Confirmação"),
                                   TransferPlan::duplicateQuestion(amount), QMessageBox::Question,
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes}) ==
                   QMessageBox::Yes;
        });
    // Lines left out count as done for the bar.
    const int skipped = total - int(movements.size());
    showProgress(skipped);
    try {
        BusyCursor busy;
        if (!movements.isEmpty())
            runOperation(db, QStringLiteral("a transferência do extrato"), [&] {
                LedgerBook::appendMany(db, movements,
                                       [&](int written) { showProgress(skipped + written); });
            });
    } catch (const DbError &e) {
        showProgress(0);
        if (e.outcomeUnknown()) {
            // It may have been written: no new attempt from here.
            Messages::error(AppTitle, e.message());
            return;
        }
        if (!m_staging.valid()) {
            stagingLost(e.message());
            return;
        }
        Messages::error(AppTitle, e.message() + QLatin1Char('\n') + kNothingBooked);
        m_transferir->setEnabled(true);
        return;
    }
    showProgress(total);
    m_company->close();
    m_stagingRows->close();
    m_importar->setEnabled(true);
    m_transferir->setEnabled(false);
}

void FrmImportaarquivobanco::Fechar()
{
    reject();
}

void FrmImportaarquivobanco::done(int result)
{
    m_stagingRows->close();
    m_company->close();
    // The movements just transferred are in view in the ledger's list.
    if (LedgerWindow *ledger = LedgerWindow::current())
        Guarded([ledger] { ledger->rereadMovements(); });
    QDialog::done(result);
}
