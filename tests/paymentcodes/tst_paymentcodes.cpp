// Reading the payment codes a bill carries: boletos of several banks in both
// printed forms, the due-date factor across its 2025 restart, arrecadação codes
// with each check-digit method, PIX "copia e cola" codes, and every refusal with
// the sentence the clerk sees.
//
// Where no source is named, the codes were built for these tests: their check
// digits and CRCs were worked out with a separate Python script (modulo 10/11
// written out by hand, binascii.crc_hqx for the CRC), never with this library.

#include "paymentcodes/Boleto.h"
#include "paymentcodes/CheckDigits.h"
#include "paymentcodes/PaymentCodeReader.h"
#include "paymentcodes/TypedLine.h"

#include <QtTest>

namespace {

constexpr qint64 noAmount = -1;

qint64 amountOf(const PaymentCode &code)
{
    return code.amountCents ? *code.amountCents : noAmount;
}

QDate dueOf(const PaymentCode &code)
{
    return code.dueDate ? *code.dueDate : QDate();
}

} // namespace

class TstPaymentCodes : public QObject
{
    Q_OBJECT
private slots:
    void checkDigitPrimitives();
    void boletos_data();
    void boletos();
    void separatorsAreIgnored_data();
    void separatorsAreIgnored();
    void dueFactor_data();
    void dueFactor();
    void arrecadacao_data();
    void arrecadacao();
    void refusedCodes_data();
    void refusedCodes();
    void pix_data();
    void pix();
    void refusedPix_data();
    void refusedPix();
    void displayText_data();
    void displayText();
};

void TstPaymentCodes::checkDigitPrimitives()
{
    // The standard check value of CRC-16/CCITT-FALSE.
    QCOMPARE(CheckDigits::crc16Ccitt("123456789"), quint16(0x29B1));
    // The boleto's modulo 11 turns 0, 10 and 11 into 1; the arrecadação one
    // gives 0 for remainders 0 and 1. "0" sums to 0 (remainder 0); "6" sums to
    // 12 (remainder 1).
    QCOMPARE(CheckDigits::boletoModulo11(u"0"), 1);
    QCOMPARE(CheckDigits::boletoModulo11(u"6"), 1);
    QCOMPARE(CheckDigits::arrecadacaoModulo11(u"0"), 0);
    QCOMPARE(CheckDigits::arrecadacaoModulo11(u"6"), 0);
    // "5" sums to 10 (remainder 10): 1 in both.
    QCOMPARE(CheckDigits::arrecadacaoModulo11(u"5"), 1);
    // modulo 10 adds the digits of each product: 9*2 = 18 counts 9.
    QCOMPARE(CheckDigits::modulo10(u"9"), 1);
}

void TstPaymentCodes::boletos_data()
{
    QTest::addColumn<QString>("line"); // as printed on the bill
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("bankCode");
    QTest::addColumn<QString>("bankName");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QDate>("due");

    // Published pairs: the Banco do Brasil and Caixa responses in the README of
    // the mundipagg/boleto-api project (boleto registration API); the Caixa one
    // was registered for 30/08/2017, R$ 10,00.
    QTest::newRow("Banco do Brasil, published")
        << "00190000090101405100500066673179971340000010000"
        << "00199713400000100000000001014051000006667317" << QDate(2017, 4, 1) << "001"
        << "Banco do Brasil" << qint64(10000) << QDate(2017, 4, 19);
    QTest::newRow("Caixa, published")
        << "10492.00650 61000.100042 09922.269841 3 72670000001000"
        << "10493726700000010002006561000100040992226984" << QDate(2017, 8, 1) << "104"
        << "Caixa Econômica Federal" << qint64(1000) << QDate(2017, 8, 30);

    QTest::newRow("Bradesco, after the restart")
        << "23791.23405 90000.001231 45006.789007 2 10160000123456"
        << "23792101600001234561234090000001234500678900" << QDate(2025, 3, 1) << "237"
        << "Bradesco" << qint64(123456) << QDate(2025, 3, 10);
    QTest::newRow("Itaú, before the restart")
        << "34191.57007 12345.678127 34123.450008 3 99360000035000"
        << "34193993600000350001570012345678123412345000" << QDate(2024, 12, 1) << "341"
        << "Itaú Unibanco" << qint64(35000) << QDate(2024, 12, 20);
    QTest::newRow("Santander") << "03399.12347 56700.000013 23456.701012 6 11280000008990"
                               << "03396112800000089909123456700000012345670101"
                               << QDate(2025, 6, 1) << "033"
                               << "Santander" << qint64(8990) << QDate(2025, 6, 30);
    QTest::newRow("Sicoob, five figures")
        << "75691.30011 00123.450009 12345.670017 1 13270001250000"
        << "75691132700012500001300100123450001234567001" << QDate(2025, 12, 20) << "756"
        << "Sicoob" << qint64(1250000) << QDate(2026, 1, 15);
    QTest::newRow("Nu Pagamentos, last factor of the first cycle")
        << "26090.00001 00000.123455 67890.123457 1 99990000005990"
        << "26091999900000059900000000000123456789012345" << QDate(2025, 2, 10) << "260"
        << "Nu Pagamentos" << qint64(5990) << QDate(2025, 2, 21);
    QTest::newRow("Inter, first factor of the second cycle, read before it")
        << "07790.00116 12223.334447 55566.677781 9 10000000245000"
        << "07799100000002450000001112223334445556667778" << QDate(2025, 2, 10) << "077"
        << "Banco Inter" << qint64(245000) << QDate(2025, 2, 22);
    QTest::newRow("bank not in the table")
        << "99995.55551 55555.555550 55555.555550 4 97430000000100"
        << "99994974300000001005555555555555555555555555" << QDate(2024, 6, 1) << "999"
        << "" << qint64(100) << QDate(2024, 6, 10);
    QTest::newRow("factor 0000: no due date")
        << "00190.00009 01234.567004 00000.001172 3 00000000015075"
        << "00193000000000150750000001234567000000000117" << QDate(2025, 5, 1) << "001"
        << "Banco do Brasil" << qint64(15075) << QDate();
    QTest::newRow("value 0: filled by the payer")
        << "74891.12230 34455.667781 89900.112239 2 10380000000000"
        << "74892103800000000001122334455667788990011223" << QDate(2025, 3, 15) << "748"
        << "Sicredi" << noAmount << QDate(2025, 4, 1);
    QTest::newRow("neither due date nor value")
        << "10490.00001 00000.000000 00000.000000 6 00000000000000"
        << "10496000000000000000000000000000000000000000" << QDate(2025, 5, 1) << "104"
        << "Caixa Econômica Federal" << noAmount << QDate();
}

// Typed line and barcode are two spellings of one code: both read the same, and
// each converts into the other.
void TstPaymentCodes::boletos()
{
    QFETCH(QString, line);
    QFETCH(QString, barcode);
    QFETCH(QDate, today);
    QFETCH(QString, bankCode);
    QFETCH(QString, bankName);
    QFETCH(qint64, cents);
    QFETCH(QDate, due);
    const QString lineDigits = QString(line).remove(' ').remove('.');

    for (const QString &input : {line, barcode}) {
        const PaymentCodeReading r = PaymentCodeReader::read(input, today);
        QVERIFY2(r.ok(), qPrintable(input + ": " + r.error));
        QCOMPARE(r.code.kind, PaymentCode::Kind::Boleto);
        QCOMPARE(r.code.bankCode, bankCode);
        QCOMPARE(r.code.bankName, bankName);
        QCOMPARE(amountOf(r.code), cents);
        QCOMPARE(dueOf(r.code), due);
        QCOMPARE(r.code.barcode, barcode);
        QCOMPARE(r.code.typedLine, lineDigits);
        QCOMPARE(r.code.text, lineDigits); // what is kept is the typed line
    }
    QCOMPARE(TypedLine::toBarcode(line), barcode);
    QCOMPARE(TypedLine::fromBarcode(barcode), lineDigits);
    if (line.contains(' '))
        QCOMPARE(TypedLine::formatted(lineDigits), line);
}

void TstPaymentCodes::separatorsAreIgnored_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("digits only") << "23791234059000000123145006789007210160000123456";
    QTest::newRow("as printed") << "23791.23405 90000.001231 45006.789007 2 10160000123456";
    QTest::newRow("reader's Enter and surrounding blanks")
        << "  23792101600001234561234090000001234500678900\r\n";
    QTest::newRow("wrapped over lines, tabs")
        << "23791.23405\n90000.001231\t45006.789007\n2 10160000123456";
    QTest::newRow("non-breaking spaces from a PDF")
        << QString::fromUtf8("23791.23405\u00a090000.001231\u00a045006.789007\u00a02\u00a0"
                             "10160000123456");
}

void TstPaymentCodes::separatorsAreIgnored()
{
    QFETCH(QString, input);
    const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(amountOf(r.code), qint64(123456));
    QCOMPARE(dueOf(r.code), QDate(2025, 3, 10));
    QCOMPARE(r.code.text, QString("23791234059000000123145006789007210160000123456"));
}

void TstPaymentCodes::dueFactor_data()
{
    QTest::addColumn<int>("factor");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("due");

    // The correlation table banks publish for the first cycle.
    QTest::newRow("1000 in 2000") << 1000 << QDate(2000, 7, 1) << QDate(2000, 7, 3);
    QTest::newRow("1002") << 1002 << QDate(2000, 7, 1) << QDate(2000, 7, 5);
    QTest::newRow("1667") << 1667 << QDate(2002, 4, 1) << QDate(2002, 5, 1);
    QTest::newRow("4789") << 4789 << QDate(2010, 11, 1) << QDate(2010, 11, 17);
    QTest::newRow("below 1000 exists only in 1997-2000")
        << 1 << QDate(2024, 6, 1) << QDate(1997, 10, 8);

    // Around the restart on 22/02/2025 (1000 again) and the next one.
    QTest::newRow("9999 seen in 2024") << 9999 << QDate(2024, 6, 1) << QDate(2025, 2, 21);
    QTest::newRow("1000 seen in 2024") << 1000 << QDate(2024, 6, 1) << QDate(2025, 2, 22);
    QTest::newRow("9999 seen after the restart") << 9999 << QDate(2025, 3, 1) << QDate(2025, 2, 21);
    QTest::newRow("1003 seen after the restart") << 1003 << QDate(2025, 3, 1) << QDate(2025, 2, 25);
    QTest::newRow("5000 in 2025 is 2036, not 2011")
        << 5000 << QDate(2025, 3, 1) << QDate(2036, 2, 5);
    QTest::newRow("9990 in 2049") << 9990 << QDate(2049, 10, 1) << QDate(2049, 10, 4);
    QTest::newRow("9999 ends the second cycle")
        << 9999 << QDate(2049, 10, 1) << QDate(2049, 10, 13);
    QTest::newRow("1000 of the third cycle") << 1000 << QDate(2049, 10, 1) << QDate(2049, 10, 14);
    QTest::newRow("0000: none") << 0 << QDate(2025, 3, 1) << QDate();
}

void TstPaymentCodes::dueFactor()
{
    QFETCH(int, factor);
    QFETCH(QDate, today);
    QFETCH(QDate, due);
    QCOMPARE(Boleto::dueDate(factor, today), due);
}

void TstPaymentCodes::arrecadacao_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<int>("segment");
    QTest::addColumn<QString>("segmentName");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<bool>("reference");

    // Value identifier 6: real value, modulo 10.
    QTest::newRow("energy, modulo 10") << "83640000001-1 33120138000-2 81288462711-6 08013618155-1"
                                       << "83640000001331201380008128846271108013618155" << 3
                                       << "Energia elétrica e gás" << qint64(13312) << false;
    QTest::newRow("telecom, modulo 10") << "84630000000-3 29990296202-4 00410136000-8 00200644114-7"
                                        << "84630000000299902962020041013600000200644114" << 4
                                        << "Telecomunicações" << qint64(2999) << false;
    QTest::newRow("traffic fine, modulo 10")
        << "87660000002-3 93250123000-1 00000000000-0 00000009999-4"
        << "87660000002932501230000000000000000000009999" << 7 << "Multas de trânsito"
        << qint64(29325) << false;
    // 8: real value, modulo 11.
    QTest::newRow("government, modulo 11")
        << "85890000460-9 52460179160-5 60759305086-5 83148300001-0"
        << "85890000460524601791606075930508683148300001" << 5 << "Órgãos governamentais"
        << qint64(4605246) << false;
    QTest::newRow("modulo 11, general remainder 1 gives 0")
        << "84800000000-6 99950000000-6 00000000000-0 00000039595-1"
        << "84800000000999500000000000000000000000039595" << 4 << "Telecomunicações" << qint64(9995)
        << false;
    QTest::newRow("modulo 11, block remainder 10 gives 1; value 0")
        << "86820000000-4 00001234567-9 80000000000-1 00000000001-9"
        << "86820000000000012345678000000000000000000001" << 6 << "Carnês e assemelhados"
        << noAmount << false;
    // 7 and 9: reference values, not reais.
    QTest::newRow("reference value, modulo 10")
        << "82740000000-2 50000001012-3 34567890123-1 45678901234-5"
        << "82740000000500000010123456789012345678901234" << 2 << "Saneamento" << noAmount << true;
    QTest::newRow("reference value, modulo 11 (block remainders 0 and 10)")
        << "81960000025-9 00001234000-6 00000000000-0 00020250315-1"
        << "81960000025000012340000000000000000020250315" << 1 << "Prefeituras" << noAmount << true;
}

void TstPaymentCodes::arrecadacao()
{
    QFETCH(QString, line);
    QFETCH(QString, barcode);
    QFETCH(int, segment);
    QFETCH(QString, segmentName);
    QFETCH(qint64, cents);
    QFETCH(bool, reference);
    const QString lineDigits = QString(line).remove(' ').remove('-');

    for (const QString &input : {line, barcode}) {
        const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
        QVERIFY2(r.ok(), qPrintable(input + ": " + r.error));
        QCOMPARE(r.code.kind, PaymentCode::Kind::Arrecadacao);
        QCOMPARE(r.code.segment, segment);
        QCOMPARE(r.code.segmentName, segmentName);
        QCOMPARE(amountOf(r.code), cents);
        QCOMPARE(r.code.referenceValue, reference);
        QVERIFY(!r.code.dueDate);
        QCOMPARE(r.code.barcode, barcode);
        QCOMPARE(r.code.text, lineDigits);
    }
    QCOMPARE(TypedLine::toBarcode(line), barcode);
    QCOMPARE(TypedLine::fromBarcode(barcode), lineDigits);
    QCOMPARE(TypedLine::formatted(lineDigits), line);
}

void TstPaymentCodes::refusedCodes_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("error");

    // The Bradesco line of the table above, one digit changed at a time.
    // 23791.23405 90000.001231 45006.789007 2 10160000123456
    QTest::newRow("field 1 check digit") << "23791.23406 90000.001231 45006.789007 2 10160000123456"
                                         << "Dígito verificador do campo 1 não confere";
    QTest::newRow("field 2 check digit") << "23791.23405 90000.001232 45006.789007 2 10160000123456"
                                         << "Dígito verificador do campo 2 não confere";
    QTest::newRow("field 2, a typo inside it")
        << "23791.23405 90100.001231 45006.789007 2 10160000123456"
        << "Dígito verificador do campo 2 não confere";
    QTest::newRow("field 3 check digit") << "23791.23405 90000.001231 45006.789008 2 10160000123456"
                                         << "Dígito verificador do campo 3 não confere";
    QTest::newRow("general check digit") << "23791.23405 90000.001231 45006.789007 3 10160000123456"
                                         << "Dígito verificador geral não confere";
    QTest::newRow("a typo in the value") << "23791.23405 90000.001231 45006.789007 2 10160000123457"
                                         << "Dígito verificador geral não confere";
    QTest::newRow("barcode, digit at position 5") << "23793101600001234561234090000001234500678900"
                                                  << "Dígito verificador geral não confere";
    QTest::newRow("barcode, a typo in the due factor")
        << "23792101700001234561234090000001234500678900"
        << "Dígito verificador geral não confere";
    QTest::newRow("currency other than the real")
        << "00100.00008 01234.567004 00000.001172 1 10720000001000"
        << "Código de moeda 0 não aceito; o boleto deve ser em reais (9)";

    // Arrecadação, modulo 10 (83640000001-1 33120138000-2 81288462711-6 08013618155-1).
    QTest::newRow("arrecadação block 1")
        << "83640000001-2 33120138000-2 81288462711-6 08013618155-1"
        << "Dígito verificador do campo 1 não confere";
    QTest::newRow("arrecadação block 2")
        << "83640000001-1 33120138000-3 81288462711-6 08013618155-1"
        << "Dígito verificador do campo 2 não confere";
    QTest::newRow("arrecadação block 3")
        << "83640000001-1 33120138000-2 81288462711-7 08013618155-1"
        << "Dígito verificador do campo 3 não confere";
    QTest::newRow("arrecadação block 4")
        << "83640000001-1 33120138000-2 81288462711-6 08013618155-2"
        << "Dígito verificador do campo 4 não confere";
    // The general digit changed and block 1's digit made to agree with it.
    QTest::newRow("arrecadação general, modulo 10")
        << "83650000001-0 33120138000-2 81288462711-6 08013618155-1"
        << "Dígito verificador geral não confere";
    QTest::newRow("arrecadação barcode general, modulo 10")
        << "83650000001331201380008128846271108013618155"
        << "Dígito verificador geral não confere";
    // Modulo 11 (85890000460-9 52460179160-5 60759305086-5 83148300001-0).
    QTest::newRow("arrecadação block 2, modulo 11")
        << "85890000460-9 52460179160-6 60759305086-5 83148300001-0"
        << "Dígito verificador do campo 2 não confere";
    QTest::newRow("arrecadação general, modulo 11")
        << "85800000460-2 52460179160-5 60759305086-5 83148300001-0"
        << "Dígito verificador geral não confere";
    QTest::newRow("arrecadação value identifier")
        << "85590000460524601791606075930508683148300001"
        << "Identificador de valor 5 inválido; esperado 6, 7, 8 ou 9";

    // Lengths and characters.
    QTest::newRow("typed line one digit short")
        << "23791.23405 90000.001231 45006.789007 2 1016000012345"
        << "Linha digitável com 46 dígitos; esperados 47 ou 48";
    QTest::newRow("46 digits without separators")
        << "2379123405900000012314500678900721016000012345"
        << "Linha digitável com 46 dígitos; esperados 47 ou 48";
    QTest::newRow("49 digits") << "836400000011331201380002812884627116080136181551 9"
                               << "Linha digitável com 49 dígitos; esperados 47 ou 48";
    QTest::newRow("line cut short") << "23791.23405 90000.001231 45006.789007"
                                    << "Linha digitável com 32 dígitos; esperados 47 ou 48";
    QTest::newRow("barcode one digit short") << "2379210160000123456123409000000123450067890"
                                             << "Código de barras com 43 dígitos; esperados 44";
    QTest::newRow("barcode one digit long") << "237921016000012345612340900000012345006789001"
                                            << "Código de barras com 45 dígitos; esperados 44";
    QTest::newRow("boleto line with an extra digit")
        << "23791.23405 90000.001231 45006.789007 2 101600001234567"
        << "Linha digitável com 48 dígitos; esperados 47 (as de 48 começam com 8)";
    QTest::newRow("nothing") << ""
                             << "Informe a linha digitável, o código de barras ou o código PIX";
    QTest::newRow("only blanks") << " \r\n\t"
                                 << "Informe a linha digitável, o código de barras ou o código PIX";
    QTest::newRow("letter for a digit") << "23791.2340S 90000.001231 45006.789007 2 10160000123456"
                                        << "Caractere inválido \"S\" na linha digitável";
    QTest::newRow("PIX code without its start")
        << "26580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-4266554400005204000053039865802BR"
        << "Código PIX incompleto: deve começar com 000201";
}

// A refused code says exactly what is wrong, and nothing is read from it.
void TstPaymentCodes::refusedCodes()
{
    QFETCH(QString, input);
    QFETCH(QString, error);
    const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
    QCOMPARE(r.error, error);
    QVERIFY(!r.ok());
    QVERIFY(!r.code.amountCents);
    QVERIFY(!r.code.dueDate);
    QVERIFY(r.code.text.isEmpty());
}

void TstPaymentCodes::pix_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("payload"); // what is kept
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("city");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("txid");
    QTest::addColumn<QString>("document");

    // The static example of the Central Bank's "Manual de Padrões para Iniciação
    // do Pix" (random key, no amount, txid "***").
    const QString bcb =
        "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-42665544000052040000"
        "53039865802BR5913Fulano de Tal6008BRASILIA62070503***63041D3D";
    QTest::newRow("static, Central Bank example")
        << bcb << bcb << "123e4567-e12b-12d1-a456-426655440000"
        << ""
        << "Fulano de Tal"
        << "BRASILIA" << noAmount << ""
        << "";

    const QString cnpj = "00020126360014br.gov.bcb.pix01141234567800019552040000530398654071500.50"
                         "5802BR5918ACME COMERCIO LTDA6009SAO PAULO62110507NF1234563046BBD";
    QTest::newRow("static with amount, CNPJ key") << cnpj << cnpj << "12345678000195"
                                                  << ""
                                                  << "ACME COMERCIO LTDA"
                                                  << "SAO PAULO" << qint64(150050) << "NF12345"
                                                  << "12345678000195";
    QTest::newRow("pasted wrapped over lines, CRC in lower case")
        << "  00020126360014br.gov.bcb.pix01141234567800019552040000530398654071500.50\r\n"
           "5802BR5918ACME COMERCIO LTDA6009SAO PAULO62110507NF1234563046bbd\n"
        << "00020126360014br.gov.bcb.pix01141234567800019552040000530398654071500.50"
           "5802BR5918ACME COMERCIO LTDA6009SAO PAULO62110507NF1234563046bbd"
        << "12345678000195"
        << ""
        << "ACME COMERCIO LTDA"
        << "SAO PAULO" << qint64(150050) << "NF12345"
        << "12345678000195";

    const QString phone = "00020126520014br.gov.bcb.pix0114+55119876543210212Aluguel maio52040000"
                          "5303986540425005802BR5913JOAO DA SILVA6008CAMPINAS62070503***6304F9C4";
    QTest::newRow("phone key, whole amount") << phone << phone << "+5511987654321"
                                             << ""
                                             << "JOAO DA SILVA"
                                             << "CAMPINAS" << qint64(250000) << ""
                                             << "";

    const QString email = "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br52040000530398658"
                          "02BR5904ACME6009SAO PAULO63049A84";
    QTest::newRow("e-mail key, no 62 field") << email << email << "financeiro@acme.com.br"
                                             << ""
                                             << "ACME"
                                             << "SAO PAULO" << noAmount << ""
                                             << "";

    // Lengths count characters; the CRC covers the UTF-8 bytes.
    const QString accents = QString::fromUtf8(
        "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR5917JOSÉ DA "
        "CONCEIÇÃO6009SAO PAULO6304F0B3");
    QTest::newRow("accented payee")
        << accents << accents << "financeiro@acme.com.br"
        << "" << QString::fromUtf8("JOSÉ DA CONCEIÇÃO") << "SAO PAULO" << noAmount << ""
        << "";

    const QString dynamic =
        "00020101021226790014br.gov.bcb.pix2557qr.example.com.br/pix/v2/9d36b84fc70b478fb95c"
        "12729b90ca255204000053039865802BR5918EMPRESA EXEMPLO SA6008CURITIBA62070503***63040826";
    QTest::newRow("dynamic, URL, no amount")
        << dynamic << dynamic << ""
        << "qr.example.com.br/pix/v2/9d36b84fc70b478fb95c12729b90ca25"
        << "EMPRESA EXEMPLO SA"
        << "CURITIBA" << noAmount << ""
        << "";

    const QString dynamicAmount =
        "00020101021226490014BR.GOV.BCB.PIX2527qr.example.com.br/cobv/7b1f520400005303986540589"
        ".905802BR5911LOJA MODELO6006RECIFE621205087b1fA9c26304BD23";
    QTest::newRow("dynamic with amount and txid, identifier in capitals")
        << dynamicAmount << dynamicAmount << ""
        << "qr.example.com.br/cobv/7b1f"
        << "LOJA MODELO"
        << "RECIFE" << qint64(8990) << "7b1fA9c2"
        << "";
}

void TstPaymentCodes::pix()
{
    QFETCH(QString, input);
    QFETCH(QString, payload);
    QFETCH(QString, key);
    QFETCH(QString, url);
    QFETCH(QString, name);
    QFETCH(QString, city);
    QFETCH(qint64, cents);
    QFETCH(QString, txid);
    QFETCH(QString, document);

    const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.code.kind, PaymentCode::Kind::Pix);
    QCOMPARE(r.code.text, payload);
    QCOMPARE(r.code.pixKey, key);
    QCOMPARE(r.code.pixUrl, url);
    QCOMPARE(r.code.dynamic, !url.isEmpty());
    QCOMPARE(r.code.payeeName, name);
    QCOMPARE(r.code.payeeCity, city);
    QCOMPARE(amountOf(r.code), cents);
    QCOMPARE(r.code.txid, txid);
    QCOMPARE(r.code.pixKeyDocument(), document);
    QVERIFY(!r.code.dueDate);
}

void TstPaymentCodes::refusedPix_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("error");

    // The Central Bank example with one letter of the name changed, CRC kept.
    QTest::newRow("changed after the CRC was made")
        << "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-42665544000052040000530398658"
           "02BR5913Fulano de Tak6008BRASILIA62070503***63041D3D"
        << "CRC do código PIX não confere (informado 1D3D, calculado E2D1)";
    QTest::newRow("CRC digit changed")
        << "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-42665544000052040000530398658"
           "02BR5913Fulano de Tal6008BRASILIA62070503***63041D3E"
        << "CRC do código PIX não confere (informado 1D3E, calculado 1D3D)";
    QTest::newRow("CRC of five characters")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR5904ACME"
           "6009SAO PAULO630512345"
        << "CRC do código PIX com 5 caracteres; esperados 4";
    QTest::newRow("no CRC")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR5904ACME"
           "6009SAO PAULO"
        << "Código PIX sem o campo obrigatório 63 (CRC)";
    QTest::newRow("CRC not last")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR5904ACME"
           "6009SAO PAULO63049A8462070503ABC"
        << "O CRC (campo 63) deve ser o último campo do código PIX";
    QTest::newRow("cut in the middle") << "00020126580014br.gov.bcb.pix01361"
                                       << "Campo 26 do código PIX ultrapassa o fim do código";
    QTest::newRow("length past the end")
        << "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-42665544000052040000530398658"
           "02BR5999Fulano de Tal6008BRASILIA62070503***63041D3D"
        << "Campo 59 do código PIX ultrapassa o fim do código";
    QTest::newRow("letters where a length goes") << "000201ab580014br.gov.bcb.pix"
                                                 << "Código PIX malformado na posição 7";
    QTest::newRow("subfield past its template")
        << "00020126250014br.gov.bcb.pix0150abc5204000053039865802BR5904ACME6009SAO PAULO6304473D"
        << "Subcampo 01 do campo 26 do código PIX ultrapassa o fim do campo";
    QTest::newRow("field repeated")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br520400005303986540510.0054052"
           "0.005802BR5904ACME6009SAO PAULO63041AA7"
        << "Campo 54 repetido no código PIX";
    QTest::newRow("no payee name")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR6009SAO "
           "PAULO630416ED"
        << "Código PIX sem o campo obrigatório 59 (nome do recebedor)";
    QTest::newRow("no city")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053039865802BR5904ACME"
           "6304FF2E"
        << "Código PIX sem o campo obrigatório 60 (cidade do recebedor)";
    QTest::newRow("no PIX account") << "0002015204000053039865802BR5904ACME6009SAO PAULO6304712B"
                                    << "Código PIX sem a conta PIX (campo 26 com br.gov.bcb.pix)";
    QTest::newRow("account without key or URL")
        << "00020126310014br.gov.bcb.pix0209Pagamento5204000053039865802BR5904ACME6009SAO PAULO"
           "6304CC77"
        << "Código PIX sem chave nem URL de pagamento (campo 26)";
    QTest::newRow("amount with a comma")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br520400005303986540512,505802BR"
           "5904ACME6009SAO PAULO6304D44D"
        << "Valor do código PIX inválido (campo 54 = 12,50)";
    QTest::newRow("dollars")
        << "00020126440014br.gov.bcb.pix0122financeiro@acme.com.br5204000053038405802BR5904ACME"
           "6009SAO PAULO6304F842"
        << "Moeda do código PIX não é o real (campo 53 = 840)";
}

void TstPaymentCodes::refusedPix()
{
    QFETCH(QString, input);
    QFETCH(QString, error);
    const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
    QCOMPARE(r.error, error);
    QVERIFY(!r.code.amountCents);
    QVERIFY(r.code.text.isEmpty());
}

void TstPaymentCodes::displayText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");

    QTest::newRow("boleto") << "75691.30011 00123.450009 12345.670017 1 13270001250000"
                            << "Boleto Sicoob (756) — R$ 12.500,00 — vencimento 15/01/2026";
    QTest::newRow("bank by its code") << "99995.55551 55555.555550 55555.555550 4 97430000000100"
                                      << "Boleto banco 999 — R$ 1,00 — vencimento 10/06/2024";
    QTest::newRow("no due date") << "00190.00009 01234.567004 00000.001172 3 00000000015075"
                                 << "Boleto Banco do Brasil (001) — R$ 150,75 — sem vencimento";
    QTest::newRow("value by the payer")
        << "74891.12230 34455.667781 89900.112239 2 10380000000000"
        << "Boleto Sicredi (748) — valor a preencher pelo pagador — vencimento 01/04/2025";
    QTest::newRow("arrecadação") << "83640000001-1 33120138000-2 81288462711-6 08013618155-1"
                                 << "Arrecadação Energia elétrica e gás — R$ 133,12";
    QTest::newRow("arrecadação, reference value")
        << "82740000000-2 50000001012-3 34567890123-1 45678901234-5"
        << "Arrecadação Saneamento — valor de referência, não em reais";
    QTest::newRow("PIX")
        << "00020126360014br.gov.bcb.pix01141234567800019552040000530398654071500.505802BR5918ACME "
           "COMERCIO LTDA6009SAO PAULO62110507NF1234563046BBD"
        << "PIX ACME COMERCIO LTDA, SAO PAULO — R$ 1.500,50 — chave 12345678000195";
    QTest::newRow("PIX dynamic")
        << "00020101021226790014br.gov.bcb.pix2557qr.example.com.br/pix/v2/9d36b84fc70b478fb95c"
           "12729b90ca255204000053039865802BR5918EMPRESA EXEMPLO SA6008CURITIBA62070503***63040826"
        << "PIX dinâmico EMPRESA EXEMPLO SA, CURITIBA — sem valor no código — cobrança "
           "qr.example.com.br/pix/v2/9d36b84fc70b478fb95c12729b90ca25";
}

void TstPaymentCodes::displayText()
{
    QFETCH(QString, input);
    QFETCH(QString, text);
    const PaymentCodeReading r = PaymentCodeReader::read(input, QDate(2025, 3, 1));
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.code.displayText(), text);
}

QTEST_GUILESS_MAIN(TstPaymentCodes)
#include "tst_paymentcodes.moc"
