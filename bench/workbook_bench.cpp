// Times the reading of a 10,000-line bank statement, as an xlsx workbook
// and as an OFX file, next to baselines measured in the same run: for the
// xlsx, inflating its parts and walking their XML without making any cell
// text; for the OFX, libofx alone on the text it is finally given. Prints
// the best of five runs of each and the ratios. No database is needed.
//
//   bench_workbook [LINES]     (default 10000)

#include "StatementSamples.h"
#include "ofx/Ofx.h"
#include "ofx/OfxText.h"
#include "workbook/Workbook.h"
#include "workbook/ZipArchive.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <libofx/libofx.h>

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
    if (!StatementSamples::writeXlsx(xlsx, lines))
        return 1;
    {
        QFile f(ofx);
        if (!f.open(QIODevice::WriteOnly) || f.write(StatementSamples::ofxText(lines)) < 0)
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
