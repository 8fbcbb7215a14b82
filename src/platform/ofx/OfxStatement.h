#pragma once
// One account's statement as an OFX file gives it: the account, each
// transaction with its date, signed amount (credits positive, debits
// negative) and identifying texts, and the closing (ledger) balance where
// the bank gives one. OFX gives no balance per transaction.

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

struct OfxAccount
{
    QString bankId;    // BANKID; empty for a credit card
    QString branchId;  // BRANCHID, when the bank gives it
    QString accountId; // ACCTID
    bool creditCard = false;
};

struct OfxTransaction
{
    QDate date; // the day the bank posted it (DTPOSTED), as the bank wrote it
    double amount = 0;
    QString type; // TRNTYPE: CREDIT, DEBIT, ...
    QString fitId;
    QString checkNumber;
    QString name;
    QString memo;

    // The memo, or the name when the memo is blank.
    QString history() const { return memo.trimmed().isEmpty() ? name : memo; }
    // The check number, or the FITID when there is none; empty when the
    // bank gave neither.
    QString document() const { return checkNumber.trimmed().isEmpty() ? fitId : checkNumber; }
};

struct OfxStatement
{
    OfxAccount account;
    QList<OfxTransaction> transactions;  // in the order of the file
    std::optional<double> ledgerBalance; // LEDGERBAL/BALAMT
    QDate balanceDate;                   // LEDGERBAL/DTASOF
};
