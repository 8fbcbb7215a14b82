// The OFX statement reader on statements written the way banks write them:
// SGML with a "CHARSET:1252" header over a UTF-8 body, unclosed tags, a
// blank FITID, a bare "&", an element libofx does not know, a missing
// </STMTTRN>, Brazilian amounts and late-evening postings; XML 2.x; a true
// Windows-1252 body; a statement long enough to be read in several slices;
// and the files that must be refused.

#include "SampleFiles.h"
#include "TestMain.h"
#include "ofx/Ofx.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray SgmlHeader = "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\n"
                              "ENCODING:USASCII\r\nCHARSET:1252\r\nCOMPRESSION:NONE\r\n"
                              "OLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n";

QByteArray signOn(const QByteArray &code = "0", const QByteArray &message = {})
{
    return "<OFX>\r\n<SIGNONMSGSRSV1>\r\n<SONRS>\r\n<STATUS>\r\n<CODE>" + code + "\r\n<SEVERITY>" +
           (code == "0" ? "INFO" : "ERROR") + "\r\n" +
           (message.isEmpty() ? QByteArray() : "<MESSAGE>" + message + "\r\n") +
           "</STATUS>\r\n<DTSERVER>20240315120000[-3:BRT]\r\n<LANGUAGE>POR\r\n</SONRS>\r\n"
           "</SIGNONMSGSRSV1>\r\n";
}

QByteArray statement(const QByteArray &account, const QByteArray &transactions,
                     const QByteArray &balance = {})
{
    return "<STMTTRNRS>\r\n<TRNUID>1\r\n<STATUS>\r\n<CODE>0\r\n<SEVERITY>INFO\r\n</STATUS>\r\n"
           "<STMTRS>\r\n<CURDEF>BRL\r\n<BANKACCTFROM>\r\n" +
           account +
           "<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n<DTSTART>20240301\r\n"
           "<DTEND>20240315\r\n" +
           transactions + "</BANKTRANLIST>\r\n" + balance + "</STMTRS>\r\n</STMTTRNRS>\r\n";
}

const QByteArray Itau = "<BANKID>0341\r\n<BRANCHID>1234\r\n<ACCTID>56789-0\r\n";

// As banks write it: the body is UTF-8 although the header says 1252.
QByteArray bankSgml()
{
    const QByteArray transactions =
        "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>20240301\r\n<TRNAMT>-150,25\r\n"
        "<FITID>20240301001\r\n<BANKEXTRA>abc\r\n<CHECKNUM>000123\r\n"
        "<MEMO>PAGTO CONTA LUZ ação\r\n</STMTTRN>\r\n"
        "<STMTTRN>\r\n<TRNTYPE>CREDIT\r\n<DTPOSTED>20240302235900[-3:BRT]\r\n"
        "<TRNAMT>1.234,56\r\n<FITID>\r\n<NAME>TED RECEBIDA JOSÉ\r\n</STMTTRN>\r\n"
        // No </STMTTRN>: the next transaction closes it.
        "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>20240303\r\n<TRNAMT>-10.00\r\n"
        "<FITID>ABC\r\n<MEMO>LOJAS C&A\r\n"
        "<STMTTRN>\r\n<TRNTYPE>CREDIT\r\n<DTPOSTED>20240304120000\r\n<TRNAMT>5\r\n"
        "<FITID>X4\r\n<CHECKNUM>\r\n<MEMO>PIX RECEBIDO\r\n</STMTTRN>\r\n";
    return SgmlHeader + signOn() + "<BANKMSGSRSV1>\r\n" +
           statement(Itau, transactions,
                     "<LEDGERBAL>\r\n<BALAMT>5.074,31\r\n<DTASOF>20240304\r\n</LEDGERBAL>\r\n") +
           "</BANKMSGSRSV1>\r\n</OFX>\r\n";
}

QByteArray bankXml()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" "
           "NEWFILEUID=\"NONE\"?>\n"
           "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
           "<DTSERVER>20240315</DTSERVER><LANGUAGE>POR</LANGUAGE></SONRS></SIGNONMSGSRSV1>\n"
           "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE>"
           "<SEVERITY>INFO</SEVERITY></STATUS><STMTRS><CURDEF>BRL</CURDEF>\n"
           "<BANKACCTFROM><BANKID>001</BANKID><ACCTID>12345-6</ACCTID><ACCTTYPE>CHECKING"
           "</ACCTTYPE></BANKACCTFROM>\n<BANKTRANLIST><DTSTART>20240301</DTSTART>"
           "<DTEND>20240315</DTEND>\n"
           "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20240310100000[-3:BRT]</DTPOSTED>"
           "<TRNAMT>-89.90</TRNAMT><FITID>202403100001</FITID><NAME>Mercado &amp; Cia</NAME>"
           "<MEMO></MEMO></STMTTRN>\n"
           // Leaf elements left open, as some banks do in XML too.
           "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20240311<TRNAMT>1500.00<FITID>202403110001"
           "<CHECKNUM>778899<MEMO>Salário março</STMTTRN>\n"
           "</BANKTRANLIST><LEDGERBAL><BALAMT>1410.10</BALAMT><DTASOF>20240311</DTASOF>"
           "</LEDGERBAL></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

struct Line
{
    QDate date;
    double amount;
    QString history;
    QString document;
};

} // namespace

class TstOfx : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString p = m_dir.filePath(name);
        return SampleFiles::writeFile(p, bytes) ? p : QString();
    }
    static void compareLines(const OfxStatement &s, const QList<Line> &lines);

private slots:
    void sgmlAsBanksWriteIt();
    void xmlStatement();
    void windows1252Body();
    void longStatementKeepsEveryLineInOrder();
    void filesThatAreRefused_data();
    void filesThatAreRefused();
};

void TstOfx::compareLines(const OfxStatement &s, const QList<Line> &lines)
{
    QCOMPARE(s.transactions.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const OfxTransaction &t = s.transactions.at(i);
        QCOMPARE(t.date, lines[i].date);
        QCOMPARE(t.amount, lines[i].amount);
        QCOMPARE(t.history(), lines[i].history);
        QCOMPARE(t.document(), lines[i].document);
    }
}

void TstOfx::sgmlAsBanksWriteIt()
{
    const OfxStatement s = Ofx::read(write(QStringLiteral("itau.ofx"), bankSgml()));
    QCOMPARE(s.account.bankId, QStringLiteral("0341"));
    QCOMPARE(s.account.branchId, QStringLiteral("1234"));
    QCOMPARE(s.account.accountId, QStringLiteral("56789-0"));
    compareLines(s,
                 {
                     {QDate(2024, 3, 1), -150.25, QStringLiteral("PAGTO CONTA LUZ ação"),
                      QStringLiteral("000123")},
                     // Posted at 23:59 in Brasília: still the 2nd.
                     {QDate(2024, 3, 2), 1234.56, QStringLiteral("TED RECEBIDA JOSÉ"), {}},
                     {QDate(2024, 3, 3), -10.0, QStringLiteral("LOJAS C&A"), QStringLiteral("ABC")},
                     {QDate(2024, 3, 4), 5.0, QStringLiteral("PIX RECEBIDO"), QStringLiteral("X4")},
                 });
    QCOMPARE(s.transactions.at(0).type, QStringLiteral("DEBIT"));
    QCOMPARE(s.transactions.at(1).fitId, QString());
    QVERIFY(s.ledgerBalance.has_value());
    QCOMPARE(*s.ledgerBalance, 5074.31);
    QCOMPARE(s.balanceDate, QDate(2024, 3, 4));
}

void TstOfx::xmlStatement()
{
    const OfxStatement s = Ofx::read(write(QStringLiteral("bb.ofx"), bankXml()));
    QCOMPARE(s.account.bankId, QStringLiteral("001"));
    QCOMPARE(s.account.branchId, QString());
    QCOMPARE(s.account.accountId, QStringLiteral("12345-6"));
    compareLines(s, {
                        {QDate(2024, 3, 10), -89.90, QStringLiteral("Mercado & Cia"),
                         QStringLiteral("202403100001")},
                        {QDate(2024, 3, 11), 1500.0, QStringLiteral("Salário março"),
                         QStringLiteral("778899")},
                    });
    QCOMPARE(*s.ledgerBalance, 1410.10);
}

void TstOfx::windows1252Body()
{
    const QByteArray body = "<STMTTRN>\r\n<TRNTYPE>FEE\r\n<DTPOSTED>20240305\r\n<TRNAMT>-12.90\r\n"
                            "<FITID>T1\r\n<MEMO>Tarifa manuten\xE7\xE3o \x96 mar\xE7o\r\n"
                            "</STMTTRN>\r\n";
    const OfxStatement s = Ofx::read(write(
        QStringLiteral("cp1252.ofx"), SgmlHeader + signOn() + "<BANKMSGSRSV1>\r\n" +
                                          statement(Itau, body) + "</BANKMSGSRSV1>\r\n</OFX>\r\n"));
    compareLines(s, {{QDate(2024, 3, 5), -12.90, QStringLiteral("Tarifa manutenção – março"),
                      QStringLiteral("T1")}});
    QVERIFY(!s.ledgerBalance.has_value());
}

void TstOfx::longStatementKeepsEveryLineInOrder()
{
    // Long enough to go to libofx in three slices.
    constexpr int Count = 2600;
    QByteArray body;
    for (int i = 1; i <= Count; ++i)
        body += "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>202403" +
                QByteArray::number(1 + i % 28).rightJustified(2, '0') + "\r\n<TRNAMT>-" +
                QByteArray::number(i) + ".05\r\n<FITID>F" + QByteArray::number(i) +
                "\r\n<MEMO>BOLETO " + QByteArray::number(i) + "\r\n</STMTTRN>\r\n";
    const OfxStatement s = Ofx::read(write(
        QStringLiteral("longo.ofx"),
        SgmlHeader + signOn() + "<BANKMSGSRSV1>\r\n" +
            statement(Itau, body,
                      "<LEDGERBAL>\r\n<BALAMT>-7.50\r\n<DTASOF>20240315\r\n</LEDGERBAL>\r\n") +
            "</BANKMSGSRSV1>\r\n</OFX>\r\n"));
    QCOMPARE(s.transactions.size(), Count);
    for (int i = 1; i <= Count; ++i) {
        const OfxTransaction &t = s.transactions.at(i - 1);
        if (t.fitId != QStringLiteral("F%1").arg(i) || t.amount != -(i + 0.05) ||
            t.date != QDate(2024, 3, 1 + i % 28) || t.memo != QStringLiteral("BOLETO %1").arg(i))
            QFAIL(qPrintable(
                QStringLiteral("line %1 read as %2 %3").arg(i).arg(t.fitId).arg(t.amount)));
    }
    QCOMPARE(s.account.accountId, QStringLiteral("56789-0"));
    QCOMPARE(*s.ledgerBalance, -7.5);
}

void TstOfx::filesThatAreRefused_data()
{
    QVERIFY(m_dir.isValid());
    QTest::addColumn<QString>("file");
    QTest::addColumn<OfxError::Kind>("kind");
    QTest::addColumn<QString>("message"); // empty: the kind is enough
    using K = OfxError::Kind;

    QTest::newRow("empty") << write(QStringLiteral("vazio.ofx"), {}) << K::Empty
                           << QStringLiteral("O arquivo \"vazio.ofx\" está vazio.");
    QTest::newRow("text") << write(QStringLiteral("texto.ofx"), "Data;Valor\n01/03/2024;10\n")
                          << K::NotOfx
                          << QStringLiteral(
                                 "O arquivo \"texto.ofx\" não é um extrato bancário OFX.");
    QTest::newRow("a workbook") << write(QStringLiteral("planilha.ofx"),
                                         QByteArray("PK\x03\x04\x14\x00\x00\x00", 8) +
                                             QByteArray(300, '\x01'))
                                << K::NotOfx << QString();
    const QByteArray whole = bankSgml();
    QTest::newRow("cut short") << write(QStringLiteral("cortado.ofx"),
                                        whole.left(whole.size() * 3 / 5))
                               << K::Damaged
                               << QStringLiteral("O extrato OFX \"cortado.ofx\" está danificado ou "
                                                 "incompleto e não pode ser lido.");
    QTest::newRow("bank reply without a statement")
        << write(QStringLiteral("erro.ofx"),
                 SgmlHeader + signOn("15500", "Senha inválida") + "</OFX>\r\n")
        << K::NoStatement
        << QStringLiteral("O arquivo OFX \"erro.ofx\" não traz o extrato de uma conta. Mensagem do "
                          "banco: Senha inválida");
    const QByteArray oneLine = "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<DTPOSTED>20240301\r\n"
                               "<TRNAMT>-1.00\r\n<FITID>A\r\n</STMTTRN>\r\n";
    QTest::newRow("two accounts")
        << write(QStringLiteral("duas.ofx"),
                 SgmlHeader + signOn() + "<BANKMSGSRSV1>\r\n" + statement(Itau, oneLine) +
                     statement("<BANKID>0341\r\n<BRANCHID>1234\r\n<ACCTID>99999-9\r\n", oneLine) +
                     "</BANKMSGSRSV1>\r\n</OFX>\r\n")
        << K::SeveralAccounts << QString();
    QTest::newRow("a transaction without a date")
        << write(QStringLiteral("sem-data.ofx"),
                 SgmlHeader + signOn() + "<BANKMSGSRSV1>\r\n" +
                     statement(Itau, oneLine + "<STMTTRN>\r\n<TRNTYPE>DEBIT\r\n<TRNAMT>-2.00\r\n"
                                               "<FITID>B\r\n</STMTTRN>\r\n") +
                     "</BANKMSGSRSV1>\r\n</OFX>\r\n")
        << K::Damaged
        << QStringLiteral("O extrato OFX \"sem-data.ofx\" está danificado: o lançamento 2 não "
                          "tem data ou valor válido.");
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("nao-existe.ofx"))
                                  << K::Unreadable
                                  << QStringLiteral("Não foi possível abrir o arquivo "
                                                    "\"nao-existe.ofx\": o arquivo não existe.");
}

void TstOfx::filesThatAreRefused()
{
    QFETCH(QString, file);
    QFETCH(OfxError::Kind, kind);
    QFETCH(QString, message);
    QVERIFY(!file.isEmpty());
    try {
        const OfxStatement s = Ofx::read(file);
        QFAIL(qPrintable(QStringLiteral("read with %1 transactions").arg(s.transactions.size())));
    } catch (const OfxError &e) {
        QVERIFY2(e.kind() == kind, qPrintable(e.message()));
        if (!message.isEmpty())
            QCOMPARE(e.message(), message);
    }
}

CP_TEST(TstOfx)
#include "tst_ofx.moc"
