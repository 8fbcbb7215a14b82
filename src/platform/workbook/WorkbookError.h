#pragma once
// The one error a workbook reading raises. Its message is Portuguese and
// complete, ready for the clerk (the caller shows it as it is); kind() lets
// the caller tell the reasons apart without parsing the text. A reading that
// raises gives no grid at all: nothing half read reaches the caller.

#include <QString>

#include <stdexcept>

class WorkbookError : public std::runtime_error
{
public:
    enum class Kind {
        Unreadable,  // the file cannot be opened (missing, no permission, a folder)
        Empty,       // zero bytes
        NotWorkbook, // some other kind of file, or text named like a workbook
        Damaged,     // a workbook whose container or XML is broken or cut short
        Encrypted,   // protected by a password
        NoWorksheet, // a workbook without any worksheet
        ErrorValue,  // a cell holds an error value (#N/D, #DIV/0!, ...)
        TooLarge,    // beyond what a spreadsheet can hold, or what we read
    };

    WorkbookError(Kind kind, const QString &message);

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }

    // The messages, in one place. fileName is the name without its folder.
    static WorkbookError unreadable(const QString &fileName, const QString &reason);
    static WorkbookError empty(const QString &fileName);
    static WorkbookError notWorkbook(const QString &fileName, const QString &detail = {});
    static WorkbookError damaged(const QString &fileName);
    static WorkbookError encrypted(const QString &fileName);
    static WorkbookError noWorksheet(const QString &fileName);
    // "Célula D7: valor de erro #N/D"
    static WorkbookError errorValue(const QString &cellName, const QString &errorText);
    static WorkbookError tooLarge(const QString &fileName);

private:
    Kind m_kind;
    QString m_message;
};
