#include "widgets/BusyNotice.h"

#include "widgets/WindowFit.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<QWidget> g_current;
}

BusyNotice::BusyNotice(const QString &text)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (g_current || !qobject_cast<QApplication *>(QCoreApplication::instance()) ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return;
    auto *frame = new QFrame(QApplication::activeModalWidget(),
                             Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    frame->setFrameShape(QFrame::Box);
    frame->setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(frame);
    auto *label = new QLabel(text, frame);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    layout->addWidget(label);
    frame->adjustSize();
    WindowFit::fit(frame);
    frame->show();
    // Painted now: the thread is about to wait.
    frame->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_window = frame;
    g_current = frame;
}

BusyNotice::~BusyNotice()
{
    QGuiApplication::restoreOverrideCursor();
    if (m_window) {
        delete m_window;
        g_current = nullptr;
    }
}

QWidget *BusyNotice::current()
{
    return g_current;
}
