#pragma once
// Small pieces shared by the registry and postcode clients: checking the
// numbers before they become part of an address, shaping the codes and
// telephone numbers the services send bare, reading JSON values that services
// send sometimes as text and sometimes as numbers, and the wait a 429 answer
// asks for.

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace ConsultText {

// Every run of blanks (tabs and line breaks included) becomes one space, and
// blanks at both ends go.
QString removeDoubleSpaces(const QString &text);

// The 14 characters of a CNPJ without its punctuation (".", "/", "-", blanks):
// 12 digits or capital letters (small letters are taken as capitals) and two
// check digits. Empty when the text has any other shape. The check digits
// themselves are the supplier window's business.
QString bareCnpj(const QString &typed);
// "12.345.678/0001-95" from the 14 bare characters.
QString punctuatedCnpj(const QString &bare);
// The 11 digits of a CPF without ".", "-" and blanks; empty for other shapes.
QString bareCpf(const QString &typed);

// A text value: strings as they are, integral numbers without decimals,
// null, missing, objects and arrays as empty.
QString text(const QJsonObject &object, const QString &key);

// A CNAE code as the registry prints it ("62.01-5-01"), from the bare seven
// digits, given as text or as a number that lost its leading zero.
QString cnaeCode(const QString &bare);
// "(11) 2385-1939" or "(11) 98765-4321" from the ten or eleven digits of a
// telephone with its area code; anything else is returned as it came.
QString telephone(const QString &digitsWithAreaCode);

// Seconds to wait from a Retry-After header (a number of seconds or an HTTP
// date); -1 when the header is missing or unreadable.
int retryAfterSeconds(const QByteArray &header, const QDateTime &now);
// "Tente novamente em 30 segundos." or, with -1, "Tente novamente em alguns
// minutos."
QString retryAdvice(int seconds);

} // namespace ConsultText
