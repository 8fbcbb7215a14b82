#include "PixCode.h"

#include "CheckDigits.h"

#include <QList>

namespace PixCode {

namespace {

struct Field
{
    QString id;
    QString value;
    qsizetype start = 0; // where the id begins
};

bool allDigits(QStringView text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Splits text into fields; an error message when the structure is broken.
// parent: the template's id for subfields, empty for the payload itself.
QString parse(const QString &text, QList<Field> &fields, const QString &parent = QString())
{
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.size() - at < 4 || !allDigits(QStringView(text).mid(at, 4)))
            return parent.isEmpty()
                       ? QStringLiteral("Código PIX malformado na posição %1").arg(at + 1)
                       : QStringLiteral("Campo %1 do código PIX malformado").arg(parent);
        Field field;
        field.id = text.mid(at, 2);
        field.start = at;
        const int length = text.mid(at + 2, 2).toInt();
        if (at + 4 + length > text.size())
            return parent.isEmpty()
                       ? QStringLiteral("Campo %1 do código PIX ultrapassa o fim do código")
                             .arg(field.id)
                       : QStringLiteral("Subcampo %1 do campo %2 do código PIX ultrapassa o "
                                        "fim do campo")
                             .arg(field.id, parent);
        field.value = text.mid(at + 4, length);
        for (const Field &seen : fields)
            if (seen.id == field.id)
                return parent.isEmpty()
                           ? QStringLiteral("Campo %1 repetido no código PIX").arg(field.id)
                           : QStringLiteral("Subcampo %1 repetido no campo %2 do código PIX")
                                 .arg(field.id, parent);
        fields.append(field);
        at += 4 + length;
    }
    return QString();
}

const Field *find(const QList<Field> &fields, const QString &id)
{
    for (const Field &f : fields)
        if (f.id == id)
            return &f;
    return nullptr;
}

// "1500.50" -> 150050; -1 when the text is not a plain amount with a point.
qint64 parseAmount(const QString &text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (whole.isEmpty() || whole.size() > 10 || !allDigits(whole) ||
        (point >= 0 && (fraction.isEmpty() || fraction.size() > 2 || !allDigits(fraction))))
        return -1;
    return whole.toLongLong() * 100 + (fraction + QStringLiteral("00")).left(2).toInt();
}

} // namespace

PaymentCodeReading read(const QString &payload)
{
    QList<Field> fields;
    const QString structure = parse(payload, fields);
    if (!structure.isEmpty())
        return PaymentCodeReading::failure(structure);
    if (fields.isEmpty() || fields.first().id != QLatin1String("00") ||
        fields.first().value != QLatin1String("01"))
        return PaymentCodeReading::failure(QStringLiteral("Código PIX deve começar com 000201"));

    const Field *crc = find(fields, QStringLiteral("63"));
    if (!crc)
        return PaymentCodeReading::failure(
            QStringLiteral("Código PIX sem o campo obrigatório 63 (CRC)"));
    if (crc != &fields.last())
        return PaymentCodeReading::failure(
            QStringLiteral("O CRC (campo 63) deve ser o último campo do código PIX"));
    if (crc->value.size() != 4)
        return PaymentCodeReading::failure(
            QStringLiteral("CRC do código PIX com %1 caracteres; esperados 4")
                .arg(crc->value.size()));
    const QString computed =
        QStringLiteral("%1")
            .arg(CheckDigits::crc16Ccitt(payload.left(crc->start + 4).toUtf8()), 4, 16,
                 QLatin1Char('0'))
            .toUpper();
    if (crc->value.toUpper() != computed)
        return PaymentCodeReading::failure(
            QStringLiteral("CRC do código PIX não confere (informado %1, calculado %2)")
                .arg(crc->value, computed));

    // The PIX account: the first merchant-account template with the PIX identifier.
    QList<Field> account;
    bool found = false;
    for (const Field &f : fields) {
        const int id = f.id.toInt();
        if (id < 26 || id > 51)
            continue;
        QList<Field> sub;
        const QString error = parse(f.value, sub, f.id);
        if (!error.isEmpty())
            return PaymentCodeReading::failure(error);
        const Field *gui = find(sub, QStringLiteral("00"));
        if (gui && gui->value.compare(QLatin1String("br.gov.bcb.pix"), Qt::CaseInsensitive) == 0) {
            account = sub;
            found = true;
            break;
        }
    }
    if (!found)
        return PaymentCodeReading::failure(
            QStringLiteral("Código PIX sem a conta PIX (campo 26 com br.gov.bcb.pix)"));

    const struct
    {
        const char *id;
        const char *name;
    } mandatory[] = {{"52", "categoria do recebedor"},
                     {"53", "moeda"},
                     {"58", "país"},
                     {"59", "nome do recebedor"},
                     {"60", "cidade do recebedor"}};
    for (const auto &m : mandatory)
        if (!find(fields, QLatin1String(m.id)))
            return PaymentCodeReading::failure(
                QStringLiteral("Código PIX sem o campo obrigatório %1 (%2)")
                    .arg(QLatin1String(m.id), QString::fromUtf8(m.name)));
    const QString currency = find(fields, QStringLiteral("53"))->value;
    if (currency != QLatin1String("986"))
        return PaymentCodeReading::failure(
            QStringLiteral("Moeda do código PIX não é o real (campo 53 = %1)").arg(currency));

    PaymentCode code;
    code.kind = PaymentCode::Kind::Pix;
    code.text = payload;
    if (const Field *key = find(account, QStringLiteral("01")))
        code.pixKey = key->value;
    if (const Field *url = find(account, QStringLiteral("25")))
        code.pixUrl = url->value;
    if (code.pixKey.isEmpty() && code.pixUrl.isEmpty())
        return PaymentCodeReading::failure(
            QStringLiteral("Código PIX sem chave nem URL de pagamento (campo 26)"));
    code.dynamic = !code.pixUrl.isEmpty();
    code.payeeName = find(fields, QStringLiteral("59"))->value;
    code.payeeCity = find(fields, QStringLiteral("60"))->value;

    if (const Field *amount = find(fields, QStringLiteral("54"))) {
        const qint64 cents = parseAmount(amount->value);
        if (cents < 0)
            return PaymentCodeReading::failure(
                QStringLiteral("Valor do código PIX inválido (campo 54 = %1)").arg(amount->value));
        if (cents > 0)
            code.amountCents = cents;
    }
    if (const Field *additional = find(fields, QStringLiteral("62"))) {
        QList<Field> sub;
        const QString error = parse(additional->value, sub, additional->id);
        if (!error.isEmpty())
            return PaymentCodeReading::failure(error);
        if (const Field *txid = find(sub, QStringLiteral("05")))
            if (txid->value != QLatin1String("***"))
                code.txid = txid->value;
    }
    return PaymentCodeReading::success(code);
}

} // namespace PixCode
