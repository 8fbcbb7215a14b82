#include "ledger/TransferPlan.h"

#include "books/Classification.h"
#include "db/DisplayFormat.h"

#include <set>
#include <tuple>

namespace TransferPlan {

namespace {

double money(const QVariant &v)
{
    return v.isNull() ? 0 : v.toDouble();
}

// A document as the ledger's collation compares it.
QString comparable(const QString &documento)
{
    QString d = storedDocument(documento).toCaseFolded();
    while (d.endsWith(QLatin1Char(' ')))
        d.chop(1);
    return d;
}

using Key = std::tuple<qint64, double, QString>;

Key keyOf(const StagedLine &line)
{
    return {line.data.toJulianDay(), amount(line), comparable(line.documento)};
}

} // namespace

bool isCredit(const StagedLine &line)
{
    return money(line.valor) != 0;
}

double amount(const StagedLine &line)
{
    return isCredit(line) ? money(line.valor) : money(line.debito);
}

QString storedDocument(const QString &documento)
{
    return documento.left(StoredDocumentWidth);
}

LedgerMovement movement(const StagedLine &line, const TransferContext &c, bool likelyDuplicate)
{
    LedgerMovement m;
    m.documento = storedDocument(line.documento);
    m.datalancamento = line.data;
    m.datavencimento = line.data;
    m.dataquitacao = line.data;
    m.codigofilial = c.codigofilial;
    m.filial = c.filial;
    m.codigofornecedor = Classification::SemCodigo;
    m.fornecedor = line.historico;
    m.codigogerencial = Classification::SemCodigo;
    m.gerencial = QStringLiteral("BANCO");
    m.tiposaida = QStringLiteral("BANCO");
    m.banco = c.banco;
    m.conta = c.conta;
    m.agencia = c.agencia;
    m.codigotipo = 1.0;
    m.tipo = QStringLiteral("VARIAVEL");
    m.codigoconta = 0.0;
    m.hora = c.now;
    m.dataimportado = c.today;
    m.importado = QStringLiteral("S");
    m.usuario = c.usuario;
    const double value = amount(line);
    if (isCredit(line)) {
        m.valor = value;
        m.es = QStringLiteral("E");
        m.tipos = QStringLiteral("ENTRADA");
    } else {
        m.debito = value;
        m.es = QStringLiteral("S");
        m.tipos = QStringLiteral("DEBITO");
    }
    m.valordoc = value;
    m.especie = likelyDuplicate ? QStringLiteral("DINHEIRO") : QStringLiteral("BANCO");
    return m;
}

QString duplicateQuestion(double amount)
{
    return QStringLiteral("Já existe um valor parecido!\nValor R$: %1\nConfirma o lançamento do "
                          "registro?")
        .arg(DisplayFormat::format(amount, QStringLiteral("###,##0.000")));
}

QList<LedgerMovement> plan(const QList<StagedLine> &lines, const QSet<int> &inLedger,
                           const TransferContext &context, const Ask &ask)
{
    QList<LedgerMovement> movements;
    std::set<Key> booked;
    for (const StagedLine &line : lines) {
        const Key key = keyOf(line);
        const bool likely = inLedger.contains(line.id) || booked.count(key) > 0;
        if (likely && !ask(line, amount(line)))
            continue;
        booked.insert(key);
        movements << movement(line, context, likely);
    }
    return movements;
}

} // namespace TransferPlan
