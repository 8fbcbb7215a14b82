#include "widgets/PendingEdit.h"

#include "db/RecordSet.h"
#include "widgets/Messages.h"

namespace PendingEdit {

bool resolve(RecordSet *rows, const std::function<bool()> &save, const QString &title)
{
    if (!rows || !rows->isEditing())
        return true;
    MessageBoxRequest r;
    r.title = title;
    r.text = QStringLiteral("Deseja salvar as alterações?");
    r.icon = QMessageBox::Question;
    r.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    r.defaultButton = QMessageBox::Yes;
    switch (Messages::show(r)) {
    case QMessageBox::Yes:
        return save() && !rows->isEditing();
    case QMessageBox::No:
        rows->cancel();
        return true;
    default:
        return false;
    }
}

} // namespace PendingEdit
