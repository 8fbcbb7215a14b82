#include "reports/MonthTotals.h"

#include "reports/WorkTable.h"

#include <QSqlQuery>

#include <algorithm>

namespace MonthTotals {

QString label(int year, int month)
{
    static const QStringList names = {
        QStringLiteral("JANEIRO/"), QStringLiteral("FEVEREIRO/"), QStringLiteral("MARÇO/"),
        QStringLiteral("ABRIL/"),   QStringLiteral("MAIO/"),      QStringLiteral("JUNHO/"),
        QStringLiteral("JULHO/"),   QStringLiteral("AGOSTO/"),    QStringLiteral("SETEMBRO/"),
        QStringLiteral("OUTUBRO/"), QStringLiteral("NOVEMBRO/"),  QStringLiteral("DEZEMBRO/")};
    if (month < 1 || month > 12)
        return QString();
    return names[month - 1] + QString::number(year).rightJustified(4, QLatin1Char('0'));
}

std::vector<Month> rows(std::vector<Month> sums)
{
    std::sort(sums.begin(), sums.end(), [](const Month &a, const Month &b) {
        return a.year != b.year ? a.year < b.year : a.month < b.month;
    });
    std::vector<Month> out;
    for (const Month &m : sums)
        if (m.total != 0 && m.month >= 1 && m.month <= 12)
            out.push_back(m);
    return out;
}

int fill(WorkTable &pagarmes, const QDate &from, const QDate &to,
         const std::optional<Selection> &selection, const Progress &progress)
{
    pagarmes.claim();
    Connection &db = *pagarmes.connection();
    auto date = [](const QDate &d) {
        return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
    };
    auto code = [](const std::optional<double> &c) {
        return c ? QVariant(*c) : QVariant(QMetaType::fromType<double>());
    };
    QString where = QStringLiteral("dataquitacao >= ? and dataquitacao <= ?");
    QVariantList params{date(from), date(to)};
    if (selection) {
        where = QStringLiteral("codigofornecedor = ? and codigofilial = ? and ") + where;
        params = QVariantList{code(selection->fornecedor), code(selection->filial)} + params;
    }
    // The server sums each month; only the months travel.
    std::vector<Month> sums;
    {
        QSqlQuery q = db.exec(QStringLiteral("select year(dataquitacao), month(dataquitacao), "
                                             "sum(valor) from pagar where %1 "
                                             "group by year(dataquitacao), month(dataquitacao)")
                                  .arg(where),
                              params);
        const int total = q.size();
        if (progress)
            progress(0, total);
        while (q.next()) {
            sums.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toDouble()});
            if (progress)
                progress(int(sums.size()), total);
        }
    }
    const std::vector<Month> months = rows(std::move(sums));
    QStringList columns{QStringLiteral("mes01"), QStringLiteral("descricao")};
    if (selection)
        columns << QStringLiteral("codigofilial") << QStringLiteral("filial")
                << QStringLiteral("codigofornecedor") << QStringLiteral("fornecedor");
    WorkTable::Writer writer(pagarmes, columns);
    for (const Month &m : months) {
        QVariantList values{m.total, label(m.year, m.month)};
        if (selection)
            values << code(selection->filial) << selection->filialNome
                   << code(selection->fornecedor) << selection->fornecedorNome;
        writer.add(values);
    }
    writer.finish();
    return writer.written();
}

} // namespace MonthTotals
