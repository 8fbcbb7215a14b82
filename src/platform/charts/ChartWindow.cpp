#include "charts/ChartWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Charts {

ChartWindow::ChartWindow(const ChartSpec &spec, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setObjectName(spec.name);
    setWindowTitle(spec.caption);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("strip"));
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (const StripItem &item : spec.strip) {
        switch (item.kind) {
        case StripItem::Kind::Label: {
            auto *l = new QLabel(item.text, strip);
            if (!item.objectName.isEmpty())
                l->setObjectName(item.objectName);
            if (item.bold) {
                QFont f = l->font();
                f.setBold(true);
                l->setFont(f);
            }
            row->addWidget(l);
            break;
        }
        case StripItem::Kind::Field: {
            auto *e = new QLineEdit(item.text, strip);
            e->setObjectName(item.objectName);
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            if (item.width > 0)
                e->setFixedWidth(item.width);
            if (item.rightAligned)
                e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row->addWidget(e);
            break;
        }
        case StripItem::Kind::Button: {
            auto *b = new QPushButton(item.text, strip);
            b->setObjectName(item.objectName);
            b->setAutoDefault(false);
            b->setVisible(item.visible);
            row->addWidget(b);
            break;
        }
        }
    }
    row->addStretch(1);
    m_print = new QPushButton(QStringLiteral("&Imprimir"), strip);
    m_print->setObjectName(QStringLiteral("imprimir"));
    m_save = new QPushButton(QStringLiteral("&Salvar"), strip);
    m_save->setObjectName(QStringLiteral("salvar"));
    m_close = new QPushButton(QStringLiteral("&Fechar"), strip);
    m_close->setObjectName(QStringLiteral("fechar"));
    for (QPushButton *b : {m_print, m_save, m_close}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addWidget(strip);

    m_chart = new BarChart(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    layout->addWidget(m_chart, 1);

    connect(m_print, &QPushButton::clicked, m_chart, &BarChart::print);
    connect(m_save, &QPushButton::clicked, m_chart, &BarChart::save);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    if (spec.size.isValid())
        resize(spec.size);
    // The chart is laid out for its final size once the window has one.
    m_chart->setSpec(spec);
}

QLineEdit *ChartWindow::field(const QString &objectName) const
{
    return findChild<QLineEdit *>(objectName);
}

QPushButton *ChartWindow::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

} // namespace Charts
