#include "reports/ReportInput.h"

#include "db/RecordSet.h"
#include "reports/LookupEdit.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"

namespace ReportInput {

namespace {

const QString kAttention = QStringLiteral("Atenção");

bool dateOk(DateEdit *edit, const QString &caption)
{
    if (edit->isValidInput() && edit->date().isValid())
        return true;
    Messages::warning(kAttention, QStringLiteral("%1 inválida: informe dd/mm/aaaa.").arg(caption));
    edit->setFocus();
    return false;
}

} // namespace

bool period(DateEdit *from, DateEdit *to)
{
    return dateOk(from, QStringLiteral("Data Inicial")) && dateOk(to, QStringLiteral("Data Final"));
}

bool listCode(LookupEdit *edit, const QString &keyField, const QString &what,
              std::optional<double> *code)
{
    RecordSet *list = edit->recordSet();
    *code = std::nullopt;
    if (edit->text().trimmed().isEmpty()) {
        if (list && list->isOpen() && !list->isEmpty() && list->recNo() >= 0)
            *code = list->value(keyField).toDouble();
        return true;
    }
    const QVariant key = edit->locateKey();
    if (key.isNull()) {
        Messages::warning(
            kAttention, QStringLiteral("\"%1\" não está na lista de %2. Escolha um nome da lista.")
                            .arg(edit->text().trimmed(), what));
        edit->setFocus();
        return false;
    }
    *code = key.toDouble();
    return true;
}

} // namespace ReportInput
