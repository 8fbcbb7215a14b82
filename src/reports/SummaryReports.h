#pragma once
// The list reports of the summary screens, over their work tables as the
// last fill left them:
//   RptResumoPagarCorrente, RptResumoPagarCorrenteDespesa,
//   RptResumoPagarCorrenteFornecedor: one line per cost centre, expense type
//     or supplier of `resumo` with its credit and debit totals, and a
//     summary with the count, the two totals and their difference (first
//     engine: Letter portrait, modal preview, print job "Perc. de Venda");
//   RptPagarFilialFornecedorGrafico (one branch and supplier),
//   RptPagarFilialFornecedorGrafico01 (the company): the month totals of
//     `pagarmes`, with their count and sum (second engine: Letter portrait,
//     independent preview).
// Each is described by a row of a table; the reading goes through the
// WorkTable, so a report never prints another workstation's rows.

#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"
#include "reports/Reports.h"

#include <QStringList>

class QWidget;
class WorkTable;

namespace SummaryReports {

QStringList names();
// The report's SQL text over its work table.
QString query(const QString &name);
// The report's header lines as printed, top to bottom (company or branch
// first), for the period, selection and title in params.
QStringList headerLines(const QString &name, const Reports::Params &params);
Report::ReportDefinition definition(const QString &name, const Reports::Params &params);
// Reads the work table and runs the report (DbError when the table's copy
// is gone or the query fails).
Report::PreparedReport prepare(const QString &name, const WorkTable &table,
                               const Reports::Params &params);
// Runs the report and shows the preview of its engine.
void show(const QString &name, const WorkTable &table, const Reports::Params &params,
          QWidget *parent = nullptr);

} // namespace SummaryReports
