#pragma once
// The record keys of the registry windows (Ctrl+I insert, Ctrl+A edit,
// Ctrl+S post, Ctrl+N cancel, Ctrl+E delete, Ctrl+F1..F4 first/prior/next/
// last, Ctrl+F close): the window sees them before any of its controls, so
// an edit's own Ctrl+A (select all) or a grid's keys never take them.
//
// Installed on one window; a key pressed in another window (a message box
// over it) is left alone. A database error of an action is shown in the
// standard error box.

#include "app/Application.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

class RecordShortcuts : public QObject
{
    Q_OBJECT
public:
    explicit RecordShortcuts(QWidget *window);
    ~RecordShortcuts() override;

    // key: a Qt::Key, always with Ctrl.
    void add(int key, std::function<void()> action);
    // Ctrl+F1..F4: goTo with the first, prior, next and last step.
    void addSteps(const std::function<void(RecordStep)> &goTo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QHash<int, std::function<void()>> m_actions;
};
