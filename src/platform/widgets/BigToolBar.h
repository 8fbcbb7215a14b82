#pragma once
// A tool bar of big buttons: picture above caption, hand cursor. A caption's
// "&" letter stays an Alt accelerator of its button, as on a push button.

#include <QIcon>
#include <QKeySequence>
#include <QToolBar>

#include <functional>

class QToolButton;

class BigToolBar : public QToolBar
{
    Q_OBJECT
public:
    explicit BigToolBar(QWidget *parent = nullptr);

    // Adds a button; the slot runs when it is clicked, its accelerator or its
    // shortcut is pressed.
    QAction *addButton(const QString &caption, const QIcon &icon = {},
                       const QKeySequence &shortcut = {}, std::function<void()> slot = {});
    template <typename Receiver, typename Method>
    QAction *addButton(const QString &caption, const QIcon &icon, const QKeySequence &shortcut,
                       Receiver *receiver, Method method)
    {
        QAction *a = addButton(caption, icon, shortcut);
        connect(a, &QAction::triggered, receiver, method);
        return a;
    }

    // The button that shows an action of this bar.
    QToolButton *button(QAction *action) const;

protected:
    void actionEvent(QActionEvent *event) override;
};
