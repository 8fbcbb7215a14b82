#pragma once
// Turns a MailMessage into the bytes an SMTP server receives after DATA:
// RFC 5322 headers (From, To, Subject, Date, Message-ID, MIME-Version) and a
// MIME body, every line ended by CR LF and kept within 78 characters where
// the standards ask for it.
//
// - A subject that is not plain ASCII or does not fit one line becomes RFC
//   2047 encoded-words in UTF-8, split at character boundaries. An ASCII
//   display name is a quoted string; in any other name the plain words stay
//   plain and the rest become encoded-words. Control characters in names and
//   subject (a CR LF typed into a name) become blanks, so no value can start
//   a header of its own.
// - The body is multipart/mixed: the HTML part (or a multipart/alternative of
//   the text and the HTML) in UTF-8 quoted-printable, which carries every byte
//   exactly, lone CR or LF and trailing blanks included; then each attachment
//   in base64 with its file name (RFC 2231 when it is not ASCII).
// - Dot-stuffing is left to the SMTP client that transmits the bytes.
//
// problem() says, in Portuguese, why a message cannot be sent (no recipient,
// an address that is not an address); compose() expects a message without
// problems.

#include "mail/MailMessage.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace MailComposer {

// The reason the message cannot be sent, or empty when it can.
QString problem(const MailMessage &message);

// Whether text is a plain addr-spec (local@domain, ASCII, no blanks or
// brackets) after trimming.
bool isValidAddress(const QString &address);

// The complete message. date becomes the Date header (with its UTC offset).
QByteArray compose(const MailMessage &message, const QDateTime &date);

// Pieces of the wire format.
QByteArray envelopeAddress(const QString &address); // "<addr>"
QByteArray rfc5322Date(const QDateTime &date);      // "Tue, 05 Mar 2024 14:03:00 -0300"
QByteArray quotedPrintable(const QByteArray &bytes);

} // namespace MailComposer
