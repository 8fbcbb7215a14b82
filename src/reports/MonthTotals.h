#pragma once
// The fill of the month-totals work table `pagarmes`: the amounts (`valor`)
// of the payables settled in a period, summed per calendar month of the
// settlement, one row per month in the order of the months, labelled with
// the month's name and its own year ("DEZEMBRO/2023", then "JANEIRO/2024"
// across a year end). A month whose amounts add up to exactly zero, and a
// month without payments, get no row.
//
// The company screen takes every payable settled in the period; the
// branch-and-supplier screen only those of one branch and one supplier, and
// writes their codes and names into each row.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

class WorkTable;

namespace MonthTotals {

// "JANEIRO/" ... "DEZEMBRO/" followed by the year: "MARÇO/2024".
QString label(int year, int month);

struct Month
{
    int year = 0;
    int month = 0; // 1..12
    double total = 0;
};

// The months that get a row, in order (zero totals left out).
std::vector<Month> rows(std::vector<Month> sums);

struct Selection
{
    std::optional<double> filial;
    QString filialNome;
    std::optional<double> fornecedor;
    QString fornecedorNome;
};

// done of total months read.
using Progress = std::function<void(int done, int total)>;

// Claims the table and fills it for the period (an invalid date selects
// nothing) and, when given, one branch and supplier. Returns the rows written.
int fill(WorkTable &pagarmes, const QDate &from, const QDate &to,
         const std::optional<Selection> &selection = std::nullopt, const Progress &progress = {});

} // namespace MonthTotals
