#include "Boleto.h"

#include "BankNames.h"
#include "CheckDigits.h"
#include "TypedLine.h"

namespace Boleto {

namespace {

constexpr int cycleDays = 9000;

QString fieldMessage(int field)
{
    return QStringLiteral("Dígito verificador do campo %1 não confere").arg(field);
}

} // namespace

QDate dueDate(int factor, const QDate &today)
{
    static const QDate base(1997, 10, 7);
    if (factor <= 0 || factor > 9999)
        return QDate();
    const QDate first = base.addDays(factor);
    if (factor < 1000 || !today.isValid())
        return first;
    // Today lies between cycle k and cycle k + 1 (or before the first one).
    const qint64 behind = first.daysTo(today);
    const qint64 k = behind <= 0 ? 0 : behind / cycleDays;
    const QDate earlier = first.addDays(k * cycleDays);
    const QDate later = first.addDays((k + 1) * cycleDays);
    const QDate best = today.daysTo(later) <= earlier.daysTo(today) ? later : earlier;
    return best;
}

PaymentCodeReading read(const QString &digits, const QDate &today)
{
    QString bar = digits;
    if (digits.size() == 47) {
        const QStringView line(digits);
        const struct
        {
            qsizetype from, length;
        } fields[] = {{0, 9}, {10, 10}, {21, 10}};
        for (int i = 0; i < 3; ++i) {
            const QStringView field = line.mid(fields[i].from, fields[i].length);
            const int expected = CheckDigits::modulo10(field);
            if (line[fields[i].from + fields[i].length].digitValue() != expected)
                return PaymentCodeReading::failure(fieldMessage(i + 1));
        }
        bar = TypedLine::toBarcode(digits);
    }
    if (bar.size() != 44)
        return PaymentCodeReading::failure(
            QStringLiteral("Código de barras com %1 dígitos; esperados 44").arg(bar.size()));

    const QString withoutGeneral = bar.left(4) + bar.mid(5);
    if (bar[4].digitValue() != CheckDigits::boletoModulo11(withoutGeneral))
        return PaymentCodeReading::failure(QStringLiteral("Dígito verificador geral não confere"));
    if (bar[3] != QLatin1Char('9'))
        return PaymentCodeReading::failure(
            QStringLiteral("Código de moeda %1 não aceito; o boleto deve ser em reais (9)")
                .arg(bar[3]));

    PaymentCode code;
    code.kind = PaymentCode::Kind::Boleto;
    code.barcode = bar;
    code.typedLine = TypedLine::fromBarcode(bar);
    code.text = code.typedLine;
    code.bankCode = bar.left(3);
    code.bankName = BankNames::name(code.bankCode);
    code.dueFactor = bar.mid(5, 4).toInt();
    if (code.dueFactor != 0)
        code.dueDate = dueDate(code.dueFactor, today);
    const qint64 cents = bar.mid(9, 10).toLongLong();
    if (cents != 0)
        code.amountCents = cents;
    return PaymentCodeReading::success(code);
}

} // namespace Boleto
