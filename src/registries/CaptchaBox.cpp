#include "registries/CaptchaBox.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CaptchaBox::CaptchaBox(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlCaptcha"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setFixedSize(220, 96);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->setSpacing(0);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgCaptcha"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setWordWrap(true);
    layout->addWidget(m_picture, 1);

    m_link = new QPushButton(QStringLiteral("Atualizar Captcha"), this);
    m_link->setObjectName(QStringLiteral("lblAtualizarCaptcha"));
    m_link->setFlat(true);
    m_link->setAutoDefault(false);
    m_link->setFocusPolicy(Qt::NoFocus);
    m_link->setCursor(Qt::PointingHandCursor);
    QFont f = m_link->font();
    f.setBold(true);
    f.setUnderline(true);
    m_link->setFont(f);
    m_link->setStyleSheet(QStringLiteral("QPushButton { color: blue; border: none; "
                                         "background: transparent; }"
                                         "QPushButton:disabled { color: gray; }"));
    layout->addWidget(m_link, 0, Qt::AlignHCenter | Qt::AlignBottom);
    connect(m_link, &QPushButton::clicked, this, &CaptchaBox::refreshRequested);
}

bool CaptchaBox::showPng(const QByteArray &png)
{
    QPixmap pixmap;
    if (!pixmap.loadFromData(png, "PNG")) {
        showText(QStringLiteral("Imagem do captcha ilegível"));
        return false;
    }
    const QSize room(width() - 10, height() - 10 - m_link->sizeHint().height());
    if (pixmap.width() > room.width() || pixmap.height() > room.height())
        pixmap = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picture->setPixmap(pixmap);
    return true;
}

void CaptchaBox::showText(const QString &text)
{
    m_picture->setPixmap(QPixmap());
    m_picture->setText(text);
}

bool CaptchaBox::hasPicture() const
{
    return !m_picture->pixmap().isNull();
}

namespace ConsultationParts {

QString needCaptchaMessage()
{
    return QStringLiteral("É necessário digitar o captcha.");
}

QFont bigFace(QFont f)
{
    f.setPointSize(20);
    return f;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace ConsultationParts
