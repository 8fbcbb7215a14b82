#pragma once
// Enter moves the focus to the next control, like Tab (Shift+Enter to the
// previous one), anywhere in one window. Enter is then never seen by the
// controls, so it never presses a button, the dialog's default button
// included. Left alone: multi-line edits (Enter breaks the line), lists and
// grids (and editors inside them), pop-ups (they are windows of their own),
// and controls marked with exclude().

#include <QObject>
#include <QPointer>

class QWidget;

class EnterAsTab : public QObject
{
    Q_OBJECT
public:
    // Starts the behaviour on the window; it ends when the window is destroyed.
    static EnterAsTab *install(QWidget *window);
    // Keeps Enter as it is for one control (and what is inside it).
    static void exclude(QWidget *widget, bool excluded = true);

    explicit EnterAsTab(QWidget *window);
    ~EnterAsTab() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keepsEnter(QWidget *w) const;

    QPointer<QWidget> m_window;
};
