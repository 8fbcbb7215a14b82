// Times the reading of a 10,000-line bank statement, as an xlsx workbook
// and as an OFX file, next to baselines measured in the same run: for the
// xlsx, inflating its parts and walking their XML without making any cell
// text; for the OFX, libofx alone on the text it is finally given. Prints
// the best of five runs of each and the ratios. No database is needed.
//
//   bench_workbook [LINES]     (default 10000)

#include "ofx/Ofx.h"
#include "ofx/OfxText.h"
#include "workbook/Workbook.h"
#include "workbook/ZipArchive.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <libofx/libofx.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <functional>

namespace {

double bestOf(int runs, const std::function<void()> &job)
{
    double best = 1e99;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        job();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

bool writeXlsx(const QString &path, int lines)
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

QByteArray ofxText(int lines)
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

int countTransaction(const OfxTransactionData, void *user)
{
    ++*static_cast<int *>(user);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const int lines = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("extrato.xlsx"));
    const QString ofx = dir.filePath(QStringLiteral("extrato.ofx"));
    if (!writeXlsx(xlsx, lines))
        return 1;
    {
        QFile f(ofx);
        if (!f.open(QIODevice::WriteOnly) || f.write(ofxText(lines)) < 0)
            return 1;
    }

    int rows = 0;
    const double read = bestOf(5, [&] { rows = Workbook::read(xlsx).rowCount(); });
    QFile file(xlsx);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const double walk = bestOf(5, [&] {
        const ZipArchive zip(bytes, QStringLiteral("extrato.xlsx"));
        for (const char *part : {"xl/sharedStrings.xml", "xl/worksheets/sheet1.xml"}) {
            QXmlStreamReader xml(zip.read(QString::fromLatin1(part)));
            while (!xml.atEnd())
                xml.readNext();
        }
    });
    std::printf("xlsx, %d lines: read %.1f ms (%d rows); inflate and walk the XML %.1f ms; "
                "ratio %.2f\n",
                lines, read, rows, walk, read / walk);

    int transactions = 0;
    const double ofxRead =
        bestOf(5, [&] { transactions = int(Ofx::read(ofx).transactions.size()); });
    // libofx alone, on the slices of restated text the reader hands it.
    QFile raw(ofx);
    raw.open(QIODevice::ReadOnly);
    const OfxText::Document doc = OfxText::parse(raw.readAll());
    QList<QByteArray> slices;
    for (int first = 0; first < lines; first += OfxText::SliceSize)
        slices.append(OfxText::restate(doc.statements.first(), first, OfxText::SliceSize));
    const QString slicePath = dir.filePath(QStringLiteral("fatia.ofx"));
    int counted = 0;
    const double libofxOnly = bestOf(5, [&] {
        counted = 0;
        for (const QByteArray &text : slices) {
            QFile f(slicePath);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(text);
            f.close();
            LibofxContextPtr context = libofx_get_new_context();
            ofx_set_transaction_cb(context, countTransaction, &counted);
            libofx_proc_file(context, QFile::encodeName(slicePath).constData(), OFX);
            libofx_free_context(context);
        }
    });
    // And libofx on the bank's file in one piece, as it would be read unsliced.
    int whole = 0;
    const double libofxWhole = bestOf(1, [&] {
        LibofxContextPtr context = libofx_get_new_context();
        ofx_set_transaction_cb(context, countTransaction, &whole);
        libofx_proc_file(context, QFile::encodeName(ofx).constData(), OFX);
        libofx_free_context(context);
    });
    std::printf("ofx, %d lines: read %.1f ms (%d transactions); libofx alone on the same "
                "slices %.1f ms (%d); ratio %.2f; libofx on the whole file unsliced %.1f ms\n",
                lines, ofxRead, transactions, libofxOnly, counted, ofxRead / libofxOnly,
                libofxWhole);
    return rows == lines + 1 && transactions == lines ? 0 : 1;
}
