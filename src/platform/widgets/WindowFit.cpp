#include "widgets/WindowFit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace WindowFit {

namespace {

QScreen *screenFor(QWidget *window)
{
    if (QWidget *parent = window->parentWidget())
        if (QScreen *s = parent->window()->screen())
            return s;
    if (QScreen *s = window->screen())
        return s;
    return QGuiApplication::primaryScreen();
}

// The frame the window system adds around the window; known only once the
// window exists on the screen (before that, a frameless window's is none
// and a framed one's is taken as none until the check after showing).
QSize frameExtra(QWidget *window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {0, 0};
    const QWindow *handle = window->windowHandle();
    if (!handle)
        return {0, 0};
    const QMargins m = handle->frameMargins();
    return {qMax(0, m.left() + m.right()), qMax(0, m.top() + m.bottom())};
}

QRect workArea(QWidget *window)
{
    QScreen *screen = screenFor(window);
    return screen ? screen->availableGeometry() : QRect();
}

void place(QWidget *window)
{
    const QRect area = workArea(window);
    if (area.isEmpty())
        return;
    // Resizing a window drops its maximised or full-screen state; the state
    // is given back once its normal geometry fits.
    const Qt::WindowStates state = window->windowState();
    const QSize extra = frameExtra(window);
    const QSize room = (area.size() - extra).expandedTo(QSize(1, 1));
    QSize wanted = window->size();
    if (!window->testAttribute(Qt::WA_Resized))
        wanted = window->sizeHint().expandedTo(window->minimumSizeHint());
    // A minimum (or fixed) size larger than the work area gives way: the
    // window must not reach beyond an edge of the screen.
    if (window->minimumWidth() > room.width())
        window->setMinimumWidth(room.width());
    if (window->minimumHeight() > room.height())
        window->setMinimumHeight(room.height());
    const QSize size = wanted.boundedTo(room).expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    // Centred, and never beyond an edge of the work area.
    const QSize outer = window->size() + extra;
    QPoint topLeft = area.center() - QPoint(outer.width() / 2, outer.height() / 2);
    topLeft.setX(
        qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() - outer.width() + 1)));
    topLeft.setY(
        qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() - outer.height() + 1)));
    window->move(topLeft);
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        window->setWindowState(state);
}

// Looks at a fitted window each time it is shown: a frame added by the
// window manager may make it reach beyond the work area after all.
class Watcher : public QObject
{
public:
    explicit Watcher(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QStringLiteral("windowFitWatcher"));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] {
                if (m_window && m_window->isVisible() &&
                    !workArea(m_window).contains(m_window->frameGeometry()))
                    place(m_window);
            });
        return false;
    }

private:
    QPointer<QWidget> m_window;
};

void watch(QWidget *window)
{
    if (!window->findChild<Watcher *>(QStringLiteral("windowFitWatcher"),
                                      Qt::FindDirectChildrenOnly))
        new Watcher(window);
}

// Makes owner the window-system owner of window, and hands window on to the
// next owner down the modal chain when owner goes.
void adopt(QWidget *window, QWindow *owner)
{
    QWindow *handle = window->windowHandle();
    if (!handle || !owner)
        return;
    handle->setTransientParent(owner);
    QObject::connect(owner, &QWindow::visibleChanged, window,
                     [window, owner = QPointer<QWindow>(owner)](bool visible) {
                         QWindow *h = window->windowHandle();
                         if (visible || !h || !owner || h->transientParent() != owner)
                             return;
                         QWindow *next = owner->transientParent();
                         if (QWidget *modal = QApplication::activeModalWidget();
                             modal && modal->windowHandle() && modal->windowHandle() != owner)
                             next = modal->windowHandle();
                         if (next)
                             adopt(window, next);
                         else
                             h->setTransientParent(nullptr);
                     });
}

} // namespace

void fit(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    place(window);
    watch(window);
}

void fill(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    const QRect area = workArea(window);
    if (area.isEmpty())
        return;
    window->resize((area.size() - frameExtra(window)).expandedTo(QSize(1, 1)));
    window->move(area.topLeft());
}

QWidget *ownerForModeless()
{
    return QApplication::activeModalWidget();
}

void showModeless(QWidget *window)
{
    if (!window)
        return;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::NonModal);
    if (QWidget *owner = ownerForModeless(); owner && owner != window && owner->windowHandle()) {
        window->winId(); // the window-system window, to give it its owner before it appears
        adopt(window, owner->windowHandle());
    }
    fit(window);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace WindowFit
