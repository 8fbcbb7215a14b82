#include "PaymentCode.h"

#include <QLocale>
#include <QStringList>

QString formatMoneyCents(qint64 cents)
{
    static const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    const QString sign = cents < 0 ? QStringLiteral("-") : QString();
    const qint64 absolute = cents < 0 ? -cents : cents;
    return QStringLiteral("R$ %1%2,%3")
        .arg(sign, br.toString(absolute / 100))
        .arg(absolute % 100, 2, 10, QLatin1Char('0'));
}

double PaymentCode::amount() const
{
    return amountCents ? double(*amountCents) / 100.0 : 0.0;
}

QString PaymentCode::pixKeyDocument() const
{
    if (kind != Kind::Pix || (pixKey.size() != 11 && pixKey.size() != 14))
        return QString();
    for (const QChar c : pixKey)
        if (!c.isDigit() || c.unicode() > 127)
            return QString();
    return pixKey;
}

QString PaymentCode::displayText() const
{
    QStringList parts;
    switch (kind) {
    case Kind::Boleto:
        parts << (bankName.isEmpty() ? QStringLiteral("Boleto banco %1").arg(bankCode)
                                     : QStringLiteral("Boleto %1 (%2)").arg(bankName, bankCode));
        parts << (amountCents ? formatMoneyCents(*amountCents)
                              : QStringLiteral("valor a preencher pelo pagador"));
        parts << (dueDate ? QStringLiteral("vencimento %1").arg(dueDate->toString("dd/MM/yyyy"))
                          : QStringLiteral("sem vencimento"));
        break;
    case Kind::Arrecadacao:
        parts << QStringLiteral("Arrecadação %1").arg(segmentName);
        if (referenceValue)
            parts << QStringLiteral("valor de referência, não em reais");
        else
            parts << (amountCents ? formatMoneyCents(*amountCents)
                                  : QStringLiteral("valor a preencher pelo pagador"));
        break;
    case Kind::Pix:
        parts << QStringLiteral("%1 %2, %3")
                     .arg(dynamic ? QStringLiteral("PIX dinâmico") : QStringLiteral("PIX"),
                          payeeName, payeeCity);
        parts << (amountCents ? formatMoneyCents(*amountCents)
                              : QStringLiteral("sem valor no código"));
        parts << (dynamic ? QStringLiteral("cobrança %1").arg(pixUrl)
                          : QStringLiteral("chave %1").arg(pixKey));
        break;
    }
    return parts.join(QStringLiteral(" — "));
}
