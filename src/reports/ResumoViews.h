#pragma once
// The three views of the filled `resumo`: one list row per cost centre,
// expense type or supplier with its debit and credit totals, and the grand
// totals of each view.
//
// A list is built by the control-break procedure: the rows of `resumo`
// whose key is not null, in the view's order, are summed while the key
// stays the same; each run of one key gives one list row, named from the
// key's registry (code 0 and no name when the registry has no row for it).
// The view's order is by name and then by key, the name of a key being the
// first of its names, so every key makes exactly one run even when two keys
// share a name (the registry's "DIVERSOS" beside the 99999 substitute) or a
// key was written under several names. The cost-centre list shows its rows
// in the reverse of that order, the other two in that order.

#include <QString>
#include <QVariant>

#include <vector>

class WorkTable;

namespace ResumoViews {

enum class View { CostCentre, ExpenseType, Supplier };

// One row of `resumo` as the control break reads it.
struct Entry
{
    QVariant key;
    double debito = 0;
    double credito = 0;
};

struct Group
{
    QVariant key;
    double debito = 0;
    double credito = 0;
};

// Sums each run of one key (keys compare by value; null amounts are 0).
std::vector<Group> controlBreak(const std::vector<Entry> &entries);

struct Row
{
    double codigo = 0;  // the registry's code, 0 when not found
    QString descricao;  // the registry's name
    double valor = 0;   // debit total
    double credito = 0; // credit total
};

struct Totals
{
    double debito = 0;
    double credito = 0;
    double diferenca() const { return credito - debito; }
};

// The view's list, read from the table (which must hold the last fill).
std::vector<Row> list(const WorkTable &resumo, View view);
// The grand totals the view shows under its list.
Totals totals(const WorkTable &resumo, View view);

} // namespace ResumoViews
