#pragma once
// The 10,000-line bank statement the benchmarks time, as an xlsx workbook
// (header row, then date, history, document, signed amount and running
// balance) and as an SGML OFX file of one account, line i of both alike:
// dated through 2024, every third line a credit, documents 100001 on.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <xlsxwriter.h>

namespace StatementSamples {

inline bool writeXlsx(const QString &path, int lines)
{
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Extrato");
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "#,##0.00");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "dd/mm/yyyy");
    const char *header[] = {"Data", "Histórico", "Documento", "Valor", "Saldo"};
    for (int c = 0; c < 5; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), header[c], nullptr);
    double balance = 100000;
    for (int i = 1; i <= lines; ++i) {
        lxw_datetime d = {2024, 1 + (i / 28) % 12, 1 + i % 28, 0, 0, 0};
        const double amount = (i % 3 ? -1 : 1) * (10 + (i * 37) % 5000 + 0.25);
        balance += amount;
        worksheet_write_datetime(ws, lxw_row_t(i), 0, &d, date);
        worksheet_write_string(
            ws, lxw_row_t(i), 1,
            QStringLiteral("PAGAMENTO DE BOLETO %1 ação").arg(i).toUtf8().constData(), nullptr);
        worksheet_write_string(ws, lxw_row_t(i), 2, QByteArray::number(100000 + i).constData(),
                               nullptr);
        worksheet_write_number(ws, lxw_row_t(i), 3, amount, money);
        worksheet_write_number(ws, lxw_row_t(i), 4, balance, money);
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

inline QByteArray ofxText(int lines)
{
    QByteArray s = "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\n"
                   "ENCODING:USASCII\r\nCHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\n"
                   "NEWFILEUID:NONE\r\n\r\n<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n"
                   "<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<DTSERVER>20241231\r\n"
                   "<LANGUAGE>POR\r\n</SONRS>\r\n</SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1>\r\n"
                   "<STMTTRNRS>\r\n<TRNUID>1\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n"
                   "</STATUS>\r\n<STMTRS>\r\n<CURDEF>BRL\r\n<BANKACCTFROM>\r\n<BANKID>0341\r\n"
                   "<BRANCHID>1234\r\n<ACCTID>56789-0\r\n<ACCTTYPE>CHECKING\r\n"
                   "</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n<DTSTART>20240101\r\n"
                   "<DTEND>20241231\r\n";
    for (int i = 1; i <= lines; ++i) {
        const QByteArray day = "2024" +
                               QByteArray::number(1 + (i / 28) % 12).rightJustified(2, '0') +
                               QByteArray::number(1 + i % 28).rightJustified(2, '0');
        s += "<STMTTRN>\r\n<TRNTYPE>" + QByteArray(i % 3 ? "DEBIT" : "CREDIT") + "\r\n<DTPOSTED>" +
             day + "100000[-3:BRT]\r\n<TRNAMT>" + (i % 3 ? "-" : "") +
             QByteArray::number(10 + (i * 37) % 5000) + ",25\r\n<FITID>" +
             QByteArray::number(202400000 + i) + "\r\n<CHECKNUM>" + QByteArray::number(100000 + i) +
             "\r\n<MEMO>PAGAMENTO DE BOLETO " + QByteArray::number(i) + " ação\r\n</STMTTRN>\r\n";
    }
    s += "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>1234,56\r\n<DTASOF>20241231\r\n"
         "</LEDGERBAL>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
    return s;
}

} // namespace StatementSamples
