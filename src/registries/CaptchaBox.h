#pragma once
// The captcha box of the registry consultations: a white box that shows the
// captcha picture the service sent (or a short text when there is none: a
// service without captcha, a service not configured, a failed fetch) and,
// along its bottom, the link "Atualizar Captcha" (blue, bold, underlined,
// hand cursor), whose click is refreshRequested(). The box only shows; what
// a refresh does is the window's.

#include <QByteArray>
#include <QFont>
#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

// What the two consultation windows share besides the box.
namespace ConsultationParts {
// Said when "Consultar" is pressed with an empty captcha edit.
QString needCaptchaMessage();
// The 20-point face of the number and captcha edits.
QFont bigFace(QFont f);
// A bold caption over an edit.
QLabel *caption(const QString &text, QWidget *parent);
} // namespace ConsultationParts

class CaptchaBox : public QFrame
{
    Q_OBJECT
public:
    explicit CaptchaBox(QWidget *parent = nullptr);

    // Shows the PNG image; false (and the box shows that the picture could
    // not be read) when the bytes are not an image.
    bool showPng(const QByteArray &png);
    // Removes the picture and shows text instead.
    void showText(const QString &text);
    bool hasPicture() const;
    QLabel *picture() const { return m_picture; }
    QPushButton *link() const { return m_link; }

signals:
    void refreshRequested();

private:
    QLabel *m_picture;
    QPushButton *m_link;
};
