#include "widgets/Modal.h"

#include "widgets/WindowFit.h"

namespace Modal {

namespace {
Handler &currentHandler()
{
    static Handler h;
    return h;
}
} // namespace

int exec(QDialog *dialog)
{
    if (!dialog)
        return QDialog::Rejected;
    // A maximised window is fitted too: its normal size is what it shows
    // when the window manager does not maximise it, or once it is restored.
    WindowFit::fit(dialog);
    if (!currentHandler())
        return dialog->exec();
    // Copy: the handler may open further windows that install handlers of their own.
    const Handler handler = currentHandler();
    const int result = handler(dialog);
    if (dialog->isVisible())
        dialog->hide();
    dialog->setResult(result);
    return result;
}

Handler setHandler(Handler handler)
{
    Handler old = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return old;
}

} // namespace Modal
