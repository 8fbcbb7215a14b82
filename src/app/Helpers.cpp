#include "app/Helpers.h"

#include "widgets/Clock.h"
#include "widgets/Modal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <malloc.h>

namespace {

// The exact decimal expansion of the double, rounded half away from zero at n
// decimals by hand: a formatter would round exact ties to even (0.125 ->
// 0.12), which is not how money is rounded here. std::to_chars never looks at
// the C library's locale, so the point stays a point whatever LC_NUMERIC says.
QString roundedText(double value, int n)
{
    if (!std::isfinite(value))
        return QString::number(value);
    char buf[512];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 80);
    QByteArray digits(buf, int(res.ptr - buf));
    const int point = digits.indexOf('.');
    QByteArray intPart = digits.left(point);
    QByteArray frac = digits.mid(point + 1);
    const bool up = frac.size() > n && frac.at(n) >= '5';
    QByteArray kept = intPart + frac.left(n); // all digits, no point
    if (up) {
        int i = int(kept.size()) - 1;
        while (i >= 0) {
            if (kept[i] == '9') {
                kept[i] = '0';
                --i;
            } else {
                kept[i] = char(kept[i] + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend('1');
            intPart.prepend('0'); // one more integer digit
        }
    }
    const int intDigits = int(kept.size()) - n;
    QByteArray out = kept.left(intDigits);
    if (n > 0)
        out += '.' + kept.mid(intDigits);
    QString s = QString::fromLatin1(out);
    if (value < 0 && s.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        s.prepend(QLatin1Char('-'));
    return s;
}

} // namespace

double RoundDecimals(int n, double value)
{
    return roundedText(value, qMax(0, n)).toDouble();
}

int RoundToInteger(double value)
{
    return int(roundedText(value, 0).toLongLong());
}

QString CurrentTimeText()
{
    return TimeText(Clock::now().time());
}

QString TimeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

void TrimWorkingSet()
{
    malloc_trim(0);
    QCoreApplication::processEvents();
}

int RunScreen(QDialog *screen)
{
    const int result = Modal::exec(screen);
    TrimWorkingSet();
    delete screen;
    return result;
}
