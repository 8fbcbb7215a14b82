#include "workbook/GridBuilder.h"

#include "workbook/WorkbookError.h"

#include <algorithm>

void GridBuilder::checkExtent(qint64 lastRow, qint64 lastColumn) const
{
    if (lastRow >= MaxRows || lastColumn >= MaxColumns || lastRow < 0 || lastColumn < 0)
        throw WorkbookError::tooLarge(m_fileName);
    const qint64 rows = std::max<qint64>(m_rows, lastRow + 1);
    const qint64 columns = std::max<qint64>(m_columns, lastColumn + 1);
    if (rows * columns > MaxCells)
        throw WorkbookError::tooLarge(m_fileName);
}

void GridBuilder::add(int row, int column, const QString &text)
{
    if (text.isEmpty())
        return;
    if (row >= m_rows || column >= m_columns)
        checkExtent(row, column);
    m_rows = std::max(m_rows, row + 1);
    m_columns = std::max(m_columns, column + 1);
    m_cells.push_back({row, column, text});
}

TextGrid GridBuilder::take()
{
    TextGrid grid(m_rows, m_columns);
    for (Cell &c : m_cells)
        grid.setCell(c.row, c.column, c.text);
    m_cells.clear();
    m_rows = m_columns = 0;
    return grid;
}
