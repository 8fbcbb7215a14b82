#pragma once
// The window of a ChartSpec: the caption and size it describes, its strip of
// labels and read-only fields across the top followed by "&Imprimir",
// "&Salvar" and "&Fechar", and the chart filling the rest. Run it modally
// (RunScreen) or embed nothing: screens that show a chart among their own
// controls use BarChart directly.

#include "charts/BarChart.h"
#include "charts/ChartSpec.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace Charts {

class ChartWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ChartWindow(const ChartSpec &spec, QWidget *parent = nullptr);

    BarChart *chart() const { return m_chart; }
    // A strip field or button by its object name; null when none.
    QLineEdit *field(const QString &objectName) const;
    QPushButton *button(const QString &objectName) const;
    QPushButton *closeButton() const { return m_close; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *saveButton() const { return m_save; }

private:
    BarChart *m_chart = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Charts
