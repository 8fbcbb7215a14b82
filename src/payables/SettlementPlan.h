#pragma once
// What a settlement of one payable writes, worked out before anything is
// written: a pure function of the payable as read (locked, inside the
// operation) and of what the clerk chose. PayablesBook::settle() reads the
// payable and carries the plan out; tests check plans without a database.
//
// Four ways of settling, one plan each:
//   Full  F3 on the maintenance list: on today's date, for the instalment's
//         value, optionally booked in cash.
//   Cash  "Baixa Cai&xa" of the settlement screen: the value paid, on the
//         date typed, optionally booked in cash and handed to the cash program.
//   Bank  "Baixar P/Banco": a debit on the interest pseudo-account of the
//         checking-account ledger instead of the cash rows.
//   Dpc   "Baixar &Dpc": the payable closed with the value paid; what is left
//         (or paid above the value) becomes a new open payable of the note.
//
// Every plan but Dpc replaces the work copy in `pagartemp`; every plan
// settles the payable in place (its Valor and total keep their values).

#include "books/CashBook.h"
#include "books/LedgerBook.h"
#include "db/RowWriter.h"
#include "payables/PayableRow.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

enum class SettlementMode { Full, Cash, Bank, Dpc };

// What the clerk chose, and who and where.
struct SettlementRequest
{
    QVariant key; // the payable's Controle
    SettlementMode mode = SettlementMode::Cash;
    QDate date;                // settlement date (F3: today)
    double valorPago = 0;      // value paid (Full pays the instalment's own value)
    double valorDuplicata = 0; // value owed as the screen showed it (Dpc's remainder)
    bool toCash = false;       // "Deseja Enviar para o Caixa ?" answered Yes (not for Bank)
    QString user;              // the clerk's name, whole
    QString computer;          // the workstation's name
    QDateTime at;              // when: the time texts and the ledger's time of day
    // The current row of the maintenance screen's branch list: the branch of
    // the work row and of the ledger debit (and, for F3, of the cash rows).
    QVariant branchCode;
    QVariant branchName;
};

struct SettlementPlan
{
    // The payable is settled already: nothing is written.
    bool refused = false;
    // The work copy of the payable; `pagartemp` is emptied before it is written.
    std::optional<RowValues> workRow;
    // The payable's columns that change (UPDATE pagar WHERE Controle = key).
    RowValues settled;
    std::optional<LedgerMovement> ledgerDebit;
    // The cash-ledger row, and whether the hand-off row goes with it.
    std::optional<CashPayment> cash;
    bool handOff = false;
    // A new open payable of the same note (partial settlement).
    std::optional<RowValues> remainder;

    static SettlementPlan make(const PayableRow &payable, const SettlementRequest &request);
};
