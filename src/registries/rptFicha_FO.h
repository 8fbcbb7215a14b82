#pragma once
// The supplier cards: one A4 portrait page per supplier (its only band is a
// detail band taller than half a page), with the supplier's code and name,
// address, telephones, kind, company or person number and notes, under a
// title. Suppliers in the order of the rows given (the data module's
// supplier table lists them by name). A table without suppliers still gives
// its one (empty) page.

#include "report/ReportDefinition.h"

#include <QString>

class QWidget;
class RecordSet;

class rptFicha_FO
{
public:
    // The title printed at the top of every card; the supplier window sets
    // the one of its menu entry.
    static inline const QString DesignTitle = QStringLiteral("Ficha de Fornecedores");
    static inline const QString ByNameTitle = QStringLiteral("Relatório Fornecedores por Nome");

    static Report::ReportDefinition definition(const QString &title = DesignTitle);
    // "Relatório" -> "Por Ordem Alfabética": opens the data module's supplier
    // table, previews the cards (modal, returns when the preview closes) and
    // closes the table again, also when the preview fails. Throws DbError.
    static void previewByName(QWidget *parent = nullptr);
};
