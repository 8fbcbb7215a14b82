#pragma once
// "Conta Corrente": the checking-account ledger, where the clerks keep the
// movements of the company's bank accounts (rows of contacorrente). It lists
// the movements, searches them by description, account, cheque or period,
// adds, changes and deletes them, picks the account through the account pick
// list, and opens the bank reports from its "Relatórios" menu (what each entry
// opens stands in the menu-action registry under MenuActions::LedgerReports).
//
// It is the current ledger window (app/LedgerWindow.h) while it exists: the
// account pick list and the statement import work on its record sets.
//
// Every post of a movement is completed first: `es` "E" for a credit
// ("CREDITO", or "ENTRADA" as the statement import books credits), "S"
// otherwise; `especie` "DINHEIRO"; `dataquitacao` and `datavencimento`
// today; `filial`, `gerencial`, `tipo` and `tipodespesa` the names shown in
// their boxes (an empty text when a box shows no choice); `fornecedor` the
// supplier's name when a supplier is chosen, otherwise the description as
// typed; `usuario` the current user. Nothing else is checked: a movement
// without account, date or amount is saved as entered.
//
// A change is never lost silently: before a search replaces the rows under a
// pending edit, or the window closes, the clerk is asked whether to save it;
// while an edit is pending the list cannot move to another row. A row changed
// by another workstation meanwhile is not overwritten: the save says so and
// shows the row as it now is.

#include "app/LedgerWindow.h"

#include <QDialog>

class BigToolBar;
class DataGrid;
class DateEdit;
class FieldBinder;
class LookupCombo;
class MoneyEdit;
class QAction;
class QButtonGroup;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class RecordSet;
class TitleBand;
class UpperEdit;

class FrmContaCorrente : public QDialog, public LedgerWindow
{
    Q_OBJECT
public:
    explicit FrmContaCorrente(QWidget *parent = nullptr);
    ~FrmContaCorrente() override;

    // The entries of "Relatórios", in order; entry n (from 1) runs
    // MenuActions::LedgerReports n.
    static QStringList reportCaptions();

    // LedgerWindow
    QWidget *ledgerWidget() override { return this; }
    RecordSet *movements() const override { return m_movements; }
    RecordSet *accounts() const override { return m_accounts; }
    Account currentAccount() const override;
    void rereadMovements() override;

    RecordSet *branches() const { return m_branches; }
    RecordSet *suppliers() const { return m_suppliers; }
    RecordSet *costCentres() const { return m_costCentres; }
    RecordSet *paymentTypes() const { return m_paymentTypes; }
    RecordSet *expenseTypes() const { return m_expenseTypes; }

    TitleBand *titleBand() const { return m_title; }
    BigToolBar *mainBar() const { return m_mainBar; }
    BigToolBar *navigationBar() const { return m_navBar; }
    BigToolBar *editBar() const { return m_editBar; }
    QMenu *reportMenu() const { return m_reportMenu; }
    QTabWidget *pages() const { return m_pages; }
    DataGrid *grid() const { return m_grid; }
    QPushButton *accountButton() const { return m_accountButton; }
    QLineEdit *bancoEdit() const { return m_banco; }
    QLineEdit *agenciaEdit() const { return m_agencia; }
    QLineEdit *contaEdit() const { return m_conta; }
    LookupCombo *filialBox() const { return m_filial; }
    LookupCombo *fornecedorBox() const { return m_fornecedor; }
    LookupCombo *gerencialBox() const { return m_gerencial; }
    LookupCombo *tipoBox() const { return m_tipo; }
    LookupCombo *despesaBox() const { return m_despesa; }
    DateEdit *dataEmissao() const { return m_dataEmissao; }
    UpperEdit *descricaoEdit() const { return m_descricao; }
    QRadioButton *creditoRadio() const;
    QRadioButton *debitoRadio() const;
    MoneyEdit *creditoEdit() const { return m_credito; }
    MoneyEdit *debitoEdit() const { return m_debito; }
    QPlainTextEdit *obsMemo() const { return m_obs; }
    UpperEdit *searchEdit() const { return m_search; }
    DateEdit *dataInicial() const { return m_dataI; }
    DateEdit *dataFinal() const { return m_dataF; }

    // The text a list cell shows (lookup columns show the registry's name).
    QString listText(int row, int column) const;

public slots:
    void Incluir();  // "&Incluir"
    void Alterar();  // "&Alterar"
    void Excluir();  // "&Excluir"
    void Fechar();   // "   Fechar   " and the red "X"
    bool Salvar();   // "&Salvar": true when nothing is left unsaved
    void Cancelar(); // "&Cancelar  "
    void Primeiro();
    void Anterior();
    void Proximo();
    void Ultimo();
    void escolherConta();   // the account button
    void buscaFornecedor(); // "&Fornecedor"
    void buscaConta();      // "&Conta"
    void buscaCheque();     // "C&heque"
    void buscaLancamento(); // "Data &Lançamento"

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    QWidget *buildToolArea();
    QWidget *buildAccountGroup();
    QWidget *buildDataPage();
    QWidget *buildSearchGroup();
    void buildReportMenu();
    void bindLookup(LookupCombo *box, RecordSet *list, const QString &listField,
                    const QString &keyField, const QString &field);
    void showLookups();
    void showKind();
    void chooseKind(int id);
    void setBrowsing(bool browsing);
    void placeBars();
    void openLists();
    void startEdit(bool append);
    void complete();
    void textSearch(const QString &column, const QString &emptyMessage);
    // Replaces the movements' query and runs it (after the pending edit is
    // settled); false when the clerk chose to stay in the edit.
    bool runMovements(const QString &sql, const QVariantMap &params);

    RecordSet *m_movements;
    RecordSet *m_accounts;
    RecordSet *m_branches;
    RecordSet *m_suppliers;
    RecordSet *m_costCentres;
    RecordSet *m_paymentTypes;
    RecordSet *m_expenseTypes;
    FieldBinder *m_binder = nullptr;

    TitleBand *m_title = nullptr;
    QWidget *m_tools = nullptr;
    BigToolBar *m_mainBar = nullptr;
    BigToolBar *m_navBar = nullptr;
    BigToolBar *m_editBar = nullptr;
    QMenu *m_reportMenu = nullptr;
    QPushButton *m_accountButton = nullptr;
    QLineEdit *m_banco = nullptr;
    QLineEdit *m_agencia = nullptr;
    QLineEdit *m_conta = nullptr;
    QTabWidget *m_pages = nullptr;
    DataGrid *m_grid = nullptr;
    LookupCombo *m_filial = nullptr;
    LookupCombo *m_fornecedor = nullptr;
    LookupCombo *m_gerencial = nullptr;
    LookupCombo *m_tipo = nullptr;
    LookupCombo *m_despesa = nullptr;
    DateEdit *m_dataEmissao = nullptr;
    UpperEdit *m_descricao = nullptr;
    QButtonGroup *m_kind = nullptr;
    MoneyEdit *m_credito = nullptr;
    MoneyEdit *m_debito = nullptr;
    QPlainTextEdit *m_obs = nullptr;
    UpperEdit *m_search = nullptr;
    DateEdit *m_dataI = nullptr;
    DateEdit *m_dataF = nullptr;
    QList<LookupCombo *> m_lookups;
    LookupCombo *m_writing = nullptr; // the box whose choice is being stored
    bool m_showing = false;
    bool m_shown = false;
};
