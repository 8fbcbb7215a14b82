#include "ofx/Ofx.h"

#include "ofx/OfxText.h"
#include "workbook/FileBytes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTimeZone>

#include <libofx/libofx.h>

namespace Ofx {

namespace {

struct Collector
{
    bool account = false;
    OfxAccount acc;
    QList<OfxTransaction> transactions;
    QList<bool> complete; // date and amount given, per transaction
    std::optional<double> balance;
    QDate balanceDate;
};

// libofx gives a date without a time of day as an instant around noon UTC,
// so the UTC date is the day the bank wrote (the text handed to libofx
// holds days only).
QDate dayOf(time_t t)
{
    return QDateTime::fromSecsSinceEpoch(qint64(t), QTimeZone::utc()).date();
}

QString text(const char *s, int valid)
{
    return valid ? QString::fromUtf8(s).trimmed() : QString();
}

int onAccount(const OfxAccountData data, void *user)
{
    auto *c = static_cast<Collector *>(user);
    c->account = true;
    c->acc.bankId = text(data.bank_id, data.bank_id_valid);
    c->acc.branchId = text(data.branch_id, data.branch_id_valid);
    c->acc.accountId = text(data.account_number, data.account_number_valid);
    return 0;
}

int onTransaction(const OfxTransactionData data, void *user)
{
    auto *c = static_cast<Collector *>(user);
    OfxTransaction t;
    if (data.date_posted_valid)
        t.date = dayOf(data.date_posted);
    t.amount = data.amount_valid ? data.amount : 0;
    t.fitId = text(data.fi_id, data.fi_id_valid);
    t.checkNumber = text(data.check_number, data.check_number_valid);
    t.name = text(data.name, data.name_valid);
    t.memo = text(data.memo, data.memo_valid);
    c->complete.append(data.date_posted_valid && data.amount_valid && t.date.isValid());
    c->transactions.append(t);
    return 0;
}

int onStatement(const OfxStatementData data, void *user)
{
    auto *c = static_cast<Collector *>(user);
    if (data.ledger_balance_valid) {
        c->balance = data.ledger_balance;
        if (data.ledger_balance_date_valid)
            c->balanceDate = dayOf(data.ledger_balance_date);
    }
    return 0;
}

QString transactionType(const QString &raw)
{
    return raw.trimmed().toUpper();
}

} // namespace

OfxStatement read(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    QByteArray bytes;
    QString reason;
    switch (FileBytes::read(path, MaxFileBytes, &bytes, &reason)) {
    case FileBytes::Failure::Unreadable:
        throw OfxError::unreadable(fileName, reason);
    case FileBytes::Failure::TooLarge:
        throw OfxError::tooLarge(fileName);
    case FileBytes::Failure::None:
        break;
    }
    if (bytes.isEmpty())
        throw OfxError::empty(fileName);

    const OfxText::Document doc = OfxText::parse(bytes);
    if (!doc.found)
        throw OfxError::notOfx(fileName);
    if (!doc.closed)
        throw OfxError::damaged(fileName);
    if (doc.statements.isEmpty())
        throw OfxError::noStatement(fileName, doc.statusMessage);

    OfxText::Statement all = doc.statements.first();
    for (qsizetype i = 1; i < doc.statements.size(); ++i) {
        const OfxText::Statement &s = doc.statements.at(i);
        if (s.creditCard != all.creditCard || s.bankId != all.bankId ||
            s.branchId != all.branchId || s.accountId != all.accountId)
            throw OfxError::severalAccounts(fileName);
        all.transactions += s.transactions;
        if (!s.balance.isEmpty()) {
            all.balance = s.balance;
            all.balanceDate = s.balanceDate;
        }
        all.end = s.end.isEmpty() ? all.end : s.end;
    }

    // What libofx must find again: each line's day and amount as the bank
    // wrote them. A line without them is refused here, and a line libofx
    // reads otherwise means the file was not understood.
    QList<QDate> days;
    QList<double> amounts;
    for (int i = 0; i < all.transactions.size(); ++i) {
        const OfxText::Transaction &t = all.transactions.at(i);
        const QDate day = QDate::fromString(OfxText::dayOf(t.posted), QStringLiteral("yyyyMMdd"));
        bool ok = false;
        const double amount = OfxText::plainAmount(t.amount).toDouble(&ok);
        if (!day.isValid() || !ok)
            throw OfxError::badTransaction(fileName, i + 1);
        days.append(day);
        amounts.append(amount);
    }
    const bool hasBalance = !all.balance.isEmpty();

    QTemporaryFile slice(QDir::tempPath() + QStringLiteral("/cp-ofx-XXXXXX.ofx"));
    if (!slice.open())
        throw OfxError::unreadable(fileName,
                                   QStringLiteral("sem espaço para o arquivo temporário"));
    const QByteArray slicePath = QFile::encodeName(slice.fileName());

    OfxStatement result;
    const int total = int(all.transactions.size());
    for (int first = 0; first == 0 || first < total; first += OfxText::SliceSize) {
        const QByteArray text = OfxText::restate(all, first, OfxText::SliceSize);
        if (!slice.resize(0) || !slice.seek(0) || slice.write(text) != text.size() ||
            !slice.flush())
            throw OfxError::unreadable(fileName,
                                       QStringLiteral("sem espaço para o arquivo temporário"));

        Collector c;
        LibofxContextPtr context = libofx_get_new_context();
        ofx_set_account_cb(context, onAccount, &c);
        ofx_set_transaction_cb(context, onTransaction, &c);
        ofx_set_statement_cb(context, onStatement, &c);
        libofx_proc_file(context, slicePath.constData(), OFX);
        libofx_free_context(context);

        const int expected = std::min(OfxText::SliceSize, total - first);
        if (!c.account || c.transactions.size() != std::max(expected, 0))
            throw OfxError::damaged(fileName);
        for (int i = 0; i < c.transactions.size(); ++i)
            if (!c.complete.at(i) || c.transactions.at(i).date != days.at(first + i) ||
                !qFuzzyCompare(1 + c.transactions.at(i).amount, 1 + amounts.at(first + i)))
                throw OfxError::damaged(fileName);
        for (int i = 0; i < c.transactions.size(); ++i)
            c.transactions[i].type = transactionType(all.transactions.at(first + i).type);
        if (first == 0) {
            result.account = c.acc;
            result.account.creditCard = all.creditCard;
        }
        result.transactions += c.transactions;
        if (c.balance && hasBalance) {
            result.ledgerBalance = c.balance;
            result.balanceDate = c.balanceDate;
        }
    }
    return result;
}

} // namespace Ofx
