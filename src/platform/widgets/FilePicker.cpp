#include "widgets/FilePicker.h"

#include <QFileDialog>

#include <memory>

namespace FilePicker {

namespace {
Handler &currentHandler()
{
    static Handler h;
    return h;
}
} // namespace

QString openFile(QWidget *parent, const QString &caption, const QString &filter,
                 const QString &directory)
{
    if (currentHandler())
        return currentHandler()({FilePickerRequest::Kind::Open, caption, filter, directory});
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString saveFile(QWidget *parent, const QString &caption, const QString &filter,
                 const QString &suggested)
{
    if (currentHandler())
        return currentHandler()({FilePickerRequest::Kind::Save, caption, filter, suggested});
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

Handler setHandler(Handler handler)
{
    Handler old = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return old;
}

void setAnswers(const QStringList &answers, QList<FilePickerRequest> *seen)
{
    auto queue = std::make_shared<QStringList>(answers);
    setHandler([queue, seen](const FilePickerRequest &r) {
        if (seen)
            seen->append(r);
        return queue->isEmpty() ? QString() : queue->takeFirst();
    });
}

} // namespace FilePicker
