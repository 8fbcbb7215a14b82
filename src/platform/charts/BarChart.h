#pragma once
// The bar chart of a ChartSpec, drawn with Qt Charts: one QBarSet per bar in
// one category, so every bar has its own colour (and its own legend entry),
// a value axis at the left, the bars' labels under the plot and their marks
// over them placed by ChartLayout (never overlapping; turned upwards and
// scrolling sideways when there are many bars). Hovering a bar shows its
// whole label and value.
//
// The chart can be printed (printer dialog through Modal::exec, the chart
// scaled onto one landscape page) and saved as PNG or PDF (file name through
// FilePicker, the file written whole or not at all through SafeFile). Its
// right-click menu offers the same. Every action is a public slot.

#include "charts/ChartLayout.h"
#include "charts/ChartSpec.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QChart;
class QChartView;
class QScrollArea;
class QPainter;
class QBarSeries;
class QValueAxis;

namespace Charts {

class ChartTexts;

class BarChart : public QWidget
{
    Q_OBJECT
public:
    explicit BarChart(QWidget *parent = nullptr);
    ~BarChart() override;

    // Replaces the bars (and marks, mask, legend, title, file name) with the description's.
    void setSpec(const ChartSpec &spec);
    const ChartSpec &spec() const { return m_spec; }
    int barCount() const { return int(m_spec.bars.size()); }
    // The text of each bar's mark, as drawn (before any cut to its room).
    QStringList markTexts() const { return m_marks; }
    static QColor barColor(int index);

    const ChartGeometry &chartGeometry() const { return m_geometry; }
    QChart *chart() const { return m_chart; }
    QChartView *chartView() const { return m_view; }
    QScrollArea *scrollArea() const { return m_scroll; }

    // The whole chart (also the part scrolled out of sight) as an image.
    QImage toImage() const;
    // Draws the whole chart into target, scaled to fit and centred.
    void render(QPainter *painter, const QRectF &target) const;
    // Writes the chart; false with *error (in Portuguese) when it could not.
    bool savePng(const QString &path, QString *error) const;
    bool savePdf(const QString &path, QString *error) const;

public slots:
    void print();
    void save();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuild();
    void relayout();
    void showMenu(const QPoint &pos);

    ChartSpec m_spec;
    QStringList m_marks;
    ChartGeometry m_geometry;
    QScrollArea *m_scroll = nullptr;
    QChartView *m_view = nullptr;
    QChart *m_chart = nullptr;
    QBarSeries *m_series = nullptr;
    QValueAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
    ChartTexts *m_texts = nullptr;
};

} // namespace Charts
