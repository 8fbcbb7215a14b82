#include "mail/MailComposer.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace MailComposer {
namespace {

constexpr int kLineLimit = 78; // recommended header and body line length
// 56 base64 characters: "=?UTF-8?B?" + 56 + "?=" is 68, so even the first
// word fits beside "Subject: " within the line.
constexpr int kEncodedWordBytes = 42;
constexpr int kPlainNameLimit = 60; // longer ASCII file names go RFC 2231 so they can fold

// Blanks instead of control characters (CR, LF, TAB, line separators), so a
// value meant for one header can never end it and start another.
QString singleLine(const QString &text)
{
    QString out = text;
    for (QChar &ch : out) {
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator ||
            ch == QChar::ParagraphSeparator)
            ch = u' ';
    }
    return out.trimmed();
}

bool isPlainAscii(const QString &text)
{
    for (const QChar ch : text)
        if (ch.unicode() < 0x20 || ch.unicode() > 0x7e)
            return false;
    return true;
}

// RFC 2047 "B" encoded-words of text (at most 75 characters each, as the
// standard asks). A character's bytes are never split between words, and a
// word that must be split is split before a blank where there is one, the
// blank going into the next word.
QList<QByteArray> encodedWords(const QString &text)
{
    QList<QByteArray> words;
    const auto word = [](const QString &piece) {
        return "=?UTF-8?B?" + piece.toUtf8().toBase64() + "?=";
    };
    QString chunk;
    qsizetype chunkBytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QString ch = text.mid(i, len);
        i += len - 1;
        const qsizetype bytes = ch.toUtf8().size();
        if (chunkBytes + bytes > kEncodedWordBytes) {
            const qsizetype blank = chunk.lastIndexOf(u' ');
            const QString rest = blank > 0 ? chunk.mid(blank) : QString();
            words << word(blank > 0 ? chunk.left(blank) : chunk);
            chunk = rest;
            chunkBytes = rest.toUtf8().size();
        }
        chunk += ch;
        chunkBytes += bytes;
    }
    if (!chunk.isEmpty())
        words << word(chunk);
    return words;
}

// A word that may stand unquoted in a display name (RFC 5322 atext).
bool isAtom(const QString &word)
{
    static const QString specials = QStringLiteral("!#$%&'*+-/=?^_`{|}~");
    if (word.isEmpty() || word.contains(u"=?"))
        return false;
    for (const QChar ch : word)
        if (ch.unicode() > 0x7e || !(ch.isLetterOrNumber() || specials.contains(ch)))
            return false;
    return true;
}

// A header field folded between its tokens so no line passes 78 characters
// (a single token longer than that stays whole on its own line).
class FoldedHeader
{
public:
    explicit FoldedHeader(const QByteArray &name) : m_out(name + ':'), m_line(m_out.size()) {}
    void add(const QByteArray &token)
    {
        if (m_tokens > 0 && m_line + 1 + token.size() > kLineLimit) {
            m_out += "\r\n ";
            m_line = 1;
        } else {
            m_out += ' ';
            m_line += 1;
        }
        m_out += token;
        m_line += token.size();
        ++m_tokens;
    }
    void add(const QList<QByteArray> &tokens)
    {
        for (const QByteArray &t : tokens)
            add(t);
    }
    QByteArray text() const { return m_out + "\r\n"; }

private:
    QByteArray m_out;
    qsizetype m_line;
    int m_tokens = 0;
};

QByteArray quotedString(const QString &text)
{
    QByteArray out = "\"";
    for (const char c : text.toLatin1()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// The display name and address as header tokens, so the header can fold at
// the name's blanks. An ASCII name is one quoted string (a fold inside it
// unfolds to the blank it replaced). In any other name the plain words stay
// plain and each run of the other words becomes encoded-words: readers that
// put a blank between two encoded-words then find one where it belongs.
QList<QByteArray> addressTokens(const MailAddress &a)
{
    const QString name = singleLine(a.name).simplified();
    const QByteArray address = a.address.trimmed().toLatin1();
    if (name.isEmpty())
        return {address};
    QList<QByteArray> tokens;
    if (isPlainAscii(name) && !name.contains(u"=?")) {
        tokens = quotedString(name).split(' ');
    } else {
        QString run;
        for (const QString &w : name.split(u' ')) {
            if (isAtom(w)) {
                if (!run.isEmpty())
                    tokens << encodedWords(run);
                run.clear();
                tokens << w.toLatin1();
            } else {
                run += (run.isEmpty() ? QString() : QStringLiteral(" ")) + w;
            }
        }
        if (!run.isEmpty())
            tokens << encodedWords(run);
    }
    tokens << '<' + address + '>';
    return tokens;
}

QByteArray randomHex(int bytes)
{
    QByteArray raw(bytes, Qt::Uninitialized);
    for (char &c : raw)
        c = char(QRandomGenerator::global()->bounded(256));
    return raw.toHex();
}

QByteArray domainOf(const QString &address)
{
    const QString a = address.trimmed();
    return a.mid(a.lastIndexOf(u'@') + 1).toLatin1();
}

QByteArray base64Lines(const QByteArray &bytes)
{
    const QByteArray b64 = bytes.toBase64();
    QByteArray out;
    out.reserve(b64.size() + b64.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < b64.size(); i += 76) {
        if (i > 0)
            out += "\r\n";
        out.append(b64.constData() + i, qMin<qsizetype>(76, b64.size() - i));
    }
    return out;
}

QByteArray mimeTypeOf(const QString &type)
{
    static const QRegularExpression valid(
        QStringLiteral("^[A-Za-z0-9!#$&^_.+-]+/[A-Za-z0-9!#$&^_.+-]+$"));
    const QString t = type.trimmed();
    return valid.match(t).hasMatch() ? t.toLatin1().toLower() : "application/octet-stream";
}

QString fileNameOf(const QString &path)
{
    QString name = path;
    name = name.mid(qMax(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\')) + 1);
    name = singleLine(name);
    return name.isEmpty() ? QStringLiteral("anexo") : name;
}

// The file name as a MIME parameter: a quoted string when it is short plain
// ASCII, otherwise RFC 2231 percent-encoded UTF-8 in numbered pieces.
QList<QByteArray> fileNameParameter(const QByteArray &param, const QString &name)
{
    if (isPlainAscii(name) && name.size() <= kPlainNameLimit && !name.contains(u'"') &&
        !name.contains(u'\\'))
        return {param + "=\"" + name.toLatin1() + '"'};
    // A character's bytes stay in one piece: readers decode piece by piece.
    QList<QByteArray> pieces;
    QByteArray piece = "UTF-8''";
    for (qsizetype i = 0; i < name.size(); ++i) {
        qsizetype len = 1;
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            len = 2;
        const QByteArray encoded =
            name.mid(i, len).toUtf8().toPercentEncoding("!#$&+-.^_`|~", QByteArray(), '%');
        i += len - 1;
        if (piece.size() + encoded.size() > 50) {
            pieces << piece;
            piece.clear();
        }
        piece += encoded;
    }
    pieces << piece;
    if (pieces.size() == 1)
        return {param + "*=" + pieces.first()};
    QList<QByteArray> out;
    for (int i = 0; i < pieces.size(); ++i)
        out << param + '*' + QByteArray::number(i) + "*=" + pieces.at(i);
    return out;
}

QByteArray parameterList(const QByteArray &value, const QList<QByteArray> &params)
{
    QByteArray out = value;
    for (const QByteArray &p : params)
        out += ";\r\n " + p;
    return out;
}

QByteArray textPart(const QByteArray &subtype, const QString &text)
{
    QByteArray out = "Content-Type: text/" + subtype +
                     "; charset=UTF-8\r\n"
                     "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    out += quotedPrintable(text.toUtf8());
    return out;
}

QByteArray attachmentPart(const MailAttachment &a)
{
    const QString name = fileNameOf(a.fileName);
    QByteArray out =
        "Content-Type: " + parameterList(mimeTypeOf(a.mimeType), fileNameParameter("name", name)) +
        "\r\n"
        "Content-Disposition: " +
        parameterList("attachment", fileNameParameter("filename", name)) +
        "\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\n";
    out += base64Lines(a.bytes);
    return out;
}

QByteArray multipart(const QByteArray &subtype, const QList<QByteArray> &parts)
{
    // "=_" cannot occur in quoted-printable or base64 text, so the boundary
    // never collides with a part's content.
    const QByteArray boundary = "=_" + subtype + '_' + randomHex(12);
    QByteArray out =
        "Content-Type: multipart/" + subtype + ";\r\n boundary=\"" + boundary + "\"\r\n\r\n";
    qsizetype size = out.size() + boundary.size() + 8;
    for (const QByteArray &part : parts)
        size += part.size() + boundary.size() + 6;
    out.reserve(size);
    for (const QByteArray &part : parts) {
        out += "--" + boundary + "\r\n";
        out += part;
        out += "\r\n";
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

} // namespace

bool isValidAddress(const QString &address)
{
    static const QRegularExpression valid(
        QStringLiteral("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~.-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*$"));
    const QString a = address.trimmed();
    return a.size() <= 254 && valid.match(a).hasMatch();
}

QString problem(const MailMessage &message)
{
    if (message.from.address.trimmed().isEmpty())
        return QStringLiteral("O endereço do remetente não foi informado.");
    if (!isValidAddress(message.from.address))
        return QStringLiteral("O endereço do remetente \"%1\" não é um endereço de e-mail válido.")
            .arg(singleLine(message.from.address));
    if (message.to.isEmpty())
        return QStringLiteral("Nenhum destinatário foi informado; o e-mail não foi enviado.");
    for (const MailAddress &to : message.to) {
        if (to.address.trimmed().isEmpty()) {
            if (singleLine(to.name).isEmpty())
                return QStringLiteral("Um destinatário está sem endereço de e-mail.");
            return QStringLiteral("O destinatário \"%1\" está sem endereço de e-mail.")
                .arg(singleLine(to.name));
        }
        if (!isValidAddress(to.address))
            return QStringLiteral("O endereço de e-mail \"%1\" não é válido.")
                .arg(singleLine(to.address));
    }
    return {};
}

QByteArray envelopeAddress(const QString &address)
{
    return '<' + address.trimmed().toLatin1() + '>';
}

QByteArray rfc5322Date(const QDateTime &date)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = date.date();
    const QTime t = date.time();
    const int offset = date.offsetFromUtc() / 60;
    const int absOffset = qAbs(offset);
    return QByteArray(days[d.dayOfWeek() - 1]) + ", " +
           QByteArray::number(d.day()).rightJustified(2, '0') + ' ' + months[d.month() - 1] + ' ' +
           QByteArray::number(d.year()) + ' ' + t.toString(u"HH:mm:ss").toLatin1() + ' ' +
           (offset < 0 ? '-' : '+') + QByteArray::number(absOffset / 60).rightJustified(2, '0') +
           QByteArray::number(absOffset % 60).rightJustified(2, '0');
}

QByteArray quotedPrintable(const QByteArray &bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() * 3 / 2);
    qsizetype line = 0; // length of the current output line
    const auto put = [&](const char *token, qsizetype size) {
        // 76 characters per line at most, the "=" of a soft break included.
        if (line + size > 75) {
            out += "=\r\n";
            line = 0;
        }
        out.append(token, size);
        line += size;
    };
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf("\r\n", start);
        const bool hardBreak = end >= 0;
        if (!hardBreak)
            end = bytes.size();
        for (qsizetype i = start; i < end; ++i) {
            const uchar c = uchar(bytes.at(i));
            const bool lastOfLine = i + 1 == end;
            const bool literal =
                (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !lastOfLine);
            // "From " opening a line is mangled by mbox stores; an escaped F
            // keeps it intact.
            const bool fromLine = c == 'F' && i == start && bytes.mid(i, 5) == "From ";
            if (literal && !fromLine) {
                const char plain = char(c);
                put(&plain, 1);
            } else {
                const char escaped[] = {'=', hex[c >> 4], hex[c & 15]};
                put(escaped, 3);
            }
        }
        if (!hardBreak)
            break;
        out += "\r\n";
        line = 0;
        start = end + 2;
    }
    return out;
}

QByteArray compose(const MailMessage &message, const QDateTime &date)
{
    QByteArray out;
    FoldedHeader from("From");
    from.add(addressTokens(message.from));
    out += from.text();

    FoldedHeader to("To");
    for (int i = 0; i < message.to.size(); ++i) {
        QList<QByteArray> tokens = addressTokens(message.to.at(i));
        if (i + 1 < message.to.size())
            tokens.last() += ',';
        to.add(tokens);
    }
    out += to.text();

    const QString subject = singleLine(message.subject);
    FoldedHeader subjectHeader("Subject");
    if (subject.isEmpty()) {
        // an empty Subject header is allowed and says "no subject"
    } else if (isPlainAscii(subject) && subject.size() <= kLineLimit - 9 &&
               !subject.contains(u"=?")) {
        subjectHeader.add(subject.toLatin1());
    } else {
        subjectHeader.add(encodedWords(subject));
    }
    out += subjectHeader.text();

    out += "Date: " + rfc5322Date(date) + "\r\n";
    out += "Message-ID: <" + randomHex(16) + '.' + QByteArray::number(date.toMSecsSinceEpoch()) +
           '@' + domainOf(message.from.address) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";

    const QByteArray body = message.text.isEmpty()
                                ? textPart("html", message.html)
                                : multipart("alternative", {textPart("plain", message.text),
                                                            textPart("html", message.html)});
    QList<QByteArray> parts{body};
    for (const MailAttachment &a : message.attachments)
        parts << attachmentPart(a);
    out += multipart("mixed", parts);
    return out;
}

} // namespace MailComposer
