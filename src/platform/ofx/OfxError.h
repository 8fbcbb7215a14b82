#pragma once
// The one error an OFX statement reading raises: a complete Portuguese
// message for the clerk, and its kind for the caller. A reading that raises
// gives no statement at all.

#include <QString>

#include <stdexcept>

class OfxError : public std::runtime_error
{
public:
    enum class Kind {
        Unreadable,      // the file cannot be opened
        Empty,           // zero bytes
        NotOfx,          // no OFX document in it
        Damaged,         // cut short, or a transaction without date or amount
        NoStatement,     // an OFX reply without an account statement
        SeveralAccounts, // statements of more than one account
        TooLarge,
    };

    OfxError(Kind kind, const QString &message);

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }

    static OfxError unreadable(const QString &fileName, const QString &reason);
    static OfxError empty(const QString &fileName);
    static OfxError notOfx(const QString &fileName);
    static OfxError damaged(const QString &fileName);
    // number counts the file's transactions from 1.
    static OfxError badTransaction(const QString &fileName, int number);
    // bankMessage: what the bank wrote in the reply's status, if anything.
    static OfxError noStatement(const QString &fileName, const QString &bankMessage);
    static OfxError severalAccounts(const QString &fileName);
    static OfxError tooLarge(const QString &fileName);

private:
    Kind m_kind;
    QString m_message;
};
