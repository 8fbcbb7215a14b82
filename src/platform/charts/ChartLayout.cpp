#include "charts/ChartLayout.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace Charts {

namespace {

constexpr double kPad = 6;
constexpr double kTopPad = 12;
constexpr double kRightPad = 12;
constexpr double kMarkGap = 3;
constexpr double kMinPlotWidth = 40;
constexpr double kMinPlotHeight = 40;

QString defaultAxisText(double v, int decimals)
{
    return QLocale().toString(v, 'f', decimals);
}

int decimalsOf(double step)
{
    int d = 0;
    while (d < 6) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            break;
        ++d;
    }
    return d;
}

// Room above (positive) or below (negative) each bar's end that its mark needs.
bool marksFit(const std::vector<double> &values, const std::vector<double> &need, double lo,
              double hi, double plotH)
{
    const double span = hi - lo;
    if (span <= 0)
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (need[i] <= 0)
            continue;
        const double v = values[i];
        const double room = v >= 0 ? (hi - v) / span * plotH : (v - lo) / span * plotH;
        if (room + 1e-6 < need[i])
            return false;
    }
    return true;
}

} // namespace

double niceStep(double range, int ticks)
{
    if (!(range > 0) || !std::isfinite(range))
        return 1;
    const double raw = range / std::max(1, ticks);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    double nice = 10;
    if (f <= 1)
        nice = 1;
    else if (f <= 2)
        nice = 2;
    else if (f <= 2.5)
        nice = 2.5;
    else if (f <= 5)
        nice = 5;
    return nice * power;
}

QStringList wrapText(const QString &text, const QFontMetricsF &metrics, double width, int maxLines)
{
    QStringList lines;
    const QString simplified = text.simplified();
    if (simplified.isEmpty() || maxLines <= 0)
        return lines;
    if (width <= 0)
        return {metrics.elidedText(simplified, Qt::ElideRight, 0)};
    const QStringList words = simplified.split(QLatin1Char(' '));
    QString current;
    int w = 0;
    auto flush = [&] {
        lines << current;
        current.clear();
    };
    for (; w < words.size(); ++w) {
        QString word = words[w];
        if (lines.size() == maxLines - 1) {
            // The last line takes the rest of the text, cut where it must.
            QString rest = current;
            for (int k = w; k < words.size(); ++k)
                rest += (rest.isEmpty() ? QString() : QStringLiteral(" ")) + words[k];
            // The middle of the rest gives way, so a name's end stays in sight.
            lines << metrics.elidedText(rest, Qt::ElideMiddle, width);
            return lines;
        }
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty()) {
            flush();
            --w; // the word starts the next line
            continue;
        }
        // A word wider than the line on its own: break it where it must.
        int n = word.size();
        while (n > 1 && metrics.horizontalAdvance(word.left(n)) > width)
            --n;
        // Rather after a slash or a hyphen that fits ("FEVEREIRO/" + "2024").
        for (int k = n - 1; k > 1; --k)
            if (word.at(k - 1) == QLatin1Char('/') || word.at(k - 1) == QLatin1Char('-')) {
                n = k;
                break;
            }
        current = word.left(n);
        flush();
        QStringList remaining = words.mid(w + 1);
        remaining.prepend(word.mid(n));
        const QStringList tail = wrapText(remaining.join(QLatin1Char(' ')), metrics, width,
                                          maxLines - int(lines.size()));
        lines += tail;
        return lines;
    }
    if (!current.isEmpty())
        flush();
    return lines;
}

ChartGeometry layOut(const LayoutInput &in)
{
    ChartGeometry g;
    const QFontMetricsF fm(in.font);
    const auto axisText = in.axisText ? in.axisText : defaultAxisText;
    const int n = int(in.values.size());
    const double lineH = std::ceil(fm.lineSpacing());
    g.lineHeight = lineH;
    const double roomW = std::max(in.room.width(), 100.0);
    const double roomH = std::max(in.room.height(), 100.0);

    double minV = 0, maxV = 0;
    for (double v : in.values) {
        minV = std::min(minV, v);
        maxV = std::max(maxV, v);
    }
    auto labelOf = [&](int i) { return i < in.labels.size() ? in.labels[i] : QString(); };
    auto markOf = [&](int i) { return i < in.marks.size() ? in.marks[i] : QString(); };

    double legendW = 0;
    if (in.legend && n > 0) {
        double widest = 0;
        for (int i = 0; i < n; ++i)
            widest = std::max(widest, fm.horizontalAdvance(labelOf(i)));
        legendW = std::min(roomW * 0.3, widest + 40);
    }

    // The left margin holds the value axis' labels; it is known only once the
    // axis range is, so a first pass guesses it and a second one corrects it.
    double left = 12 + fm.horizontalAdvance(axisText(std::max(std::fabs(minV), maxV) * 1.3, 0));
    for (int pass = 0; pass < 3; ++pass) {
        const double legendRoom = legendW > 0 ? legendW + kPad : 0;
        double plotW = std::max(kMinPlotWidth, roomW - left - kRightPad - legendRoom);
        // A little room before the first bar and after the last one.
        double side = n > 0 ? std::min(plotW * 0.02, plotW / n / 2) : 0;
        double slotW = n > 0 ? (plotW - 2 * side) / n : plotW;
        const bool rotated = n > 0 && slotW < kMinWrappedSlot;
        if (rotated && slotW < lineH + 4) {
            slotW = lineH + 4;
            side = slotW / 2;
            plotW = slotW * n + 2 * side;
        }
        g.barFraction = n > 0 ? slotW * n / plotW : kBarFraction;
        g.rotated = rotated;
        g.size = QSizeF(std::ceil(left + plotW + legendRoom + kRightPad), roomH);

        // Labels under the plot.
        std::vector<QStringList> labelLines(static_cast<size_t>(n));
        std::vector<double> labelLen(size_t(n), 0);
        double band = 0;
        const double maxRotatedLabel = std::min(roomH * 0.35, 220.0);
        for (int i = 0; i < n; ++i) {
            if (!rotated) {
                labelLines[size_t(i)] = wrapText(labelOf(i), fm, slotW - 4, kMaxLines);
                band = std::max(band, labelLines[size_t(i)].size() * lineH);
            } else {
                // The middle gives way: names often differ only at their ends.
                const QString t =
                    fm.elidedText(labelOf(i).simplified(), Qt::ElideMiddle, maxRotatedLabel);
                labelLines[size_t(i)] = t.isEmpty() ? QStringList() : QStringList{t};
                labelLen[size_t(i)] = std::ceil(fm.horizontalAdvance(t));
                band = std::max(band, labelLen[size_t(i)]);
            }
        }
        const double plotTop = kTopPad + in.titleHeight;
        const double plotBottom = roomH - band - 2 * kPad;
        const double plotH = std::max(kMinPlotHeight, plotBottom - plotTop);
        g.plot = QRectF(left, plotTop, plotW, plotH);

        // Marks over (or under) the bars.
        std::vector<QStringList> markLines(static_cast<size_t>(n));
        std::vector<double> markLen(size_t(n), 0), need(size_t(n), 0);
        const double maxMark = plotH * 0.4;
        for (int i = 0; i < n; ++i) {
            const QString m = markOf(i);
            if (m.trimmed().isEmpty())
                continue;
            // What follows the last line break (a percentage) is never cut.
            const qsizetype br = m.lastIndexOf(QLatin1Char('\n'));
            const QString head = br < 0 ? m : m.left(br);
            const QString tail = br < 0 ? QString() : m.mid(br + 1).simplified();
            if (!rotated) {
                QStringList lines =
                    wrapText(head, fm, slotW - 2, kMaxLines - (tail.isEmpty() ? 0 : 1));
                if (!tail.isEmpty())
                    lines << fm.elidedText(tail, Qt::ElideRight, slotW - 2);
                markLines[size_t(i)] = lines;
                markLen[size_t(i)] = lines.size() * lineH;
            } else {
                QString t;
                if (tail.isEmpty()) {
                    t = fm.elidedText(head.simplified(), Qt::ElideMiddle, maxMark);
                } else {
                    const double headRoom = maxMark - fm.horizontalAdvance(QLatin1Char(' ') + tail);
                    const QString h =
                        headRoom > fm.horizontalAdvance(QStringLiteral("W…"))
                            ? fm.elidedText(head.simplified(), Qt::ElideMiddle, headRoom)
                            : QString();
                    t = h.isEmpty() ? fm.elidedText(tail, Qt::ElideRight, maxMark)
                                    : h + QLatin1Char(' ') + tail;
                }
                markLines[size_t(i)] = {t};
                markLen[size_t(i)] = std::ceil(fm.horizontalAdvance(t));
            }
            need[size_t(i)] = std::min(markLen[size_t(i)] + kMarkGap, plotH * 0.6);
        }

        // The axis: from zero (or the lowest bar) to a round value that
        // leaves each mark its room.
        double lo = minV, hi = maxV;
        if (hi - lo <= 0)
            hi = lo + 1;
        for (int k = 0; k < 4; ++k) {
            for (int i = 0; i < n; ++i) {
                const double r = need[size_t(i)] / plotH;
                if (r <= 0)
                    continue;
                const double v = in.values[size_t(i)];
                if (v >= 0)
                    hi = std::max(hi, (v - r * lo) / (1 - r));
                else
                    lo = std::min(lo, (v - r * hi) / (1 - r));
            }
        }
        double step = niceStep(hi - lo);
        lo = std::floor(lo / step + 1e-9) * step;
        hi = std::ceil(hi / step - 1e-9) * step;
        if (hi <= lo)
            hi = lo + step;
        for (int guard = 0; guard < 100 && !marksFit(in.values, need, lo, hi, plotH); ++guard) {
            bool below = false;
            for (int i = 0; i < n; ++i)
                if (in.values[size_t(i)] < 0 && need[size_t(i)] > 0 &&
                    (in.values[size_t(i)] - lo) / (hi - lo) * plotH + 1e-6 < need[size_t(i)])
                    below = true;
            if (below)
                lo -= step;
            else
                hi += step;
        }
        g.axisMin = lo;
        g.axisMax = hi;
        g.axisStep = step;
        g.tickCount = int(std::lround((hi - lo) / step)) + 1;
        g.axisDecimals = decimalsOf(step);

        double needLeft = 0;
        for (int t = 0; t < g.tickCount; ++t)
            needLeft =
                std::max(needLeft, fm.horizontalAdvance(axisText(lo + t * step, g.axisDecimals)));
        needLeft = std::ceil(needLeft + 14);
        if (pass < 2 && std::fabs(needLeft - left) > 1) {
            left = needLeft;
            continue;
        }

        // Everything placed.
        auto y = [&](double v) { return plotTop + (hi - v) / (hi - lo) * plotH; };
        g.bars.assign(size_t(n), BarPlace());
        for (int i = 0; i < n; ++i) {
            BarPlace &b = g.bars[size_t(i)];
            const double v = in.values[size_t(i)];
            const double x0 = left + side + i * slotW;
            const double cx = x0 + slotW / 2;
            b.slot = QRectF(x0, plotTop, slotW, plotH);
            const double margin = slotW * (1 - kBarFill) / 2;
            b.bar = QRectF(QPointF(x0 + margin, y(std::max(v, 0.0))),
                           QPointF(x0 + slotW - margin, y(std::min(v, 0.0))));
            b.labelLines = labelLines[size_t(i)];
            const double labelTop = plotTop + plotH + kPad;
            if (!rotated)
                b.label = QRectF(x0 + 2, labelTop, slotW - 4, b.labelLines.size() * lineH);
            else
                b.label = QRectF(cx - lineH / 2, labelTop, lineH, labelLen[size_t(i)]);
            b.markLines = markLines[size_t(i)];
            if (b.markLines.isEmpty())
                continue;
            const double len = std::min(markLen[size_t(i)], need[size_t(i)] - kMarkGap);
            const double w = rotated ? lineH : slotW - 2;
            const double mx = rotated ? cx - lineH / 2 : x0 + 1;
            b.markBelow = v < 0;
            b.mark = v >= 0 ? QRectF(mx, y(v) - kMarkGap - len, w, len)
                            : QRectF(mx, y(v) + kMarkGap, w, len);
        }
        if (legendW > 0)
            g.legend = QRectF(left + plotW + kPad, plotTop, legendW,
                              std::min(roomH - plotTop - kPad, n * (lineH + 6) + 16));
        break;
    }
    return g;
}

} // namespace Charts
