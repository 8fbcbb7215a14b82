#include "widgets/Messages.h"

#include <QAbstractButton>
#include <QApplication>

namespace Messages {

namespace {
Handler &currentHandler()
{
    static Handler h;
    return h;
}
} // namespace

QMessageBox::StandardButton show(const MessageBoxRequest &r)
{
    if (currentHandler())
        return currentHandler()(r);
    QMessageBox box(r.icon, r.title, r.text, r.buttons, QApplication::activeWindow());
    if (r.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(r.defaultButton);
    // Portuguese captions on the standard buttons.
    if (auto *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Sim"));
    if (auto *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&Não"));
    if (auto *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Cancelar"));
    return QMessageBox::StandardButton(box.exec());
}

void warning(const QString &title, const QString &text)
{
    show({title, text, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
}

void error(const QString &title, const QString &text)
{
    show({title, text, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
}

void information(const QString &title, const QString &text)
{
    show({title, text, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok});
}

void plain(const QString &title, const QString &text)
{
    show({title, text, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok});
}

bool question(const QString &title, const QString &text, bool yesIsDefault)
{
    return show({title, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                 yesIsDefault ? QMessageBox::Yes : QMessageBox::No}) == QMessageBox::Yes;
}

Handler setHandler(Handler handler)
{
    Handler old = currentHandler();
    currentHandler() = std::move(handler);
    return old;
}

} // namespace Messages
