#include "widgets/TitleBand.h"

#include "widgets/ProgramFace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

// The red "X": acts on release inside the panel, like a button.
class ClosePanel : public QLabel
{
public:
    ClosePanel(TitleBand *band) : QLabel(QStringLiteral("X"), band), m_band(band) {}

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            e->accept();
        else
            QLabel::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            m_band->clickClose();
        else
            QLabel::mouseReleaseEvent(e);
    }

private:
    TitleBand *m_band;
};

} // namespace

TitleBand::TitleBand(const QString &caption, QWidget *parent)
    : QFrame(parent), m_caption(new QLabel(caption, this)), m_close(new ClosePanel(this))
{
    setObjectName(QStringLiteral("titleBand"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_close);

    m_caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_close->setObjectName(QStringLiteral("closePanel"));
    m_close->setAlignment(Qt::AlignCenter);
    m_close->setAutoFillBackground(true);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->setToolTip(QStringLiteral("Fechar"));
    QFont xf = ProgramFace::pixelFont(20);
    xf.setWeight(QFont::Black);
    m_close->setFont(xf);

    setFontPixelSize(24);
    setBandHeight(35);
    setCloseWidth(42);
    applyColors();
}

void TitleBand::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

QString TitleBand::caption() const
{
    return m_caption->text();
}

void TitleBand::setColor(const QColor &color)
{
    m_color = color;
    applyColors();
}

void TitleBand::setBandHeight(int pixels)
{
    setFixedHeight(pixels);
}

void TitleBand::setFontPixelSize(int pixels)
{
    const QFont f = ProgramFace::pixelFont(pixels);
    m_caption->setFont(f);
}

void TitleBand::setCloseWidth(int pixels)
{
    m_close->setFixedWidth(pixels);
}

void TitleBand::setCloseVisible(bool visible)
{
    m_close->setVisible(visible);
}

QWidget *TitleBand::closePanel() const
{
    return m_close;
}

void TitleBand::clickClose()
{
    emit closeClicked();
    if (m_closeAction)
        m_closeAction();
    else if (QWidget *w = window())
        w->close();
}

void TitleBand::applyColors()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, m_color);
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    m_caption->setPalette(p);

    QPalette x = m_close->palette();
    x.setColor(QPalette::Window, QColor(255, 0, 0));
    x.setColor(QPalette::WindowText, Qt::white);
    m_close->setPalette(x);
}
