#include "textprint/TextDocument.h"

#include "db/DisplayFormat.h"
#include "shell/SafeFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtDebug>

#include <algorithm>
#include <cerrno>

namespace TextPrint {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QChar plainLetter(QChar c)
{
    if (c.unicode() < 0x80)
        return c;
    // Not letters with marks, but written in their place ("N°" for "Nº").
    if (c == QChar(0x00B0))
        return QLatin1Char('o');
    // Follow the decomposition down to a base letter while everything else
    // it decomposes into is a mark: "ã" -> "a" + tilde, "º" -> "o", "ǖ" ->
    // "ü" + macron -> "u". Anything that decomposes into several letters
    // ("½", "ﬁ") stays, since it would take more than its one column.
    QChar base = c;
    for (int depth = 0; depth < 4; ++depth) {
        const QString d = base.decomposition();
        if (d.isEmpty() || d.at(0).isMark())
            break;
        bool restAreMarks = true;
        for (qsizetype i = 1; i < d.size(); ++i)
            restAreMarks = restAreMarks && d.at(i).isMark();
        if (!restAreMarks)
            break;
        base = d.at(0);
    }
    return base;
}

} // namespace

Document::Document(int lines, int columns)
    : m_lines(std::clamp(lines, 1, MaxLines)), m_columns(std::clamp(columns, 1, MaxColumns))
{
    newPage();
}

QString Document::gridText(const QString &text)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const QChar c = composed.at(i);
        if (c.isHighSurrogate() || c.isLowSurrogate()) {
            // One code point outside the basic plane: one column, unknown sign.
            if (c.isHighSurrogate() && i + 1 < composed.size() &&
                composed.at(i + 1).isLowSurrogate())
                ++i;
            out += QLatin1Char('?');
        } else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator) {
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

QString Document::plainLettersOf(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        // A mark left over (a letter with no composed form) has nothing to
        // sit on once its letter is plain.
        if (c.isMark())
            continue;
        out += plainLetter(c);
    }
    return out;
}

void Document::setPlainLetters(bool on)
{
    m_plainLetters = on;
    if (!on)
        return;
    for (Page &page : m_pages)
        for (QString &line : page)
            line = plainLettersOf(line);
}

void Document::put(int line, int column, const QString &text)
{
    if (line < 1 || line > m_lines) {
        qWarning("TextPrint::Document::put: line %d outside the page (1 to %d)", line, m_lines);
        return;
    }
    QString t = gridText(text);
    if (m_plainLetters)
        t = plainLettersOf(t);
    // Characters left of column 1 or right of the last column do not reach paper.
    qsizetype first = 0;
    if (column < 1) {
        first = qsizetype(1) - column;
        column = 1;
    }
    if (column > m_columns || first >= t.size())
        return;
    const qsizetype length = std::min<qsizetype>(t.size() - first, m_columns - column + 1);
    QString &target = m_pages.back()[size_t(line - 1)];
    const qsizetype start = column - 1;
    if (target.size() < start + length)
        target.append(QString(start + length - target.size(), QLatin1Char(' ')));
    target.replace(start, length, t.mid(first, length));
}

void Document::putValue(int line, int column, double value, const QString &mask)
{
    QString text = DisplayFormat::format(QVariant(value), mask);
    // An amount that rounds to zero (a sum such as 0.3 - 0.1 - 0.2) is zero
    // on paper, not "-0,00".
    if (text.startsWith(QLatin1Char('-')) && std::none_of(text.begin(), text.end(), [](QChar c) {
            return c.isDigit() && c != QLatin1Char('0');
        }))
        text.remove(0, 1);
    if (text.size() < mask.size())
        text.prepend(QString(mask.size() - text.size(), QLatin1Char(' ')));
    put(line, column, text);
}

void Document::newPage()
{
    m_pages.emplace_back(size_t(m_lines));
}

QStringList Document::pageLines(int page) const
{
    QStringList lines;
    if (page < 1 || page > pageCount())
        return lines;
    lines.reserve(m_lines);
    for (const QString &line : m_pages[size_t(page - 1)]) {
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
            --end;
        lines << line.left(end);
    }
    return lines;
}

QString Document::textAt(int page, int line, int column, int length) const
{
    QString out(std::max(0, length), QLatin1Char(' '));
    if (page < 1 || page > pageCount() || line < 1 || line > m_lines)
        return out;
    const QString &source = m_pages[size_t(page - 1)][size_t(line - 1)];
    for (int i = 0; i < length; ++i) {
        const qsizetype at = qsizetype(column) - 1 + i;
        if (at >= 0 && at < source.size())
            out[i] = source.at(at);
    }
    return out;
}

QString Document::toPlainText() const
{
    QString out;
    for (int p = 1; p <= pageCount(); ++p) {
        if (p > 1)
            out += QLatin1Char('\f');
        for (const QString &line : pageLines(p)) {
            out += line;
            out += QLatin1Char('\n');
        }
    }
    return out;
}

std::optional<Document> Document::fromPlainText(const QString &text, QString *error, int lines,
                                                int columns)
{
    return parse(text, QStringLiteral("O texto"), error, lines, columns);
}

std::optional<Document> Document::parse(const QString &text, const QString &subject, QString *error,
                                        int lines, int columns)
{
    // Carriage returns before a line end or a form feed are a printer's line
    // ends (CR LF, CR FF); anywhere else they are not text.
    static const QRegularExpression printerEnds(QStringLiteral("\\r+(?=[\\n\\f]|$)"));
    QString body = text;
    body.remove(printerEnds);
    // A form feed after the last page ends it (a printer's capture); it does
    // not start an empty page. The written form never ends in one.
    if (body.endsWith(QLatin1Char('\f')))
        body.chop(1);
    std::vector<QStringList> pages;
    int longestPage = 0;
    int longestLine = 0;
    for (const QString &pageText : body.split(QLatin1Char('\f'))) {
        QStringList pageLines = pageText.split(QLatin1Char('\n'));
        // The "\n" that ends the page's last line leaves an empty piece behind.
        if (pageText.endsWith(QLatin1Char('\n')))
            pageLines.removeLast();
        for (QString &line : pageLines) {
            QString expanded;
            expanded.reserve(line.size());
            for (const QChar c : line) {
                if (c == QLatin1Char('\t')) {
                    expanded += QString(8 - expanded.size() % 8, QLatin1Char(' '));
                } else if (c.category() == QChar::Other_Control) {
                    fail(error,
                         QStringLiteral("%1 não contém um relatório em texto.").arg(subject));
                    return std::nullopt;
                } else {
                    expanded += c;
                }
            }
            while (expanded.endsWith(QLatin1Char(' ')))
                expanded.chop(1);
            line = expanded;
            longestLine = int(
                std::min<qsizetype>(std::max<qsizetype>(longestLine, line.size()), MaxColumns + 1));
        }
        longestPage = int(
            std::min<qsizetype>(std::max<qsizetype>(longestPage, pageLines.size()), MaxLines + 1));
        pages.push_back(std::move(pageLines));
    }
    if (longestPage > MaxLines || longestLine > MaxColumns) {
        fail(error, QStringLiteral("%1 tem páginas maiores que %2 linhas por %3 colunas e não "
                                   "é um relatório em texto.")
                        .arg(subject)
                        .arg(MaxLines)
                        .arg(MaxColumns));
        return std::nullopt;
    }
    Document doc(std::max(lines, longestPage), std::max(columns, longestLine));
    doc.m_pages.clear();
    for (const QStringList &pageLines : pages) {
        Page page(size_t(doc.m_lines));
        for (qsizetype i = 0; i < pageLines.size(); ++i)
            page[size_t(i)] = pageLines.at(i);
        doc.m_pages.push_back(std::move(page));
    }
    return doc;
}

bool Document::save(const QString &path, QString *error) const
{
    return SafeFile::write(path, toPlainText().toUtf8(), error);
}

std::optional<Document> Document::load(const QString &path, QString *error, int lines, int columns)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error,
             QStringLiteral("Não foi possível ler \"%1\": %2.").arg(path, SafeFile::reason(errno)));
        return std::nullopt;
    }
    // Thousands of full pages are a few tens of megabytes; a bigger file is
    // not a report, and reading it whole would only tie up memory.
    constexpr qint64 maxBytes = qint64(64) << 20;
    const QString subject = QStringLiteral("O arquivo \"%1\"").arg(path);
    if (file.size() > maxBytes) {
        fail(error, QStringLiteral("%1 não contém um relatório em texto.").arg(subject));
        return std::nullopt;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(error,
             QStringLiteral("Não foi possível ler \"%1\": %2.").arg(path, SafeFile::reason(errno)));
        return std::nullopt;
    }
    // Written as UTF-8; a capture of a text printer is Latin-1.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return parse(text, subject, error, lines, columns);
}

bool Document::operator==(const Document &other) const
{
    if (m_lines != other.m_lines || m_columns != other.m_columns ||
        pageCount() != other.pageCount())
        return false;
    for (int p = 1; p <= pageCount(); ++p)
        if (pageLines(p) != other.pageLines(p))
            return false;
    return true;
}

} // namespace TextPrint
