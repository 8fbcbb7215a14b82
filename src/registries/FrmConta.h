#pragma once
// "Controle de Conta": the company's bank accounts (conta). Each account has
// its bank, agency and number, an opening date with a credit or a debit, and
// its classification (branch, payment type, cost centre, expense type).
//
// The eight account controls ("Banco" to "Debito R$") are locked except
// while a new account is entered ("Incluir"); "Alterar", or a choice in one
// of the three classification boxes, edits the classification only. Saving
// a new account writes the account and its opening movement in the ledger
// as one operation (registries/AccountOpening.h); saving a changed account
// writes the account alone, never a second opening movement. Before every
// save the user and the names the boxes show are copied into the account.
//
// The searches list the accounts whose agency, number or bank begins with
// the typed text (bound patterns). Before the list is replaced or the window
// closes with an edit pending, the clerk is asked whether to save. Deleting
// an account leaves its ledger rows alone.

#include <QDialog>
#include <QList>
#include <QString>

class BigToolBar;
class DataGrid;
class DateEdit;
class FieldBinder;
class LookupBinding;
class LookupCombo;
class MoneyEdit;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class RadioBinding;
class RecordSet;
class UpperEdit;

class FrmConta : public QDialog
{
    Q_OBJECT
public:
    explicit FrmConta(QWidget *parent = nullptr);
    ~FrmConta() override;

    // Creates the window, runs it modally and destroys it.
    static int run(QWidget *parent = nullptr);

    RecordSet *accounts() const { return m_contas; }
    RecordSet *branches() const { return m_filiais; }
    RecordSet *paymentTypes() const { return m_tipos; }
    RecordSet *costCentres() const { return m_gerenciais; }
    RecordSet *expenseTypes() const { return m_despesas; }

    BigToolBar *mainBar() const { return m_mainBar; }
    BigToolBar *navigationBar() const { return m_navBar; }
    BigToolBar *editBar() const { return m_editBar; }
    QTabWidget *pages() const { return m_pages; }
    DataGrid *grid() const { return m_grid; }
    UpperEdit *searchEdit() const { return m_search; }
    UpperEdit *bancoEdit() const { return m_banco; }
    QLineEdit *agenciaEdit() const { return m_agencia; }
    QLineEdit *contaEdit() const { return m_conta; }
    DateEdit *dataEdit() const { return m_data; }
    MoneyEdit *creditoEdit() const { return m_credito; }
    MoneyEdit *debitoEdit() const { return m_debito; }
    QRadioButton *creditoButton() const { return m_esCredito; }
    QRadioButton *debitoButton() const { return m_esDebito; }
    LookupCombo *filialBox() const { return m_filial; }
    LookupCombo *tipoBox() const { return m_tipo; }
    LookupCombo *gerencialBox() const { return m_gerencial; }
    LookupCombo *despesaBox() const { return m_despesa; }
    // Whether the eight account controls take input.
    bool accountControlsUnlocked() const { return m_unlocked; }

public slots:
    void incluir();
    void alterar();
    void excluir();
    void fechar();
    void salvar();
    void cancelar();
    void primeiro();
    void anterior();
    void proximo();
    void ultimo();
    void searchByAgencia(); // "&Agência"
    void searchByConta();   // "&Conta"
    void searchByBanco();   // "&Banco"

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    void setBrowsing();
    void setEditing();
    void lockAccount(bool locked);
    void beforePost();
    // Salvar's work; true when nothing is left pending.
    bool save();
    bool saveNewAccount();
    void search(const QString &column, const QString &emptyMessage);
    void goTo(void (RecordSet::*step)());

    RecordSet *m_contas;
    RecordSet *m_filiais;
    RecordSet *m_tipos;
    RecordSet *m_gerenciais;
    RecordSet *m_despesas;
    FieldBinder *m_binder = nullptr;
    RadioBinding *m_es = nullptr;
    LookupBinding *m_filialBinding = nullptr;
    LookupBinding *m_tipoBinding = nullptr;
    LookupBinding *m_gerencialBinding = nullptr;
    LookupBinding *m_despesaBinding = nullptr;

    BigToolBar *m_mainBar = nullptr;
    BigToolBar *m_navBar = nullptr;
    BigToolBar *m_editBar = nullptr;
    QTabWidget *m_pages = nullptr;
    DataGrid *m_grid = nullptr;
    UpperEdit *m_search = nullptr;
    UpperEdit *m_banco = nullptr;
    QLineEdit *m_agencia = nullptr;
    QLineEdit *m_conta = nullptr;
    DateEdit *m_data = nullptr;
    MoneyEdit *m_credito = nullptr;
    MoneyEdit *m_debito = nullptr;
    QRadioButton *m_esCredito = nullptr;
    QRadioButton *m_esDebito = nullptr;
    LookupCombo *m_filial = nullptr;
    LookupCombo *m_tipo = nullptr;
    LookupCombo *m_gerencial = nullptr;
    LookupCombo *m_despesa = nullptr;
    bool m_unlocked = false;
    bool m_shown = false;
};
