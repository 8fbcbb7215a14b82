#include "workbook/TextDecoding.h"

#include <QStringDecoder>

namespace TextDecoding {

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

QString fromWindows1252(QByteArrayView bytes)
{
    // 0x80..0x9F are printable in Windows-1252; the five codes it leaves
    // undefined keep their ISO-8859-1 meaning.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return text;
}

Decoded decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.sliced(3)), Encoding::Utf8};
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return {text, Encoding::Utf8};
    return {fromWindows1252(bytes), Encoding::Windows1252};
}

bool looksLikeText(QByteArrayView bytes)
{
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            return false;
    }
    return true;
}

} // namespace TextDecoding
