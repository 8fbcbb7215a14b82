#pragma once
// The current supplier window: while the supplier registry is open, the
// windows opened on top of it (the company-number and person-number
// consultations) write what they found into the supplier being edited
// there. The supplier window registers itself here for its lifetime; the
// consultations reach it only through this interface and the value below,
// never through the window's members.
//
// A consultation that found a company does, in this order:
//     SupplierWindow *w = CurrentSupplierWindow();   // null: no supplier window
//     w->startEdit();                                 // throws DbError, see below
//     w->suppliers()->setValue("Nome", ...);          // the columns it fills
//     w->setEstado("SP");
//     w->setCidade("SP", "SAO PAULO");
// and leaves the saving to the supplier window, whose edit tool bar is shown
// as soon as the row is being edited.

#include <QString>
#include <QVariant>

class RecordSet;

class SupplierWindow
{
public:
    virtual ~SupplierWindow() = default;

    // The supplier list and current supplier (the record set every control of
    // the window is bound to). Closed until a search or "Incluir".
    virtual RecordSet *suppliers() const = 0;
    // The cities of every state with their IBGE code (uf, codigo, nome).
    virtual RecordSet *cities() const = 0;

    // Puts the current supplier into edit mode (an insert stays an insert)
    // and shows the edit tool bar. Throws DbError when the list is closed or
    // empty: there is no supplier to write into.
    virtual void startEdit() = 0;
    // The "Estado" box: chooses the state (Sigla) and stores it in Estado;
    // the "Cidade" box then lists that state's cities. Starts the edit.
    virtual void setEstado(const QString &sigla) = 0;
    // The "Cidade" box: the first city of the state whose state and name
    // begin with uf and name (case and accents ignored) is chosen and stored
    // (codigocidade and Cidade). False, and nothing changes, when the cities
    // list holds no such city. Starts the edit when a city is found.
    virtual bool setCidade(const QString &uf, const QString &name) = 0;
    // The same by IBGE code; false when the code is not in the list.
    virtual bool setCodigoCidade(const QVariant &ibgeCode) = 0;
};

// The supplier window open now, or null.
SupplierWindow *CurrentSupplierWindow();
// Makes window the current one; returns the one it replaces.
SupplierWindow *SetCurrentSupplierWindow(SupplierWindow *window);
