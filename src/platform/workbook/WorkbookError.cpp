#include "workbook/WorkbookError.h"

WorkbookError::WorkbookError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
{
}

WorkbookError WorkbookError::unreadable(const QString &fileName, const QString &reason)
{
    return {Kind::Unreadable,
            QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2.").arg(fileName, reason)};
}

WorkbookError WorkbookError::empty(const QString &fileName)
{
    return {Kind::Empty, QStringLiteral("O arquivo \"%1\" está vazio.").arg(fileName)};
}

WorkbookError WorkbookError::notWorkbook(const QString &fileName, const QString &detail)
{
    QString text = QStringLiteral("O arquivo \"%1\" não é uma planilha que o programa leia "
                                  "(xlsx, xls, ods ou csv)")
                       .arg(fileName);
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    return {Kind::NotWorkbook, text + QLatin1Char('.')};
}

WorkbookError WorkbookError::damaged(const QString &fileName)
{
    return {Kind::Damaged,
            QStringLiteral("A planilha \"%1\" está danificada ou incompleta e não pode ser lida.")
                .arg(fileName)};
}

WorkbookError WorkbookError::encrypted(const QString &fileName)
{
    return {Kind::Encrypted,
            QStringLiteral("A planilha \"%1\" está protegida por senha. Abra-a na planilha "
                           "eletrônica, retire a senha, salve e leia de novo.")
                .arg(fileName)};
}

WorkbookError WorkbookError::noWorksheet(const QString &fileName)
{
    return {Kind::NoWorksheet,
            QStringLiteral("A pasta de trabalho \"%1\" não tem nenhuma planilha de dados.")
                .arg(fileName)};
}

WorkbookError WorkbookError::errorValue(const QString &cellName, const QString &errorText)
{
    return {Kind::ErrorValue,
            QStringLiteral("Célula %1: valor de erro %2").arg(cellName, errorText)};
}

WorkbookError WorkbookError::tooLarge(const QString &fileName)
{
    return {Kind::TooLarge,
            QStringLiteral("A planilha \"%1\" é grande demais para ser lida.").arg(fileName)};
}
