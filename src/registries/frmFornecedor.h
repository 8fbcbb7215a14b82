#pragma once
// "Cadastro de Fornecedor": the supplier registry. Lists, searches, creates,
// edits and deletes the rows of fornecedor; checks the CPF/CNPJ on "Salvar";
// fills the address from the postcode service; shows the invoices received
// from the supplier and their items (tab "Entrada", read only); prints the
// supplier cards.
//
// Opened modally by the payables screens (run()); while it lives it is the
// current supplier window (app/SupplierWindow.h), through which the
// consultation windows opened over it write into the supplier being edited.
//
// The supplier list stays closed until the first search or "Incluir". The
// four search buttons switch to "Listagem" and list the suppliers whose code,
// legal name, trade name or number begins with the typed text (bound LIKE
// patterns: "%" and "_" stay wildcards); they also start the invoice and item
// lists that follow the current supplier. The 26 letters list by name and
// leave the invoice lists as they are.
//
// Browsing shows the main and navigation tool bars; "Incluir", or a stored
// supplier entering edit mode (typing in any control, a choice in a box,
// Ctrl+A, a consultation), shows only the edit bar. "Salvar" checks the
// number (registries/CpfCnpj.h), then saves. Before any save the "Descrição do
// Tipo" and "Centro de Custo" boxes' texts are copied into Tipos and
// Gerencial, and the postcode is kept as its digits (the column holds 8).
//
// "Estado" and "Cidade" are chosen from the states and from the cities of
// the chosen state; they store Estado, and codigocidade with the city's name
// in Cidade.
//
// Postcode lookup (the picture beside "Cep"): 8 digits are asked of the
// postcode service of Admin.ini [WEB] CEP_URL; a found address fills
// Endereco, Bairro, Cidade, Estado and codigocidade (in upper case, as the
// edits write) and puts the supplier into edit mode. Not found, a malformed
// answer, a timeout or a network failure say so and change nothing; the
// window keeps painting and waits at most the configured timeouts.
//
// Before the list is replaced (a search, a letter, "Atualizar") or the
// window closes with an edit pending, the clerk is asked whether to save.

#include "app/SupplierWindow.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariant>

class BigToolBar;
class DataGrid;
class FieldBinder;
class LookupBinding;
class LookupCombo;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class RadioBinding;
class RecordSet;
class UpperEdit;

class frmFornecedor : public QDialog, public SupplierWindow
{
    Q_OBJECT
public:
    explicit frmFornecedor(QWidget *parent = nullptr);
    ~frmFornecedor() override;

    // Creates the window, runs it modally and destroys it.
    static int run(QWidget *parent = nullptr);

    // SupplierWindow.
    RecordSet *suppliers() const override { return tbFornecedor; }
    RecordSet *cities() const override { return myqryMyMunicipios; }
    void startEdit() override;
    void setEstado(const QString &sigla) override;
    bool setCidade(const QString &uf, const QString &name) override;
    bool setCodigoCidade(const QVariant &ibgeCode) override;

    RecordSet *invoices() const { return myqryNota; }
    RecordSet *items() const { return tbEntrada; }
    RecordSet *paymentTypes() const { return tbTipo; }
    RecordSet *costCentres() const { return tbGerencial; }
    RecordSet *states() const { return myqryMyUf; }

    BigToolBar *mainBar() const { return m_mainBar; }
    BigToolBar *navigationBar() const { return m_navBar; }
    BigToolBar *editBar() const { return m_editBar; }
    QTabWidget *pages() const { return m_pages; }
    DataGrid *listGrid() const { return m_grid; }
    DataGrid *invoiceGrid() const { return m_invoiceGrid; }
    DataGrid *itemGrid() const { return m_itemGrid; }
    UpperEdit *searchEdit() const { return m_search; }
    QPushButton *letterButton(QChar letter) const;
    QLineEdit *nomeEdit() const { return m_nome; }
    QLineEdit *cnpjEdit() const { return m_cnpj; }
    QLineEdit *cepEdit() const { return m_cep; }
    LookupCombo *estadoBox() const { return m_estado; }
    LookupCombo *cidadeBox() const { return m_cidade; }
    LookupCombo *tipoBox() const { return m_tipo; }
    LookupCombo *gerencialBox() const { return m_gerencial; }
    QPlainTextEdit *obsMemo() const { return m_obs; }
    QPlainTextEdit *cnaeMemo() const { return m_cnae; }
    QMenu *reportMenu() const { return m_reportMenu; }
    QToolButton *cepPicture() const { return m_cepPicture; }

public slots:
    void searchByCodigo();      // "&Codigo"
    void searchByRazaoSocial(); // "&Razão Social"
    void searchByFantasia();    // "&Nome Fantasia"
    void searchByCnpj();        // "Por Cnp&j"
    void letterClick(QChar letter);
    void incluir();   // "Incluir"
    void atualizar(); // "Atualizar"
    void excluir();   // "Excluir"
    void salvar();    // "Salvar"
    void cancelar();  // " Cancelar  "
    void fechar();    // "   Fechar   "
    void primeiro();
    void anterior();
    void proximo();
    void ultimo();
    void relatorioPorNome(); // "Relatório" -> "Por Ordem Alfabética"
    void consultaCep();      // the picture beside "Cep"
    // The two pictures of the consultations open their windows here.
    void consultaCpf();
    void consultaCnpj();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    QWidget *buildListPage();
    QWidget *buildDataPage();
    QWidget *buildEntryPage();
    QWidget *buildSearchArea();
    void buildShortcuts();
    void setBrowsing();
    void setEditing();
    // Before the rows are replaced or the window closes: asks about a pending
    // edit; false when the clerk stays in it.
    bool resolvePending();
    void search(const QString &column, const QString &order, const QString &emptyMessage);
    // Opens the supplier list and the lists its boxes read.
    void openSuppliers();
    void openLists();
    void linkDetails();
    // The copies that precede every save: the boxes' texts into Tipos and Gerencial.
    void beforePost();
    // Salvar's checks and save; true when nothing is left pending.
    bool save();
    // A save without the number check (Ctrl+S, moving while editing).
    bool quickSave();
    void followState();
    // The cities of the row's state in the "Cidade" box.
    void filterCities();
    // Moves the list (saving a pending edit first, without the number check).
    void goTo(void (RecordSet::*step)());

    RecordSet *tbFornecedor;
    RecordSet *tbTipo;
    RecordSet *tbGerencial;
    RecordSet *myqryNota;
    RecordSet *tbEntrada;
    RecordSet *myqryMyUf;
    RecordSet *myqryMyMunicipios;
    RecordSet *m_stateCities; // the "Cidade" box's list
    bool m_detailsLinked = false;

    FieldBinder *m_binder = nullptr;
    LookupBinding *m_estadoBinding = nullptr;
    LookupBinding *m_cidadeBinding = nullptr;
    LookupBinding *m_tipoBinding = nullptr;
    LookupBinding *m_gerencialBinding = nullptr;
    RadioBinding *m_contribuinte = nullptr;

    BigToolBar *m_mainBar = nullptr;
    BigToolBar *m_navBar = nullptr;
    BigToolBar *m_editBar = nullptr;
    QMenu *m_reportMenu = nullptr;
    QTabWidget *m_pages = nullptr;
    DataGrid *m_grid = nullptr;
    DataGrid *m_invoiceGrid = nullptr;
    DataGrid *m_itemGrid = nullptr;
    UpperEdit *m_search = nullptr;
    QList<QPushButton *> m_letters;
    QLineEdit *m_nome = nullptr;
    QLineEdit *m_cnpj = nullptr;
    QLineEdit *m_cep = nullptr;
    LookupCombo *m_estado = nullptr;
    LookupCombo *m_cidade = nullptr;
    LookupCombo *m_tipo = nullptr;
    LookupCombo *m_gerencial = nullptr;
    QPlainTextEdit *m_obs = nullptr;
    QPlainTextEdit *m_cnae = nullptr;
    QToolButton *m_cepPicture = nullptr;
    SupplierWindow *m_previousWindow = nullptr;
    bool m_cepWriting = false;
    bool m_shown = false;
};
