#pragma once
// The netting of what the business will receive against what it must pay:
// the open receivables and the open payables that fall due in a period,
// gathered into this workstation's own copy of `resumo02` (PrivateTable),
// and the verdict on the balance that closes the report.
//
// Contract:
// - run(): claims `resumo02` (emptying it) and writes one row per open
//   receivable due in the period (`receber`, DataVenc order; es "E", the
//   amount in Credito, the receivable's Controle as the document) and then
//   one per open payable due in the period (`pagar`, Controle order; es
//   "D", the amount in Debito, the payable's nota), renegotiated or not,
//   many rows per statement. started(total) runs once the two lists are
//   read, with their number of rows; step(done) after each statement.
//   Raises DbError.
// - require(): raises Connection::privateCopyLostMessage() unless run() has
//   completed on the connection's current session.
// - verdict(): money is summed in doubles, so totals equal in cents may
//   differ in the last bit (0,10 + 0,20 against 0,30); the two totals are
//   compared rounded to cents, and the balance is the difference of the
//   rounded totals.

#include "db/Connection.h"
#include "db/PrivateTable.h"

#include <QColor>
#include <QDate>
#include <QString>

#include <functional>

struct NettingVerdict
{
    enum class Kind { Free, Committed, Unstable };
    Kind kind = Kind::Unstable;
    double credit = 0;  // rounded to cents
    double debit = 0;   // rounded to cents
    double balance = 0; // credit - debit, rounded to cents
    QString text;       // the message and the balance ("#,##0.00")
    QColor colour;
};

class NettingFill
{
public:
    explicit NettingFill(Connection &connection);

    void run(const QDate &from, const QDate &to, const std::function<void(int total)> &started = {},
             const std::function<void(int done)> &step = {});
    bool valid() const;
    void require() const;

    static NettingVerdict verdict(double creditTotal, double debitTotal);

    Connection &connection() const { return m_conn; }

private:
    Connection &m_conn;
    PrivateTable m_table;
    bool m_filled = false;
};
