#pragma once
// The result of running a report: pages of positioned items, plus a flat
// table of the data bands for the spreadsheet-like exports. Preview, printing,
// PDF and every export read this, so what is saved is what was previewed.

#include "report/ReportDefinition.h"

#include <QFont>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace Report {

struct Item
{
    enum class Kind : uint8_t { Text, Line, Rect };
    Kind kind = Kind::Text;
    bool wrap = false; // Text: word-wrapped inside rect (memos)
    uint16_t font = 0; // index into PreparedReport::fonts
    uint16_t alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QRgb color = 0xff000000;
    QRgb fill = 0;      // Rect: fill (alpha 0 = none)
    float penWidth = 0; // mm; Line and Rect outline (0 = none for Rect)
    QRectF rect;        // mm from the page's top-left corner; Line: p1 = topLeft, p2 = bottomRight
    QString text;
};

struct Page
{
    std::vector<Item> items;
    QStringList texts() const; // the text items in print order
};

// One cell of the flat table.
struct Cell
{
    QString text;
    double number = 0;
    bool isNumber = false;
    QString mask; // the mask the number was printed with
};

struct TableRow
{
    enum class Kind : uint8_t { ColumnHeader, GroupHeader, Detail, GroupFooter, Summary };
    Kind kind = Kind::Detail;
    std::vector<Cell> cells; // columnCount entries
};

struct PreparedReport
{
    QString title;
    Flavour flavour = Flavour::Independent;
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QSizeF pageSize; // mm
    std::vector<QFont> fonts;
    std::vector<Page> pages;

    int columnCount = 0;
    std::vector<TableRow> table;

    int pageCount() const { return int(pages.size()); }
    // All text of one page (items joined by "\n"), handy for assertions.
    QString pageText(int page) const;
    // Texts of the table rows of one kind, cell texts joined by "|".
    QStringList tableTexts(TableRow::Kind kind) const;
};

} // namespace Report
