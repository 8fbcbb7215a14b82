#include "widgets/WindowFit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace WindowFit {

void fit(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds is not part of size(); leave room.
    const QSize frameExtra = window->frameGeometry().size() - window->geometry().size();
    const QSize room = area.size() - frameExtra.expandedTo(QSize(0, 0));
    QSize wanted = window->size();
    if (!window->testAttribute(Qt::WA_Resized))
        wanted = window->sizeHint().expandedTo(window->minimumSizeHint());
    const QSize size = wanted.boundedTo(room);
    if (size != window->size())
        window->resize(size);
    // Centred, and never beyond an edge of the work area.
    const QSize outer = window->frameGeometry().size().isValid() && window->isVisible()
                            ? window->frameGeometry().size()
                            : size + frameExtra.expandedTo(QSize(0, 0));
    QPoint topLeft = area.center() - QPoint(outer.width() / 2, outer.height() / 2);
    topLeft.setX(
        qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() - outer.width() + 1)));
    topLeft.setY(
        qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() - outer.height() + 1)));
    window->move(topLeft);
}

QWidget *ownerForModeless()
{
    return QApplication::activeModalWidget();
}

void showModeless(QWidget *window)
{
    if (!window)
        return;
    if (QWidget *owner = ownerForModeless(); owner && window->parentWidget() != owner) {
        const Qt::WindowFlags flags = window->windowFlags() | Qt::Window;
        window->setParent(owner, flags);
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    fit(window);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace WindowFit
