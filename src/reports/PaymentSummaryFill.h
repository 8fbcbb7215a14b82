#pragma once
// The two payment summaries that fill this workstation's own copy of
// `resumo` (PrivateTable):
//
// - openAndPaid(): for one cost centre or one supplier, the payables paid
//   in the period ("PAGAMENTO NO PERIODO": settlement date in the period)
//   and those still open that fall due in it ("ABERTO NO PERIODO"). Only
//   rows with negociacao "N" and a name that is not null. A payable due and
//   settled in the period is paid, so it is listed once, in the paid group.
//   The code is bound as a parameter; no code (a list without a current
//   row) matches nothing, and Tipo::None runs no pass: the report prints
//   empty in both cases.
// - payments(): every payable settled in the period whose totalpg is not
//   zero, renegotiated or not, one row each.
//
// Both claim `resumo` first (emptying it), write many rows per statement and
// raise DbError. require() raises Connection::privateCopyLostMessage()
// unless a fill has completed on the connection's current session; every
// report calls it before reading. tick, when given, runs after each
// statement.

#include "db/Connection.h"
#include "db/PrivateTable.h"

#include <QDate>

#include <functional>
#include <optional>

class PaymentSummaryFill
{
public:
    enum class Tipo { None, Gerencial, Fornecedor };

    explicit PaymentSummaryFill(Connection &connection);

    // Returns the rows written.
    int openAndPaid(Tipo tipo, std::optional<double> code, const QDate &from, const QDate &to,
                    const std::function<void()> &tick = {});
    int payments(const QDate &from, const QDate &to, const std::function<void()> &tick = {});

    bool valid() const;
    void require() const;

    Connection &connection() const { return m_conn; }

private:
    Connection &m_conn;
    PrivateTable m_resumo;
    bool m_filled = false;
};
