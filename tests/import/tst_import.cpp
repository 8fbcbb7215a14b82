// The bank statement import window on real files made here (xlsx written with
// libxlsxwriter, OFX of both syntaxes, a CSV) and on the xls/ods written by a
// spreadsheet program: what is staged, what a reading that fails leaves, the
// question about an OFX of another account, every column of a transferred
// movement, the duplicate questions of a statement transferred again, two
// workstations importing at once, the staged lines lost with a reconnect,
// and transfers that fail half-way (a refused row, a lost connection, a lost
// reply to the commit). Checked on what the clerk sees and on the rows in
// the database.

#include "FaultProxy.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "app/LedgerWindow.h"
#include "app/MenuActions.h"
#include "db/RecordSet.h"
#include "ledger/FrmContaCorrente.h"
#include "ledger/FrmImportaarquivobanco.h"
#include "ledger/LedgerMenu.h"
#include "widgets/DataGrid.h"
#include "widgets/FilePicker.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <xlsxwriter.h>

namespace {

const QDateTime kNow(QDate(2024, 4, 29), QTime(10, 15, 30));

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(kNow, QStringLiteral("MARIA"))
    {
        ConnectionLossCount = 0;
        exec("INSERT INTO configuracao (Controle, Nome) VALUES (7, 'EMPRESA SETE'), (9, 'OUTRA')");
        exec("INSERT INTO conta (codigoconta, banco, agencia, conta) VALUES "
             "(1, 'ITAU', '0350', '98765-4'), (2, 'BRADESCO', '0123', '12345-6'), "
             "(3, 'BANCO DO BRASIL S.A. AGENCIA 1', '0001', '55555-5')");
    }
    // The ledger's rows as "column=value" texts of the columns asked for.
    QStringList ledger(const QString &columns, const QString &where = {})
    {
        return rows(db.sql(), QStringLiteral("SELECT %1 FROM contacorrente %2 ORDER BY controle")
                                  .arg(columns, where));
    }
    // What the program's own session stages (its private copy of the table).
    QStringList staged()
    {
        QSqlQuery q = Db().exec(
            QStringLiteral("SELECT data, hora, usuario, historico, documento, valor, debito, "
                           "saldo, importado, dataimportado FROM importacaobanco ORDER BY id"));
        return rows(q);
    }
    static QString text(const QVariant &v)
    {
        if (v.isNull())
            return QStringLiteral("-");
        switch (v.metaType().id()) {
        case QMetaType::QDate:
            return v.toDate().toString(Qt::ISODate);
        case QMetaType::QTime:
            return v.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::Double:
            return QString::number(v.toDouble());
        default:
            return v.toString();
        }
    }
    static QStringList rows(QSqlQuery &q)
    {
        QStringList out;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << text(q.value(i));
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    static QStringList rows(const QSqlDatabase &db, const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return rows(q);
    }
};

// A spreadsheet cell as the test writes it.
struct XCell
{
    enum Kind { Text, Number, Date, DateTime } kind = Text;
    QString text;
    double number = 0;
    QDateTime when;
};
XCell T(const char *s)
{
    return {XCell::Text, QString::fromUtf8(s), 0, {}};
}
XCell N(double v)
{
    return {XCell::Number, {}, v, {}};
}
XCell D(int y, int m, int d)
{
    return {XCell::Date, {}, 0, QDateTime(QDate(y, m, d), QTime(0, 0))};
}
XCell DT(int y, int m, int d, int h, int mi)
{
    return {XCell::DateTime, {}, 0, QDateTime(QDate(y, m, d), QTime(h, mi))};
}
// Rows of a sheet by their number from 0; a row's cells from column A on
// (an empty text leaves the cell empty).
using Sheet = QList<QPair<int, QList<XCell>>>;

bool writeXlsx(const QString &path, const QList<QPair<QString, Sheet>> &sheets)
{
    lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "#,##0.00");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format *dateTime = workbook_add_format(wb);
    format_set_num_format(dateTime, "dd/mm/yyyy hh:mm");
    for (const auto &[name, rows] : sheets) {
        lxw_worksheet *ws = workbook_add_worksheet(wb, name.toUtf8().constData());
        for (const auto &[r, cells] : rows)
            for (int c = 0; c < cells.size(); ++c) {
                const XCell &x = cells[c];
                const auto row = lxw_row_t(r);
                const auto col = lxw_col_t(c);
                if (x.kind == XCell::Text) {
                    if (!x.text.isEmpty())
                        worksheet_write_string(ws, row, col, x.text.toUtf8().constData(), nullptr);
                } else if (x.kind == XCell::Number) {
                    worksheet_write_number(ws, row, col, x.number, money);
                } else {
                    lxw_datetime dt = {x.when.date().year(),   x.when.date().month(),
                                       x.when.date().day(),    x.when.time().hour(),
                                       x.when.time().minute(), 0};
                    worksheet_write_datetime(ws, row, col, &dt,
                                             x.kind == XCell::Date ? date : dateTime);
                }
            }
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// A plain statement: the header and one row per line (date, history,
// document, amount).
struct Line
{
    QDate date;
    const char *history;
    const char *document;
    double amount;
};
bool writeStatement(const QString &path, const QList<Line> &lines)
{
    Sheet s{{0, {T("Data"), T("Histórico"), T("Documento"), T("Valor"), T("Saldo")}}};
    for (int i = 0; i < lines.size(); ++i) {
        const Line &l = lines[i];
        s.append({i + 1,
                  {D(l.date.year(), l.date.month(), l.date.day()), T(l.history), T(l.document),
                   N(l.amount)}});
    }
    return writeXlsx(path, {{QStringLiteral("Extrato"), s}});
}

const QByteArray kSgmlHeader = "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\n"
                               "ENCODING:USASCII\r\nCHARSET:1252\r\nCOMPRESSION:NONE\r\n"
                               "OLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n";

// An SGML statement as banks write it: "CHARSET:1252" over a UTF-8 body,
// leaf elements left open, a blank FITID beside a check number.
QByteArray ofxSgml(const QByteArray &branch, const QByteArray &account)
{
    return kSgmlHeader +
           "<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n"
           "</STATUS>\r\n<DTSERVER>20240315120000[-3:BRT]\r\n<LANGUAGE>POR\r\n</SONRS>\r\n"
           "</SIGNONMSGSRSV1>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n<TRNUID>1\r\n<STATUS>\r\n"
           "<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n<STMTRS>\r\n<CURDEF>BRL\r\n"
           "<BANKACCTFROM>\r\n<BANKID>0237\r\n<BRANCHID>" +
           branch + "\r\n<ACCTID>" + account +
           "\r\n<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n<DTSTART>20240301\r\n"
           "<DTEND>20240315\r\n"
           "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>20240301\r\n<TRNAMT>-150.25\r\n"
           "<FITID>\r\n<CHECKNUM>000123\r\n<MEMO>PAGTO CONTA LUZ ação\r\n</STMTTRN>\r\n"
           "<STMTTRN>\r\n<TRNTYPE>CREDIT\r\n<DTPOSTED>20240302235900[-3:BRT]\r\n"
           "<TRNAMT>1234.56\r\n<FITID>20240302001\r\n<NAME>TED RECEBIDA JOSÉ\r\n</STMTTRN>\r\n"
           "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>5074.31\r\n<DTASOF>20240302\r\n"
           "</LEDGERBAL>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
}

QByteArray ofxXml()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" "
           "NEWFILEUID=\"NONE\"?>\n"
           "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
           "<DTSERVER>20240315</DTSERVER><LANGUAGE>POR</LANGUAGE></SONRS></SIGNONMSGSRSV1>\n"
           "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE>"
           "<SEVERITY>INFO</SEVERITY></STATUS><STMTRS><CURDEF>BRL</CURDEF>\n"
           "<BANKACCTFROM><BANKID>237</BANKID><ACCTID>0000123456</ACCTID><ACCTTYPE>CHECKING"
           "</ACCTTYPE></BANKACCTFROM>\n<BANKTRANLIST><DTSTART>20240301</DTSTART>"
           "<DTEND>20240315</DTEND>\n"
           "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20240310100000[-3:BRT]</DTPOSTED>"
           "<TRNAMT>-89.90</TRNAMT><FITID>202403100001</FITID><NAME>Mercado &amp; Cia</NAME>"
           "<MEMO></MEMO></STMTTRN>\n"
           "<STMTTRN><TRNTYPE>CREDIT</TRNTYPE><DTPOSTED>20240311</DTPOSTED>"
           "<TRNAMT>1500.00</TRNAMT><FITID>202403110001</FITID><MEMO>Salário março</MEMO>"
           "</STMTTRN>\n</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

QString dataFile(const QString &name)
{
    return TestDb::sourceDir() + QStringLiteral("/tests/workbook/data/") + name;
}

// The window as the ledger's menu opens it, shown offscreen.
struct Screen
{
    FrmImportaarquivobanco w;
    Screen() { w.show(); }
    // A click on the bank box, then a choice in its list.
    void choose(const QString &banco)
    {
        LookupCombo *box = w.bancoBox();
        QTest::mouseClick(box, Qt::LeftButton);
        box->hidePopup();
        const int i = box->findText(banco);
        QVERIFY2(i >= 0, qPrintable(banco));
        box->setCurrentIndex(i);
    }
    void read(const QString &path)
    {
        FilePicker::setAnswers({path});
        QTest::mouseClick(w.importarButton(), Qt::LeftButton);
    }
    void transfer() { QTest::mouseClick(w.transferirButton(), Qt::LeftButton); }
    // "Importar" and "Transferir" enabled, as two letters.
    QString buttons() const
    {
        return QString(w.importarButton()->isEnabled() ? 'I' : '-') +
               QString(w.transferirButton()->isEnabled() ? 'T' : '-');
    }
    int gridRows() const { return w.grid()->model()->rowCount(); }
};

// The other workstation of a test: its own session on the same database.
struct OtherStation
{
    Connection conn{QStringLiteral("estacao2")};
    StatementStaging staging{&conn};
    explicit OtherStation(const QString &database)
    {
        conn.setSettings(TestDb::serverSettings(database));
        conn.open();
    }
    void stage(const QList<StatementLine> &lines)
    {
        staging.stage(lines, QStringLiteral("JOSE"), QDateTime(QDate(2024, 4, 29), QTime(9, 0)));
    }
    QStringList staged()
    {
        QSqlQuery q =
            conn.exec(QStringLiteral("SELECT historico FROM importacaobanco ORDER BY id"));
        return Fixture::rows(q);
    }
};

} // namespace

class TstImport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void windowAsItOpens();
    void workbookLinesAreStaged();
    void spreadsheetProgramFiles_data();
    void spreadsheetProgramFiles();
    void readingThatFailsChangesNothing_data();
    void readingThatFailsChangesNothing();
    void ofxStatements_data();
    void ofxStatements();
    void ofxOfAnotherAccount_data();
    void ofxOfAnotherAccount();
    void transferBooksEveryColumn();
    void transferringTwice();
    void twoWorkstationsAtOnce();
    void reconnectLosesTheStaging_data();
    void reconnectLosesTheStaging();
    void transferThatFailsWritesNothing_data();
    void transferThatFailsWritesNothing();
    void openedFromTheLedger();

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
};

void TstImport::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TstImport::windowAsItOpens()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Screen s;
    FrmImportaarquivobanco &w = s.w;
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Quarvo Sistemas - ")));
    QCOMPARE(w.titleBand()->caption(), QStringLiteral("Importar Arquivo Banco"));
    QCOMPARE(w.titleBand()->color(), QColor(0, 74, 149));
    QCOMPARE(w.titleBand()->height(), 49);
    QStringList columns;
    for (int c = 0; c < w.grid()->model()->columnCount(); ++c)
        columns << w.grid()->model()->headerData(c, Qt::Horizontal).toString() + "/" +
                       QString::number(w.grid()->horizontalHeader()->sectionSize(c));
    QCOMPARE(columns,
             (QStringList{"Data/64", "Hora/76", "Usuario/114", "Documento/90", "Historico/365",
                          "Credito Valor R$/110", "Debito R$/64", "Saldo R$/106"}));
    QCOMPARE(s.gridRows(), 0);
    QCOMPARE(w.importarButton()->text(), QStringLiteral("&Importar Extrato"));
    QCOMPARE(w.transferirButton()->text(), QStringLiteral("&Transferir C.C."));
    bool labelled = false;
    for (QLabel *l : w.findChildren<QLabel *>())
        labelled |= l->text() == QStringLiteral("Descrição do Banco");
    QVERIFY(labelled);
    QStringList banks;
    for (int i = 0; i < w.bancoBox()->count(); ++i)
        banks << w.bancoBox()->itemText(i);
    QCOMPARE(banks, (QStringList{"BANCO DO BRASIL S.A. AGENCIA 1", "BRADESCO", "ITAU"}));
    QCOMPARE(s.buttons(), QStringLiteral("--"));
    // A click on the box is enough.
    QTest::mouseClick(w.bancoBox(), Qt::LeftButton);
    w.bancoBox()->hidePopup();
    QCOMPARE(s.buttons(), QStringLiteral("I-"));
    // Reading without an account says so and asks for no file.
    ScriptedMessages boxes;
    QList<FilePickerRequest> asked;
    FilePicker::setAnswers({path("nada.xlsx")}, &asked);
    QTest::mouseClick(w.importarButton(), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{"Escolha a conta em \"Descrição do Banco\"."});
    QVERIFY(asked.isEmpty());
    FilePicker::setAnswers({});
}

void TstImport::workbookLinesAreStaged()
{
    Fixture f;
    REQUIRE_DB(f.db);
    const Sheet first{
        {0, {T("Data"), T("Histórico"), T("Documento"), T("Valor"), T("Saldo")}},
        {1, {T("Conta:"), T("CONTA"), T("12345-6"), T("BRADESCO")}},
        {2, {T(""), T("SALDO ANTERIOR"), T(""), T(""), N(1000)}},
        {3, {D(2024, 3, 15), T("Pagamento ação"), T("123"), N(-150.25), N(849.75)}},
        {4, {DT(2024, 3, 16, 14, 30), T("TED RECEBIDA"), N(456), N(1234.5), N(2084.25)}},
        {5, {D(2024, 3, 16), T("SEM DOCUMENTO"), T(""), N(-5)}},
        {6, {D(2024, 3, 17), T("TARIFA ZERADA"), T("789"), N(0)}},
        {9, {T("Data "), T("Lançamentos futuros"), T("Doc"), T("Valor")}},
        {10, {D(2024, 3, 18), T("PIX RECEBIDO"), T("X-1"), N(0.1)}},
        {39, {T(""), T(""), T(""), T(""), T("fim")}}, // the used range ends at E40
    };
    const Sheet second{{0, {D(2024, 3, 20), T("OUTRA FOLHA"), T("1"), N(99)}}};
    const QString file = path("extrato.xlsx");
    QVERIFY(
        writeXlsx(file, {{QStringLiteral("Extrato"), first}, {QStringLiteral("Outra"), second}}));
    f.exec("INSERT INTO importacaobanco (historico) VALUES ('DE OUTRA ESTACAO')");

    Screen s;
    s.choose(QStringLiteral("BRADESCO"));
    ScriptedMessages boxes;
    s.read(file);
    QCOMPARE(boxes.texts(), QStringList());
    const QString stamp = QStringLiteral("10:15:30|MARIA|");
    QCOMPARE(f.staged(),
             (QStringList{"2024-03-15|" + stamp + "Pagamento ação|123|-|150.25|849.75|S|2024-04-29",
                          "2024-03-16|" + stamp + "TED RECEBIDA|456|1234.5|-|2084.25|S|2024-04-29",
                          "2024-03-17|" + stamp + "TARIFA ZERADA|789|-|0|-|S|2024-04-29",
                          "2024-03-18|" + stamp + "PIX RECEBIDO|X-1|0.1|-|-|S|2024-04-29"}));
    QCOMPARE(s.gridRows(), 4);
    QCOMPARE(s.w.grid()->gridModel()->displayText(1, 5), QStringLiteral("1.234,50"));
    QCOMPARE(s.w.grid()->gridModel()->displayText(0, 0), QStringLiteral("15/03/2024"));
    QCOMPARE(s.buttons(), QStringLiteral("-T"));
    QCOMPARE(s.w.progressBar()->value(), s.w.progressBar()->maximum());
    // The shared table is not this workstation's: neither emptied nor filled.
    QCOMPARE(Fixture::rows(f.db.sql(), "SELECT historico FROM importacaobanco"),
             QStringList{"DE OUTRA ESTACAO"});
}

void TstImport::spreadsheetProgramFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("xls") << dataFile(QStringLiteral("extrato.xls"));
    QTest::newRow("ods") << dataFile(QStringLiteral("extrato.ods"));
}

void TstImport::spreadsheetProgramFiles()
{
    QFETCH(QString, file);
    Fixture f;
    REQUIRE_DB(f.db);
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    ScriptedMessages boxes;
    s.read(file);
    QCOMPARE(boxes.texts(), QStringList());
    // Rows 3 and 4 of the first sheet; the balance row has no document, row 5
    // no history, row 12 no date; the sheet "Outra" is not read.
    QCOMPARE(f.staged(),
             (QStringList{"2024-03-15|10:15:30|MARIA|Pagamento ação|123|-|150.25|849.75|S|"
                          "2024-04-29",
                          "2024-03-16|10:15:30|MARIA|TED RECEBIDA|456|1234.5|-|2084.25|S|"
                          "2024-04-29"}));
}

void TstImport::readingThatFailsChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message"); // empty: no message (the dialog was cancelled)

    const QString nothing = QStringLiteral("\nNenhuma linha do extrato foi importada.");
    QTest::newRow("cancelled") << QString() << QString();
    QTest::newRow("error cell, xls")
        << dataFile(QStringLiteral("erro.xls")) << "Célula D7: valor de erro #N/D" + nothing;
    QTest::newRow("error cell, ods")
        << dataFile(QStringLiteral("erro.ods")) << "Célula D7: valor de erro #N/D" + nothing;

    const QString bad = path("ruim.xlsx");
    writeXlsx(bad, {{QStringLiteral("Extrato"),
                     {{0, {T("Data"), T("Histórico"), T("Documento"), T("Valor")}},
                      {1, {D(2024, 3, 1), T("A"), T("1"), N(10)}},
                      {2, {D(2024, 3, 2), T("B"), T("2"), N(20)}},
                      {3, {D(2024, 3, 3), T("C"), T("3"), T("12,3,4")}},
                      {4, {D(2024, 3, 4), T("D"), T("4"), N(40)}}}}});
    QTest::newRow("amount at row 4")
        << bad << "Linha 4, célula D4: \"12,3,4\" não é um valor." + nothing;
    const QString badDate = path("data.csv");
    writeBytes(badDate, "Data;Histórico;Documento;Valor\n01/03/2024;A;1;10\n"
                        "30/02/2024;B;2;-5\n");
    QTest::newRow("date at row 3")
        << badDate << "Linha 3, célula A3: \"30/02/2024\" não é uma data (dd/mm/aaaa)." + nothing;

    // Cut short: the zip's central directory is gone.
    const QString good = path("bom.xlsx");
    writeStatement(good, {{QDate(2024, 3, 1), "A", "1", 10}});
    QFile g(good);
    g.open(QIODevice::ReadOnly);
    const QByteArray whole = g.readAll();
    const QString damaged = path("danificado.xlsx");
    writeBytes(damaged, whole.left(whole.size() / 2));
    QTest::newRow("damaged")
        << damaged
        << "A planilha \"danificado.xlsx\" está danificada ou incompleta e não pode ser lida." +
               nothing;
    const QString headerOnly = path("vazio.xlsx");
    writeStatement(headerOnly, {});
    QTest::newRow("no lines") << headerOnly
                              << "O arquivo não tem lançamentos de extrato: data, histórico, "
                                 "documento e valor nas colunas A, B, C e D." +
                                     nothing;
}

void TstImport::readingThatFailsChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    const QString first = path("primeiro.xlsx");
    QVERIFY(writeStatement(first, {{QDate(2024, 3, 1), "PRIMEIRO", "1", 10},
                                   {QDate(2024, 3, 2), "SEGUNDO", "2", -20}}));
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    s.read(first);
    const QStringList before = f.staged();
    QCOMPARE(before.size(), 2);
    // Another account chosen, then a reading that fails.
    s.choose(QStringLiteral("BRADESCO"));
    QCOMPARE(s.buttons(), QStringLiteral("IT"));
    ScriptedMessages boxes;
    s.read(file);
    if (message.isEmpty()) {
        QCOMPARE(boxes.texts(), QStringList());
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Atenção"));
    }
    QCOMPARE(f.staged(), before);
    QCOMPARE(s.gridRows(), 2);
    QCOMPARE(s.buttons(), QStringLiteral("IT"));
    QCOMPARE(s.w.selectedAccount().banco, QStringLiteral("ITAU"));
}

void TstImport::ofxStatements_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("banco");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("sgml") << ofxSgml("0123", "12345-6") << "BRADESCO"
                          << QStringList{"2024-03-01|PAGTO CONTA LUZ ação|000123|-|150.25|-",
                                         "2024-03-02|TED RECEBIDA JOSÉ|20240302001|1234.56|-|"
                                         "5074.31"};
    QTest::newRow("xml") << ofxXml() << "BRADESCO"
                         << QStringList{"2024-03-10|Mercado & Cia|202403100001|-|89.9|-",
                                        "2024-03-11|Salário março|202403110001|1500|-|-"};
}

void TstImport::ofxStatements()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, banco);
    QFETCH(QStringList, lines);
    Fixture f;
    REQUIRE_DB(f.db);
    const QString file = path("extrato.ofx");
    QVERIFY(writeBytes(file, bytes));
    Screen s;
    s.choose(banco);
    ScriptedMessages boxes;
    s.read(file);
    QCOMPARE(boxes.texts(), QStringList()); // the account is the chosen one
    QSqlQuery q = Db().exec("SELECT data, historico, documento, valor, debito, saldo FROM "
                            "importacaobanco ORDER BY id");
    QCOMPARE(Fixture::rows(q), lines);
    QCOMPARE(s.buttons(), QStringLiteral("-T"));
}

void TstImport::ofxOfAnotherAccount_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void TstImport::ofxOfAnotherAccount()
{
    QFETCH(bool, yes);
    Fixture f;
    REQUIRE_DB(f.db);
    const QString file = path("outra.ofx");
    QVERIFY(writeBytes(file, ofxSgml("0123", "12345-6")));
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    ScriptedMessages boxes({yes ? QMessageBox::Yes : QMessageBox::No});
    s.read(file);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text,
             QStringLiteral("O extrato não é da conta escolhida.\nExtrato: banco 0237, agência "
                            "0123, conta 12345-6\nConta escolhida: ITAU, agência 0350, conta "
                            "98765-4\nDeseja importar o extrato na conta escolhida?"));
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
    QCOMPARE(f.staged().size(), yes ? 2 : 0);
    QCOMPARE(s.buttons(), yes ? QStringLiteral("-T") : QStringLiteral("I-"));
    QCOMPARE(s.w.selectedAccount().banco, yes ? QStringLiteral("ITAU") : QString());
}

void TstImport::transferBooksEveryColumn()
{
    Fixture f;
    REQUIRE_DB(f.db);
    const QString file = path("colunas.xlsx");
    QVERIFY(writeStatement(file, {{QDate(2024, 3, 15), "TED RECEBIDA", "456", 1234.5},
                                  {QDate(2024, 3, 16),
                                   "PAGAMENTO DE BOLETO DA COMPANHIA DE "
                                   "ENERGIA ELETRICA",
                                   "12345678901234567890", -150.25},
                                  {QDate(2024, 3, 17), "TARIFA", "9", 0}}));
    Screen s;
    // The account chosen for the reading, not the one chosen afterwards.
    s.choose(QStringLiteral("BANCO DO BRASIL S.A. AGENCIA 1"));
    s.read(file);
    s.choose(QStringLiteral("ITAU"));
    ScriptedMessages boxes;
    s.transfer();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(
        f.ledger("documento, datalancamento, datavencimento, dataquitacao, codigofilial, filial, "
                 "codigofornecedor, fornecedor, codigogerencial, gerencial, tiposaida, banco, "
                 "conta, agencia, codigotipo, tipo, codigoconta, hora, dataimportado, importado, "
                 "usuario, valor, debito, es, tipos, valordoc, especie"),
        (QStringList{
            "456|2024-03-15|2024-03-15|2024-03-15|7|EMPRESA SETE|99999|TED RECEBIDA|99999|"
            "BANCO|BANCO|BANCO DO BRASIL S.A.|55555-5|0001|1|VARIAVEL|0|10:15:30|2024-04-29|S|"
            "MARIA|1234.5|-|E|ENTRADA|1234.5|BANCO",
            "123456789012345|2024-03-16|2024-03-16|2024-03-16|7|EMPRESA SETE|99999|PAGAMENTO DE "
            "BOLETO DA COMPANHIA DE ENERGIA ELETRI|99999|BANCO|BANCO|BANCO DO BRASIL S.A.|55555-5|"
            "0001|1|VARIAVEL|0|10:15:30|2024-04-29|S|MARIA|-|150.25|S|DEBITO|150.25|BANCO",
            "9|2024-03-17|2024-03-17|2024-03-17|7|EMPRESA SETE|99999|TARIFA|99999|BANCO|BANCO|"
            "BANCO DO BRASIL S.A.|55555-5|0001|1|VARIAVEL|0|10:15:30|2024-04-29|S|MARIA|-|0|S|"
            "DEBITO|0|BANCO"}));
    // Left empty.
    QCOMPARE(f.ledger("CONCAT_WS('|', codigotipodespesa, tipodespesa, codigodespesa, cheque, "
                      "cartao, nomecomputador, obs, dataproc)"),
             (QStringList{"", "", ""}));
    QCOMPARE(s.gridRows(), 0);
    QCOMPARE(s.buttons(), QStringLiteral("I-"));
    QCOMPARE(s.w.progressBar()->value(), 3);
    // The staged lines stay in this workstation's table.
    QCOMPARE(f.staged().size(), 3);
}

void TstImport::transferringTwice()
{
    Fixture f;
    REQUIRE_DB(f.db);
    const QString file = path("duas.xlsx");
    QVERIFY(writeStatement(file, {{QDate(2024, 3, 15), "TED RECEBIDA", "456", 1234.5},
                                  {QDate(2024, 3, 16), "BOLETO", "12345678901234567890", -150.25},
                                  {QDate(2024, 3, 17), "TARIFA", "9", 0}}));
    Screen s;
    s.choose(QStringLiteral("BRADESCO"));
    s.read(file);
    {
        ScriptedMessages boxes;
        s.transfer();
        QCOMPARE(boxes.texts(), QStringList());
    }
    QCOMPARE(f.count("contacorrente"), 3);
    // Again, No to all: asked once per line, the ledger as it was.
    const QStringList questions{
        "Já existe um valor parecido!\nValor R$: 1.234,500\nConfirma o lançamento do registro?",
        "Já existe um valor parecido!\nValor R$: 150,250\nConfirma o lançamento do registro?",
        "Já existe um valor parecido!\nValor R$: 0,000\nConfirma o lançamento do registro?"};
    s.read(file);
    {
        ScriptedMessages boxes({QMessageBox::No, QMessageBox::No, QMessageBox::No});
        s.transfer();
        QCOMPARE(boxes.texts(), questions);
        QCOMPARE(boxes.boxes[1].title, QStringLiteral("Confirmação"));
        QCOMPARE(boxes.boxes[1].icon, QMessageBox::Question);
        QCOMPARE(boxes.boxes[1].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boxes.boxes[1].defaultButton, QMessageBox::Yes);
    }
    QCOMPARE(f.count("contacorrente"), 3);
    QCOMPARE(s.buttons(), QStringLiteral("I-"));
    // And Yes to all: written again, as cash.
    s.read(file);
    {
        ScriptedMessages boxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes});
        s.transfer();
        QCOMPARE(boxes.texts(), questions);
    }
    QCOMPARE(f.ledger("documento, especie"),
             (QStringList{"456|BANCO", "123456789012345|BANCO", "9|BANCO", "456|DINHEIRO",
                          "123456789012345|DINHEIRO", "9|DINHEIRO"}));
}

void TstImport::twoWorkstationsAtOnce()
{
    Fixture f;
    REQUIRE_DB(f.db);
    // What a program without private staging left in the shared table.
    f.exec("INSERT INTO importacaobanco (data, historico, documento, valor) VALUES "
           "('2024-03-01', 'LINHA COMPARTILHADA', '1', 5)");
    OtherStation other(f.db.databaseName());
    const auto line = [](const char *history) {
        StatementLine l;
        l.data = QDate(2024, 3, 5);
        l.historico = QString::fromUtf8(history);
        l.documento = QStringLiteral("77");
        l.amount = -3;
        return l;
    };
    other.stage({line("OUTRA 1"), line("OUTRA 2"), line("OUTRA 3")});
    const QString file = path("minha.xlsx");
    QVERIFY(writeStatement(file, {{QDate(2024, 3, 15), "MINHA 1", "1", 10},
                                  {QDate(2024, 3, 16), "MINHA 2", "2", -20}}));
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    s.read(file);
    // Neither reading removed or mixed into the other.
    QCOMPARE(other.staged(), (QStringList{"OUTRA 1", "OUTRA 2", "OUTRA 3"}));
    other.stage({line("OUTRA 4")});
    QCOMPARE(f.staged().size(), 2);
    ScriptedMessages boxes;
    s.transfer();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(f.ledger("fornecedor"), (QStringList{"MINHA 1", "MINHA 2"}));
    QCOMPARE(other.staged(), QStringList{"OUTRA 4"});
    QCOMPARE(Fixture::rows(f.db.sql(), "SELECT historico FROM importacaobanco"),
             QStringList{"LINHA COMPARTILHADA"});
}

void TstImport::reconnectLosesTheStaging_data()
{
    QTest::addColumn<bool>("reconnectedBefore");
    // The session ends and the transfer is the first to find out, or another
    // statement of the program has already made a new session.
    QTest::newRow("found by the transfer") << false;
    QTest::newRow("reconnected before") << true;
}

void TstImport::reconnectLosesTheStaging()
{
    QFETCH(bool, reconnectedBefore);
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO importacaobanco (data, historico, documento, valor) VALUES "
           "('2024-03-01', 'LINHA COMPARTILHADA', '1', 5)");
    const QString file = path("perdido.xlsx");
    QVERIFY(writeStatement(file, {{QDate(2024, 3, 15), "MINHA", "1", 10}}));
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    s.read(file);
    QCOMPARE(s.buttons(), QStringLiteral("-T"));
    f.exec(QStringLiteral("KILL CONNECTION %1").arg(Db().sessionId()));
    if (reconnectedBefore)
        Db().exec(QStringLiteral("SELECT 1"));
    ScriptedMessages boxes;
    s.transfer();
    QCOMPARE(boxes.texts(), QStringList{StatementStaging::lostMessage()});
    QCOMPARE(f.count("contacorrente"), 0);
    QCOMPARE(s.gridRows(), 0);
    QCOMPARE(s.buttons(), QStringLiteral("I-"));
    // Read again, it goes through.
    s.read(file);
    s.transfer();
    QCOMPARE(f.ledger("fornecedor"), QStringList{"MINHA"});
}

void TstImport::transferThatFailsWritesNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a row refused") << "check";
    QTest::newRow("connection lost") << "lost";
    QTest::newRow("reply to the commit lost") << "commit";
}

void TstImport::transferThatFailsWritesNothing()
{
    QFETCH(QString, fault);
    Fixture f;
    REQUIRE_DB(f.db);
    // 2,500 lines, written in several statements; line 2,000 is refused.
    QByteArray csv = "Data;Histórico;Documento;Valor\n";
    for (int i = 1; i <= 2500; ++i)
        csv += QStringLiteral("%1/03/2024;%2;%3;-%4,25\n")
                   .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                   .arg(i == 2000 ? QStringLiteral("LINHA RECUSADA")
                                  : QStringLiteral("LINHA %1").arg(i))
                   .arg(100000 + i)
                   .arg(i)
                   .toUtf8();
    const QString file = path("longo.csv");
    QVERIFY(writeBytes(file, csv));
    if (fault == "check")
        f.exec("ALTER TABLE contacorrente ADD CONSTRAINT recusa CHECK (fornecedor IS NULL OR "
               "fornecedor <> 'LINHA RECUSADA')");
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    if (fault != "check") {
        ConnectionSettings via = TestDb::serverSettings(f.db.databaseName());
        via.port = proxy.port();
        via.connectTimeoutSeconds = 2;
        QVERIFY(f.dm.connectWith(via));
    }
    Screen s;
    s.choose(QStringLiteral("ITAU"));
    s.read(file);
    QCOMPARE(f.staged().size(), 2500);
    if (fault == "lost")
        proxy.loseRequest("INSERT INTO `contacorrente`");
    else if (fault == "commit")
        proxy.loseReplyTo("COMMIT");
    ScriptedMessages boxes;
    s.transfer();
    if (fault == "commit") {
        // Found on the server after reconnecting: done, once.
        QCOMPARE(proxy.faultsFired(), 1);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.count("contacorrente"), 2500);
        QCOMPARE(s.buttons(), QStringLiteral("I-"));
        return;
    }
    QCOMPARE(f.count("contacorrente"), 0);
    QCOMPARE(boxes.boxes.size(), 1);
    const QString text = boxes.boxes[0].text;
    if (fault == "check") {
        QVERIFY2(text.contains("recusa") &&
                     text.endsWith("\nNenhum lançamento foi transferido para o conta corrente."),
                 qPrintable(text));
        // Nothing was written and the staging is intact: it may be tried again.
        QCOMPARE(s.buttons(), QStringLiteral("-T"));
        f.exec("ALTER TABLE contacorrente DROP CONSTRAINT recusa");
        s.transfer();
        QCOMPARE(f.count("contacorrente"), 2500);
        QCOMPARE(f.scalar("SELECT COUNT(DISTINCT fornecedor) FROM contacorrente").toInt(), 2500);
    } else {
        QCOMPARE(proxy.faultsFired(), 1);
        QVERIFY2(text.endsWith("\n" + StatementStaging::lostMessage()), qPrintable(text));
        QCOMPARE(s.buttons(), QStringLiteral("I-"));
    }
}

void TstImport::openedFromTheLedger()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, conta, datalancamento, fornecedor) VALUES "
           "(1, '98765-4', '2024-01-02', 'ANTIGO')");
    const QString file = path("menu.xlsx");
    QVERIFY(writeStatement(
        file, {{QDate(2024, 3, 15), "NOVO 1", "1", 10}, {QDate(2024, 3, 16), "NOVO 2", "2", -20}}));
    LedgerMenu::registerEntries();
    FrmContaCorrente ledger;
    ledger.show();
    QCOMPARE(ledger.movements()->recordCount(), 1);
    QString opened;
    QWidget *parent = nullptr;
    Modal::ScopedHandler handler([&](QDialog *d) {
        opened = d->objectName();
        parent = d->parentWidget();
        auto *w = qobject_cast<FrmImportaarquivobanco *>(d);
        if (!w)
            return int(QDialog::Rejected);
        d->show();
        LookupCombo *box = w->bancoBox();
        QTest::mouseClick(box, Qt::LeftButton);
        box->hidePopup();
        box->setCurrentIndex(box->findText(QStringLiteral("ITAU")));
        FilePicker::setAnswers({file});
        w->importarButton()->click();
        w->transferirButton()->click();
        w->titleBand()->clickClose();
        return d->result();
    });
    ledger.reportMenu()->actions().at(MenuActions::LedgerImport - 1)->trigger();
    QCOMPARE(opened, QStringLiteral("FrmImportaarquivobanco"));
    QCOMPARE(parent, static_cast<QWidget *>(&ledger));
    // The ledger read its movements again and shows the last one.
    RecordSet *m = ledger.movements();
    QCOMPARE(m->recordCount(), 3);
    QCOMPARE(m->recNo(), 2);
    QCOMPARE(m->text("fornecedor"), QStringLiteral("NOVO 2"));
}

CP_TEST(TstImport)
#include "tst_import.moc"
