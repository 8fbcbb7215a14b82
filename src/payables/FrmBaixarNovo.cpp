#include "payables/FrmBaixarNovo.h"

#include "payables/CashBook.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/RowWriter.h"
#include "payables/frmPagarManutencao.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"
#include "widgets/MoneyEdit.h"
#include "widgets/TitleBand.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QString kPergunta = QStringLiteral("Quarvo Sistemas, Atenção");
const QString kDinheiro = QStringLiteral("Pagamento Pagar Dinheiro");
const QString kDiversos = QStringLiteral("DIVERSOS");
const double kSemCodigo = 99999;
// An empty text, not NULL (a null QString reaches the server as NULL).
const QString kVazio = QStringLiteral("");
// pagar.usuario is 20 wide, but the settlements have always written the
// user's name through a 15-character field.
const int kUsuarioWidth = 15;

// Flat, but with a picture and a hand cursor: a bare caption on the grey
// background reads as a label, not as something to press.
QPushButton *flatButton(const QString &caption, const QString &name, const QString &sign,
                        const QColor &color, QWidget *parent)
{
    auto *b = new QPushButton(Icons::tile(sign, color, 24), caption, parent);
    b->setObjectName(name);
    b->setFlat(true);
    b->setAutoDefault(false);
    b->setIconSize(QSize(24, 24));
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(32);
    return b;
}

MoneyEdit *moneyField(const QString &name, bool readOnly, QWidget *parent)
{
    auto *e = new MoneyEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    if (readOnly)
        e->setFocusPolicy(Qt::NoFocus);
    return e;
}

bool isSet(const QVariant &date)
{
    // A date on or before 30/12/1899 is the zero date: no date at all.
    const QDate d = date.toDate();
    return d.isValid() && d > QDate(1899, 12, 30);
}

// The values of the payable that the modes write, read once from the row as
// the server holds it (locked inside the mode's transaction).
struct Payable
{
    QSqlRecord rec;
    QVariant operator()(const char *column) const { return rec.value(QString::fromLatin1(column)); }
    QString text(const char *column) const { return (*this)(column).toString(); }
    double money(const char *column) const { return RoundDecimals(2, (*this)(column).toDouble()); }

    // Cost-centre description: gerenial when it holds something, else gerencial.
    QString gerencialDesc() const
    {
        const QString g = text("gerenial");
        return g.trimmed().isEmpty() ? text("gerencial") : g;
    }
    // Payment type with the substitute for a missing one (code 0 or none).
    QString tipoDesc() const
    {
        return (*this)("codigotipo").toDouble() == 0 ? kDiversos : text("tipo");
    }
    QVariant despesaCode() const
    {
        return (*this)("codigodespesa").toDouble() == 0 ? QVariant(kSemCodigo)
                                                        : (*this)("codigodespesa");
    }
    QString despesaDesc() const
    {
        return (*this)("codigodespesa").toDouble() == 0 ? kDiversos : text("despesa");
    }
};

} // namespace

FrmBaixarNovo::FrmBaixarNovo(frmPagarManutencao *hub, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_hub(hub)
{
    setObjectName(QStringLiteral("FrmBaixarNovo"));
    setWindowTitle(MakerCaption);
    setModal(true);
    resize(640, 231);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(8);

    m_title = new TitleBand(QStringLiteral("BAIXAR CONTAS A PAGAR"), this);
    m_title->setCloseAction([this] { reject(); });
    layout->addWidget(m_title);

    auto *fields = new QGridLayout;
    fields->setContentsMargins(12, 4, 12, 4);
    fields->setHorizontalSpacing(12);
    m_data = new DateEdit(this);
    m_data->setObjectName(QStringLiteral("DateEdit1"));
    m_data->setAllowEmpty(false);
    m_valorDup = moneyField(QStringLiteral("CurrencyEdit1"), true, this);
    m_valorPago = moneyField(QStringLiteral("CurrencyEdit2"), false, this);
    m_diferenca = moneyField(QStringLiteral("CurrencyEdit3"), true, this);
    const QList<QPair<QString, QWidget *>> columns{{QStringLiteral("Data de Quitação"), m_data},
                                                   {QStringLiteral("Valor Duplicata"), m_valorDup},
                                                   {QStringLiteral("Valor Pago"), m_valorPago},
                                                   {QStringLiteral("Diferença"), m_diferenca}};
    for (int i = 0; i < columns.size(); ++i) {
        auto *label = new QLabel(columns[i].first, this);
        label->setBuddy(columns[i].second);
        fields->addWidget(label, 0, i);
        fields->addWidget(columns[i].second, 1, i);
    }
    layout->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    m_caixa = flatButton(QStringLiteral("Baixa Cai&xa"), QStringLiteral("SpeedButton1"),
                         QStringLiteral("$"), QColor(200, 40, 40), this);
    m_banco = flatButton(QStringLiteral("Baixar P/Banco"), QStringLiteral("SpeedButton2"),
                         QStringLiteral("B"), QColor(230, 130, 0), this);
    m_dpc = flatButton(QStringLiteral("Baixar &Dpc"), QStringLiteral("TSpeedButton7"),
                       QStringLiteral("D"), QColor(0, 104, 210), this);
    buttons->addWidget(m_caixa);
    buttons->addWidget(m_banco);
    buttons->addWidget(m_dpc);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(m_caixa, &QPushButton::clicked, this, &FrmBaixarNovo::SpeedButton1Click);
    connect(m_banco, &QPushButton::clicked, this, &FrmBaixarNovo::SpeedButton2Click);
    connect(m_dpc, &QPushButton::clicked, this, &FrmBaixarNovo::TSpeedButton7Click);
    m_valorPago->installEventFilter(this);

    m_data->setDate(Clock::today());
    double valor = 0;
    RecordSet *tb = m_hub ? m_hub->tbPagar() : nullptr;
    if (tb && tb->isOpen() && tb->recNo() >= 0)
        valor = RoundDecimals(2, tb->number(QStringLiteral("Valor")));
    m_valorDup->setValue(valor);
    m_valorPago->setValue(valor);
    m_diferenca->setValue(0);

    EnterAsTab::install(this);
}

FrmBaixarNovo::~FrmBaixarNovo() = default;

void FrmBaixarNovo::open(frmPagarManutencao *hub)
{
    auto *w = new FrmBaixarNovo(hub, hub);
    Modal::exec(w);
    TrimWorkingSet();
    delete w;
}

void FrmBaixarNovo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QScreen *s = parentWidget() ? parentWidget()->screen() : screen();
    if (s) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    hubToBrowsing();
}

bool FrmBaixarNovo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_valorPago && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        CurrencyEdit2Exit();
    return QDialog::eventFilter(watched, event);
}

void FrmBaixarNovo::CurrencyEdit2Exit()
{
    if (!m_valorPago->hasValidValue())
        return; // the field is flagged; the modes say what is wrong
    m_diferenca->setValue(
        RoundDecimals(2, RoundDecimals(2, m_valorPago->value()) - m_valorDup->value()));
}

void FrmBaixarNovo::SpeedButton1Click()
{
    run(Mode::Caixa);
}

void FrmBaixarNovo::SpeedButton2Click()
{
    run(Mode::Banco);
}

void FrmBaixarNovo::TSpeedButton7Click()
{
    run(Mode::Dpc);
}

void FrmBaixarNovo::setModeButtonsVisible(bool visible)
{
    m_caixa->setVisible(visible);
    m_banco->setVisible(visible);
    m_dpc->setVisible(visible);
}

void FrmBaixarNovo::hubToBrowsing()
{
    if (!m_hub)
        return;
    m_hub->saveBar()->setVisible(false);
    m_hub->mainBar()->setVisible(true);
    m_hub->registryBar()->setVisible(true);
}

void FrmBaixarNovo::run(Mode mode)
{
    if (!m_hub || m_caixa->isHidden())
        return; // a mode runs once
    RecordSet *tb = m_hub->tbPagar();
    if (!tb->isOpen() || tb->recNo() < 0)
        return;

    // What the person typed is checked before anything else happens, so a
    // mistake costs nothing and the buttons stay available.
    const QDate data = m_data->date();
    if (!data.isValid()) {
        Messages::warning(kAtencao, QStringLiteral("Data de Quitação inválida !!!"));
        m_data->setFocus();
        return;
    }
    if (!m_valorPago->hasValidValue() || m_valorPago->isEmpty()) {
        Messages::warning(kAtencao, QStringLiteral("Valor Pago inválido !!!"));
        m_valorPago->setFocus();
        return;
    }
    const double valorPago = RoundDecimals(2, m_valorPago->value());
    const double valorDup = RoundDecimals(2, m_valorDup->value());

    setModeButtonsVisible(false);

    const QVariant key = tb->value(QStringLiteral("Controle"));
    // The shared cost-centre list narrowed to the payable's cost centre; the
    // code is bound, so a payable without one simply narrows it to nothing.
    RecordSet *gerencial = m_hub->lookups()->tbgerencial;
    const QVariant codigoGerencial = tb->value(QStringLiteral("codigogerencial"));
    if (!Guarded([&] {
            gerencial->close();
            gerencial->setSql(QStringLiteral(
                "select * from contagerencial where codigogerencial = :codigogerencial"));
            gerencial->setParam(QStringLiteral("codigogerencial"), codigoGerencial);
            gerencial->open();
        })) {
        setModeButtonsVisible(true);
        return;
    }

    // The branch of the work row and of the ledger debit: the current row of
    // the hub's branch list.
    QVariant filialCode, filialName;
    RecordSet *filiais = m_hub->lookups()->tbfilial;
    if (filiais->isOpen() && filiais->recNo() >= 0) {
        filialCode = filiais->value(QStringLiteral("Codigofilial"));
        filialName = filiais->value(QStringLiteral("Nomefilial"));
    }

    // The question comes before anything is written.
    const bool toCash =
        mode != Mode::Banco &&
        Messages::question(kPergunta, QStringLiteral("Deseja Enviar para o Caixa ?"));

    const QString user = CurrentUserName();
    const QString usuario = user.left(kUsuarioWidth);
    const QString computador = QSysInfo::machineHostName();
    const QString hora = CurrentTimeText();
    const double diferenca = RoundDecimals(2, valorPago - valorDup);

    enum class Outcome { Settled, AlreadySettled, Missing } outcome = Outcome::Settled;
    QVariant remainderKey;
    Connection &db = *tb->connection();
    const bool ok = Guarded([&] {
        db.transaction([&] {
            QSqlQuery q =
                db.exec(QStringLiteral("SELECT * FROM pagar WHERE Controle = ? FOR UPDATE"), {key});
            if (!q.next()) {
                outcome = Outcome::Missing;
                return;
            }
            const Payable p{q.record()};
            if (isSet(p("Dataquitacao")) && p.text("pago") == QLatin1String("S")) {
                outcome = Outcome::AlreadySettled;
                return;
            }

            const QString nome = p.text("Nome");
            const QString nota = p.text("Nota");
            const QVariant fornecedor = p("CodigoFornecedor");
            const QString nomefilial = p.text("nomefilial");

            if (mode != Mode::Dpc) {
                // The work copy of the payable. Emptied with DELETE: a
                // truncation would end the transaction. Nothing later reads
                // it back; the steps below use the same values from memory.
                db.exec(QStringLiteral("DELETE FROM pagartemp"));
                RowWriter::insert(db, QStringLiteral("pagartemp"),
                                  {{QStringLiteral("Codigofilial"), filialCode},
                                   {QStringLiteral("filial"), filialName},
                                   {QStringLiteral("CodigoFornecedor"), fornecedor},
                                   {QStringLiteral("Nome"), nome},
                                   {QStringLiteral("Nota"), nota},
                                   {QStringLiteral("Dataemissao"), p("Dataemissao")},
                                   {QStringLiteral("Datavenc"), p("Datavenc")},
                                   {QStringLiteral("Dataquitacao"), data},
                                   {QStringLiteral("Valor"), p.money("Valor")},
                                   {QStringLiteral("total"), p.money("total")},
                                   {QStringLiteral("totalpg"), valorPago},
                                   {QStringLiteral("notacontrole"), p("notacontrole")},
                                   {QStringLiteral("codigogerencial"), p("codigogerencial")},
                                   {QStringLiteral("gerenial"), p("gerencial")},
                                   {QStringLiteral("codigotipo"), p("codigotipo")},
                                   {QStringLiteral("tipo"), p("tipo")},
                                   {QStringLiteral("parcelas"), p("parcelas")},
                                   {QStringLiteral("Obs1"), p("Obs")},
                                   {QStringLiteral("usuario"), user},
                                   {QStringLiteral("pago"), QStringLiteral("S")}});
            }

            // The payable settled in place; Valor and total keep their values.
            RowValues settled{{QStringLiteral("pago"), QStringLiteral("S")},
                              {QStringLiteral("Dataquitacao"), data},
                              {QStringLiteral("totalpg"), valorPago},
                              {QStringLiteral("valorpg"), valorPago},
                              {QStringLiteral("usuario"), usuario},
                              {QStringLiteral("nomecomputador"), computador},
                              {QStringLiteral("nomefornecedor"), nome},
                              {QStringLiteral("filial"), nomefilial},
                              {QStringLiteral("horaquitado"), hora}};
            switch (mode) {
            case Mode::Caixa:
                settled << qMakePair(QStringLiteral("especie"),
                                     QVariant(QStringLiteral("PAGAMENTO PAGAR DINHEIRO")))
                        << qMakePair(QStringLiteral("tipo"), QVariant(p.tipoDesc()))
                        << qMakePair(QStringLiteral("tiporecebimento"), QVariant(kDinheiro))
                        << qMakePair(QStringLiteral("gerenial"), QVariant(p.gerencialDesc()));
                break;
            case Mode::Banco:
                settled << qMakePair(QStringLiteral("especie"), QVariant(kDinheiro))
                        << qMakePair(QStringLiteral("tipo"), QVariant(p.tipoDesc()))
                        << qMakePair(QStringLiteral("tiporecebimento"), QVariant(kDinheiro))
                        << qMakePair(QStringLiteral("gerenial"),
                                     QVariant(QStringLiteral("CONTA CORRENTE")));
                break;
            case Mode::Dpc:
                // A partial payment keeps the payment type as it is.
                settled << qMakePair(QStringLiteral("especie"),
                                     QVariant(QStringLiteral("VALOR DO DPC")))
                        << qMakePair(QStringLiteral("tipo"), p("tipo"))
                        << qMakePair(QStringLiteral("tiporecebimento"),
                                     QVariant(QStringLiteral("Dpc")))
                        << qMakePair(QStringLiteral("gerenial"), QVariant(p.gerencialDesc()));
                if (p("numerodpc").toDouble() == 0)
                    settled << qMakePair(QStringLiteral("numerodpc"), QVariant(1.0));
                break;
            }
            RowWriter::update(db, QStringLiteral("pagar"), settled, QStringLiteral("Controle"),
                              key);

            if (mode == Mode::Banco) {
                RowWriter::insert(db, QStringLiteral("contacorrente"),
                                  {{QStringLiteral("tipos"), QStringLiteral("DEBITO")},
                                   {QStringLiteral("codigoconta"), kSemCodigo},
                                   {QStringLiteral("conta"), QStringLiteral("JUROS")},
                                   {QStringLiteral("banco"), QStringLiteral("JUROS")},
                                   {QStringLiteral("agencia"), QStringLiteral("9999")},
                                   {QStringLiteral("datalancamento"), data},
                                   {QStringLiteral("dataquitacao"), data},
                                   {QStringLiteral("datavencimento"), data},
                                   {QStringLiteral("debito"), valorPago},
                                   {QStringLiteral("codigofilial"), filialCode},
                                   {QStringLiteral("filial"), filialName},
                                   {QStringLiteral("codigofornecedor"), fornecedor},
                                   {QStringLiteral("fornecedor"), nome.left(50)},
                                   {QStringLiteral("codigogerencial"), p("codigogerencial")},
                                   {QStringLiteral("gerencial"), p.text("gerencial").left(50)},
                                   {QStringLiteral("codigotipo"), p("codigotipo")},
                                   {QStringLiteral("tipo"), p.text("tipo").left(25)},
                                   {QStringLiteral("codigodespesa"), p.despesaCode()},
                                   {QStringLiteral("tipodespesa"), p.despesaDesc()},
                                   {QStringLiteral("obs"), kVazio},
                                   {QStringLiteral("es"), QStringLiteral("S")},
                                   {QStringLiteral("tiposaida"), kDinheiro},
                                   {QStringLiteral("usuario"), user},
                                   {QStringLiteral("especie"), kDinheiro},
                                   {QStringLiteral("hora"), Clock::now().time()},
                                   {QStringLiteral("nomecomputador"), computador}});
            }

            if (toCash) {
                const CashPayment payment{nota,      nome,       fornecedor,        user,      data,
                                          valorPago, nomefilial, p("Codigofilial"), computador};
                CashBook::writeCaixa(db, payment);
                // A partial payment reaches the cash ledger only.
                if (mode == Mode::Caixa)
                    CashBook::writeCaixatemp(db, payment);
            }

            // What is left unpaid (or paid above the value) becomes a new open
            // payable of the same note. Paid in full, nothing is left: a
            // remainder of 0,00 would only be an open payable nobody owes.
            if (mode == Mode::Dpc && diferenca != 0) {
                const double n = p("numerodpc").toDouble() + 1;
                remainderKey = RowWriter::insert(
                    db, QStringLiteral("pagar"),
                    {{QStringLiteral("numerodpc"), n},
                     {QStringLiteral("condicao"),
                      QStringLiteral("DPC - ") + QString::number(n, 'f', 0)},
                     {QStringLiteral("Nota"), nota},
                     {QStringLiteral("notacontrole"), nota},
                     {QStringLiteral("codigonota"), p("codigonota")},
                     {QStringLiteral("controles"), p("controles")},
                     {QStringLiteral("CodigoFornecedor"), fornecedor},
                     {QStringLiteral("Nome"), nome},
                     {QStringLiteral("nomefornecedor"), nome},
                     {QStringLiteral("Dataemissao"), p("Dataemissao")},
                     {QStringLiteral("Datavenc"), p("Datavenc")},
                     {QStringLiteral("Valor"), RoundDecimals(2, valorDup - valorPago)},
                     {QStringLiteral("total"), p.money("total")},
                     {QStringLiteral("parcelas"), 1.0},
                     {QStringLiteral("Codigofilial"), p("Codigofilial")},
                     {QStringLiteral("filial"), nomefilial},
                     {QStringLiteral("nomefilial"), nomefilial},
                     {QStringLiteral("codigogerencial"), p("codigogerencial")},
                     {QStringLiteral("gerenial"), p.gerencialDesc()},
                     {QStringLiteral("gerencial"), p.gerencialDesc()},
                     {QStringLiteral("codigotipo"), p("codigotipo")},
                     {QStringLiteral("tipo"), p("tipo")},
                     {QStringLiteral("codigodespesa"), p.despesaCode()},
                     {QStringLiteral("despesa"), p.despesaDesc()},
                     {QStringLiteral("chavenota"), p("chavenota")},
                     {QStringLiteral("codigoparcela"), p("codigoparcela")},
                     {QStringLiteral("descparcela"), p("descparcela")},
                     {QStringLiteral("aplicacao"), p("aplicacao")},
                     {QStringLiteral("Obs"), QStringLiteral("DPC")},
                     {QStringLiteral("pago"), QStringLiteral("N")},
                     {QStringLiteral("horalanc"), hora},
                     {QStringLiteral("usuario"), usuario},
                     {QStringLiteral("nomecomputador"), computador},
                     {QStringLiteral("tiporecebimento"), kVazio}});
            }
        });
    });

    // The list shows what the server now holds, whatever happened: the
    // remainder alone after a partial settlement, the row itself otherwise.
    if (ok && remainderKey.isValid()) {
        Guarded([&] {
            tb->close();
            tb->setSql(QStringLiteral("select * from pagar where Controle = :Controle"));
            tb->setParam(QStringLiteral("Controle"), remainderKey);
            tb->open();
        });
    } else {
        Guarded([&] { tb->refreshRow(); });
    }

    if (!ok) {
        // Nothing was written: the person may correct and try again.
        setModeButtonsVisible(true);
        hubToBrowsing();
        return;
    }
    if (outcome == Outcome::AlreadySettled)
        Messages::warning(kAtencao, QStringLiteral("Nota já foi Quitada !!!"));
    else if (outcome == Outcome::Missing)
        Messages::warning(kAtencao, QStringLiteral("A duplicata não existe mais: foi excluída por "
                                                   "outra estação."));
    hubToBrowsing();
    if (outcome == Outcome::Settled)
        accept();
    else
        reject();
}
