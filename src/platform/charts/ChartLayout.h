#pragma once
// Where everything of a bar chart goes, worked out from the bars, their
// texts, the font and the room available, so that the texts stay readable
// whatever the number of bars and the length of the names:
//   - each bar owns a slot of the plot's width; its label (under the plot)
//     and its mark (over the bar, or under it for a negative value) stay
//     inside that slot, so no two texts ever overlap, and no text covers
//     another bar;
//   - with room enough (a slot of at least minWrappedSlot) labels and marks
//     lie flat, wrapped on up to three lines; otherwise they are turned to
//     read upwards, one line each, and every slot is at least one line
//     high: when the bars do not fit the width then, the chart grows wider
//     than the room and scrolls;
//   - a text longer than its room loses its middle to "…", since names tend
//     to differ at their ends (the whole text is the bar's tool tip);
//   - the value axis starts at zero (or below, for negative bars) and ends on
//     a round number high enough that every mark fits above its bar.
// Pure: no widgets, only font metrics; BarChart draws what this computes.

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Charts {

inline constexpr double kMinWrappedSlot = 56; // px: narrower slots turn their texts
inline constexpr int kMaxLines = 3;           // lines of a flat label or mark
inline constexpr double kBarFraction = 0.96;  // of the plot's width taken by the slots
inline constexpr double kBarFill = 0.7;       // of a slot's width that its bar fills

struct BarPlace
{
    QRectF bar;   // the bar as seen (zero height for a zero value), centred in its slot
    QRectF slot;  // the bar's share of the plot's width, plot's full height
    QRectF label; // box of the label's text (already turned when rotated)
    QStringList labelLines;
    QRectF mark; // box of the mark's text; empty when there is no mark
    QStringList markLines;
    bool markBelow = false; // a negative bar's mark stands under it
};

struct ChartGeometry
{
    QSizeF size; // the whole chart; wider than the room when it scrolls
    QRectF plot; // the bars' area, axis excluded
    double axisMin = 0;
    double axisMax = 1;
    double axisStep = 1;
    int tickCount = 2;
    int axisDecimals = 0;
    bool rotated = false;              // labels and marks read upwards
    double barFraction = kBarFraction; // of the plot's width taken by the slots
    double lineHeight = 0;
    QRectF legend; // empty when there is no legend
    std::vector<BarPlace> bars;
};

struct LayoutInput
{
    QSizeF room; // what the chart may take before it scrolls
    std::vector<double> values;
    QStringList labels; // one per value
    // One per value (empty texts for none), or none at all. What follows a
    // mark's last line break (a percentage) is kept whole when it is cut.
    QStringList marks;
    QFont font; // labels and marks
    bool legend = false;
    double titleHeight = 0; // room kept above the plot for a title
    // The value axis' label for a value, with the decimals asked.
    std::function<QString(double value, int decimals)> axisText;
};

ChartGeometry layOut(const LayoutInput &input);

// A round step for an axis spanning range in about `ticks` intervals (1, 2,
// 2.5 or 5 times a power of ten).
double niceStep(double range, int ticks = 5);

// The text cut into lines no wider than width (words kept whole where they
// fit, longer words broken, after a slash or hyphen where one fits), at
// most maxLines; when the text does not fit,
// the last line holds the rest with its middle cut out ("…").
QStringList wrapText(const QString &text, const QFontMetricsF &metrics, double width, int maxLines);

} // namespace Charts
