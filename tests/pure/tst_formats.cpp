// Pure pieces of the data layer and the display: SQL texts with named
// parameters, numbers as the clerks type them, display masks.

#include "TestMain.h"
#include "db/Connection.h"
#include "db/DisplayFormat.h"

#include <QtTest>

class TstFormats : public QObject
{
    Q_OBJECT
private slots:
    void parsesNamedParameters_data();
    void parsesNamedParameters();
    void displayFormatParsing_data();
    void displayFormatParsing();
    void optionalDecimals_data();
    void optionalDecimals();
};

void TstFormats::parsesNamedParameters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("two names, one repeated")
        << "select * from pagar where Datavenc >= :DataI and Datavenc <= :DataF or x = :DataI"
        << "select * from pagar where Datavenc >= ? and Datavenc <= ? or x = ?"
        << QStringList{"DataI", "DataF", "DataI"};
    QTest::newRow("quotes and comments untouched")
        << "select ':a', \"b:c\", `d:e` from t -- :f\nwhere h = :G /* :h */"
        << "select ':a', \"b:c\", `d:e` from t -- :f\nwhere h = ? /* :h */" << QStringList{"G"};
    QTest::newRow("escaped quote inside literal")
        << "select 'it''s :x', 'a\\':y' from t where z = :Z"
        << "select 'it''s :x', 'a\\':y' from t where z = ?" << QStringList{"Z"};
    QTest::newRow("assignment and time literal") << "set @a := 1, @b = '10:30'"
                                                 << "set @a := 1, @b = '10:30'" << QStringList{};
}

void TstFormats::parsesNamedParameters()
{
    QFETCH(QString, text);
    QFETCH(QString, sql);
    QFETCH(QStringList, names);
    const ParsedSql p = ParsedSql::parse(text);
    QCOMPARE(p.sql, sql);
    QCOMPARE(p.names, names);
}

void TstFormats::displayFormatParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("br grouped") << "1.234,56" << true << 1234.56;
    QTest::newRow("br plain") << "1234,5" << true << 1234.5;
    QTest::newRow("negative") << "-10" << true << -10.0;
    QTest::newRow("point decimal") << "12.5" << true << 12.5;
    QTest::newRow("thousands only") << "1.234" << true << 1234.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
}

void TstFormats::displayFormatParsing()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    bool good = false;
    const double v = DisplayFormat::parseNumber(text, &good);
    QCOMPARE(good, ok);
    QCOMPARE(v, value);
}

void TstFormats::optionalDecimals_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("count 2") << "###,##0.###" << 2.0 << "2";
    QTest::newRow("count 0") << "###,##0.###" << 0.0 << "0";
    QTest::newRow("count 1234") << "###,##0.###" << 1234.0 << "1.234";
    QTest::newRow("2,5") << "###,##0.###" << 2.5 << "2,5";
    QTest::newRow("three places") << "###,##0.###" << 1.2346 << "1,235";
    QTest::newRow("rounds to whole") << "#,##0.###" << 2.0004 << "2";
    QTest::newRow("negative") << "#,##0.###" << -1500.25 << "-1.500,25";
    QTest::newRow("tiny negative") << "0.###" << -0.0001 << "0";
    QTest::newRow("zero then hash") << "0.0#" << 2.0 << "2,0";
    QTest::newRow("zero then hash used") << "0.0#" << 2.25 << "2,25";
    QTest::newRow("money unchanged") << "#,##0.00" << 2.0 << "2,00";
    QTest::newRow("money unchanged 2") << "#,##0.00" << 1234567.891 << "1.234.567,89";
    QTest::newRow("first engine money") << "###,##0.00" << 0.5 << "0,50";
}

void TstFormats::optionalDecimals()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, expected);
    // The engine's own reading of masks is held to the same texts by
    // masksMatchDisplayFormat.
    QCOMPARE(DisplayFormat::format(value, mask), expected);
}

CP_TEST(TstFormats)
#include "tst_formats.moc"
