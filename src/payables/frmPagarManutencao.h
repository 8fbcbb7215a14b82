#pragma once
// "Manutenção de Contas a Pagar": the hub of the payables work. It owns the
// list of payables and the lookup lists the other payables screens work on
// while it is open, searches the list in many ways, edits and deletes
// payables, settles one with F3 (through the payables book) and opens every
// other screen and report. A pending edit is never dropped without asking:
// closing, another "Ordem de Apresentação", a search or "Atualizar" first
// ask whether to save it (PendingEdit).
//
// The screens it opens take values and give values back: the new-payable
// screen gets the lookup lists, the settlement screen the payable's key and
// what it shows; the hub follows them through their signals and re-reads
// its own lists and sets its own tool bars. What its report menus open
// stands in the menu-action registry (the reports register it).

#include "db/RecordSet.h"
#include "payables/FrmBaixarNovo.h"
#include "payables/PayablesLookups.h"
#include "registries/PickLists.h"

#include <QDialog>

#include <tuple>
#include <utility>

class BigToolBar;
class DataGrid;
class DateEdit;
class FieldBinder;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class UpperEdit;
class frmPagarNovo;

class frmPagarManutencao : public QDialog
{
    Q_OBJECT
public:
    explicit frmPagarManutencao(QWidget *parent = nullptr);
    ~frmPagarManutencao() override;

    // The items of "Ordem de Apresentação".
    enum Ordem { EmAberto = 0, Todas = 1, Quitados = 2, Negociacao = 3 };

    RecordSet *tbPagar() const { return m_tbPagar; }
    PayablesLookups *lookups() const { return m_lookups; }
    RecordSet *PagarTemp() const { return m_pagarTemp; }

    // The user shown in the tool area; F3 writes this name.
    void setUserName(const QString &name);
    QString userName() const;
    QLabel *userLabel() const { return m_userLabel; }
    UpperEdit *searchEdit() const { return m_search; }
    DateEdit *dataInicial() const { return m_dataI; }
    DateEdit *dataFinal() const { return m_dataF; }
    DataGrid *grid() const { return m_grid; }
    QTabWidget *pages() const { return m_pages; }
    QMenu *reportMenu() const { return m_reportMenu; }
    QMenuBar *menuBar() const { return m_menuBar; }
    BigToolBar *mainBar() const { return m_mainBar; }
    BigToolBar *registryBar() const { return m_registryBar; }
    BigToolBar *saveBar() const { return m_saveBar; }
    QPushButton *letterButton(QChar letter) const;
    Ordem ordem() const;
    void setOrdem(Ordem o);

    // Background of a list row that is not selected (invalid: painted normally).
    static QColor rowColor(const QDate &quitacao, const QDate &venc, const QString &negociacao,
                           const QDate &today);

    // The entries of the report menu, in order; hidden ones are in the menu but not shown.
    struct ReportEntry
    {
        QString caption; // empty: a separator
        bool hidden = false;
    };
    // What an entry opens stands in the menu-action registry under
    // MenuActions::PayablesReports and the entry's number (1-based; the
    // "&Relatorios" menu's entries are 101 and up).
    static const QList<ReportEntry> &reportEntries();

    // What the settlement screen is given for the current payable (no
    // current payable: an invalid key).
    FrmBaixarNovo::Payable settlementPayable() const;
    // Follows a settlement screen opened over this list: showing it and every
    // mode it runs leave the tool bars browsing; after a mode the list shows
    // what the server holds (the remainder alone after a partial settlement)
    // and the cost-centre list is narrowed to the payable's cost centre.
    void follow(FrmBaixarNovo *screen);
    // Follows a new-payable screen working on this screen's lookup lists:
    // the lists are opened when an entry starts, the list shows the
    // payables of the note after a generation, and "&Manutenção" opens a
    // further maintenance screen over it.
    void follow(frmPagarNovo *screen);

public slots:
    void ToolButton1Click(); // "Inclusão"
    void ToolButton6Click(); // "Excluir"
    void ToolButton2Click(); // "    Atualizar    "
    void ToolButton5Click(); // "Fechar"
    void ToolButton7Click(); // "Salvar"
    void ToolButton8Click(); // "   Cancelar    "
    void primeiro();
    void anterior();
    void proximo();
    void ultimo();
    void RadioGroupClick();     // "Ordem de Apresentação"
    void SpeedButton1Click();   // "&R.Social"
    void SpeedButton4Click();   // "Nº &Duplicata"
    void TSpeedButtonClick();   // "Por &Codigo"
    void SpeedButton5Click();   // "Por &Valor"
    void TSpeedButton13Click(); // "Cen&tral Custo"
    void SpeedButton9Click();   // "Data &Emissão"
    void SpeedButton10Click();  // "Data &Vencimento"
    void SpeedButton2Click();   // "Data Quitação"
    void letterClick(QChar letter);
    void BaixaAutomatica(); // F3
    void BaixaDuplicata();  // right-click "Baixa de Duplicata / Nota"
    void calculadora();
    // Puts the payable's payment code (typed line or PIX) on the clipboard,
    // for the clerk who pays it in the internet bank.
    void copiarCodigoBarras();
    void lookupFornecedor();
    void lookupFilial();
    void lookupDespesa();
    void lookupCusto();
    void lookupTipo();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    void buildMenus();
    QWidget *buildEditPage();
    QWidget *buildSearchArea();
    void setBrowsing(bool browsing);
    // "Salvar": validates and writes the edit; false leaves it pending.
    bool save();
    // Before the list is replaced or the screen closes under a pending edit:
    // "Deseja salvar as alterações?"; false when the clerk stays in the edit.
    bool resolvePendingEdit();
    void runList(const QString &sql, const QVariantMap &params = {});
    void textSearch(const QString &column, const QString &order, const QString &notFound,
                    const QString &empty);
    void periodSearch(const QString &column, bool consultChoice);
    void openEditLookup(PickLists::Member member, RecordSet *list);
    // Code and name of the branch list's current row (none: invalid values).
    std::pair<QVariant, QVariant> currentBranch() const;

    RecordSet *m_tbPagar;
    RecordSet *m_pagarTemp;
    PayablesLookups *m_lookups;
    FieldBinder *m_binder = nullptr;

    QMenuBar *m_menuBar = nullptr;
    QMenu *m_reportMenu = nullptr;
    BigToolBar *m_mainBar = nullptr;
    BigToolBar *m_registryBar = nullptr;
    BigToolBar *m_saveBar = nullptr;
    QLabel *m_userLabel = nullptr;
    QTabWidget *m_pages = nullptr;
    DataGrid *m_grid = nullptr;
    QLineEdit *m_obs01 = nullptr;
    QPlainTextEdit *m_obs = nullptr;
    UpperEdit *m_search = nullptr;
    QButtonGroup *m_ordem = nullptr;
    DateEdit *m_dataI = nullptr;
    DateEdit *m_dataF = nullptr;
    QList<QPushButton *> m_letters;
    bool m_shown = false;
    Ordem m_ordemShown = EmAberto; // the choice the list was last loaded with
};
