#pragma once
// The fill of the annual movement: what was paid to each supplier in each
// month of a period, first one `resumo` row per payment, then one
// `resumoanual` row per supplier name and month with the month's total in
// the month's column (`01` ... `12`). Both tables are this workstation's own
// copies (PrivateTable): another workstation's fill changes nothing here.
//
// Contract:
// - periodProblem(): the month columns carry no year, so a period may touch
//   at most twelve calendar months; a longer one would add January of one
//   year into January of the next. It says why a period cannot be filled
//   ("" when it can). A first date after the last is a period without
//   payments, not an error.
// - run(): claims both tables (emptying them), writes one `resumo` row per
//   payable settled in the period whose totalpg is not zero (negative
//   amounts included), in settlement-date order, many rows per statement;
//   then the month rows. tick, when given, runs after each statement (the
//   screen keeps its animation moving). Raises DbError, the period's problem
//   included, before anything is claimed.
// - A month row carries the code, cost centre and name of the group's
//   lowest supplier code and cost-centre code; two suppliers of one name are
//   one row.
// - require(): raises Connection::privateCopyLostMessage() unless run() has
//   completed on the connection's current session (a reconnect drops the
//   copies); every report calls it before reading.
// - clearAnnual(): empties this workstation's `resumoanual` (the screen
//   closes); a copy already gone is left alone, never the shared table.

#include "db/Connection.h"
#include "db/PrivateTable.h"

#include <QDate>
#include <QString>

#include <functional>

class AnnualMovementFill
{
public:
    explicit AnnualMovementFill(Connection &connection);

    static QString periodProblem(const QDate &from, const QDate &to);

    // Returns the number of payments written to `resumo`.
    int run(const QDate &from, const QDate &to, const std::function<void()> &tick = {});
    bool valid() const;
    void require() const;
    void clearAnnual();

    Connection &connection() const { return m_conn; }

private:
    Connection &m_conn;
    PrivateTable m_resumo;
    PrivateTable m_anual;
    bool m_filled = false;
};
