#pragma once
// The e-mailed list of open payables: what one branch (or every branch,
// "TODAS") still owes and falls due in a period, as an HTML message with the
// matching printed report attached as a PDF. The e-mailing dialog and the
// unattended command build the same message here; sending it is the mail
// layer's job (MailSendJob in a window, SmtpSender on the command line).
//
// Unlike the printed reports, the list includes renegotiated payables. The
// body is written line by line, every line ended by CR LF, with every value
// HTML-escaped (a supplier called "A & B <Ltda>" stays text) and a meta line
// that declares the UTF-8 the message is really sent in.
//
// Recipients: for one branch EMAIL1..3 of [GERAL] with CONTATO1..3 as their
// names, an empty address skipped; for "TODAS" the fixed recipient of
// MailDeployment. problem() tells, before anything is read or sent, why the
// message cannot go out (no recipient, mail not configured).

#include "mail/MailMessage.h"
#include "reports/MailDeployment.h"
#include "reports/Reports.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class RecordSet;

namespace OpenPayablesMail {

inline const QString Subject = QStringLiteral("CONTAS A PAGAR");
// The branch text that means every branch (exactly so, upper case).
inline const QString All = QStringLiteral("TODAS");

struct Request
{
    bool todas = false;
    std::optional<double> filial; // the branch's code (one branch)
    QString filialText;           // the name as chosen, "TODAS" for every branch
    QDate dataI;
    QDate dataF;
};

// The list's SQL text, with its named parameters.
QString query(bool todas);
// The captions of the list's columns.
QStringList captions(bool todas);
// Opens the list of the request on rows.
void openRows(RecordSet &rows, const Request &request);
// The HTML body over the open rows, addressed to attention.
QString body(const Request &request, const RecordSet &rows, const QString &attention);

QList<MailAddress> recipients(const Request &request, const MailDeployment &deployment);
// Why the message cannot be sent ("" when it can); checked before connecting.
QString problem(const Request &request, const MailDeployment &deployment);

// The printed report that goes with the request, as "&Imprimi" prints it and
// the message attaches it.
QString reportName(const Request &request);
Reports::Params reportParams(const Request &request);
// The attachment's file name.
QString pdfName(const Request &request);

// The whole message: reads the list (DbError on a database failure), writes
// the body and attaches the report's PDF. false, with *error, when the PDF
// cannot be made.
bool build(const Request &request, const MailDeployment &deployment, MailMessage *message,
           QString *error);

} // namespace OpenPayablesMail
