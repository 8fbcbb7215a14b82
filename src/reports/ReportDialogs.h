#pragma once
// The dialogs that ask for a report's period and selection.
//
// frmGeral: the one period dialog kept for the whole run; the reports that
// only need a period go through it, and it shows the period last used.
//
// OptionDialog: the option dialogs of the open- and paid-payables reports
// (OPFilialAberto, OpFilialVenc, OPFilialAbertoQ, OPPagarIndFornecedor,
// OPPagarIndFilialQuitado), one window built from a description: its pages
// (tabs), the lists each page picks from, and the report each page's OK
// runs. The branch, supplier and cost-centre lists belong to the dialog and
// are shared by its pages, so a branch chosen on one page is chosen on all.

#include "reports/Reports.h"

#include <QDialog>
#include <QMap>

#include <functional>
#include <vector>

class DateEdit;
class LookupCombo;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class RecordSet;
class TitleBand;

class frmGeral : public QDialog
{
    Q_OBJECT
public:
    // Made on first use and kept until the program ends.
    static frmGeral *instance();

    // 0 until the first run has set the pickers to today.
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // The period protocol: today's date on the first run, the last period on
    // the later ones; the dialog shows only the period and the buttons while
    // it is open. report runs when the dialog closes with OK. Returns whether
    // it did.
    bool runPeriod(const std::function<void(const QDate &, const QDate &)> &report);
    // The same for one of the reports: runs it with the period chosen.
    static bool runReport(const QString &reportName);

    QGroupBox *GRP1 = nullptr;
    QGroupBox *GRP2 = nullptr;
    QGroupBox *GRP3 = nullptr;
    QGroupBox *GRP4 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // "Cancelar"

private:
    explicit frmGeral(QWidget *parent = nullptr);
    void stack(); // places the visible boxes one below the other

    int m_tag = 0;
};

class OptionDialog : public QDialog
{
    Q_OBJECT
public:
    // name: one of members(); the dialog opens its lists on creation.
    explicit OptionDialog(const QString &name, QWidget *parent = nullptr);
    ~OptionDialog() override;

    static QStringList members();

    // Shows the dialog modally and closes its lists afterwards.
    int run();
    // Creates the dialog, runs it, trims the memory if asked, destroys it.
    static int runMember(const QString &name, QWidget *parent, bool trimAfter = true);

    int pageCount() const { return int(m_pages.size()); }
    QTabWidget *tabs() const { return m_tabs; } // null in the dialogs of one page
    TitleBand *panel() const { return m_panel; }
    DateEdit *dataInicial(int page) const { return m_pages.at(size_t(page)).dataI; }
    DateEdit *dataFinal(int page) const { return m_pages.at(size_t(page)).dataF; }
    // The page's picker for a selection, null when the page has none.
    LookupCombo *picker(int page, Reports::Selection selection) const;
    QPushButton *okButton(int page) const { return m_pages.at(size_t(page)).ok; }
    QPushButton *cancelButton(int page) const { return m_pages.at(size_t(page)).cancel; }
    QString reportOf(int page) const;
    RecordSet *list(Reports::Selection selection) const { return m_lists.value(selection); }
    // What the page's OK would pass to its report.
    Reports::Params params(int page) const;

public slots:
    void ok(int page);

protected:
    void done(int result) override;

private:
    struct PageWidgets
    {
        DateEdit *dataI = nullptr;
        DateEdit *dataF = nullptr;
        QPushButton *ok = nullptr;
        QPushButton *cancel = nullptr;
        QMap<Reports::Selection, LookupCombo *> pickers;
    };
    void openLists();
    void closeLists();
    void share(Reports::Selection selection, LookupCombo *from);

    int m_member = -1;
    std::vector<PageWidgets> m_pages;
    QMap<Reports::Selection, RecordSet *> m_lists;
    QTabWidget *m_tabs = nullptr;
    TitleBand *m_panel = nullptr;
};
