// Money rounded half away from zero on the value actually stored, whatever
// the C library's locale, and the time-of-day text of the rows written.

#include "TestMain.h"
#include "app/Helpers.h"
#include "widgets/Clock.h"

#include <QtTest>

#include <clocale>
#include <cstdio>

class TstRounding : public QObject
{
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void roundingIgnoresTheCLocale();
    void roundToInteger_data();
    void roundToInteger();
    void currentTimeText();
};

void TstRounding::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("exact tie rounds away from zero") << 0.125 << 0.13;
    QTest::newRow("stored below 1.005") << 1.005 << 1.00;
    QTest::newRow("third of 100") << 100.0 / 3 << 33.33;
    QTest::newRow("two thirds") << 200.0 / 3 << 66.67;
    QTest::newRow("negative tie") << -0.125 << -0.13;
    QTest::newRow("123.456") << 123.456 << 123.46;
    // Large amounts: what the double holds decides, as the text rounding sees it.
    QTest::newRow("large, held as 1234567.89500000001862...") << 1234567.895 << 1234567.9;
    QTest::newRow("large, held as 9999999.99499999918...") << 9999999.995 << 9999999.99;
    QTest::newRow("large exact tie") << 1234567.875 << 1234567.88;
    QTest::newRow("large negative exact tie") << -1234567.625 << -1234567.63;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("tiny negative becomes zero") << -0.001 << 0.0;
}

void TstRounding::rounding()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(RoundDecimals(2, value), expected);
}

void TstRounding::roundingIgnoresTheCLocale()
{
    // Under a locale whose decimal mark is a comma the C library prints
    // "0,125"; the rounding must not care.
    const QByteArray before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "pt_BR.UTF-8"))
        QSKIP("pt_BR.UTF-8 is not generated on this machine");
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    const double third = RoundDecimals(2, 100.0 / 3), tie = RoundDecimals(2, 0.125);
    const double neg = RoundDecimals(2, -2.675);
    const int whole = RoundToInteger(2.5);
    std::setlocale(LC_NUMERIC, before.constData());
    QCOMPARE(QByteArray(probe), QByteArray("0,5"));
    QCOMPARE(third, 33.33);
    QCOMPARE(tie, 0.13);
    QCOMPARE(neg, -2.67); // stored as -2.67499999...
    QCOMPARE(whole, 3);
}

void TstRounding::roundToInteger_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5 << 3;
    QTest::newRow("-2.5") << -2.5 << -3;
    QTest::newRow("0.4") << 0.4 << 0;
    QTest::newRow("3") << 3.0 << 3;
    QTest::newRow("2.49") << 2.49 << 2;
    QTest::newRow("-0.4") << -0.4 << 0;
}

void TstRounding::roundToInteger()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(RoundToInteger(value), expected);
}

void TstRounding::currentTimeText()
{
    Clock::setFixed(QDateTime(QDate(2024, 4, 29), QTime(9, 5, 7)));
    QCOMPARE(CurrentTimeText(), QString("09:05:07"));
    Clock::setFixed({});
}

CP_TEST(TstRounding)
#include "tst_rounding.moc"
