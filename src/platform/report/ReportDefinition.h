#pragma once
// A banded report described as data: paper, bands and the elements placed on
// them. A report is built by a function that fills a ReportDefinition; the
// runner (ReportRunner.h) turns it and the rows of a RecordSet into pages.
//
// Positions and sizes are millimetres; an element's rectangle is relative to
// the top-left corner of its band, a band's position is decided by the runner.
// Texts are drawn in the program's face (ProgramFace) at 8 points unless the
// definition or an element says otherwise, so a memo grows by the same lines
// on every machine.
//
//     ReportDefinition d;
//     d.title = "Contas Pagas";
//     d.pageHeader.height = 12;
//     d.pageHeader << label({0, 0, 120, 5}, "EMPRESA").bold()
//                  << pageNumber({150, 0, 40, 5}, "Página : ").right();
//     d.detail.height = 4.5;
//     d.detail << field({0, 0, 80, 4.5}, "nome")
//              << field({150, 0, 40, 4.5}, "valor", "#,##0.00").right();
//     auto &g = d.addGroup("nomefilial");
//     g.header << field({0, 0, 100, 5}, "nomefilial").prefix("Filial => ").bold();
//     g.footer << sum({150, 0, 40, 5}, "valor").right();

#include "widgets/ProgramFace.h"

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class RecordSet;

namespace Report {

enum class Paper { Letter, A4, A4Extra };
enum class Orientation { Portrait, Landscape };

// The program's two engines. Both print a report with no rows (headers,
// captions and a summary of 0 / 0,00).
enum class Flavour {
    Modal = 1,      // preview is modal, maximised and zoomed to the page width
    Independent = 2 // preview is not modal and keeps its own copy of the pages
};

// What a computed element, a colour rule or a group key sees while a band is
// being printed.
class Context
{
public:
    Context(const RecordSet *rows, int row, int page, int detailCount)
        : m_rows(rows), m_row(row), m_page(page), m_detailCount(detailCount)
    {
    }
    // Values of the row the band belongs to (the last row in a group footer
    // and the summary; none in an empty report: null values).
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }
    double number(const QString &field) const { return value(field).toDouble(); }
    int row() const { return m_row; }                 // 0-based, -1 when there is none
    int page() const { return m_page; }               // 1-based
    int detailCount() const { return m_detailCount; } // detail rows printed so far
    const RecordSet *rows() const { return m_rows; }

private:
    const RecordSet *m_rows;
    int m_row;
    int m_page;
    int m_detailCount;
};

using TextFn = std::function<QString(const Context &)>;
using NumberFn = std::function<double(const Context &)>;
using ColorFn = std::function<QColor(const Context &)>;
using BoolFn = std::function<bool(const Context &)>;

enum class ElementKind {
    Label,    // fixed text
    Field,    // a column of the row, formatted with the mask
    Computed, // text from a function of the context
    Memo,     // long text (field, function or fixed) wrapped; the band grows
    // Sum and Count cover the rows of the band they stand on: a group footer
    // its group's rows, the summary every row, the page header/footer the
    // rows of that page, a detail band the rows so far. Null counts as 0.
    Sum,         // sum of a column (or function)
    Count,       // number of rows
    Date,        // today's date
    PageNumber,  // page number; the template may use %1 (page) and %2 (pages)
    DetailCount, // detail rows printed so far (a running count)
    Rule,        // line from the rectangle's top-left to its bottom-right corner
    Box          // rectangle, outlined and/or filled
};

struct Element
{
    ElementKind kind = ElementKind::Label;
    QRectF rect;   // mm, relative to the band
    QString text;  // Label: the text; other texts: a prefix printed before the value
    QString field; // Field, Memo, Sum
    QString mask;  // DisplayFormat mask; PageNumber: template ("%1" when empty)
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QFont font;
    bool hasFont = false; // otherwise the report's font
    QColor color = Qt::black;
    QColor fill;           // Box: fill; invalid = none
    double penWidth = 0.2; // mm, Rule and Box
    bool upper = false;
    bool exported = true; // goes into the data exports (CSV, spreadsheets)
    TextFn compute;       // Computed, Memo
    NumberFn amount;      // Sum: summed instead of the field when set

    // Fluent setters, so a definition reads as one expression per element.
    Element &bold(bool on = true);
    Element &italic(bool on = true);
    Element &size(double points);
    Element &withFont(const QFont &f);
    Element &family(const QString &name);
    Element &left() { return align(Qt::AlignLeft); }
    Element &right() { return align(Qt::AlignRight); }
    Element &center() { return align(Qt::AlignHCenter); }
    Element &align(Qt::Alignment horizontal);
    Element &colour(const QColor &c)
    {
        color = c;
        return *this;
    }
    Element &filled(const QColor &c)
    {
        fill = c;
        return *this;
    }
    Element &prefix(const QString &t)
    {
        text = t;
        return *this;
    }
    Element &withMask(const QString &m)
    {
        mask = m;
        return *this;
    }
    Element &uppercase(bool on = true)
    {
        upper = on;
        return *this;
    }
    Element &notExported()
    {
        exported = false;
        return *this;
    }
};

// Element makers.
Element label(const QRectF &rect, const QString &text);
Element field(const QRectF &rect, const QString &field, const QString &mask = {});
Element computed(const QRectF &rect, TextFn fn);
Element memo(const QRectF &rect, const QString &field);
Element memo(const QRectF &rect, TextFn fn);
Element sum(const QRectF &rect, const QString &field,
            const QString &mask = QStringLiteral("#,##0.00"));
Element sum(const QRectF &rect, NumberFn amount, const QString &mask = QStringLiteral("#,##0.00"));
Element count(const QRectF &rect, const QString &mask = {});
Element date(const QRectF &rect, const QString &caption = QStringLiteral("Data : "));
Element pageNumber(const QRectF &rect, const QString &caption = QStringLiteral("Página : "),
                   const QString &tmpl = QStringLiteral("%1"));
Element detailCount(const QRectF &rect, const QString &caption = {});
Element rule(const QRectF &rect);
Element box(const QRectF &rect, const QColor &fill = QColor(), bool outline = true);

struct Band
{
    double height = 0; // mm; a band of height 0 without elements is not printed
    std::vector<Element> elements;
    QColor background;     // fills the band when valid
    ColorFn rowBackground; // per-row fill (detail bands); invalid colour = none
    ColorFn rowColor;      // per-row text colour (detail bands); invalid = element's
    BoolFn printIf;        // the band is skipped for a row when this says false

    Band &operator<<(const Element &e)
    {
        elements.push_back(e);
        return *this;
    }
    bool isEmpty() const { return elements.empty() && height <= 0; }
};

struct Group
{
    QString keyField; // the group breaks when this column's value changes
    TextFn key;       // or when this function's value changes (takes precedence)
    Band header;
    Band footer;
    bool keepHeaderWithRow = true; // header moves to the next page with its first row
};

struct ReportDefinition
{
    QString title; // print-job title and default file name
    Flavour flavour = Flavour::Independent;
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // mm
    QFont font = ProgramFace::font(8);

    Band pageHeader;
    Band columnHeader;
    std::vector<Group> groups; // outermost first
    Band detail;
    Band detail2; // optional second detail line
    Band summary;
    Band pageFooter;

    bool pageHeaderOnFirstPage = true;
    bool pageFooterOnLastPage = true;

    Group &addGroup(const QString &keyField);
    Group &addGroup(TextFn key);
};

// Paper size in millimetres, orientation applied.
QSizeF paperSize(Paper paper, Orientation orientation);

} // namespace Report
