#pragma once
// The two encodings bank files come in, told apart by their bytes: a UTF-8
// byte order mark, or bytes that are valid UTF-8, mean UTF-8; anything else
// is read as Windows-1252 (which also covers ISO-8859-1 text). A file that
// declares one encoding and is written in the other is read as written.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace TextDecoding {

enum class Encoding { Utf8, Windows1252 };

struct Decoded
{
    QString text; // without the byte order mark
    Encoding encoding = Encoding::Utf8;
};

Decoded decode(QByteArrayView bytes);
bool isUtf8(QByteArrayView bytes);
QString fromWindows1252(QByteArrayView bytes);
// Whether the bytes look like text at all: no NUL bytes and no other
// control characters than tab, line feed, carriage return and form feed.
bool looksLikeText(QByteArrayView bytes);

} // namespace TextDecoding
