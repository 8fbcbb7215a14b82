#pragma once
// One e-mail as the program means it, before it is put into the wire format:
// who sends it, who receives it, the subject, an HTML body with an optional
// plain-text alternative and any files attached. Texts are Unicode; turning
// them into headers, encodings and line ends is MailComposer's job, so a
// caller never has to know about RFC 5322 or MIME.
//
// An address is the bare addr-spec ("fulano@empresa.com.br"); the display
// name is optional and may hold any characters (accents, quotes, "<").

#include <QByteArray>
#include <QList>
#include <QString>

struct MailAddress
{
    QString address;
    QString name; // empty: the bare address is written
};

struct MailAttachment
{
    QString fileName; // shown to the reader; any folder part is dropped
    QString mimeType; // "application/pdf"; a malformed type is sent as octet-stream
    QByteArray bytes;
};

struct MailMessage
{
    MailAddress from;
    QList<MailAddress> to;
    QString subject;
    QString html;
    QString text; // optional plain-text alternative of the HTML body
    QList<MailAttachment> attachments;
};
