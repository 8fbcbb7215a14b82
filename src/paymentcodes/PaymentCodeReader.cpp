#include "PaymentCodeReader.h"

#include "Arrecadacao.h"
#include "Boleto.h"
#include "PixCode.h"

namespace PaymentCodeReader {

namespace {

bool isSeparator(QChar c)
{
    return c.isSpace() || c == QLatin1Char('.') || c == QLatin1Char('-');
}

} // namespace

PaymentCodeReading read(const QString &text, const QDate &today)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return PaymentCodeReading::failure(
            QStringLiteral("Informe a linha digitável, o código de barras ou o código PIX"));

    if (trimmed.startsWith(QLatin1String("000201"))) {
        // A long code pasted from a message or a PDF may come wrapped over lines.
        QString payload = trimmed;
        payload.remove(QLatin1Char('\r'));
        payload.remove(QLatin1Char('\n'));
        return PixCode::read(payload);
    }

    QString digits;
    bool separated = false;
    for (const QChar c : trimmed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
        } else if (isSeparator(c)) {
            separated = true;
        } else if (trimmed.contains(QLatin1String("br.gov.bcb.pix"), Qt::CaseInsensitive)) {
            return PaymentCodeReading::failure(
                QStringLiteral("Código PIX incompleto: deve começar com 000201"));
        } else {
            return PaymentCodeReading::failure(
                QStringLiteral("Caractere inválido \"%1\" na linha digitável").arg(c));
        }
    }

    switch (digits.size()) {
    case 44:
        return digits[0] == QLatin1Char('8') ? Arrecadacao::read(digits)
                                             : Boleto::read(digits, today);
    case 47:
        return Boleto::read(digits, today);
    case 48:
        if (digits[0] != QLatin1Char('8'))
            return PaymentCodeReading::failure(QStringLiteral(
                "Linha digitável com 48 dígitos; esperados 47 (as de 48 começam com 8)"));
        return Arrecadacao::read(digits);
    default:
        // A reader types the barcode's digits alone; a person types the line.
        if (!separated && digits.size() < 46)
            return PaymentCodeReading::failure(
                QStringLiteral("Código de barras com %1 dígitos; esperados 44").arg(digits.size()));
        return PaymentCodeReading::failure(
            QStringLiteral("Linha digitável com %1 dígitos; esperados 47 ou 48")
                .arg(digits.size()));
    }
}

} // namespace PaymentCodeReader
