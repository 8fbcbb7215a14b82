// Unattended runs of the reports: the report, the period and the selection
// come from the command line and the prepared report goes straight to a file
// in the format of its extension; no window is opened. The same way, the
// e-mailed list of open payables is built and sent (--enviar-email).

#include "reports/Reports.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "db/RecordSet.h"
#include "mail/SmtpSender.h"
#include "report/ReportExport.h"
#include "reports/OpenPayablesMail.h"

#include <QFileInfo>
#include <QSet>

#include <cstdio>

namespace Reports {
namespace {

enum Exit { Ok = 0, BadArguments = 2, NoDatabase = 3, WriteFailed = 4, MailNotSent = 5 };

const QStringList kOptions{"--relatorio", "--de",    "--ate",          "--filial", "--fornecedor",
                           "--gerencial", "--saida", "--enviar-email", "--todas"};
// Options that stand alone, without a value.
const QStringList kFlags{"--enviar-email", "--todas"};

QString usage()
{
    return QStringLiteral("Uso: contas-pagar --relatorio NOME --de dd/mm/aaaa --ate dd/mm/aaaa "
                          "[--filial N] [--fornecedor N] [--gerencial N] --saida ARQUIVO\n"
                          "     contas-pagar --enviar-email (--filial N | --todas) --de "
                          "dd/mm/aaaa --ate dd/mm/aaaa");
}

QString optionName(const QString &arg)
{
    return arg.section(QLatin1Char('='), 0, 0);
}

// The name the registry gives a code ("" when the code is not registered:
// payables keep codes of entries deleted since).
QString registryName(Selection s, double code)
{
    static const char *const sql[] = {
        "select nomefilial from filial where codigofilial = :Codigo",
        "select nome from fornecedor where codigofornecedor = :Codigo",
        "select gerencial from contagerencial where codigogerencial = :Codigo",
    };
    RecordSet rs(DM::instance()->MyConnection1, QString::fromLatin1(sql[int(s)]));
    rs.setParam(QStringLiteral("Codigo"), code);
    rs.open();
    return rs.isEmpty() ? QString() : rs.value(rs.fieldName(0)).toString();
}

using Values = QMap<QString, QString>;

// Adds the text to the messages and gives the code back.
struct Failer
{
    QString *messages;
    int operator()(int code, const QString &text) const
    {
        *messages += text + QLatin1Char('\n');
        return code;
    }
};

// --de and --ate into p; 0, or the exit code after its message.
int readPeriod(const Values &values, Params *p, const Failer &fail)
{
    for (const auto &[option, date] : {std::pair{QStringLiteral("--de"), &p->dataI},
                                       std::pair{QStringLiteral("--ate"), &p->dataF}}) {
        if (!values.contains(option))
            return fail(BadArguments, QStringLiteral("Falta %1 (data dd/mm/aaaa).").arg(option));
        *date = QDate::fromString(values.value(option), QStringLiteral("dd/MM/yyyy"));
        if (!date->isValid())
            return fail(BadArguments, QStringLiteral("Data inválida em %1: %2 (use dd/mm/aaaa).")
                                          .arg(option, values.value(option)));
    }
    if (p->dataI > p->dataF)
        return fail(BadArguments, QStringLiteral("A data de --de (%1) é posterior à de --ate (%2).")
                                      .arg(values.value(QStringLiteral("--de")),
                                           values.value(QStringLiteral("--ate"))));
    return Ok;
}

// A code option into *code; 0, or the exit code after its message.
int readCode(const Values &values, const QString &option, std::optional<double> *code,
             const Failer &fail)
{
    bool ok = false;
    const int value = values.value(option).toInt(&ok);
    if (!ok)
        return fail(BadArguments, QStringLiteral("Código inválido em %1: %2 (use um número).")
                                      .arg(option, values.value(option)));
    *code = double(value);
    return Ok;
}

// 0 when the database of Admin.ini is open, or the exit code after its message.
int checkDatabase(const Failer &fail)
{
    DM *dm = DM::instance();
    if (dm && !Config().problems.isEmpty())
        return fail(NoDatabase, Config().problems.join(QLatin1Char('\n')));
    if (!dm || !dm->MyConnection1 || !dm->MyConnection1->isOpen()) {
        const QString why = dm ? dm->startupError() : QString();
        return fail(
            NoDatabase,
            QStringLiteral("Não foi possível conectar ao banco de dados%1; confira o "
                           "servidor, a porta e o banco em %2.")
                .arg(why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why), Config().path));
    }
    return Ok;
}

int runReport(const Values &values, const Failer &fail)
{
    const QString report = values.value(QStringLiteral("--relatorio"));
    if (report.isEmpty())
        return fail(BadArguments, QStringLiteral("Falta --relatorio.\n%1").arg(usage()));
    if (!exists(report))
        return fail(BadArguments, QStringLiteral("Relatório desconhecido: %1\nRelatórios: %2")
                                      .arg(report, names().join(QStringLiteral(", "))));
    QString name = report;
    for (const QString &n : names())
        if (n.compare(report, Qt::CaseInsensitive) == 0)
            name = n;

    Params p;
    if (const int code = readPeriod(values, &p, fail))
        return code;

    const QList<Selection> needed = selections(name);
    struct Sel
    {
        Selection kind;
        QString option;
        std::optional<double> *code;
        QString *nome;
    };
    const Sel sels[] = {{Selection::Filial, "--filial", &p.filial, &p.filialNome},
                        {Selection::Fornecedor, "--fornecedor", &p.fornecedor, &p.fornecedorNome},
                        {Selection::Gerencial, "--gerencial", &p.gerencial, &p.gerencialNome}};
    for (const Sel &s : sels) {
        const bool given = values.contains(s.option);
        if (needed.contains(s.kind) && !given)
            return fail(BadArguments,
                        QStringLiteral("O relatório %1 exige %2 (código).").arg(name, s.option));
        if (!needed.contains(s.kind) && given)
            return fail(BadArguments,
                        QStringLiteral("O relatório %1 não usa %2.").arg(name, s.option));
        if (!given)
            continue;
        if (const int code = readCode(values, s.option, s.code, fail))
            return code;
    }

    const QString out = values.value(QStringLiteral("--saida"));
    if (out.isEmpty())
        return fail(BadArguments,
                    QStringLiteral("Falta --saida (arquivo de saída).\n%1").arg(usage()));
    if (!Report::formatForPath(out)) {
        QStringList exts;
        for (const Report::ExportFormat &f : Report::exportFormats())
            if (!exts.contains(QLatin1Char('.') + f.extension))
                exts << QLatin1Char('.') + f.extension;
        return fail(BadArguments, QStringLiteral("Extensão de arquivo desconhecida: %1 (use %2).")
                                      .arg(out, exts.join(QStringLiteral(", "))));
    }

    if (const int code = checkDatabase(fail))
        return code;

    Report::PreparedReport prepared;
    try {
        for (const Sel &s : sels)
            if (*s.code)
                *s.nome = registryName(s.kind, **s.code);
        for (const Sel &s : sels)
            if (*s.code && s.nome->isEmpty())
                return fail(BadArguments, QStringLiteral("O código %1 de %2 não está cadastrado.")
                                              .arg(qint64(**s.code))
                                              .arg(s.option));
        prepared = prepare(name, p);
    } catch (const DbError &e) {
        return fail(NoDatabase, QStringLiteral("Erro do banco de dados: %1").arg(e.message()));
    }
    QString error;
    if (!Report::exportTo(prepared, out, &error))
        return fail(WriteFailed, QStringLiteral("Não foi possível gravar %1: %2").arg(out, error));
    *fail.messages += QStringLiteral("Relatório %1 gravado em %2\n").arg(name, out);
    return Ok;
}

// --enviar-email (--filial N | --todas) --de dd/mm/aaaa --ate dd/mm/aaaa
int runEmail(const Values &values, const Failer &fail)
{
    for (const char *other : {"--relatorio", "--saida", "--fornecedor", "--gerencial"})
        if (values.contains(QLatin1String(other)))
            return fail(BadArguments, QStringLiteral("O envio de e-mail (--enviar-email) não usa "
                                                     "%1.")
                                          .arg(QLatin1String(other)));
    const bool todas = values.contains(QStringLiteral("--todas"));
    const bool filial = values.contains(QStringLiteral("--filial"));
    if (todas == filial)
        return fail(
            BadArguments,
            QStringLiteral("O envio de e-mail exige --filial N ou --todas (um dos dois).\n%1")
                .arg(usage()));

    Params p;
    if (const int code = readPeriod(values, &p, fail))
        return code;
    OpenPayablesMail::Request r;
    r.todas = todas;
    r.dataI = p.dataI;
    r.dataF = p.dataF;
    if (todas)
        r.filialText = OpenPayablesMail::All;
    else if (const int code = readCode(values, QStringLiteral("--filial"), &r.filial, fail))
        return code;

    if (const int code = checkDatabase(fail))
        return code;

    const MailDeployment &deployment = MailDeployment::current();
    MailMessage message;
    QString error;
    try {
        if (!todas) {
            r.filialText = registryName(Selection::Filial, *r.filial);
            if (r.filialText.isEmpty())
                return fail(BadArguments, QStringLiteral("O código %1 de --filial não está "
                                                         "cadastrado.")
                                              .arg(qint64(*r.filial)));
        }
        // Nothing is read or sent when the message could not go out anyway.
        if (const QString why = OpenPayablesMail::problem(r, deployment); !why.isEmpty())
            return fail(MailNotSent, why);
        if (!OpenPayablesMail::build(r, deployment, &message, &error))
            return fail(WriteFailed, error);
    } catch (const DbError &e) {
        return fail(NoDatabase, QStringLiteral("Erro do banco de dados: %1").arg(e.message()));
    }

    const MailOutcome outcome = SmtpSender::sendWithAttempts(deployment.server, message, 3);
    if (!outcome.sent)
        return fail(MailNotSent, QStringLiteral("O e-mail não foi enviado: %1").arg(outcome.error));
    QStringList to;
    for (const MailAddress &a : std::as_const(message.to))
        to << a.address;
    *fail.messages += QStringLiteral("E-mail \"%1\" enviado a %2\n")
                          .arg(message.subject, to.join(QStringLiteral(", ")));
    return Ok;
}

int run(const QStringList &arguments, QString *messages)
{
    const Failer fail{messages};

    Values values;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments[i];
        if (i == 0 && !arg.startsWith(QLatin1String("--")))
            continue; // the program's own name
        const QString name = optionName(arg);
        if (!kOptions.contains(name))
            return fail(BadArguments,
                        QStringLiteral("Argumento desconhecido: %1\n%2").arg(arg, usage()));
        QString value;
        if (kFlags.contains(name)) {
            if (arg.contains(QLatin1Char('=')))
                return fail(BadArguments, QStringLiteral("%1 não leva valor.").arg(name));
        } else if (arg.contains(QLatin1Char('='))) {
            value = arg.section(QLatin1Char('='), 1);
        } else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--"))) {
            value = arguments[++i];
        } else {
            return fail(BadArguments,
                        QStringLiteral("Falta o valor de %1.\n%2").arg(name, usage()));
        }
        if (values.contains(name))
            return fail(BadArguments,
                        QStringLiteral("%1 foi informado mais de uma vez.").arg(name));
        values.insert(name, value);
    }

    if (values.contains(QStringLiteral("--enviar-email")))
        return runEmail(values, fail);
    if (values.contains(QStringLiteral("--todas")))
        return fail(BadArguments,
                    QStringLiteral("--todas só vale com --enviar-email.\n%1").arg(usage()));
    return runReport(values, fail);
}

} // namespace

bool isReportCommand(const QStringList &arguments)
{
    for (const QString &a : arguments)
        if (kOptions.contains(optionName(a)))
            return true;
    return false;
}

int runCommandLine(const QStringList &arguments, QString *messages)
{
    if (!isReportCommand(arguments))
        return -1;
    QString local;
    QString &text = messages ? *messages : local;
    const int code = run(arguments, &text);
    if (!messages) {
        std::fputs(text.toUtf8().constData(), code == 0 ? stdout : stderr);
        std::fflush(code == 0 ? stdout : stderr);
    }
    return code;
}

int runCommandLine(const QStringList &arguments)
{
    return runCommandLine(arguments, nullptr);
}

} // namespace Reports
