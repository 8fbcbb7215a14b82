#pragma once
// The reports printed from this workstation's work tables: the annual
// movement (the list by supplier and month, and the three column reports
// with one column per month), the netting of receivables against payables
// with its verdict, the open-and-paid movement and the synthetic payments
// by supplier.
//
// Each prepare function first asks its fill whether the work tables are
// still this session's (require(): after a reconnect they are gone and the
// clerk is told to run "Gerar" again, rather than reading the tables that
// every workstation shares), then runs the report's query on the fill's
// connection and the definition over its rows. Database errors are thrown
// as DbError. The title line is the report's title text, the first date,
// " à " and the last date (dd/MM/yyyy).

#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"
#include "reports/NettingFill.h"

#include <QDate>
#include <QString>

#include <optional>

class AnnualMovementFill;
class PaymentSummaryFill;
class QWidget;
class RecordSet;

namespace WorkTableReports {

// Which of the annual movement's reports: every supplier, one supplier or
// one cost centre (the lookup edit that the clerk filled).
enum class Scope { Geral, Fornecedor, Gerencial };

QString titleLine(const QString &title, const QDate &from, const QDate &to);

// "&Normal": RptMovimentacaoAnual, one line per supplier code and month
// under a header per supplier name; every supplier whatever the scope,
// which only chooses the title.
QString annualNormalTitle(Scope scope);
Report::PreparedReport annualNormal(const AnnualMovementFill &fill, Scope scope, const QDate &from,
                                    const QDate &to);

// "&Colunas": RptMovimentacaoAnualColunas01 / ...Fornecedor01 /
// ...Gerencial01, one line per supplier name, the twelve months and the
// total; restricted to the supplier (codigocliente) or the cost centre
// (codigoplano) of code for those scopes. A month column left unset counts
// as 0.
QString annualColumnsName(Scope scope);
QString annualColumnsTitle(Scope scope);
Report::PreparedReport annualColumns(const AnnualMovementFill &fill, Scope scope,
                                     std::optional<double> code, const QDate &from,
                                     const QDate &to);

// RptEncontroContas: the rows of the period by due date, payables before
// receivables on a day, with the verdict in the summary (also handed back).
Report::PreparedReport netting(const NettingFill &fill, const QDate &from, const QDate &to,
                               NettingVerdict *verdict = nullptr);
// The verdict over the rows of the netting's query (es "E": Credito, any
// other: Debito), as the report's summary prints it.
NettingVerdict nettingVerdict(const RecordSet &rows);

// RptResumoPagamentoAbertoQuitado: the open group, then the paid group.
Report::PreparedReport openAndPaid(const PaymentSummaryFill &fill, const QDate &from,
                                   const QDate &to);
// RptReceberSintetico: one line per supplier name with the total paid.
Report::PreparedReport synthetic(const PaymentSummaryFill &fill, const QDate &from,
                                 const QDate &to);

// Shows the preview of the report's engine from a screen that stays open:
// the modal preview returns when it closes; the independent one takes the
// screen as its owner, so the modal screen does not block it.
void show(Report::PreparedReport report, QWidget *screen);
// The screen closes: its independent previews stay open on their own.
void releasePreviews(QWidget *screen);

} // namespace WorkTableReports
