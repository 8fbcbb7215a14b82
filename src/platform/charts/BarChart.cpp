#include "charts/BarChart.h"

#include "db/DisplayFormat.h"
#include "shell/SafeFile.h"
#include "widgets/FilePicker.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QLocale>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace Charts {

// The labels under the bars and the marks over them, drawn where ChartLayout
// put them, over the chart's own items.
class ChartTexts : public QGraphicsItem
{
public:
    ChartTexts(const ChartGeometry *geometry, QGraphicsItem *parent)
        : QGraphicsItem(parent), m_g(geometry)
    {
        setZValue(1000);
    }
    void setFont(const QFont &font)
    {
        m_font = font;
        update();
    }
    void changed()
    {
        prepareGeometryChange();
        update();
    }
    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), m_g->size); }
    void paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        p->save();
        p->setFont(m_font);
        p->setRenderHint(QPainter::TextAntialiasing);
        const QFontMetricsF fm(m_font);
        const double lh = m_g->lineHeight;
        for (const BarPlace &b : m_g->bars) {
            p->setPen(Qt::black);
            if (!m_g->rotated) {
                for (int j = 0; j < b.labelLines.size(); ++j)
                    p->drawText(QRectF(b.label.left(), b.label.top() + j * lh, b.label.width(), lh),
                                Qt::AlignHCenter | Qt::AlignTop, b.labelLines[j]);
            } else if (!b.labelLines.isEmpty()) {
                p->save();
                p->translate(b.label.center().x(), b.label.bottom());
                p->rotate(-90);
                p->drawText(QRectF(0, -lh / 2, b.label.height(), lh),
                            Qt::AlignRight | Qt::AlignVCenter, b.labelLines.first());
                p->restore();
            }
            if (b.markLines.isEmpty())
                continue;
            const bool below = b.markBelow;
            if (!m_g->rotated) {
                double widest = 0;
                for (const QString &l : b.markLines)
                    widest = std::max(widest, fm.horizontalAdvance(l));
                const double w = std::min(b.mark.width(), widest + 4);
                const QRectF box(b.mark.center().x() - w / 2, b.mark.top(), w, b.mark.height());
                p->setPen(QColor(160, 160, 160));
                p->setBrush(QColor(255, 255, 225));
                p->drawRect(box);
                p->setPen(Qt::black);
                for (int j = 0; j < b.markLines.size(); ++j)
                    p->drawText(QRectF(b.mark.left(), b.mark.top() + j * lh, b.mark.width(), lh),
                                Qt::AlignHCenter | Qt::AlignTop, b.markLines[j]);
            } else {
                p->save();
                p->translate(b.mark.center().x(), b.mark.bottom());
                p->rotate(-90);
                const QRectF box(0, -lh / 2, b.mark.height(), lh);
                p->setPen(QColor(160, 160, 160));
                p->setBrush(QColor(255, 255, 225));
                p->drawRect(box);
                p->setPen(Qt::black);
                p->drawText(box.adjusted(1, 0, -1, 0),
                            (below ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                            b.markLines.first());
                p->restore();
            }
        }
        p->restore();
    }

private:
    const ChartGeometry *m_g;
    QFont m_font;
};

namespace {

QString percentText(double value, double whole)
{
    const double p = whole != 0 ? value / whole * 100 : 0;
    return QLocale().toString(p, 'f', 2) + QStringLiteral(" %");
}

// One bar's brush: its colour over the middle of its slot, clear at the sides,
// so neighbouring bars stand apart and the grid shows between them.
QBrush barBrush(const QColor &c)
{
    QLinearGradient g(0, 0, 1, 0);
    g.setCoordinateMode(QGradient::ObjectMode);
    const double side = (1 - kBarFill) / 2;
    g.setColorAt(0, Qt::transparent);
    g.setColorAt(side - 1e-4, Qt::transparent);
    g.setColorAt(side, c);
    g.setColorAt(1 - side, c);
    g.setColorAt(1 - side + 1e-4, Qt::transparent);
    g.setColorAt(1, Qt::transparent);
    return QBrush(g);
}

} // namespace

QColor BarChart::barColor(int index)
{
    // Hues a golden angle apart: neighbours always differ clearly.
    const int hue = int(std::fmod(index * 137.508 + 200, 360.0));
    const int saturation = 150 + (index % 3) * 35;
    const int value = 235 - (index % 2) * 35;
    return QColor::fromHsv(hue, saturation, value);
}

BarChart::BarChart(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("chartScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setBackgroundRole(QPalette::Base);
    layout->addWidget(m_scroll);

    m_chart = new QChart;
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    m_chart->setLocalizeNumbers(true);
    m_chart->setLocale(QLocale());
    m_chart->legend()->setVisible(false);
    m_axisX = new QValueAxis(m_chart);
    m_axisX->setRange(-0.5, 0.5);
    m_axisX->setVisible(false);
    m_axisY = new QValueAxis(m_chart);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);

    m_view = new QChartView(m_chart);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &BarChart::showMenu);
    m_scroll->setWidget(m_view);

    m_texts = new ChartTexts(&m_geometry, m_chart);
    QFont f = font();
    f.setPointSizeF(8);
    m_texts->setFont(f);
    m_axisY->setLabelsFont(f);
    rebuild();
}

BarChart::~BarChart() = default;

void BarChart::setSpec(const ChartSpec &spec)
{
    m_spec = spec;
    rebuild();
}

void BarChart::rebuild()
{
    if (m_series) {
        m_chart->removeSeries(m_series);
        delete m_series;
        m_series = nullptr;
    }
    double whole = 0;
    for (const Bar &b : m_spec.bars)
        whole += b.value;
    m_marks.clear();
    for (const Bar &b : m_spec.bars) {
        switch (m_spec.marks) {
        case Marks::None:
            m_marks << QString();
            break;
        case Marks::Value:
            m_marks << DisplayFormat::format(b.value, m_spec.valueMask);
            break;
        case Marks::LabelAndPercent:
            m_marks << b.label.simplified() + QLatin1Char('\n') + percentText(b.value, whole);
            break;
        }
    }

    m_series = new QBarSeries;
    m_series->setBarWidth(kBarFraction);
    QList<QBarSet *> sets;
    sets.reserve(int(m_spec.bars.size()));
    for (size_t i = 0; i < m_spec.bars.size(); ++i) {
        const Bar &b = m_spec.bars[i];
        auto *set = new QBarSet(b.label.simplified());
        set->append(b.value);
        set->setPen(Qt::NoPen);
        set->setBrush(barBrush(barColor(int(i))));
        const QString tip =
            b.label + QLatin1Char('\n') + DisplayFormat::format(b.value, m_spec.valueMask);
        connect(set, &QBarSet::hovered, this, [tip](bool on, int) {
            if (on)
                QToolTip::showText(QCursor::pos(), tip);
            else
                QToolTip::hideText();
        });
        sets << set;
    }
    m_series->append(sets);
    m_chart->addSeries(m_series);
    m_series->attachAxis(m_axisX);
    m_series->attachAxis(m_axisY);
    m_chart->setTitle(m_spec.title);
    if (!m_spec.title.isEmpty()) {
        QFont tf = font();
        tf.setPointSizeF(10);
        tf.setBold(true);
        m_chart->setTitleFont(tf);
    }
    QLegend *legend = m_chart->legend();
    legend->setVisible(m_spec.legend && !m_spec.bars.empty());
    if (m_spec.legend) {
        legend->detachFromChart();
        legend->setAlignment(Qt::AlignRight);
        legend->setFont(m_axisY->labelsFont());
        legend->setBackgroundVisible(false);
    }
    relayout();
}

void BarChart::relayout()
{
    LayoutInput in;
    in.values.reserve(m_spec.bars.size());
    for (const Bar &b : m_spec.bars) {
        in.values.push_back(b.value);
        in.labels << b.label;
    }
    in.marks = m_marks;
    in.font = m_axisY->labelsFont();
    in.legend = m_spec.legend;
    if (!m_spec.title.isEmpty())
        in.titleHeight = QFontMetricsF(m_chart->titleFont()).lineSpacing() + 8;
    in.axisText = [](double v, int decimals) { return QLocale().toString(v, 'f', decimals); };
    // The scroll area fills this widget without a frame, so its viewport is
    // this widget's size (less the scroll bar when the chart scrolls); the
    // viewport itself is resized only after this widget's resize event.
    QSize room = contentsRect().size();
    if (!isVisible() && !testAttribute(Qt::WA_Resized))
        room = QSize(1200, 500);
    in.room = room;
    m_geometry = layOut(in);
    if (m_geometry.size.width() > room.width() + 0.5) {
        // The chart scrolls: its scroll bar takes part of the height.
        in.room.setHeight(room.height() - m_scroll->horizontalScrollBar()->sizeHint().height());
        m_geometry = layOut(in);
    }

    const QSize size = m_geometry.size.toSize();
    m_view->setFixedSize(size);
    m_chart->resize(m_geometry.size);
    m_chart->setPlotArea(m_geometry.plot);
    m_series->setBarWidth(m_geometry.barFraction);
    m_axisY->setRange(m_geometry.axisMin, m_geometry.axisMax);
    m_axisY->setTickCount(m_geometry.tickCount);
    m_axisY->setLabelFormat(QStringLiteral("%.%1f").arg(m_geometry.axisDecimals));
    if (m_spec.legend && m_chart->legend()->isVisible())
        m_chart->legend()->setGeometry(m_geometry.legend);
    if (QGraphicsLayout *l = m_chart->layout())
        l->activate();
    m_view->setSceneRect(QRectF(QPointF(0, 0), m_geometry.size));
    m_texts->changed();
}

void BarChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void BarChart::render(QPainter *painter, const QRectF &target) const
{
    const QRectF source(QPointF(0, 0), m_geometry.size);
    m_chart->scene()->render(painter, target, source, Qt::KeepAspectRatio);
}

QImage BarChart::toImage() const
{
    QImage image(m_geometry.size.toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    render(&p, QRectF(QPointF(0, 0), m_geometry.size));
    p.end();
    return image;
}

bool BarChart::savePng(const QString &path, QString *error) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!toImage().save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("Não foi possível gerar a imagem do gráfico.");
        return false;
    }
    return SafeFile::write(path, bytes, error);
}

bool BarChart::savePdf(const QString &path, QString *error) const
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(m_spec.caption.isEmpty() ? m_spec.fileName : m_spec.caption);
        writer.setCreator(QStringLiteral("Contas a Pagar"));
        // The chart's fonts are sized for the screen: at the screen's
        // resolution the page keeps their proportions (and stays vector).
        writer.setResolution(96);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter p;
        if (!p.begin(&writer)) {
            if (error)
                *error = QStringLiteral("Não foi possível gerar o PDF do gráfico.");
            return false;
        }
        p.setRenderHint(QPainter::Antialiasing);
        render(&p, QRectF(0, 0, writer.width(), writer.height()));
        p.end();
    }
    return SafeFile::write(path, bytes, error);
}

void BarChart::print()
{
    // As for the PDF: the chart's proportions are those of the screen.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(m_spec.caption.isEmpty() ? m_spec.fileName : m_spec.caption);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    if (Modal::exec(&dialog) != QDialog::Accepted)
        return;
    QPainter p;
    if (!p.begin(&printer)) {
        Messages::error(QStringLiteral("Atenção"),
                        QStringLiteral("Não foi possível imprimir o gráfico."));
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    render(&p, QRectF(0, 0, printer.width(), printer.height()));
    p.end();
}

void BarChart::save()
{
    const QString chosen =
        FilePicker::saveFile(this, QStringLiteral("Salvar Gráfico"),
                             QStringLiteral("Imagem PNG (*.png);;Documento PDF (*.pdf)"),
                             m_spec.fileName + QStringLiteral(".png"));
    if (chosen.isEmpty())
        return;
    QString path = chosen;
    const bool pdf = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (!pdf && !path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    QString error;
    const bool ok = pdf ? savePdf(path, &error) : savePng(path, &error);
    if (!ok)
        Messages::error(QStringLiteral("Atenção"), error);
}

void BarChart::showMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Imprimir Gráfico..."), this, &BarChart::print);
    menu.addAction(QStringLiteral("Salvar Gráfico como..."), this, &BarChart::save);
    menu.exec(m_view->mapToGlobal(pos));
}

} // namespace Charts
