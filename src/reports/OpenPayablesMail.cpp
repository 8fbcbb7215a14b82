#include "reports/OpenPayablesMail.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportExport.h"

#include <QFile>
#include <QTemporaryDir>

namespace OpenPayablesMail {
namespace {

// Open and due in the period; negociacao is not looked at, so renegotiated
// payables are listed too.
const QString kPeriod = QStringLiteral("datavenc >= :DataI and datavenc <= :DataF and "
                                       "dataquitacao is null order by datavenc, nome");

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString query(bool todas)
{
    if (todas)
        return QStringLiteral("select nota, controle, codigofilial, codigofornecedor, nome, "
                              "dataemissao, datavenc, dataquitacao, total, valor, totalpg, obs01, "
                              "obs02, obs03, complemento from pagar where ") +
               kPeriod;
    return QStringLiteral("select nota, controle, codigofilial, codigofornecedor, nome, "
                          "dataemissao, datavenc, dataquitacao, total, valor, totalpg, obs01, "
                          "obs02, obs03, complemento, gerencial from pagar where codigofilial = "
                          ":MFilial and ") +
           kPeriod;
}

QStringList captions(bool todas)
{
    if (todas)
        return {QStringLiteral("Nº Nota"), QStringLiteral("Dt.Emissao"), QStringLiteral("Dt.Venc."),
                QStringLiteral("Nome do Fornecedor"), QStringLiteral("Vl.Valor R$")};
    return {QStringLiteral("Nº Nota"),
            QStringLiteral("Dt.Emissao"),
            QStringLiteral("Dt.Venc."),
            QStringLiteral("Nome do Fornecedor"),
            QStringLiteral("Central de Custo"),
            QStringLiteral("Valor R$"),
            QStringLiteral("Obs.:"),
            QStringLiteral("Obs01.:")};
}

void openRows(RecordSet &rows, const Request &request)
{
    rows.close();
    rows.setSql(query(request.todas));
    if (!request.todas)
        rows.setParam(QStringLiteral("MFilial"),
                      request.filial ? QVariant(*request.filial) : QVariant());
    rows.setParam(QStringLiteral("DataI"), request.dataI);
    rows.setParam(QStringLiteral("DataF"), request.dataF);
    rows.open();
}

QString body(const Request &request, const RecordSet &rows, const QString &attention)
{
    QStringList l;
    l << QStringLiteral("<html>") << QStringLiteral("<head>") << QString()
      << QStringLiteral("  <meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">")
      << QStringLiteral("</head>") << QStringLiteral("<body text=\"#000000\" bgcolor=\"#FFFFFF\">")
      << QString();
    l << QStringLiteral("<p><b>A/C.: ") + esc(attention) + QStringLiteral("</b></p>");
    l << QStringLiteral(
             "<p><b>Relatorio Geral de Contas a Pagar no Periodo Por Filial em Aberto ") +
             dateText(request.dataI) + QStringLiteral(" à ") + dateText(request.dataF) +
             QStringLiteral("</b></p>");
    l << QStringLiteral("<table>") << QStringLiteral("<tr>") << QStringLiteral("<th align='left'>")
      << QStringLiteral("Nome da Filial = ") + esc(request.filialText) << QStringLiteral("</th>")
      << QStringLiteral("<td>") << QStringLiteral("</td>") << QStringLiteral("</tr>");
    l << QStringLiteral("<tr>") << QStringLiteral("<td align='left'>") << QStringLiteral("<table>")
      << QStringLiteral("<tr bgcolor='yellow'>");
    for (const QString &caption : captions(request.todas))
        l << QStringLiteral("<th>") << esc(caption) << QStringLiteral("</th>");
    l << QStringLiteral("</tr>");

    auto cell = [&](const QString &value, bool right = false) {
        l << (right ? QStringLiteral("<td align='right'>") : QStringLiteral("<td>")) << esc(value)
          << QStringLiteral("</td>");
    };
    double total = 0;
    for (int r = 0; r < rows.recordCount(); ++r) {
        const auto text = [&](const char *field) {
            return rows.valueAt(r, QString::fromLatin1(field)).toString();
        };
        const auto date = [&](const char *field) {
            return dateText(rows.valueAt(r, QString::fromLatin1(field)).toDate());
        };
        // A null amount counts as 0 and shows as 0,00.
        const double valor = rows.valueAt(r, QStringLiteral("valor")).toDouble();
        total += valor;
        l << (r % 2 == 0 ? QStringLiteral("<tr style='background-color:#FFFFFF;'>")
                         : QStringLiteral("<tr style='background-color:#D3D3D3;'>"));
        cell(text("nota"));
        cell(date("dataemissao"));
        cell(date("datavenc"));
        cell(text("nome"));
        if (request.todas) {
            cell(DisplayFormat::money(valor), true);
        } else {
            cell(text("gerencial"));
            cell(DisplayFormat::money(valor), true);
            // Both remark columns carry obs01, as the list has always shown.
            cell(text("obs01"));
            cell(text("obs01"));
        }
        l << QStringLiteral("</tr>");
    }

    l << QStringLiteral("<tr bgcolor='yellow'>") << QStringLiteral("<th colspan='4' align='left'>")
      << QStringLiteral("Total do Relatorio R$ :") << QStringLiteral("</th>")
      << QStringLiteral("<th align='right'>") << DisplayFormat::money(total)
      << QStringLiteral("</th>") << QStringLiteral("</tr>");
    l << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>")
      << QStringLiteral("<tr>") << QStringLiteral("<td colspan='2'>") << QStringLiteral("&nbsp;")
      << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("</table>")
      << QStringLiteral("<br />") << QStringLiteral("</body>") << QStringLiteral("</html>")
      << QString();

    QString html;
    for (const QString &line : std::as_const(l))
        html += line + QStringLiteral("\r\n");
    return html;
}

QList<MailAddress> recipients(const Request &request, const MailDeployment &deployment)
{
    QList<MailAddress> to;
    if (request.todas) {
        if (!deployment.allRecipient.address.trimmed().isEmpty())
            to << MailAddress{deployment.allRecipient.address.trimmed(),
                              deployment.allRecipient.name.trimmed()};
        return to;
    }
    // A blank address would make the server refuse the whole message.
    for (int i = 0; i < 3; ++i)
        if (!Config().email[i].trimmed().isEmpty())
            to << MailAddress{Config().email[i].trimmed(), Config().contato[i].trimmed()};
    return to;
}

QString problem(const Request &request, const MailDeployment &deployment)
{
    const QString file = Config().path.isEmpty() ? QStringLiteral("Admin.ini") : Config().path;
    if (!deployment.problems.isEmpty())
        return deployment.problems.join(QLatin1Char('\n'));
    if (recipients(request, deployment).isEmpty())
        return request.todas
                   ? QStringLiteral("Nenhum destinatário para o relatório de TODAS as filiais: "
                                    "informe o endereço na chave DESTINO_TODAS da seção [%1] de "
                                    "%2. O e-mail não foi enviado.")
                         .arg(QString::fromLatin1(MailDeployment::Section), file)
                   : QStringLiteral("Nenhum destinatário de e-mail: informe o endereço em EMAIL1, "
                                    "EMAIL2 ou EMAIL3 da seção [GERAL] de %1. O e-mail não foi "
                                    "enviado.")
                         .arg(file);
    if (deployment.server.host.trimmed().isEmpty())
        return QStringLiteral("O servidor de e-mail não está configurado: informe-o na chave "
                              "SERVIDOR da seção [%1] de %2. O e-mail não foi enviado.")
            .arg(QString::fromLatin1(MailDeployment::Section), file);
    if (deployment.senderAddress.trimmed().isEmpty())
        return QStringLiteral("O endereço do remetente não está configurado: informe-o na chave "
                              "REMETENTE da seção [%1] de %2. O e-mail não foi enviado.")
            .arg(QString::fromLatin1(MailDeployment::Section), file);
    return {};
}

QString reportName(const Request &request)
{
    return request.todas ? QStringLiteral("RptPagarAberto01") : QStringLiteral("RptPagarAberto");
}

Reports::Params reportParams(const Request &request)
{
    Reports::Params p;
    p.dataI = request.dataI;
    p.dataF = request.dataF;
    if (!request.todas) {
        p.filial = request.filial;
        p.filialNome = request.filialText;
    }
    p.title = QStringLiteral("Relatório Geral de Contas a Pagar Por Filial em Aberta no Período: ");
    p.extraLine = QStringLiteral("Nome da Filial : ") + request.filialText;
    return p;
}

QString pdfName(const Request &request)
{
    return QStringLiteral("ContasPagarEmAberto_%1_%2.pdf")
        .arg(request.dataI.toString(QStringLiteral("dd-MM-yyyy")),
             request.dataF.toString(QStringLiteral("dd-MM-yyyy")));
}

bool build(const Request &request, const MailDeployment &deployment, MailMessage *message,
           QString *error)
{
    DM *dm = DM::instance();
    RecordSet rows(dm->MyConnection1);
    openRows(rows, request);

    MailMessage m;
    QString senderName = request.todas ? deployment.allSenderName : QString();
    if (senderName.isEmpty()) {
        // The company table serves the whole program: opened if need be and left open.
        if (!dm->tbConfiguracao->isOpen())
            dm->tbConfiguracao->open();
        senderName = dm->companyName();
    }
    m.from = {deployment.senderAddress.trimmed(), senderName.trimmed()};
    m.to = recipients(request, deployment);
    m.subject = Subject;
    m.html =
        body(request, rows, request.todas ? deployment.attentionAll : deployment.attentionBranch);

    const Report::PreparedReport report =
        Reports::prepare(reportName(request), reportParams(request));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("relatorio.pdf"));
    QString why;
    if (!dir.isValid() || !Report::writePdf(report, path, &why)) {
        if (error)
            *error = QStringLiteral("Não foi possível gerar o PDF do relatório: %1")
                         .arg(dir.isValid() ? why : dir.errorString());
        return false;
    }
    QFile pdf(path);
    if (!pdf.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Não foi possível ler o PDF do relatório: %1")
                         .arg(pdf.errorString());
        return false;
    }
    m.attachments << MailAttachment{pdfName(request), QStringLiteral("application/pdf"),
                                    pdf.readAll()};
    *message = m;
    return true;
}

} // namespace OpenPayablesMail
