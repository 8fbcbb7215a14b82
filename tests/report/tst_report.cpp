// The banded report engine: grouping and sums, empty reports, page breaks,
// growing memos, every export read back by a real reader, and the preview
// windows of both flavours.

#include "FileSizeLimit.h"
#include "ReportSamples.h"
#include "TestDb.h"
#include "TestMain.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportExport.h"
#include "report/ReportPreview.h"
#include "report/ReportRender.h"
#include "report/ReportRunner.h"
#include "widgets/Clock.h"
#include "widgets/FilePicker.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <freexl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

using namespace Report;

namespace {

bool insertRows(TestDb &db, const QList<Row> &rows)
{
    QSqlQuery q(db.sql());
    q.prepare("insert into pagar (nomefilial, nome, valor, datavenc, obs) values (?, ?, ?, ?, ?)");
    for (const Row &r : rows) {
        q.addBindValue(r.filial);
        q.addBindValue(r.nome);
        q.addBindValue(r.valor);
        q.addBindValue(r.venc);
        q.addBindValue(r.obs.isEmpty() ? QVariant() : QVariant(r.obs));
        if (!q.exec()) {
            qWarning() << q.lastError().text();
            return false;
        }
    }
    return true;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QString unescapeXml(QString s)
{
    s.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral("\n"));
    s.replace(QLatin1String("&#10;"), QLatin1String("\n"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&#39;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

QString zipEntry(zip_t *z, const char *name)
{
    zip_file_t *f = zip_fopen(z, name, 0);
    if (!f)
        return QString();
    QByteArray data;
    char buf[8192];
    zip_int64_t n;
    while ((n = zip_fread(f, buf, sizeof buf)) > 0)
        data.append(buf, int(n));
    zip_fclose(f);
    return QString::fromUtf8(data);
}

// RFC 4180 fields, one QStringList per record.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\r')) {
        } else if (c == QLatin1Char('\n')) {
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return records;
}

// Whatever a reader of the format gets out of the file, as text lines
// (numbers of the spreadsheets as plain numbers).
QString readBack(const QString &path)
{
    const QString ext = QFileInfo(path).suffix();
    if (ext == "pdf")
        return run("pdftotext", {"-layout", path, "-"});
    if (ext == "csv") {
        QStringList out;
        for (const QStringList &r : parseCsv(readFile(path)))
            out << r.join(QLatin1Char('\n'));
        return out.join(QLatin1Char('\n'));
    }
    if (ext == "xlsx") {
        int err = 0;
        zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
        if (!z)
            return QStringLiteral("<not a zip>");
        QString out = unescapeXml(zipEntry(z, "xl/sharedStrings.xml"));
        out += unescapeXml(zipEntry(z, "xl/worksheets/sheet1.xml"));
        zip_close(z);
        return out;
    }
    if (ext == "xls") {
        const void *h = nullptr;
        if (freexl_open(QFile::encodeName(path).constData(), &h) != FREEXL_OK)
            return QStringLiteral("<freexl_open failed>");
        QStringList out;
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_select_active_worksheet(h, 0) == FREEXL_OK &&
            freexl_worksheet_dimensions(h, &rows, &cols) == FREEXL_OK)
            for (unsigned r = 0; r < rows; ++r)
                for (unsigned short c = 0; c < cols; ++c) {
                    FreeXL_CellValue v;
                    if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK)
                        continue;
                    if (v.type == FREEXL_CELL_TEXT || v.type == FREEXL_CELL_SST_TEXT)
                        out << QString::fromUtf8(v.value.text_value);
                    else if (v.type == FREEXL_CELL_DOUBLE)
                        out << QString::number(v.value.double_value, 'g', 15);
                    else if (v.type == FREEXL_CELL_INT)
                        out << QString::number(v.value.int_value);
                }
        freexl_close(h);
        return out.join(QLatin1Char('\n'));
    }
    if (ext == "rtf") {
        QString s = readFile(path);
        static const QRegularExpression u(QStringLiteral("\\\\u(-?\\d+)\\?"));
        QString out;
        qsizetype last = 0;
        for (auto it = u.globalMatch(s); it.hasNext();) {
            const auto m = it.next();
            out += s.mid(last, m.capturedStart() - last);
            out += QChar(ushort(m.captured(1).toInt()));
            last = m.capturedEnd();
        }
        out += s.mid(last);
        out.replace(QRegularExpression(QStringLiteral("\\\\[a-z]+-?\\d* ?")), QStringLiteral(" "));
        out.remove(QLatin1Char('{'));
        out.remove(QLatin1Char('}'));
        return out;
    }
    if (ext == "html" || ext == "htm" || ext == "xml")
        return unescapeXml(readFile(path));
    return readFile(path);
}

// The numbers a reader of the format takes from the file, as numbers: the
// value elements of the XLSX sheet, the Number cells of the XML spreadsheet,
// the number cells of the XLS through FreeXL (each must be a number in the
// file format's own syntax), and the Brazilian text form ("1.234,56") in the
// text exports. A value a reader could not take as a number is NaN.
QList<double> numbersIn(const QString &path)
{
    QList<double> out;
    const QString ext = QFileInfo(path).suffix();
    auto strict = [&out](const QString &text) {
        bool ok = false;
        const double v = text.toDouble(&ok); // the file formats' own syntax
        out << (ok ? v : qQNaN());
    };
    if (ext == "xlsx") {
        int err = 0;
        zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
        if (!z)
            return {qQNaN()};
        const QString sheet = zipEntry(z, "xl/worksheets/sheet1.xml");
        zip_close(z);
        // A cell without a type attribute (or t="n") holds a number.
        static const QRegularExpression cell(
            QStringLiteral("<c ([^>]*)>\\s*(?:<f>[^<]*</f>)?\\s*<v>([^<]*)</v>"));
        static const QRegularExpression type(QStringLiteral("\\bt=\"(\\w+)\""));
        for (auto it = cell.globalMatch(sheet); it.hasNext();) {
            const auto m = it.next();
            const QString t = type.match(m.captured(1)).captured(1);
            if (t.isEmpty() || t == "n")
                strict(m.captured(2));
        }
    } else if (ext == "xml") {
        static const QRegularExpression cell(
            QStringLiteral("<Data ss:Type=\"Number\">([^<]*)</Data>"));
        for (auto it = cell.globalMatch(readFile(path)); it.hasNext();)
            strict(it.next().captured(1));
    } else if (ext == "xls") {
        const void *h = nullptr;
        if (freexl_open(QFile::encodeName(path).constData(), &h) != FREEXL_OK)
            return {qQNaN()};
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_select_active_worksheet(h, 0) == FREEXL_OK &&
            freexl_worksheet_dimensions(h, &rows, &cols) == FREEXL_OK)
            for (unsigned r = 0; r < rows; ++r)
                for (unsigned short c = 0; c < cols; ++c) {
                    FreeXL_CellValue v;
                    if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK)
                        continue;
                    if (v.type == FREEXL_CELL_DOUBLE)
                        out << v.value.double_value;
                    else if (v.type == FREEXL_CELL_INT)
                        out << double(v.value.int_value);
                }
        freexl_close(h);
    } else {
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        static const QRegularExpression money(QStringLiteral("-?\\d{1,3}(?:\\.\\d{3})*,\\d{2}"));
        for (auto it = money.globalMatch(readBack(path)); it.hasNext();) {
            bool ok = false;
            const double v = br.toDouble(it.next().captured(0), &ok);
            out << (ok ? v : qQNaN());
        }
    }
    return out;
}

} // namespace

class TstReport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Clock::setFixed(QDateTime(QDate(2024, 5, 31), QTime(10, 0)));
        Messages::setHandler([this](const MessageBoxRequest &r) {
            m_messages << r.text;
            return QMessageBox::Ok;
        });
        m_messages.clear();
    }
    void cleanup()
    {
        Messages::setHandler({});
        FilePicker::setHandler({});
    }

    void exportsReadBack_data();
    void exportsReadBack();
    void xlsLargeTableReadsBack();
    void csvKeepsFormulasAsText();
    void exportFailures();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void specialFilesAreNotReplaced();
    void plainTextAndDraft();
    void modalPreviewPrintsAndSaves();
    void independentPreviewsDoNotShareState();

private:
    QStringList m_messages;
};

void TstReport::exportsReadBack_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("dataOnly"); // the flat table, numbers as numbers
    QTest::newRow("pdf") << "pdf" << false;
    QTest::newRow("csv") << "csv" << false;
    QTest::newRow("txt") << "txt" << false;
    QTest::newRow("html single page") << "html" << false;
    QTest::newRow("Página da Web") << "htm" << false;
    QTest::newRow("rtf") << "rtf" << false;
    QTest::newRow("xls") << "xls" << true;
    QTest::newRow("xlsx") << "xlsx" << true;
    QTest::newRow("xml spreadsheet") << "xml" << true;
}

void TstReport::exportsReadBack()
{
    QFETCH(QString, extension);
    QFETCH(bool, dataOnly);
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(insertRows(db, {{"CENTRO", "Manutenção Ótica Ltda", 1234.56, QDate(2024, 5, 2), {}},
                            {"CENTRO", "Silva, \"Irmãos\"", 10, QDate(2024, 5, 3), {}},
                            {"SUL", "Ação & <Cia>", 0.5, QDate(2024, 5, 4), {}}}));
    RecordSet rs(&db.connection(), "select * from pagar order by nomefilial, controle");
    rs.open();
    const PreparedReport r = Report::run(branchReport(), rs);
    QTemporaryDir dir;
    const QString path = dir.filePath("relatorio." + extension);
    QString error;
    QVERIFY2(exportTo(r, path, &error), qPrintable(error));
    const QString back = readBack(path);
    for (const char *text : {"Manutenção Ótica Ltda", "Silva, \"Irmãos\"", "Ação & <Cia>",
                             "Filial => CENTRO", "Sub-Total => ", "Nome do Fornecedor"})
        QVERIFY2(back.contains(QString::fromUtf8(text)),
                 qPrintable(QString::fromUtf8(text) + "\n" + back));
    // Whatever the environment's locale, a reader gets the amounts as numbers.
    const QList<double> numbers = numbersIn(path);
    for (double n : numbers)
        QVERIFY2(!qIsNaN(n), qPrintable(readFile(path).left(4000)));
    if (extension != "pdf" && extension != "rtf")
        for (double expected : {1234.56, 1244.56, 1245.06, 10.0, 0.5})
            QVERIFY2(numbers.contains(expected),
                     qPrintable(QString::number(expected) + " not among the numbers read"));
    if (dataOnly) {
        for (const char *number : {"1234.56", "1244.56", "1245.06"})
            QVERIFY2(back.contains(number), qPrintable(QString(number) + "\n" + back));
    } else {
        for (const char *text : {"1.234,56", "1.244,56", "1.245,06"})
            QVERIFY2(back.contains(text), qPrintable(QString(text) + "\n" + back));
    }
    if (extension == "pdf" || extension == "txt" || extension == "rtf" ||
        extension.startsWith("htm")) {
        QVERIFY(back.contains("EMPRESA DE TESTE"));
        QVERIFY(back.contains("Relatório de Manutenção"));
    }
    if (extension == "csv") {
        // A field with a comma and quotes comes back whole.
        const QList<QStringList> records = parseCsv(readFile(path));
        QCOMPARE(records.first(), QStringList({"Nome do Fornecedor", "Dt.Vencimento", "Valor R$"}));
        QCOMPARE(records.at(2), QStringList({"Manutenção Ótica Ltda", "02/05/2024", "1.234,56"}));
        QCOMPARE(records.at(3), QStringList({"Silva, \"Irmãos\"", "03/05/2024", "10,00"}));
    }
}

void TstReport::csvKeepsFormulasAsText()
{
    // Names and remarks that a spreadsheet would run as formulas reach it as
    // text; amounts, negative ones included, stay numbers.
    PreparedReport r;
    r.columnCount = 2;
    const QList<std::pair<QString, double>> rows = {{"=HYPERLINK(\"http://x\";\"y\")", 1},
                                                    {"+55 11 4002", -80},
                                                    {"-desconto", 2},
                                                    {"@SUM(A1)", 3},
                                                    {"Silva = Cia", 4}};
    for (const auto &[text, value] : rows) {
        TableRow row;
        row.cells.resize(2);
        row.cells[0].text = text;
        row.cells[1].isNumber = true;
        row.cells[1].number = value;
        row.cells[1].text = QLocale().toString(value, 'f', 2);
        r.table.push_back(row);
    }
    QCOMPARE(csvText(r), QString("\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\",\"1,00\"\r\n"
                                 "'+55 11 4002,\"-80,00\"\r\n"
                                 "'-desconto,\"2,00\"\r\n"
                                 "'@SUM(A1),\"3,00\"\r\n"
                                 "Silva = Cia,\"4,00\"\r\n"));
}

void TstReport::xlsLargeTableReadsBack()
{
    // Enough distinct texts to spill the shared string table over many
    // CONTINUE records (strings split across them), and more rows than one
    // BIFF8 sheet holds.
    PreparedReport r;
    r.title = "Grande";
    r.columnCount = 2;
    const int rows = 70000;
    r.table.resize(rows);
    for (int i = 0; i < rows; ++i) {
        auto &cells = r.table[size_t(i)].cells;
        cells.resize(2);
        cells[0].text = QStringLiteral("Manutenção número %1 ").arg(i).repeated(i % 7 + 1);
        cells[1].text = QString::number(i);
        cells[1].isNumber = true;
        cells[1].number = i + 0.25;
        cells[1].mask = "#,##0.00";
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("grande.xls");
    QString error;
    QVERIFY2(writeXls(r, path, &error), qPrintable(error));
    const void *h = nullptr;
    QCOMPARE(freexl_open(QFile::encodeName(path).constData(), &h), FREEXL_OK);
    unsigned int sheets = 0;
    QCOMPARE(freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets), FREEXL_OK);
    QCOMPARE(sheets, 2u);
    int seen = 0;
    for (unsigned short s = 0; s < 2; ++s) {
        QCOMPARE(freexl_select_active_worksheet(h, s), FREEXL_OK);
        unsigned int nrows = 0;
        unsigned short ncols = 0;
        QCOMPARE(freexl_worksheet_dimensions(h, &nrows, &ncols), FREEXL_OK);
        QCOMPARE(ncols, 2);
        for (unsigned int row = 0; row < nrows; row += 997) {
            const int i = seen + int(row);
            FreeXL_CellValue text, number;
            QCOMPARE(freexl_get_cell_value(h, row, 0, &text), FREEXL_OK);
            QCOMPARE(freexl_get_cell_value(h, row, 1, &number), FREEXL_OK);
            QCOMPARE(QString::fromUtf8(text.value.text_value), r.table[size_t(i)].cells[0].text);
            QCOMPARE(number.value.double_value, i + 0.25);
        }
        seen += int(nrows);
    }
    QCOMPARE(seen, rows);
    freexl_close(h);
}

void TstReport::exportFailures()
{
    const PreparedReport r = Report::run(branchReport());
    QTemporaryDir dir;
    QString error;
    QVERIFY(!exportTo(r, dir.filePath("x.doc"), &error));
    QVERIFY(error.contains("doc"));
    for (const char *ext : {"pdf", "xls", "xlsx", "csv"}) {
        error.clear();
        const QString path = dir.filePath(QStringLiteral("faltando/x.%1").arg(ext));
        QVERIFY2(!exportTo(r, path, &error), ext);
        QVERIFY2(error.contains("não existe"), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }
    // Every format the preview offers has a writer, chosen by extension.
    QStringList names;
    for (const ExportFormat &f : exportFormats()) {
        names << f.name;
        QVERIFY(formatForPath("a." + f.extension.toUpper()));
    }
    for (const char *n : {"Documento PDF", "PDF", "Planilha Excel 97-2013", "Planilha Excel",
                          "Página da Web", "Formato RichText"})
        QVERIFY2(names.contains(n), n);
    QVERIFY(exportFilter().contains("Documento PDF (*.pdf)"));
}

void TstReport::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("extension");
    for (const ExportFormat &f : exportFormats())
        QTest::newRow(qPrintable(f.name)) << f.extension;
}

void TstReport::failedWriteKeepsTheOldFile()
{
    // A disk that fills up half-way through the report: the file saved
    // before stays whole, the failure is said, and no scrap is left behind.
    QFETCH(QString, extension);
    TestDb db;
    REQUIRE_DB(db);
    QList<Row> rows;
    for (int i = 0; i < 40; ++i)
        rows.append({"CENTRO",
                     QStringLiteral("Fornecedor número %1").arg(i),
                     10.0 + i,
                     QDate(2024, 5, 2),
                     {}});
    QVERIFY(insertRows(db, rows));
    RecordSet rs(&db.connection(), "select * from pagar order by nomefilial, controle");
    rs.open();
    const PreparedReport r = Report::run(branchReport(), rs);
    QTemporaryDir dir;
    const QString path = dir.filePath("relatorio." + extension);
    const QByteArray old = "relatório gravado ontem\n";
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    QString error;
    bool written = true;
    {
        FileSizeLimit full(600);
        QVERIFY(full.ok());
        written = exportTo(r, path, &error);
    }
    QVERIFY2(!written, qPrintable(extension));
    QVERIFY2(error.contains("relatorio." + extension) && error.contains("tamanho"),
             qPrintable(error));
    QCOMPARE(readFile(path).toUtf8(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"relatorio." + extension});
    // Without the limit the same export succeeds over the old file.
    QVERIFY2(exportTo(r, path, &error), qPrintable(error));
    QVERIFY(QFileInfo(path).size() > 600);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"relatorio." + extension});
}

void TstReport::specialFilesAreNotReplaced()
{
    const PreparedReport r = Report::run(branchReport());
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fila.csv");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = dir.filePath("ligacao.pdf");
    QVERIFY(QFile::link(fifo, link));
    QVERIFY(QDir(dir.path()).mkdir("pasta.txt"));
    for (const QString &target : {fifo, link, dir.filePath("pasta.txt")}) {
        QString error;
        QVERIFY2(!exportTo(r, target, &error), qPrintable(target));
        QVERIFY2(error.contains("não é um arquivo comum"), qPrintable(error));
    }
    struct stat st;
    QCOMPARE(lstat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QVERIFY(QFileInfo(link).isSymLink());
    // A link to a regular file replaces the file it points at; the link stays.
    const QString real = dir.filePath("real.csv");
    QVERIFY(QFile(real).open(QIODevice::WriteOnly));
    const QString toReal = dir.filePath("atalho.csv");
    QVERIFY(QFile::link(real, toReal));
    QString error;
    QVERIFY2(exportTo(r, toReal, &error), qPrintable(error));
    QVERIFY(QFileInfo(toReal).isSymLink());
    QVERIFY(readFile(real).contains("Nome do Fornecedor"));
}

void TstReport::plainTextAndDraft()
{
    const PreparedReport r = Report::run(branchReport());
    const QString text = plainText(r);
    QVERIFY(text.contains("EMPRESA DE TESTE"));
    // Column captions stay on one line in their order, right-aligned value last.
    const QString captions = text.split('\n').filter("Nome do Fornecedor").value(0);
    QVERIFY(captions.indexOf("Dt.Vencimento") > captions.indexOf("Nome do Fornecedor"));
    QVERIFY(captions.trimmed().endsWith("Valor R$"));
    QBuffer draft;
    QVERIFY(printDraft(r, draft));
    const QByteArray bytes = draft.data();
    QVERIFY(bytes.contains("Quantidade de Lan\xe7"
                           "amentos"));
    QVERIFY(bytes.contains("\r\n"));
    QVERIFY(bytes.endsWith('\f'));

    // The preview's draft button sends the same text to the text printer.
    QTemporaryDir dir;
    const QString device = dir.filePath("lp0");
    qputenv("CP_IMPRESSORA_TEXTO", device.toLocal8Bit());
    ReportPreview preview(r);
    preview.printDraft();
    qunsetenv("CP_IMPRESSORA_TEXTO");
    QFile printed(device);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll(), bytes);
}

void TstReport::modalPreviewPrintsAndSaves()
{
    TestDb db;
    REQUIRE_DB(db);
    QList<Row> rows;
    for (int i = 0; i < 80; ++i)
        rows << Row{"CENTRO", QStringLiteral("Manutenção %1").arg(i), 2, QDate(2024, 5, 1), {}};
    QVERIFY(insertRows(db, rows));
    RecordSet rs(&db.connection(), "select * from pagar order by controle");
    rs.open();
    QTemporaryDir dir;
    const QString printed = dir.filePath("impresso.pdf");
    bool sawPreview = false;
    QList<FilePickerRequest> requests;
    FilePicker::setAnswers({dir.filePath("salvo.xlsx"), dir.filePath("sem_extensao")}, &requests);
    Modal::ScopedHandler modal([&](QDialog *dlg) -> int {
        if (auto *pd = qobject_cast<QPrintDialog *>(dlg)) {
            pd->printer()->setOutputFormat(QPrinter::PdfFormat);
            pd->printer()->setOutputFileName(printed);
            return QDialog::Accepted;
        }
        auto *pv = qobject_cast<ReportPreview *>(dlg);
        if (!pv)
            return QDialog::Rejected;
        sawPreview = true;
        pv->show();
        QTest::qWait(10);
        [&] {
            QVERIFY(pv->windowState() & Qt::WindowMaximized);
            QCOMPARE(pv->fit(), ReportPreview::Fit::PageWidth);
            QCOMPARE(pv->pageCount(), 2);
            QCOMPARE(pv->pageCaption(), "Página 1 de 2");
            const double fitted = pv->zoom();
            QTest::mouseClick(pv->button("btnZoomMais"), Qt::LeftButton);
            QVERIFY(pv->zoom() > fitted);
            QCOMPARE(pv->fit(), ReportPreview::Fit::None);
            pv->zoomWholePage();
            QVERIFY(pv->pageImage().height() <= pv->height());
            QTest::mouseClick(pv->button("btnUltima"), Qt::LeftButton);
            QCOMPARE(pv->currentPage(), 1);
            QVERIFY(!pv->button("btnProxima")->isEnabled());
            pv->nextPage();
            QCOMPARE(pv->currentPage(), 1);
            pv->firstPage();
            QCOMPARE(pv->findChild<QLabel *>("lblPagina")->text(), "Página 1 de 2");
            QTest::mouseClick(pv->button("btnImprimir"), Qt::LeftButton);
            QTest::mouseClick(pv->button("btnSalvar"), Qt::LeftButton);
            pv->save();
        }();
        return QDialog::Accepted;
    });
    QCOMPARE(preview(branchReport(Flavour::Modal), rs), nullptr);
    QVERIFY(sawPreview);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join("; ")));
    const QString printedText = readBack(printed);
    QVERIFY2(printedText.contains("Manutenção 79"), qPrintable(printedText));
    QVERIFY(printedText.contains("Página : 2 de 2"));
    QVERIFY(readBack(dir.filePath("salvo.xlsx")).contains("Manutenção 0"));
    QVERIFY(readBack(dir.filePath("sem_extensao.pdf")).contains("Manutenção 0"));
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].filter, exportFilter());
}

void TstReport::independentPreviewsDoNotShareState()
{
    TestDb db;
    REQUIRE_DB(db);
    QList<Row> rows;
    for (int i = 0; i < 80; ++i)
        rows << Row{"CENTRO", QStringLiteral("PRIMEIRO %1").arg(i), 1, QDate(2024, 5, 1), {}};
    QVERIFY(insertRows(db, rows));
    RecordSet rs(&db.connection(), "select * from pagar order by controle");
    rs.open();
    QWidget opener; // stands for the option dialog that starts the report
    QPointer<ReportPreview> first = preview(branchReport(), rs, &opener);
    QSqlQuery(db.sql()).exec("update pagar set nome = 'SEGUNDO'");
    rs.refresh();
    QPointer<ReportPreview> second = preview(branchReport(), rs, &opener);
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QVERIFY(!first->isModal());
    QCOMPARE(first->parent(), nullptr); // outlives its opener
    rs.close();                         // the data set may go; the previews keep their pages

    first->lastPage();
    first->zoomIn();
    QCOMPARE(second->currentPage(), 0);
    QCOMPARE(second->fit(), ReportPreview::Fit::PageWidth);
    QVERIFY(first->report().pageText(0).contains("PRIMEIRO 0"));
    QVERIFY(second->report().pageText(0).contains("SEGUNDO"));
    QVERIFY(!second->report().pageText(0).contains("PRIMEIRO"));

    QTest::mouseClick(first->button("btnFechar"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull()); // releases itself when closed
    QVERIFY(second);
    second->nextPage();
    QCOMPARE(second->currentPage(), 1);
    QVERIFY(second->report().pageText(1).contains("SEGUNDO"));
    second->close();
    QTRY_VERIFY(second.isNull());
}

CP_TEST(TstReport)
#include "tst_report.moc"
