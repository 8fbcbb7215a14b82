#pragma once
// The code-and-name registries that classify payables: branches (FrmFilial),
// cost centres (FrmGerencial) and expense types (FrmTipoDespesa). One window
// described by data: each member's Spec names its table and columns, the
// captions, the searches and their messages, the deletion question, the
// window frame and the column of pagar that refers to its rows.
//
// The list opens when the window is shown and closes with it. While the
// list is browsing it is read again every 5 seconds, so rows added, changed
// or deleted at other workstations appear by themselves; the re-read keeps
// the current row and never runs while a row is being edited or inserted
// (nor while a message box is open over the window). A re-read that fails
// says so once and stops until the next search.
//
// "Incluir" appends a row and shows only the edit bar; typing in the name of
// a stored row edits it without changing the bars (moving to another row
// saves it). "Salvar"/"  Cancelar  " end the edit. "&Por Codigo" finds the
// exact code, "Descrição" the names that begin with the text (an empty text
// lists every row and still says it is empty); the letters list the names
// that begin with them. Patterns are bound, "%" and "_" stay wildcards.
// Before the rows are replaced or the window closes with an edit pending,
// the clerk is asked whether to save. "Excluir" asks first and says how many
// payables refer to the row; Ctrl+E deletes at once.

#include <QColor>
#include <QDialog>
#include <QList>
#include <QSize>
#include <QString>

class BigToolBar;
class DataGrid;
class FieldBinder;
class QLineEdit;
class QPushButton;
class QTimer;
class RecordSet;
class TitleBand;
class UpperEdit;

class SimpleRegistryWindow : public QDialog
{
    Q_OBJECT
public:
    enum class Member { FrmFilial, FrmGerencial, FrmTipoDespesa };

    struct Spec
    {
        Member member;
        QString objectName;
        QString table;
        QString codeColumn;
        QString nameColumn;
        QString openSql;     // the list when the window is shown
        QString clientOrder; // kept on the client ("" keeps the statement's order)
        QString title;       // title band
        QString nameLabel;   // label above the name edit
        QString gridNameTitle;
        bool fixedFrame = false; // fixed single border (else resizable)
        QSize size;              // client area (fixed) or outer size (resizable)
        // "... LIKE(:pattern) ORDER BY ...": the searches, the pattern bound.
        QString codeSql;
        QString nameSql;
        QString codeNotFound;
        QString nameNotFound;
        QString nameEmpty;
        QString deleteQuestion;
        QString payablesColumn; // the column of pagar that holds the code
    };

    static const Spec &spec(Member member);
    static const QList<Spec> &members(); // in the order of Member

    explicit SimpleRegistryWindow(const Spec &spec, QWidget *parent = nullptr);
    ~SimpleRegistryWindow() override;

    // Creates the member's window, runs it modally and destroys it.
    static int run(Member member, QWidget *parent = nullptr);

    const Spec &windowSpec() const { return m_spec; }
    RecordSet *rows() const { return m_rows; }
    // Milliseconds between the re-reads (5000; tests make it shorter).
    void setRereadInterval(int ms);
    QTimer *rereadTimer() const { return m_timer; }

    TitleBand *titleBand() const { return m_title; }
    BigToolBar *mainBar() const { return m_mainBar; }
    BigToolBar *navigationBar() const { return m_navBar; }
    BigToolBar *editBar() const { return m_editBar; }
    QLineEdit *codeEdit() const { return m_code; }
    UpperEdit *nameEdit() const { return m_name; }
    DataGrid *grid() const { return m_grid; }
    UpperEdit *searchEdit() const { return m_search; }
    QPushButton *codeButton() const { return m_byCode; }
    QPushButton *nameButton() const { return m_byName; }
    QPushButton *letterButton(QChar letter) const;

public slots:
    void incluir();
    void excluir();
    void fechar();
    void salvar();
    void cancelar();
    void primeiro();
    void anterior();
    void proximo();
    void ultimo();
    void searchByCode(); // "&Por Codigo"
    void searchByName(); // "Descrição"
    void letterClick(QChar letter);
    // The 5-second re-read (run by the timer).
    void reread();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    void buildShortcuts();
    void setBrowsing();
    void setEditing();
    // Replaces the list by a search; false when the clerk kept the pending edit.
    bool replaceRows(const QString &sql, const QString &pattern);
    void goTo(void (RecordSet::*step)());

    const Spec &m_spec;
    RecordSet *m_rows;
    FieldBinder *m_binder = nullptr;
    QTimer *m_timer;

    TitleBand *m_title = nullptr;
    BigToolBar *m_mainBar = nullptr;
    BigToolBar *m_navBar = nullptr;
    BigToolBar *m_editBar = nullptr;
    QLineEdit *m_code = nullptr;
    UpperEdit *m_name = nullptr;
    DataGrid *m_grid = nullptr;
    UpperEdit *m_search = nullptr;
    QPushButton *m_byCode = nullptr;
    QPushButton *m_byName = nullptr;
    QList<QPushButton *> m_letters;
    bool m_shown = false;
};
