#pragma once
// A bar chart window described as data: the caption and size of the window,
// the strip of labels, read-only fields and buttons across its top (what the
// caller wants the clerk to see beside the chart: a total, a period), and the
// chart itself: one bar per row (a label and a value), each bar in its own
// colour, an optional mark over each bar (its value, or its label and its
// share of the whole) and an optional legend. ChartWindow shows it; BarChart
// draws the chart part alone for screens that embed a chart.
//
// Nothing here knows where the rows come from: the caller reads its data set
// and fills `bars`.

#include <QSize>
#include <QString>

#include <vector>

namespace Charts {

struct Bar
{
    QString label;
    double value = 0;
};

enum class Marks {
    None,
    Value,          // the bar's value, formatted with the chart's value mask
    LabelAndPercent // the bar's label and its percentage of the sum of all bars
};

// One element of the strip across the top of a chart window, left to right.
struct StripItem
{
    enum class Kind { Label, Field, Button };
    Kind kind = Kind::Label;
    QString text;       // caption of a label or button; the value a field shows
    QString objectName; // for tests and screenshots; may be empty
    bool bold = false;
    int width = 0;             // fields: fixed width in pixels (0: as wide as its text)
    bool visible = true;       // a button may be kept hidden
    bool rightAligned = false; // fields: money reads from the right
};

inline StripItem stripLabel(const QString &text, bool bold = false)
{
    StripItem i;
    i.text = text;
    i.bold = bold;
    return i;
}

inline StripItem stripField(const QString &objectName, const QString &value, int width,
                            bool rightAligned = false)
{
    StripItem i;
    i.kind = StripItem::Kind::Field;
    i.objectName = objectName;
    i.text = value;
    i.width = width;
    i.rightAligned = rightAligned;
    return i;
}

// A button without an action of its own (some windows carry one, hidden).
inline StripItem stripButton(const QString &objectName, const QString &caption, bool visible)
{
    StripItem i;
    i.kind = StripItem::Kind::Button;
    i.objectName = objectName;
    i.text = caption;
    i.visible = visible;
    return i;
}

struct ChartSpec
{
    QString name;    // object name of the window
    QString caption; // window caption
    QSize size;      // size wanted; the window fits the screen around it
    QString title;   // title over the chart; empty: none
    std::vector<Bar> bars;
    Marks marks = Marks::Value;
    QString valueMask = QStringLiteral("#,##0.00");
    bool legend = false;
    std::vector<StripItem> strip;
    // Suggested name (without extension) when the chart is saved.
    QString fileName = QStringLiteral("grafico");
};

} // namespace Charts
