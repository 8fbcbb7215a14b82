#include "workbook/CsvReader.h"

#include "workbook/GridBuilder.h"
#include "workbook/TextDecoding.h"

#include <QHash>

#include <functional>

namespace CsvReader {

namespace {

// Calls field(row, column, text) for every field; stops after maxRows
// records when maxRows > 0.
void parse(const QString &text, QChar separator, int maxRows,
           const std::function<void(int, int, QString &&)> &field)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    int row = 0;
    int column = 0;
    QString current;
    bool any = false; // the record has begun
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') && current.isEmpty()) {
            // A quoted field runs to the quote that is not doubled.
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        current += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                current += text.at(i++);
            }
            // Anything between the closing quote and the separator belongs to
            // the field, as spreadsheets read it.
            while (i < n && text.at(i) != separator && text.at(i) != QLatin1Char('\n') &&
                   text.at(i) != QLatin1Char('\r'))
                current += text.at(i++);
            any = true;
            continue;
        }
        if (c == separator) {
            field(row, column++, std::move(current));
            current.clear();
            any = true;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            field(row, column, std::move(current));
            current.clear();
            ++row;
            column = 0;
            any = false;
            i += (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ? 2
                                                                                              : 1;
            if (maxRows > 0 && row >= maxRows)
                return;
            continue;
        }
        current += c;
        any = true;
        ++i;
    }
    if (any || !current.isEmpty())
        field(row, column, std::move(current));
}

} // namespace

QChar detectSeparator(const QString &text)
{
    const QChar candidates[] = {QLatin1Char(';'), QLatin1Char(',')};
    QChar best = candidates[0];
    int bestScore = -1;
    for (QChar sep : candidates) {
        QHash<int, int> fieldsPerRow;
        parse(text, sep, 50,
              [&](int row, int column, QString &&) { fieldsPerRow[row] = column + 1; });
        // The score: how many lines share the most common field count, when
        // that count splits the line at all.
        QHash<int, int> lines;
        for (int count : fieldsPerRow)
            if (count > 1)
                ++lines[count];
        int score = 0;
        for (int same : lines)
            score = std::max(score, same);
        if (score > bestScore) {
            bestScore = score;
            best = sep;
        }
    }
    return best;
}

TextGrid read(const QByteArray &bytes, const QString &fileName)
{
    const QString text = TextDecoding::decode(bytes).text;
    const QChar separator = detectSeparator(text);
    GridBuilder grid(fileName);
    parse(text, separator, 0,
          [&](int row, int column, QString &&value) { grid.add(row, column, value); });
    return grid.take();
}

} // namespace CsvReader
