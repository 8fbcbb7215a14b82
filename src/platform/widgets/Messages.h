#pragma once
// Every message box and question of the program goes through here, so tests
// can script the answers: a handler installed by a test sees each box (title,
// text, icon, buttons, default) and returns the button it "pressed".

#include <QMessageBox>
#include <QString>

#include <functional>

struct MessageBoxRequest
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

namespace Messages {

using Handler = std::function<QMessageBox::StandardButton(const MessageBoxRequest &)>;

// Shows the box (or asks the installed handler) and returns the button chosen.
QMessageBox::StandardButton show(const MessageBoxRequest &request);

// The usual shapes.
void warning(const QString &title, const QString &text);     // exclamation icon, OK
void error(const QString &title, const QString &text);       // error icon, OK
void information(const QString &title, const QString &text); // information icon, OK
void plain(const QString &title, const QString &text);       // no icon, OK
// Yes/No question; No is the default unless yesIsDefault.
bool question(const QString &title, const QString &text, bool yesIsDefault = false);

// Tests: replace the real boxes; returns the previous handler.
Handler setHandler(Handler handler);

} // namespace Messages
