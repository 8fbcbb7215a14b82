// The workbook reader on real files: xlsx written by libxlsxwriter and by
// hand (shapes libxlsxwriter cannot write), xls and ods written by a
// spreadsheet program (data/README.md), csv in both separators and both
// encodings, and the files a clerk may pick by mistake.

#include "SampleFiles.h"
#include "TestDb.h"
#include "TestMain.h"
#include "workbook/CellText.h"
#include "workbook/Workbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <xlsxwriter.h>

using SampleFiles::Xlsx;

namespace {

struct Cell
{
    const char *name;
    QString text;
};

QString dataFile(const QString &name)
{
    return TestDb::sourceDir() + QStringLiteral("/tests/workbook/data/") + name;
}

// The whole grid: the cells listed hold their texts, every other is empty.
void compareGrid(const TextGrid &grid, int rows, int columns, const QList<Cell> &cells)
{
    QCOMPARE(grid.rowCount(), rows);
    QCOMPARE(grid.columnCount(), columns);
    QList<QStringList> expected(rows, QStringList(columns, QString()));
    for (const Cell &c : cells) {
        int r = 0, col = 0;
        QVERIFY(CellText::parseCellName(QString::fromLatin1(c.name), &r, &col));
        expected[r][col] = c.text;
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            QVERIFY2(
                grid.cell(r, c) == expected[r][c],
                qPrintable(QStringLiteral("%1: \"%2\" instead of \"%3\"")
                               .arg(CellText::cellName(r, c), grid.cell(r, c), expected[r][c])));
}

QByteArray inlineCell(const char *ref, const char *text)
{
    return QByteArray("<c r=\"") + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

} // namespace

class TstWorkbook : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeXlsx(const QString &name, const Xlsx &x)
    {
        const QString p = path(name);
        return SampleFiles::writeZip(p, x.parts()) ? p : QString();
    }
    // A small statement written by libxlsxwriter, as a spreadsheet writes one.
    QString writeLibxlsxwriterFile(const QString &name);

private slots:
    void xlsxWrittenBySpreadsheetLibrary();
    void xlsxFirstSheetByRelationshipAndCellKinds();
    void xlsxDate1904();
    void xlsAndOdsFromSpreadsheetProgram_data();
    void xlsAndOdsFromSpreadsheetProgram();
    void errorCellStopsTheReading_data();
    void errorCellStopsTheReading();
    void csvSeparatorsAndEncodings_data();
    void csvSeparatorsAndEncodings();
    void formatComesFromContent_data();
    void formatComesFromContent();
    void filesThatAreNotReadable_data();
    void filesThatAreNotReadable();
    void numberTexts_data();
    void numberTexts();
    void numberFormatKinds_data();
    void numberFormatKinds();
};

QString TstWorkbook::writeLibxlsxwriterFile(const QString &name)
{
    const QString p = path(name);
    lxw_workbook *wb = workbook_new(QFile::encodeName(p).constData());
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Extrato");
    lxw_worksheet *other = workbook_add_worksheet(wb, "Outra");
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "#,##0.00");
    lxw_format *shortDate = workbook_add_format(wb);
    format_set_num_format_index(shortDate, 14);
    lxw_format *dateTime = workbook_add_format(wb);
    format_set_num_format(dateTime, "dd/mm/yyyy hh:mm");
    lxw_format *dateOnly = workbook_add_format(wb);
    format_set_num_format(dateOnly, "dd/mm/yyyy");
    lxw_format *clock = workbook_add_format(wb);
    format_set_num_format(clock, "hh:mm");
    lxw_format *builtinDateTime = workbook_add_format(wb);
    format_set_num_format_index(builtinDateTime, 22);
    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);

    const char *header[] = {"Data", "Histórico", "Documento", "Valor", "Saldo"};
    for (int c = 0; c < 5; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), header[c], nullptr);
    lxw_datetime d1 = {2024, 3, 15, 0, 0, 0};
    worksheet_write_datetime(ws, 1, 0, &d1, shortDate);
    worksheet_write_string(ws, 1, 1, "Pagamento ação", nullptr);
    worksheet_write_string(ws, 1, 2, "123", nullptr);
    worksheet_write_number(ws, 1, 3, 1234.5, money);
    worksheet_write_number(ws, 1, 4, 0.1, nullptr);
    lxw_datetime d2 = {2024, 3, 16, 14, 30, 0};
    worksheet_write_datetime(ws, 2, 0, &d2, dateTime);
    worksheet_write_number(ws, 2, 3, -150.25, money);
    worksheet_write_number(ws, 2, 4, 12345678901.0, nullptr);
    lxw_datetime d3 = {2024, 3, 17, 10, 0, 0}; // a time the format does not show
    worksheet_write_datetime(ws, 3, 0, &d3, dateOnly);
    worksheet_write_number(ws, 3, 1, 0.5, clock);
    worksheet_write_boolean(ws, 3, 2, 1, nullptr);
    worksheet_write_boolean(ws, 3, 3, 0, nullptr);
    lxw_rich_string_tuple part1 = {nullptr, const_cast<char *>("Saldo ")};
    lxw_rich_string_tuple part2 = {bold, const_cast<char *>("final")};
    lxw_rich_string_tuple *rich[] = {&part1, &part2, nullptr};
    worksheet_write_rich_string(ws, 3, 4, rich, nullptr);
    worksheet_write_number(ws, 4, 0, 0.0000001, nullptr);
    lxw_datetime d4 = {2024, 3, 15, 18, 0, 0};
    worksheet_write_datetime(ws, 4, 1, &d4, builtinDateTime);
    worksheet_write_string(ws, 39, 4, "fim", nullptr); // E40, past empty rows
    worksheet_write_string(other, 0, 0, "segunda planilha", nullptr);
    worksheet_write_string(other, 99, 9, "longe", nullptr);
    return workbook_close(wb) == LXW_NO_ERROR ? p : QString();
}

void TstWorkbook::xlsxWrittenBySpreadsheetLibrary()
{
    const QString file = writeLibxlsxwriterFile(QStringLiteral("extrato.xlsx"));
    QVERIFY(!file.isEmpty());
    Workbook::Format format;
    const TextGrid grid = Workbook::read(file, &format);
    QCOMPARE(format, Workbook::Format::Xlsx);
    // Only the first sheet, from A1 to E40 with rows 6 to 39 empty.
    compareGrid(grid, 40, 5,
                {{"A1", "Data"},
                 {"B1", "Histórico"},
                 {"C1", "Documento"},
                 {"D1", "Valor"},
                 {"E1", "Saldo"},
                 {"A2", "15/03/2024"},
                 {"B2", "Pagamento ação"},
                 {"C2", "123"},
                 {"D2", "1234,5"},
                 {"E2", "0,1"},
                 {"A3", "16/03/2024 14:30:00"},
                 {"D3", "-150,25"},
                 {"E3", "12345678901"},
                 {"A4", "17/03/2024 10:00:00"},
                 {"B4", "12:00:00"},
                 {"C4", "VERDADEIRO"},
                 {"D4", "FALSO"},
                 {"E4", "Saldo final"},
                 {"A5", "0,0000001"},
                 {"B5", "15/03/2024 18:00:00"},
                 {"E40", "fim"}});
}

void TstWorkbook::xlsxFirstSheetByRelationshipAndCellKinds()
{
    Xlsx x;
    x.sharedStrings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                      "<si><t>Data</t></si>"
                      "<si><r><t>Hist</t></r><r><rPr><i/></rPr><t>órico</t></r>"
                      "<rPh sb=\"0\" eb=\"1\"><t>ヒ</t></rPh></si>"
                      "<si><t>linha1_x000D_linha2 _x005F_x0041_</t></si></sst>";
    x.styles = "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
               "<numFmts><numFmt numFmtId=\"164\" formatCode=\"[$-416]dd/mm/yyyy;@\"/>"
               "<numFmt numFmtId=\"165\" formatCode=\"&quot;R$&quot; #,##0.00\"/></numFmts>"
               "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
               "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"22\"/>"
               "<xf numFmtId=\"165\"/></cellXfs></styleSheet>";
    x.sheets.append(
        {QStringLiteral("Primeira"),
         "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
         "<c r=\"C1\" t=\"inlineStr\"><is><r><t>in</t></r><r><rPr><b/></rPr>"
         "<t xml:space=\"preserve\">line </t></r></is></c>"
         "<c r=\"D1\" t=\"str\"><f>A1</f><v>fórmula</v></c><c r=\"E1\" s=\"3\"/></row>"
         // Cells without a reference follow each other from column A.
         "<row r=\"2\"><c><v>0.10000000000000001</v></c><c><v>0.30000000000000004</v></c>"
         "<c t=\"d\"><v>2024-03-15T08:05:00</v></c><c s=\"1\"><v>45366</v></c>"
         "<c s=\"2\"><v>45366.5</v></c></row>"
         "<row r=\"4\"><c r=\"B4\" t=\"s\"><v>2</v></c><c r=\"C4\" t=\"b\"><v>0</v></c>"
         "<c r=\"D4\" s=\"3\"><v>1234.5</v></c></row>"});
    x.sheets.append({QStringLiteral("Segunda"), inlineCell("A1", "errada")});
    const QString file = writeXlsx(QStringLiteral("manual.xlsx"), x);
    QVERIFY(!file.isEmpty());
    compareGrid(Workbook::read(file), 4, 5,
                {{"A1", "Data"},
                 {"B1", "Histórico"},
                 {"C1", "inline "},
                 {"D1", "fórmula"},
                 {"A2", "0,1"},
                 {"B2", "0,3"},
                 {"C2", "15/03/2024 08:05:00"},
                 {"D2", "15/03/2024"},
                 {"E2", "15/03/2024 12:00:00"},
                 {"B4", "linha1\rlinha2 _x0041_"},
                 {"C4", "FALSO"},
                 {"D4", "1234,5"}});
}

void TstWorkbook::xlsxDate1904()
{
    Xlsx x;
    x.date1904 = true;
    x.styles = "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
               "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>";
    x.sheets.append({QStringLiteral("Datas"), "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c>"
                                              "<c r=\"B1\" s=\"1\"><v>43904</v></c></row>"});
    const QString file = writeXlsx(QStringLiteral("1904.xlsx"), x);
    QVERIFY(!file.isEmpty());
    compareGrid(Workbook::read(file), 1, 2, {{"A1", "01/01/1904"}, {"B1", "15/03/2024"}});
}

void TstWorkbook::xlsAndOdsFromSpreadsheetProgram_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Workbook::Format>("format");
    QTest::newRow("xls") << dataFile(QStringLiteral("extrato.xls")) << Workbook::Format::Xls;
    QTest::newRow("ods") << dataFile(QStringLiteral("extrato.ods")) << Workbook::Format::Ods;
}

void TstWorkbook::xlsAndOdsFromSpreadsheetProgram()
{
    QFETCH(QString, file);
    QFETCH(Workbook::Format, format);
    Workbook::Format read;
    const TextGrid grid = Workbook::read(file, &read);
    QCOMPARE(read, format);
    // E3 and E4 are formulas (=E2+D3, =E3+D4), A5 is =DATE(2024;3;17) shown
    // as a short date, D12 a text formula; "Outra" is the second sheet.
    compareGrid(grid, 12, 5,
                {{"A1", "Data"},
                 {"B1", "Histórico"},
                 {"C1", "Documento"},
                 {"D1", "Valor"},
                 {"E1", "Saldo"},
                 {"B2", "SALDO ANTERIOR"},
                 {"E2", "1000"},
                 {"A3", "15/03/2024"},
                 {"B3", "Pagamento ação"},
                 {"C3", "123"},
                 {"D3", "-150,25"},
                 {"E3", "849,75"},
                 {"A4", "16/03/2024 14:30:00"},
                 {"B4", "TED RECEBIDA"},
                 {"C4", "456"},
                 {"D4", "1234,5"},
                 {"E4", "2084,25"},
                 {"A5", "17/03/2024"},
                 {"D5", "0,1"},
                 {"E5", "VERDADEIRO"},
                 {"D12", "total geral"},
                 {"E12", "fim"}});
}

void TstWorkbook::errorCellStopsTheReading_data()
{
    QVERIFY(m_dir.isValid());
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    Xlsx na;
    na.sheets.append({QStringLiteral("Erro"), "<row r=\"1\">" + inlineCell("A1", "Data") +
                                                  "</row><row r=\"7\"><c r=\"D7\" t=\"e\">"
                                                  "<f>NA()</f><v>#N/A</v></c></row>"
                                                  "<row r=\"8\"><c r=\"D8\" t=\"e\"><v>#DIV/0!</v>"
                                                  "</c></row>"});
    QTest::newRow("xlsx #N/A") << writeXlsx(QStringLiteral("na.xlsx"), na)
                               << QStringLiteral("Célula D7: valor de erro #N/D");
    Xlsx value;
    value.sheets.append(
        {QStringLiteral("Erro"), "<row r=\"12\"><c r=\"AB12\" t=\"e\"><v>#VALUE!</v></c></row>"});
    QTest::newRow("xlsx #VALUE!") << writeXlsx(QStringLiteral("valor.xlsx"), value)
                                  << QStringLiteral("Célula AB12: valor de erro #VALOR!");
    QTest::newRow("xls") << dataFile(QStringLiteral("erro.xls"))
                         << QStringLiteral("Célula D7: valor de erro #N/D");
    QTest::newRow("ods") << dataFile(QStringLiteral("erro.ods"))
                         << QStringLiteral("Célula D7: valor de erro #N/D");
}

void TstWorkbook::errorCellStopsTheReading()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QVERIFY(!file.isEmpty());
    try {
        Workbook::read(file);
        QFAIL("an error cell was read as a value");
    } catch (const WorkbookError &e) {
        QCOMPARE(e.kind(), WorkbookError::Kind::ErrorValue);
        QCOMPARE(e.message(), message);
    }
}

void TstWorkbook::csvSeparatorsAndEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");

    const QList<QStringList> statement = {
        {"Data", "Histórico", "Documento", "Valor"},
        {"15/03/2024", "Pagamento ação", "123", "-1.234,50"},
        {"16/03/2024", "TED; JOSÉ", "456", "10,00"},
    };
    QTest::newRow("; Windows-1252")
        << QByteArray("Data;Hist\xF3rico;Documento;Valor\r\n"
                      "15/03/2024;Pagamento a\xE7\xE3o;123;-1.234,50\r\n"
                      "16/03/2024;\"TED; JOS\xC9\";456;10,00\r\n")
        << statement;
    QTest::newRow("; UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                    "Data;Histórico;Documento;Valor\n"
                                                    "15/03/2024;Pagamento ação;123;-1.234,50\n"
                                                    "16/03/2024;\"TED; JOSÉ\";456;10,00\n")
                                      << statement;
    QTest::newRow(", UTF-8, quotes and a line break in a field")
        << QByteArray("Data,Valor,Obs\n15/03/2024,\"1.234,50\",\"diz \"\"oi\"\"\"\n"
                      "16/03/2024,10.5,\"duas\nlinhas\"")
        << QList<QStringList>{{"Data", "Valor", "Obs"},
                              {"15/03/2024", "1.234,50", "diz \"oi\""},
                              {"16/03/2024", "10.5", "duas\nlinhas"}};
    QTest::newRow(", Windows-1252, CR line ends")
        << QByteArray("Hist\xF3rico,Valor\rCaf\xE9,3.5\r")
        << QList<QStringList>{{"Histórico", "Valor"}, {"Café", "3.5"}};
    QTest::newRow("blank lines and short rows")
        << QByteArray("a;b;c\n\nx\n\n\n")
        << QList<QStringList>{{"a", "b", "c"}, {"", "", ""}, {"x", "", ""}};
}

void TstWorkbook::csvSeparatorsAndEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    const QString file = path(QStringLiteral("extrato.csv"));
    QVERIFY(SampleFiles::writeFile(file, bytes));
    Workbook::Format format;
    const TextGrid grid = Workbook::read(file, &format);
    QCOMPARE(format, Workbook::Format::Csv);
    QCOMPARE(grid.rowCount(), int(rows.size()));
    for (int r = 0; r < grid.rowCount(); ++r)
        QCOMPARE(grid.row(r), rows.at(r));
}

void TstWorkbook::formatComesFromContent_data()
{
    QVERIFY(m_dir.isValid());
    QTest::addColumn<QString>("file");
    QTest::addColumn<Workbook::Format>("format");
    QTest::addColumn<QString>("a1");

    const QString xlsx = writeLibxlsxwriterFile(QStringLiteral("na-verdade-xlsx.xls"));
    QTest::newRow("xlsx named .xls") << xlsx << Workbook::Format::Xlsx << QStringLiteral("Data");
    const QString ods = path(QStringLiteral("na-verdade-ods.xlsx"));
    QFile::copy(dataFile(QStringLiteral("extrato.ods")), ods);
    QTest::newRow("ods named .xlsx") << ods << Workbook::Format::Ods << QStringLiteral("Data");
    const QString xls = path(QStringLiteral("na-verdade-xls.ods"));
    QFile::copy(dataFile(QStringLiteral("extrato.xls")), xls);
    QTest::newRow("xls named .ods") << xls << Workbook::Format::Xls << QStringLiteral("Data");
    const QString txt = path(QStringLiteral("extrato.txt"));
    SampleFiles::writeFile(txt, "Data;Valor\n15/03/2024;1,5\n");
    QTest::newRow("csv named .txt") << txt << Workbook::Format::Csv << QStringLiteral("Data");
}

void TstWorkbook::formatComesFromContent()
{
    QFETCH(QString, file);
    QFETCH(Workbook::Format, format);
    QFETCH(QString, a1);
    Workbook::Format read;
    QCOMPARE(Workbook::read(file, &read).cell(0, 0), a1);
    QCOMPARE(read, format);
}

void TstWorkbook::filesThatAreNotReadable_data()
{
    QVERIFY(m_dir.isValid());
    QTest::addColumn<QString>("file");
    QTest::addColumn<WorkbookError::Kind>("kind");
    QTest::addColumn<QString>("message"); // empty: the kind is enough
    using K = WorkbookError::Kind;

    SampleFiles::writeFile(path(QStringLiteral("vazio.xlsx")), {});
    QTest::newRow("empty") << path(QStringLiteral("vazio.xlsx")) << K::Empty
                           << QStringLiteral("O arquivo \"vazio.xlsx\" está vazio.");

    SampleFiles::writeFile(path(QStringLiteral("texto.xlsx")), "Data;Valor\n15/03/2024;10\n");
    QTest::newRow("text named .xlsx")
        << path(QStringLiteral("texto.xlsx")) << K::NotWorkbook
        << QStringLiteral("O arquivo \"texto.xlsx\" não é uma planilha que o programa leia "
                          "(xlsx, xls, ods ou csv): o conteúdo é texto, não uma planilha.");

    // A download cut short: the first half of a real workbook.
    const QString whole = writeLibxlsxwriterFile(QStringLiteral("inteiro.xlsx"));
    QFile f(whole);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    SampleFiles::writeFile(path(QStringLiteral("cortado.xlsx")), bytes.left(bytes.size() / 2));
    QTest::newRow("truncated zip")
        << path(QStringLiteral("cortado.xlsx")) << K::Damaged
        << QStringLiteral("A planilha \"cortado.xlsx\" está danificada ou incompleta e não pode "
                          "ser lida.");

    Xlsx broken;
    broken.sheets.append({QStringLiteral("Plan1"), "<row r=\"1\"><c r=\"A1\"><v>1</v></row>"});
    QTest::newRow("sheet XML broken")
        << writeXlsx(QStringLiteral("quebrado.xlsx"), broken) << K::Damaged << QString();

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 7919 + 13) % 256));
    SampleFiles::writeFile(path(QStringLiteral("lixo.xls")), binary);
    QTest::newRow("binary rubbish")
        << path(QStringLiteral("lixo.xls")) << K::NotWorkbook << QString();

    SampleFiles::writeOle2(path(QStringLiteral("documento.xls")),
                           {{QStringLiteral("WordDocument"), QByteArray(600, 'x')}});
    QTest::newRow("OLE2 without a workbook")
        << path(QStringLiteral("documento.xls")) << K::NotWorkbook << QString();

    SampleFiles::writeOle2(path(QStringLiteral("senha.xlsx")),
                           {{QStringLiteral("EncryptionInfo"), QByteArray(600, '\x04')},
                            {QStringLiteral("EncryptedPackage"), QByteArray(5000, '\x5A')}});
    QTest::newRow("encrypted xlsx")
        << path(QStringLiteral("senha.xlsx")) << K::Encrypted
        << QStringLiteral("A planilha \"senha.xlsx\" está protegida por senha. Abra-a na "
                          "planilha eletrônica, retire a senha, salve e leia de novo.");

    // BIFF8: BOF, FILEPASS (RC4), then what would be encrypted.
    QByteArray biff;
    auto record = [&biff](int type, const QByteArray &data) {
        biff.append(char(type & 0xff)).append(char(type >> 8));
        biff.append(char(data.size() & 0xff)).append(char(data.size() >> 8));
        biff.append(data);
    };
    record(0x0809,
           QByteArray("\x00\x06\x05\x00\xBB\x0D\xCC\x07\x00\x00\x00\x00\x06\x00\x00\x00", 16));
    record(0x002F, QByteArray("\x01\x00\x01\x00\x01\x00", 6) + QByteArray(48, '\x33'));
    record(0x000A, {});
    biff.append(QByteArray(4096, '\0'));
    SampleFiles::writeOle2(path(QStringLiteral("senha.xls")), {{QStringLiteral("Workbook"), biff}});
    QTest::newRow("encrypted xls")
        << path(QStringLiteral("senha.xls")) << K::Encrypted << QString();

    SampleFiles::writeZip(path(QStringLiteral("pacote.xlsx")),
                          {{QStringLiteral("leia.txt"), "nada"}});
    QTest::newRow("zip that is no workbook")
        << path(QStringLiteral("pacote.xlsx")) << K::NotWorkbook << QString();

    SampleFiles::writeZip(path(QStringLiteral("texto.ods")),
                          {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text"},
                           {QStringLiteral("content.xml"), "<office:document-content/>"}});
    QTest::newRow("OpenDocument text named .ods")
        << path(QStringLiteral("texto.ods")) << K::NotWorkbook << QString();

    SampleFiles::writeZip(
        path(QStringLiteral("binaria.xlsb")),
        {{QStringLiteral("[Content_Types].xml"), "<Types/>"},
         {QStringLiteral("_rels/.rels"),
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/officeDocument\" Target=\"xl/workbook.bin\"/></Relationships>"},
         {QStringLiteral("xl/workbook.bin"), QByteArray("\x83\x01\x00\x00", 4)}});
    QTest::newRow("binary workbook (xlsb)")
        << path(QStringLiteral("binaria.xlsb")) << K::NotWorkbook
        << QStringLiteral(
               "O arquivo \"binaria.xlsb\" não é uma planilha que o programa leia (xlsx, "
               "xls, ods ou csv): é uma pasta de trabalho binária (xlsb); salve-a como "
               "xlsx.");

    const SampleFiles::Parts parts = [] {
        Xlsx x;
        x.sheets.append({QStringLiteral("Plan1"), inlineCell("A1", "x")});
        SampleFiles::Parts p = x.parts();
        for (auto &[name, data] : p)
            if (name.endsWith(QLatin1String("workbook.xml.rels")))
                data.replace("relationships/worksheet", "relationships/chartsheet");
        return p;
    }();
    SampleFiles::writeZip(path(QStringLiteral("grafico.xlsx")), parts);
    QTest::newRow("only a chart sheet")
        << path(QStringLiteral("grafico.xlsx")) << K::NoWorksheet << QString();

    // One value at the last cell a sheet has would ask for 17 billion cells.
    Xlsx far;
    far.sheets.append({QStringLiteral("Plan1"), "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v>"
                                                "</c></row>"});
    QTest::newRow("last cell at XFD1048576")
        << writeXlsx(QStringLiteral("longe.xlsx"), far) << K::TooLarge << QString();

    QTest::newRow("missing file")
        << path(QStringLiteral("nao-existe.xlsx")) << K::Unreadable
        << QStringLiteral("Não foi possível abrir o arquivo \"nao-existe.xlsx\": o arquivo não "
                          "existe.");
    QDir(m_dir.path()).mkdir(QStringLiteral("pasta.xlsx"));
    QTest::newRow("a folder") << path(QStringLiteral("pasta.xlsx")) << K::Unreadable << QString();
}

void TstWorkbook::filesThatAreNotReadable()
{
    QFETCH(QString, file);
    QFETCH(WorkbookError::Kind, kind);
    QFETCH(QString, message);
    try {
        const TextGrid grid = Workbook::read(file);
        QFAIL(qPrintable(QStringLiteral("read as a grid of %1 x %2")
                             .arg(grid.rowCount())
                             .arg(grid.columnCount())));
    } catch (const WorkbookError &e) {
        QVERIFY2(e.kind() == kind, qPrintable(e.message()));
        if (!message.isEmpty())
            QCOMPARE(e.message(), message);
    }
}

void TstWorkbook::numberTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1234.5") << 1234.5 << QStringLiteral("1234,5");
    QTest::newRow("0.1 stored as 0.1000000000000000055") << 0.1 << QStringLiteral("0,1");
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << QStringLiteral("0,3");
    QTest::newRow("negative") << -150.25 << QStringLiteral("-150,25");
    QTest::newRow("integer") << 12345678901.0 << QStringLiteral("12345678901");
    QTest::newRow("large, no exponent") << 1e20 << QStringLiteral("100000000000000000000");
    QTest::newRow("small, no exponent") << 0.00012 << QStringLiteral("0,00012");
    QTest::newRow("minus zero") << -0.0 << QStringLiteral("0");
}

void TstWorkbook::numberTexts()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(CellText::number(value), text);
}

void TstWorkbook::numberFormatKinds_data()
{
    using K = CellText::NumberKind;
    QTest::addColumn<QString>("code");
    QTest::addColumn<K>("kind");
    QTest::newRow("dd/mm/yyyy") << QStringLiteral("dd/mm/yyyy") << K::Date;
    QTest::newRow("locale and text section") << QStringLiteral("[$-416]d/m/yy;@") << K::Date;
    QTest::newRow("month name") << QStringLiteral("mmm-yy") << K::Date;
    QTest::newRow("minutes beside hours") << QStringLiteral("hh:mm") << K::Time;
    QTest::newRow("elapsed hours") << QStringLiteral("[h]:mm:ss") << K::Time;
    QTest::newRow("minutes and seconds") << QStringLiteral("mm:ss") << K::Time;
    QTest::newRow("AM/PM") << QStringLiteral("h AM/PM") << K::Time;
    QTest::newRow("money") << QStringLiteral("#,##0.00") << K::Number;
    QTest::newRow("General") << QStringLiteral("General") << K::Number;
    QTest::newRow("scientific") << QStringLiteral("0.00E+00") << K::Number;
    QTest::newRow("colour name") << QStringLiteral("[Red]0.00") << K::Number;
    QTest::newRow("quoted letters") << QStringLiteral("0 \"dias\"") << K::Number;
    QTest::newRow("escaped letter") << QStringLiteral("0\\d") << K::Number;
    QTest::newRow("date in a later section only") << QStringLiteral("0.00;dd/mm") << K::Number;
}

void TstWorkbook::numberFormatKinds()
{
    QFETCH(QString, code);
    QFETCH(CellText::NumberKind, kind);
    QCOMPARE(CellText::formatCodeKind(code), kind);
}

CP_TEST(TstWorkbook)
#include "tst_workbook.moc"
