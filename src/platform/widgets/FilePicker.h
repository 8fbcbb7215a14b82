#pragma once
// Choosing a file to open or a name to save under goes through here, so tests
// can answer instead of the system's file dialog.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct FilePickerRequest
{
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString caption;
    QString filter;    // Qt style: "Planilhas (*.xls *.xlsx);;Todos (*)"
    QString suggested; // starting folder or file name
};

namespace FilePicker {

// The chosen path; empty when the person cancelled.
using Handler = std::function<QString(const FilePickerRequest &)>;

QString openFile(QWidget *parent, const QString &caption, const QString &filter,
                 const QString &directory = {});
QString saveFile(QWidget *parent, const QString &caption, const QString &filter,
                 const QString &suggested = {});

// Tests: replace the dialogs; returns the previous handler.
Handler setHandler(Handler handler);

// Tests: answers the next requests in order from the list (an empty entry
// means "cancelled"); once the list is used up every further request is
// answered as cancelled. Each request is appended to *seen when given.
void setAnswers(const QStringList &answers, QList<FilePickerRequest> *seen = nullptr);

} // namespace FilePicker
