#include "Arrecadacao.h"

#include "CheckDigits.h"
#include "TypedLine.h"

namespace Arrecadacao {

QString segmentName(int segment)
{
    switch (segment) {
    case 1:
        return QStringLiteral("Prefeituras");
    case 2:
        return QStringLiteral("Saneamento");
    case 3:
        return QStringLiteral("Energia elétrica e gás");
    case 4:
        return QStringLiteral("Telecomunicações");
    case 5:
        return QStringLiteral("Órgãos governamentais");
    case 6:
        return QStringLiteral("Carnês e assemelhados");
    case 7:
        return QStringLiteral("Multas de trânsito");
    case 9:
        return QStringLiteral("Uso exclusivo do banco");
    default:
        return QStringLiteral("Segmento %1").arg(segment);
    }
}

PaymentCodeReading read(const QString &digits)
{
    if ((digits.size() != 44 && digits.size() != 48) || digits[0] != QLatin1Char('8'))
        return PaymentCodeReading::failure(
            QStringLiteral("Código de arrecadação deve ter 44 ou 48 dígitos e começar com 8"));

    const int identifier = digits[2].digitValue();
    if (identifier < 6 || identifier > 9)
        return PaymentCodeReading::failure(
            QStringLiteral("Identificador de valor %1 inválido; esperado 6, 7, 8 ou 9")
                .arg(identifier));
    const auto digit = identifier <= 7 ? CheckDigits::modulo10 : CheckDigits::arrecadacaoModulo11;

    if (digits.size() == 48) {
        const QStringView line(digits);
        for (int block = 0; block < 4; ++block)
            if (line[block * 12 + 11].digitValue() != digit(line.mid(block * 12, 11)))
                return PaymentCodeReading::failure(
                    QStringLiteral("Dígito verificador do campo %1 não confere").arg(block + 1));
    }
    const QString bar = digits.size() == 48 ? TypedLine::toBarcode(digits) : digits;
    if (bar[3].digitValue() != digit(QString(bar.left(3) + bar.mid(4))))
        return PaymentCodeReading::failure(QStringLiteral("Dígito verificador geral não confere"));

    PaymentCode code;
    code.kind = PaymentCode::Kind::Arrecadacao;
    code.barcode = bar;
    code.typedLine = TypedLine::fromBarcode(bar);
    code.text = code.typedLine;
    code.segment = bar[1].digitValue();
    code.segmentName = segmentName(code.segment);
    code.valueIdentifier = identifier;
    code.referenceValue = identifier == 7 || identifier == 9;
    const qint64 cents = bar.mid(4, 11).toLongLong();
    if (!code.referenceValue && cents != 0)
        code.amountCents = cents;
    return PaymentCodeReading::success(code);
}

} // namespace Arrecadacao
