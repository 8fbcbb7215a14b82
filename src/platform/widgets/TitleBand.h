#pragma once
// The coloured band across the top of every window: the window's caption in
// white, in the program's face (ProgramFace), and at the right end a red
// square with a white "X" that closes the window (our windows have no system
// title bar).

#include <QColor>
#include <QFrame>

#include <functional>

class QLabel;

class TitleBand : public QFrame
{
    Q_OBJECT
public:
    explicit TitleBand(const QString &caption = {}, QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const;

    void setColor(const QColor &color); // default RGB 0, 79, 157
    QColor color() const { return m_color; }
    void setBandHeight(int pixels); // default 35
    int bandHeight() const { return height(); }
    void setFontPixelSize(int pixels);  // caption font, default 24
    void setCloseWidth(int pixels);     // width of the red panel, default 42
    void setCloseVisible(bool visible); // bands without the "X" (a footer)

    // What a click on the "X" does; without one it closes the window the band is in.
    void setCloseAction(std::function<void()> action) { m_closeAction = std::move(action); }

    QLabel *captionLabel() const { return m_caption; }
    QWidget *closePanel() const;

public slots:
    // The click on the "X": emits closeClicked(), then runs the close action.
    void clickClose();

signals:
    void closeClicked();

private:
    void applyColors();

    QLabel *m_caption;
    QLabel *m_close;
    QColor m_color{0, 79, 157};
    std::function<void()> m_closeAction;
};
