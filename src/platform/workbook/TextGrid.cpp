#include "workbook/TextGrid.h"

TextGrid::TextGrid(int rows, int columns)
    : m_rows(rows), m_columns(columns), m_cells(qsizetype(rows) * columns)
{
}

QString TextGrid::cell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= m_rows || column >= m_columns)
        return {};
    return m_cells.at(qsizetype(row) * m_columns + column);
}

QStringList TextGrid::row(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    return m_cells.mid(qsizetype(row) * m_columns, m_columns);
}

void TextGrid::setCell(int row, int column, const QString &text)
{
    if (row < 0 || column < 0 || row >= m_rows || column >= m_columns)
        return;
    m_cells[qsizetype(row) * m_columns + column] = text;
}
