#pragma once
// The open- and paid-payables reports, each described as data (query,
// parameters, paper, header lines, columns, group, sums) and built into a
// report definition by one function. The option dialogs, the period dialog
// and the command line all run a report the same way: prepare() opens the
// report's query with the parameters and runs the definition over its rows.

#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
class RecordSet;
class Connection;

namespace Reports {

// What the person chose: the period and, where the report asks for one, the
// branch, supplier or cost centre (code and the name shown for it).
struct Params
{
    QDate dataI;                      // DataI, inclusive
    QDate dataF;                      // DataF, inclusive
    std::optional<double> filial;     // MFilial
    std::optional<double> fornecedor; // MFornecedor
    std::optional<double> gerencial;  // MGerencial
    QString filialNome;
    QString fornecedorNome;
    QString gerencialNome;
    // Replaces the report's own title text when not empty (the e-mailing
    // dialog prints its own title over the same report).
    QString title;
    // The header line that some reports leave empty below the title.
    QString extraLine;
};

enum class Selection { Filial, Fornecedor, Gerencial };

// Names of every report of this family, in menu order.
QStringList names();
bool exists(const QString &name);
// The selections a report's query needs (MFilial, MFornecedor, MGerencial).
QList<Selection> selections(const QString &name);
// The report's SQL text, with its named parameters.
QString query(const QString &name);
// The title line as printed: title text, first date, " à ", last date.
QString titleLine(const QString &name, const Params &params);

// The report's definition with its header lines filled from params. An
// unknown name gives an empty definition.
Report::ReportDefinition definition(const QString &name, const Params &params);

// Opens the report's query (parameters bound) on the program's connection
// (or on the given one) and keeps the client-side order of the report.
void openQuery(RecordSet &rows, const QString &name, const Params &params);
// Runs the report: the query with the parameters, then the definition over
// its rows. Database errors are thrown as DbError.
Report::PreparedReport prepare(const QString &name, const Params &params);

// Runs the report and shows the preview of its engine (modal: returns when
// it closes; independent: returns at once, the window lives on its own).
void show(const QString &name, const Params &params, QWidget *parent = nullptr);

// Registers, in the menu-action registry, the entries of the payables
// maintenance screen's report menus that open these reports and their
// option dialogs.
void registerHubEntries();

// Unattended run from the command line:
//   --relatorio NOME --de dd/mm/aaaa --ate dd/mm/aaaa [--filial N]
//   [--fornecedor N] [--gerencial N] --saida ARQUIVO
// or, to e-mail the open payables of a branch or of all branches with the
// report's PDF attached:
//   --enviar-email (--filial N | --todas) --de dd/mm/aaaa --ate dd/mm/aaaa
// Returns -1 when the arguments are no report command, otherwise the exit
// code: 0 done; 2 bad argument; 3 database unreachable; 4 file not written;
// 5 e-mail not sent (refused, unreachable, not configured, no recipient).
// Messages go to standard error.
int runCommandLine(const QStringList &arguments);
// The same, with the messages handed back instead of written (tests).
int runCommandLine(const QStringList &arguments, QString *messages);
// Whether the arguments ask for an unattended report run (main skips the
// single-instance rule and the message boxes then).
bool isReportCommand(const QStringList &arguments);

} // namespace Reports
