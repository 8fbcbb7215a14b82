#pragma once
// A fixed-column text document, the kind a text-mode printer prints on
// continuous forms: pages of N lines by M columns (66 x 95 unless told
// otherwise), pages, lines and columns all counted from 1. A caller opens a
// document, puts texts and formatted amounts at a line and column, starts new
// pages, and hands the document to the preview (TextPreview.h), the printer
// or the exporters (TextRender.h).
//
// Contract of the grid:
// - put() writes on the current page, which is always the last one; a later
//   text overwrites what stands under it, blanks included; what runs past the
//   last column is cut; a line outside the page is ignored (with a warning on
//   the debug output, since it is the caller's mistake).
// - One character takes one column: texts are brought to their composed form
//   first, control characters (tabs, line breaks, form feeds) become blanks so
//   they can neither break a line nor a page, and characters outside the basic
//   plane (which no text printer has) become "?".
// - putValue() formats with the Brazilian separators and pads on the left to
//   the mask's length, so "###,##0.00" always fills 10 columns; a longer
//   value is printed whole (it runs to the right) rather than cut into a
//   wrong number; an amount that rounds to zero is printed without a sign.
// - With plain letters on, accented letters are printed as their plain
//   letters (ã -> a, Ç -> C, º -> o): on every text already on the pages and
//   every text put afterwards.
//
// The plain-text form (toPlainText / fromPlainText, save / load) is UTF-8,
// every page written as exactly its line count of lines, each ended by "\n"
// and without trailing blanks, with "\f" between pages. Reading it back gives
// the same pages line for line. Reading also takes what a text printer was
// sent (Latin-1, CR LF line ends, a form feed after the last page) and tabs
// (stops every 8 columns), and refuses anything else that is not text.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace TextPrint {

class Document
{
public:
    static constexpr int DefaultLines = 66;
    static constexpr int DefaultColumns = 95;
    // Largest page the reader accepts, so a file that is not a report
    // cannot make a page of millions of lines.
    static constexpr int MaxLines = 999;
    static constexpr int MaxColumns = 999;

    explicit Document(int lines = DefaultLines, int columns = DefaultColumns);

    int lineCount() const { return m_lines; }
    int columnCount() const { return m_columns; }

    bool plainLetters() const { return m_plainLetters; }
    void setPlainLetters(bool on);

    void put(int line, int column, const QString &text);
    void putValue(int line, int column, double value,
                  const QString &mask = QStringLiteral("###,##0.00"));
    void newPage();

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return pageCount(); }
    // The page's lines (lineCount() of them) without trailing blanks; empty
    // for a page that does not exist.
    QStringList pageLines(int page) const;
    // length characters of the page from line and column on, padded with
    // blanks: what a person reads at that place on paper.
    QString textAt(int page, int line, int column, int length) const;

    QString toPlainText() const;
    // nullopt, with *error in Portuguese, when text is not a text report or
    // its pages are larger than MaxLines x MaxColumns. The page size is the
    // given one, grown to the longest page and line of the text.
    static std::optional<Document> fromPlainText(const QString &text, QString *error = nullptr,
                                                 int lines = DefaultLines,
                                                 int columns = DefaultColumns);

    // Writes the plain-text form as a whole or not at all (an existing file
    // stays as it was on any failure).
    bool save(const QString &path, QString *error = nullptr) const;
    static std::optional<Document> load(const QString &path, QString *error = nullptr,
                                        int lines = DefaultLines, int columns = DefaultColumns);

    // Same page size and the same pages, line for line.
    bool operator==(const Document &other) const;

    // The text as it goes onto the grid (composed, controls as blanks).
    static QString gridText(const QString &text);
    // Accented letters as plain letters, one character for one.
    static QString plainLettersOf(const QString &text);

private:
    static std::optional<Document> parse(const QString &text, const QString &subject,
                                         QString *error, int lines, int columns);

    using Page = std::vector<QString>; // m_lines lines, each at most m_columns long

    int m_lines;
    int m_columns;
    bool m_plainLetters = false;
    std::vector<Page> m_pages;
};

} // namespace TextPrint
