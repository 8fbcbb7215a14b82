#pragma once
// Collects the cells of a sheet as a reader meets them, in any order, and
// makes the TextGrid from A1 to the last cell that holds a text: a cell
// whose text is empty (a blank, an empty string, formatting alone) does not
// widen the grid. A cell beyond what a spreadsheet holds (1,048,576 rows,
// 16,384 columns), or a grid of more cells than we keep in memory, raises
// WorkbookError::tooLarge rather than exhausting the machine.

#include "workbook/TextGrid.h"

#include <QString>

#include <vector>

class GridBuilder
{
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr qint64 MaxCells = 20'000'000;

    explicit GridBuilder(const QString &fileName) : m_fileName(fileName) {}

    // row and column count from 0; a later text for the same cell wins.
    void add(int row, int column, const QString &text);
    // Raises tooLarge when a reader is about to repeat a cell rows x columns
    // times beyond the limits (a repeated row in an OpenDocument sheet).
    void checkExtent(qint64 lastRow, qint64 lastColumn) const;
    TextGrid take();

private:
    struct Cell
    {
        int row;
        int column;
        QString text;
    };
    QString m_fileName;
    std::vector<Cell> m_cells;
    int m_rows = 0;
    int m_columns = 0;
};
