#pragma once
// The charts of the summary screens as one table of members: for each, the
// window's caption and height, the data set over its work table (one bar per
// row: a label column and a value column), the marks, and which total of
// the summary screen its strip shows.
//
//   FrmGraficoCentralCusto, FrmGraficoCentralCustoDebito, FrmGraficoDespesa,
//   FrmGraficoDespesaDebito, FrmGraficoFornecedor, FrmGraficoFornecedorDebito:
//     windows over `resumo`, credits or debits per cost centre, expense type
//     or supplier, each bar marked with its label and its share of the whole;
//   FrmResumoquitado, FrmResumoquitadoPorFilialFornecedor: the month bars of
//     `pagarmes` (in the month screens themselves), each marked with its value.

#include "charts/ChartSpec.h"

#include <QDate>
#include <QStringList>

class QWidget;
class WorkTable;

namespace SummaryCharts {

// What the summary screen hands its chart windows: its totals and period.
struct Context
{
    double creditTotal = 0;
    double debitTotal = 0;
    QDate dataI;
    QDate dataF;
};

QStringList names();
// The member's data set (SQL over its work table).
QString query(const QString &name);
// The member's chart: caption, size, strip and the bars read from the table
// (DbError when the table's copy is gone or the query fails).
Charts::ChartSpec spec(const QString &name, const WorkTable &table, const Context &context = {});
// Opens the member's chart window modally and destroys it when it closes.
void open(const QString &name, const WorkTable &table, const Context &context,
          QWidget *parent = nullptr);

} // namespace SummaryCharts
