#pragma once
// The cells of one worksheet as texts, from A1 to the last used cell: row 0
// is sheet row 1 and column 0 is column A. Every row has columnCount()
// cells; an empty cell is an empty text, and so is any cell asked for
// outside the grid.

#include <QList>
#include <QString>
#include <QStringList>

class TextGrid
{
public:
    TextGrid() = default;
    TextGrid(int rows, int columns);

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    QString cell(int row, int column) const;
    QStringList row(int row) const;
    // Cells outside the grid are ignored.
    void setCell(int row, int column, const QString &text);

private:
    int m_rows = 0;
    int m_columns = 0;
    QList<QString> m_cells; // row by row
};
