#include "reports/ResumoFill.h"

#include "books/Classification.h"
#include "books/Operation.h"
#include "reports/WorkTable.h"

#include <QSqlQuery>

#include <cmath>

namespace ResumoFill {

namespace {

const QString kPagar = QStringLiteral("CONTAS A PAGAR");
const QString kReceber = QStringLiteral("CONTA RECEBER");
const QString kDebito = QStringLiteral("DEBITO");
const QString kCredito = QStringLiteral("CREDITO");
const QString kPosicao = QStringLiteral("O");

QVariant upper(const QVariant &v)
{
    return v.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(v.toString().toUpper());
}

const QVariant kNullText = QVariant(QMetaType::fromType<QString>());

// Progress is reported at most about every hundredth of a pass.
struct Ticker
{
    const Progress &progress;
    int pass;
    int total;
    int step;
    int next = 0;
    Ticker(const Progress &p, int pass_, int total_)
        : progress(p), pass(pass_), total(total_), step(std::max(1, total_ / 100))
    {
        if (progress)
            progress(pass, 0, total);
    }
    void at(int done)
    {
        if (progress && done >= next) {
            progress(pass, done, total);
            next = done + step;
        }
    }
    void end(int done)
    {
        if (progress)
            progress(pass, done, total);
    }
};

// The columns of a plan's row (see columns()) that each source binds; the
// others are the same in every row of that source.
const QList<int> kPayableBound{0, 1, 3, 6, 10, 11, 12, 14, 15, 16, 17, 18};
const QList<int> kReceivableBound{0, 1, 5, 6, 10, 11, 12, 13, 16};

// A constant of the program as SQL text (texts here are plain capitals).
QString literal(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.metaType().id() == QMetaType::QString)
        return QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
    return QString::number(v.toDouble(), 'g', 17);
}

// The writer of one source: its bound columns, and the others as the
// constants of a sample row of its plan (or copies of an earlier column).
WorkTable::Writer writerFor(WorkTable &resumo, const QList<int> &bound, const QVariantList &sample)
{
    const QStringList &all = columns();
    QStringList names;
    for (int i : bound)
        names << all[i];
    QList<WorkTable::Fixed> fixed;
    for (int i = 0; i < all.size(); ++i) {
        if (bound.contains(i))
            continue;
        const QString &c = all[i];
        // dataf repeats Datai, valor repeats the amount.
        if (c == QLatin1String("dataf"))
            fixed.push_back({c, QStringLiteral("Datai")});
        else if (c == QLatin1String("valor"))
            fixed.push_back(
                {c, bound.contains(3) ? QStringLiteral("debito") : QStringLiteral("credito")});
        else
            fixed.push_back({c, literal(sample[i])});
    }
    return WorkTable::Writer(resumo, names, fixed);
}

} // namespace

const QStringList &columns()
{
    static const QStringList c = {
        "nota",
        "Datai",
        "dataf",
        "debito",
        "valor",
        "credito",
        "especie",
        "tabela",
        "posicao",
        "codigo",
        "historico",
        "codigofilial",
        "filial",
        "condicao",
        "codigoplano",
        "plano",
        "codigofornecedor",
        "codigogerencial",
        "gerencial",
    };
    return c;
}

std::optional<qint64> codeKey(const QVariant &code)
{
    if (code.isNull() || !code.isValid())
        return std::nullopt;
    if (code.metaType().id() == QMetaType::QString && code.toString().trimmed().isEmpty())
        return std::nullopt;
    bool ok = false;
    const double d = code.toDouble(&ok);
    if (!ok || !std::isfinite(d) || d != std::floor(d))
        return std::nullopt;
    return qint64(d);
}

std::optional<double> payableAmount(const QVariant &valorpg, const QVariant &totalpg)
{
    // Bills settled at entry carry their amount in totalpg only.
    const QVariant &source = valorpg.isNull() ? totalpg : valorpg;
    if (source.isNull())
        return std::nullopt;
    const double v = source.toDouble();
    if (!(v > 0))
        return std::nullopt;
    return v;
}

std::optional<QVariantList> payableRow(const Payable &p, const CostCentres &costCentres)
{
    const std::optional<double> amount = payableAmount(p.valorpg, p.totalpg);
    if (!amount)
        return std::nullopt;
    QVariant codigoPlano = 1.0;
    QVariant plano = Classification::Diversos;
    if (p.codigodespesa.toDouble() != 0) {
        codigoPlano = p.codigodespesa.toDouble();
        plano = upper(p.despesa);
    }
    QVariant codigoGerencial = Classification::SemCodigo;
    QVariant gerencial = Classification::Diversos;
    if (const auto key = codeKey(p.codigogerencial)) {
        const auto it = costCentres.constFind(*key);
        if (it != costCentres.cend()) {
            codigoGerencial = double(*key);
            gerencial = upper(*it);
        }
    }
    return QVariantList{p.nota,
                        p.dataquitacao,
                        p.dataquitacao,
                        *amount,
                        *amount,
                        QVariant(QMetaType::fromType<double>()),
                        upper(p.especie),
                        kPagar,
                        kPosicao,
                        1.0,
                        upper(p.nome),
                        p.codigofilial,
                        upper(p.nomefilial),
                        kDebito,
                        codigoPlano,
                        plano,
                        p.codigofornecedor,
                        codigoGerencial,
                        gerencial};
}

QVariantList receivableRow(const Receivable &r)
{
    const double total = r.totalPg.toDouble();
    QVariant nota = kNullText;
    if (total > 0)
        nota = r.codigoNota.toString().isEmpty() ? QVariant(QStringLiteral("S/N")) : r.codigoNota;
    return QVariantList{nota,
                        r.dataQuitacao,
                        r.dataQuitacao,
                        QVariant(QMetaType::fromType<double>()),
                        total,
                        total,
                        upper(r.especie),
                        kReceber,
                        kPosicao,
                        2.0,
                        upper(r.nome),
                        r.codigoFilial,
                        r.filial,
                        total != 0 ? kCredito : kDebito,
                        1.0,
                        Classification::Diversos,
                        r.codigoCliente,
                        Classification::SemCodigo,
                        Classification::Diversos};
}

Outcome fill(WorkTable &resumo, const QDate &from, const QDate &to, const Progress &progress)
{
    Outcome out;
    resumo.claim();
    Connection &db = *resumo.connection();
    runOperation(db, QStringLiteral("a geração do resumo"), [&] {
        CostCentres costCentres;
        {
            QSqlQuery q =
                db.exec(QStringLiteral("select codigogerencial, gerencial from contagerencial"));
            while (q.next())
                costCentres.insert(q.value(0).toLongLong(), q.value(1).toString());
        }
        {
            QSqlQuery q = db.exec(
                QStringLiteral("select nota, dataquitacao, valorpg, totalpg, especie, nome, "
                               "codigofilial, nomefilial, codigodespesa, despesa, "
                               "codigofornecedor, codigogerencial from pagar "
                               "where dataquitacao >= ? and dataquitacao <= ? "
                               "order by dataquitacao, controle"),
                {from, to});
            Ticker tick(progress, 0, q.size());
            int done = 0;
            Payable p;
            p.valorpg = 1.0;
            WorkTable::Writer writer =
                writerFor(resumo, kPayableBound, *payableRow(p, costCentres));
            while (q.next()) {
                p.nota = q.value(0);
                p.dataquitacao = q.value(1);
                p.valorpg = q.value(2);
                p.totalpg = q.value(3);
                p.especie = q.value(4);
                p.nome = q.value(5);
                p.codigofilial = q.value(6);
                p.nomefilial = q.value(7);
                p.codigodespesa = q.value(8);
                p.despesa = q.value(9);
                p.codigofornecedor = q.value(10);
                p.codigogerencial = q.value(11);
                if (const auto row = payableRow(p, costCentres)) {
                    writer.add(*row, kPayableBound);
                    ++out.payables;
                }
                tick.at(++done);
            }
            writer.finish();
            tick.end(done);
        }
        {
            QSqlQuery q = db.exec(
                QStringLiteral("select CodigoNota, DataQuitacao, TotalPg, CodigoFilial, filial, "
                               "CodigoCliente, Nome, especie from receber "
                               "where DataQuitacao >= ? and DataQuitacao <= ? "
                               "order by DataQuitacao, Controle"),
                {from, to});
            Ticker tick(progress, 1, q.size());
            int done = 0;
            Receivable r;
            WorkTable::Writer writer = writerFor(resumo, kReceivableBound, receivableRow(r));
            while (q.next()) {
                r.codigoNota = q.value(0);
                r.dataQuitacao = q.value(1);
                r.totalPg = q.value(2);
                r.codigoFilial = q.value(3);
                r.filial = q.value(4);
                r.codigoCliente = q.value(5);
                r.nome = q.value(6);
                r.especie = q.value(7);
                writer.add(receivableRow(r), kReceivableBound);
                ++out.receivables;
                tick.at(++done);
            }
            writer.finish();
            tick.end(done);
        }
    });
    return out;
}

} // namespace ResumoFill
