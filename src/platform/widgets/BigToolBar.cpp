#include "widgets/BigToolBar.h"

#include <QActionEvent>
#include <QToolButton>

BigToolBar::BigToolBar(QWidget *parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(40, 40));
}

QAction *BigToolBar::addButton(const QString &caption, const QIcon &icon,
                               const QKeySequence &shortcut, std::function<void()> slot)
{
    auto *a = new QAction(icon, caption, this);
    // QAction strips "&" from the text a tool button shows; set it explicitly so
    // the button underlines the letter and takes the Alt accelerator.
    a->setIconText(caption);
    QString tip = caption;
    tip.remove(QLatin1Char('&'));
    a->setToolTip(tip.trimmed());
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (slot)
        connect(a, &QAction::triggered, this, [slot = std::move(slot)] { slot(); });
    addAction(a);
    return a;
}

QToolButton *BigToolBar::button(QAction *action) const
{
    return qobject_cast<QToolButton *>(widgetForAction(action));
}

void BigToolBar::actionEvent(QActionEvent *event)
{
    QToolBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded)
        if (QWidget *w = widgetForAction(event->action()))
            w->setCursor(Qt::PointingHandCursor);
}
