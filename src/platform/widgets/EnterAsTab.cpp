#include "widgets/EnterAsTab.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
const char *const kExcluded = "enterAsTabExcluded";
}

EnterAsTab *EnterAsTab::install(QWidget *window)
{
    return new EnterAsTab(window);
}

void EnterAsTab::exclude(QWidget *widget, bool excluded)
{
    if (widget)
        widget->setProperty(kExcluded, excluded);
}

EnterAsTab::EnterAsTab(QWidget *window) : QObject(window), m_window(window)
{
    // Key events go to the focused control first, so the window alone would
    // see Enter too late (a line edit passes it on to the dialog, which
    // presses its default button). Watching at the application and keeping
    // to this window's controls sees it first.
    qApp->installEventFilter(this);
}

EnterAsTab::~EnterAsTab()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool EnterAsTab::keepsEnter(QWidget *w) const
{
    for (QWidget *p = w; p; p = p->parentWidget()) {
        if (p->property(kExcluded).toBool())
            return true;
        if (auto *t = qobject_cast<QPlainTextEdit *>(p); t && !t->isReadOnly())
            return true;
        if (auto *t = qobject_cast<QTextEdit *>(p); t && !t->isReadOnly())
            return true;
        if (qobject_cast<QAbstractItemView *>(p))
            return true;
        if (p == m_window)
            break;
    }
    return false;
}

bool EnterAsTab::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !m_window ||
        !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w->window() != m_window || keepsEnter(w))
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so no shortcut on Enter takes it; the press comes next.
        key->accept();
        return true;
    }
    const bool back = key->modifiers() & Qt::ShiftModifier;
    // A Tab sent to the control moves the focus exactly as the Tab key does.
    QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                  back ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(w, &tab);
    return true;
}
