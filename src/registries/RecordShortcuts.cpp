#include "registries/RecordShortcuts.h"

#include "app/Application.h"
#include "db/RecordSet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

RecordShortcuts::RecordShortcuts(QWidget *window) : QObject(window), m_window(window)
{
    // Keys reach the focused control first; watching at the application and
    // keeping to this window's controls sees them before it.
    qApp->installEventFilter(this);
}

RecordShortcuts::~RecordShortcuts()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void RecordShortcuts::add(int key, std::function<void()> action)
{
    m_actions.insert(key, std::move(action));
}

bool RecordShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !m_window ||
        !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                           Qt::ShiftModifier | Qt::MetaModifier);
    if (mods != Qt::ControlModifier)
        return false;
    const auto it = m_actions.constFind(key->key());
    if (it == m_actions.constEnd())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w->window() != m_window || !m_window->isVisible())
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so no control's own shortcut takes it; the press comes next.
        key->accept();
        return true;
    }
    if (key->isAutoRepeat())
        return true;
    const std::function<void()> action = it.value(); // the action may close the window
    Guarded([&] { action(); });
    return true;
}

void RecordShortcuts::addSteps(const std::function<void(RecordStep)> &goTo)
{
    add(Qt::Key_F1, [goTo] { goTo(&RecordSet::first); });
    add(Qt::Key_F2, [goTo] { goTo(&RecordSet::prior); });
    add(Qt::Key_F3, [goTo] { goTo(&RecordSet::next); });
    add(Qt::Key_F4, [goTo] { goTo(&RecordSet::last); });
}
