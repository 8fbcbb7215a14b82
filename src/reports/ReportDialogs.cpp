// The report dialogs: the period dialog frmGeral and the option dialogs,
// which are one window described by the table of members below.

#include "reports/ReportDialogs.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "db/RecordSet.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

using Reports::Selection;

namespace {

const QString kMaker =
    QStringLiteral("Quarvo Sistemas - Suporte: (11) 4002-8922 - suporte@quarvo.com.br");

// frmGeral

constexpr int kMargin = 8;
constexpr int kGap = 4;
constexpr int kWidth = 380;

} // namespace

frmGeral *frmGeral::instance()
{
    static QPointer<frmGeral> dialog;
    if (!dialog)
        dialog = new frmGeral;
    return dialog;
}

frmGeral::frmGeral(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmGeral"));
    setWindowTitle(QStringLiteral("Tecnologia e Informática - Formulario de Selecionar"));

    GRP1 = new QGroupBox(this);
    GRP1->setObjectName(QStringLiteral("GRP1"));
    auto *l1 = new QHBoxLayout(GRP1);
    l1->addWidget(new QLabel(QStringLiteral("Digite"), GRP1));
    Edit1 = new QLineEdit(GRP1);
    l1->addWidget(Edit1, 1);
    GRP1->resize(kWidth - 2 * kMargin, 50);

    GRP2 = new QGroupBox(this);
    GRP2->setObjectName(QStringLiteral("GRP2"));
    auto *l2 = new QHBoxLayout(GRP2);
    ComboBox1 = new QComboBox(GRP2);
    l2->addWidget(ComboBox1, 1);
    GRP2->resize(kWidth - 2 * kMargin, 50);

    GRP3 = new QGroupBox(this);
    GRP3->setObjectName(QStringLiteral("GRP3"));
    auto *l3 = new QGridLayout(GRP3);
    DataI = new DateEdit(GRP3);
    DataI->setObjectName(QStringLiteral("DataI"));
    DataF = new DateEdit(GRP3);
    DataF->setObjectName(QStringLiteral("DataF"));
    l3->addWidget(new QLabel(QStringLiteral("Data Inicial"), GRP3), 0, 0);
    l3->addWidget(new QLabel(QStringLiteral("Data Final"), GRP3), 0, 1);
    l3->addWidget(DataI, 1, 0);
    l3->addWidget(DataF, 1, 1);
    GRP3->resize(kWidth - 2 * kMargin, 70);

    GRP4 = new QGroupBox(this);
    GRP4->setObjectName(QStringLiteral("GRP4"));
    auto *l4 = new QHBoxLayout(GRP4);
    auto *box = new QDialogButtonBox(GRP4);
    BitBtn1 = box->addButton(QDialogButtonBox::Ok);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = box->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    l4->addWidget(box);
    GRP4->resize(kWidth - 2 * kMargin, 45);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    for (QGroupBox *g : {GRP1, GRP2, GRP3, GRP4})
        g->hide();
    // The layout's height leaves room for all four boxes.
    setFixedSize(kWidth, 2 * kMargin + GRP1->height() + GRP2->height() + GRP3->height() +
                             GRP4->height() + 3 * kGap);
}

void frmGeral::stack()
{
    int y = kMargin;
    for (QGroupBox *g : {GRP1, GRP2, GRP3, GRP4}) {
        if (g->isHidden())
            continue;
        g->move(kMargin, y);
        y += g->height() + kGap;
    }
}

bool frmGeral::runPeriod(const std::function<void(const QDate &, const QDate &)> &report)
{
    if (m_tag == 0) {
        m_tag = 1;
        DataI->setDate(Clock::today());
        DataF->setDate(Clock::today());
    }
    const int hidden = GRP1->height() + GRP2->height() + 2 * kGap;
    GRP3->show();
    GRP4->show();
    stack();
    setFixedHeight(height() - hidden);
    // The boxes go back as they were however the run ends, a failing report
    // included, so the next run finds the dialog as laid out.
    const auto restore = qScopeGuard([this, hidden] {
        GRP4->hide();
        GRP3->hide();
        setFixedHeight(height() + hidden);
    });
    const int result = Modal::exec(this);
    TrimWorkingSet();
    if (result != QDialog::Accepted)
        return false;
    report(DataI->date(), DataF->date());
    return true;
}

bool frmGeral::runReport(const QString &reportName)
{
    return instance()->runPeriod([&](const QDate &from, const QDate &to) {
        Reports::Params p;
        p.dataI = from;
        p.dataF = to;
        Reports::show(reportName, p);
    });
}

// Option dialogs

namespace {

enum class PickerStyle {
    List,  // drop-down list of the names
    Lookup // finds the name as it is typed; emptied once the report has run
};

struct Picker
{
    Selection selection;
    QString caption;
};

struct PageShape
{
    QString tab; // caption of the tab; empty in the dialogs of one page
    std::vector<Picker> pickers;
    QString report;
    QString okText;     // empty: the toolkit's standard caption
    QString cancelText; // empty: the toolkit's standard caption
};

struct Member
{
    QString name;
    QString caption;
    QSize size; // empty: as small as its contents
    QString panel;
    PickerStyle style = PickerStyle::List;
    std::vector<PageShape> pages;
    // Caption of the header line that names the branch chosen ("" for none).
    QString branchLine;
};

const Picker kFilial{Selection::Filial, QStringLiteral("Nome da Filial")};
const Picker kFornecedor{Selection::Fornecedor, QStringLiteral("Nome da Fornecedor")};
const Picker kGerencial{Selection::Gerencial, QStringLiteral("Conta Gerencial")};

const std::vector<Member> &memberTable()
{
    static const std::vector<Member> m{
        // The period alone matches no branch in RptPagarAberto, so the dialog
        // also asks for the branch and names it in the line below the title.
        {"OPFilialAberto",
         "Opção de Relatorio de Contas a Pagar em Aberto no Periodo",
         {},
         {},
         PickerStyle::List,
         {{{}, {kFilial}, "RptPagarAberto", {}, {}}},
         "Nome da Filial : "},
        {"OpFilialVenc",
         "Quarvo Sistemas" + kMaker.mid(QStringLiteral("Quarvo Sistemas").size()),
         {820, 330},
         "Relatorio de Contas a Pagar Por Filial,Fornecedor e Conta Gerencial em Aberto no "
         "Periodo",
         PickerStyle::List,
         {
             {"Fornecedor / Filial e Conta Gerencial",
              {kFilial, kFornecedor, kGerencial},
              "RptPagarFilialVenc",
              {},
              {}},
             {"Só Fornecedor", {kFornecedor}, "RptPagarFilialVenc01", {}, {}},
             {"Só Filial", {kFilial}, "RptPagarFilialVenc02", {}, {}},
             {"Só Conta Gerencial", {kGerencial}, "RptPagarGerencialVenc02", {}, {}},
             {"Só Filial/Fornecedor",
              {kFilial, kFornecedor},
              "RptPagarFilialFornecedor",
              "&OK",
              "&Cancelar"},
             {"Geral Detalhado das Oticas", {}, "RptPagarAberto01", {}, {}},
             {"Geral Todas as Oticas", {}, "RptPagarAbertoGeral", {}, {}},
         },
         {}},
        {"OPFilialAbertoQ",
         "Opção de Relatorio de Contas a Pagar Quitada no Periodo",
         {},
         {},
         PickerStyle::List,
         {{{}, {}, "RptPagarQuitado", {}, {}}},
         {}},
        {"OPPagarIndFornecedor",
         "Opção de Relatório Contas a Pagar Individual Por Fornecedor Quitado no Periodo",
         {650, 150},
         {},
         PickerStyle::Lookup,
         {{{},
           {{Selection::Fornecedor, "Descrição do Fornecedor"}},
           "RptPagarquitadoIndFornecedorQ",
           {},
           "Cancelar"}},
         {}},
        {"OPPagarIndFilialQuitado",
         "Opção de Relatório Sintetico Contas a Pagar Individual Por Filial e Data Quitado no "
         "Periodo",
         {650, 150},
         {},
         PickerStyle::Lookup,
         {{{},
           {{Selection::Filial, "Descrição do Filial"}},
           "RptPagarquitadoIndFilialQ",
           {},
           "Cancelar"}},
         {}},
    };
    return m;
}

struct ListSource
{
    QString sql;
    QString nameField;
    QString keyField;
};

ListSource listSource(Selection s)
{
    switch (s) {
    case Selection::Filial:
        return {"select codigofilial, nomefilial from filial order by nomefilial", "nomefilial",
                "codigofilial"};
    case Selection::Fornecedor:
        return {"select codigofornecedor, nome from fornecedor order by nome", "nome",
                "codigofornecedor"};
    case Selection::Gerencial:
        return {"select codigogerencial, gerencial from contagerencial order by gerencial",
                "gerencial", "codigogerencial"};
    }
    return {};
}

} // namespace

QStringList OptionDialog::members()
{
    QStringList n;
    for (const Member &m : memberTable())
        n << m.name;
    return n;
}

OptionDialog::OptionDialog(const QString &name, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    const auto &table = memberTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].name.compare(name, Qt::CaseInsensitive) == 0)
            m_member = int(i);
    if (m_member < 0)
        return;
    const Member &m = table[size_t(m_member)];
    setObjectName(m.name);
    setWindowTitle(m.caption);

    auto *outer = new QVBoxLayout(this);
    if (!m.panel.isEmpty()) {
        m_panel = new TitleBand(m.panel, this);
        m_panel->setFontPixelSize(14);
        m_panel->captionLabel()->setStyleSheet(QStringLiteral("font-weight: bold;"));
        m_panel->setCloseAction([this] { reject(); });
        outer->addWidget(m_panel);
    }
    const bool tabbed = m.pages.size() > 1;
    if (tabbed) {
        m_tabs = new QTabWidget(this);
        outer->addWidget(m_tabs, 1);
    }

    for (size_t p = 0; p < m.pages.size(); ++p) {
        const PageShape &ps = m.pages[p];
        QWidget *page = tabbed ? new QWidget(m_tabs) : new QWidget(this);
        auto *grid = new QGridLayout(page);
        PageWidgets w;
        int row = 0;
        for (const Picker &pk : ps.pickers) {
            auto *combo = new LookupCombo(page);
            combo->setObjectName(QStringLiteral("picker%1_%2").arg(p).arg(int(pk.selection)));
            combo->setMinimumWidth(280);
            grid->addWidget(new QLabel(pk.caption, page), row, 0);
            grid->addWidget(combo, row, 1, 1, 3);
            w.pickers.insert(pk.selection, combo);
            ++row;
        }
        w.dataI = new DateEdit(page);
        w.dataF = new DateEdit(page);
        w.dataI->setDate(Clock::today());
        w.dataF->setDate(Clock::today());
        grid->addWidget(new QLabel(QStringLiteral("Data Inicial"), page), row, 0);
        grid->addWidget(w.dataI, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("Data Final"), page), row, 2);
        grid->addWidget(w.dataF, row, 3);
        ++row;

        auto *box = new QDialogButtonBox(page);
        w.ok = box->addButton(QDialogButtonBox::Ok);
        w.cancel = box->addButton(QDialogButtonBox::Cancel);
        if (!ps.okText.isEmpty())
            w.ok->setText(ps.okText);
        if (!ps.cancelText.isEmpty())
            w.cancel->setText(ps.cancelText);
        w.ok->setDefault(true);
        w.ok->setAutoDefault(true);
        connect(w.ok, &QPushButton::clicked, this, [this, p] { ok(int(p)); });
        connect(w.cancel, &QPushButton::clicked, this, &QDialog::reject);
        grid->addWidget(box, row, 0, 1, 4);
        grid->setRowStretch(row + 1, 1);

        if (tabbed)
            m_tabs->addTab(page, ps.tab);
        else
            outer->addWidget(page);
        m_pages.push_back(w);
    }
    if (m_tabs) {
        m_tabs->setCurrentIndex(0);
        // Each page's OK is the default button while its page is shown.
        connect(m_tabs, &QTabWidget::currentChanged, this,
                [this](int i) { m_pages[size_t(i)].ok->setDefault(true); });
    }
    if (m.size.isValid())
        resize(m.size);
    else
        adjustSize();
    if (m_tabs) {
        // Every page's tab in sight: the dialog is as wide as its tabs need
        // where the screen holds that; on a narrower screen the tab bar
        // scrolls rather than push the dialog beyond the screen (WindowFit).
        m_tabs->setUsesScrollButtons(true);
        m_tabs->tabBar()->setElideMode(Qt::ElideNone);
        const QMargins margins = outer->contentsMargins();
        const int frame =
            2 * m_tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_tabs);
        const int need =
            m_tabs->tabBar()->sizeHint().width() + margins.left() + margins.right() + frame + 2;
        if (width() < need)
            resize(need, height());
    }
    openLists();
}

OptionDialog::~OptionDialog()
{
    closeLists();
}

void OptionDialog::openLists()
{
    for (PageWidgets &w : m_pages)
        for (auto it = w.pickers.begin(); it != w.pickers.end(); ++it) {
            const Selection sel = it.key();
            const ListSource ls = listSource(sel);
            RecordSet *rs = m_lists.value(sel);
            if (!rs) {
                rs = new RecordSet(DM::instance()->MyConnection1, ls.sql, this);
                rs->open();
                m_lists.insert(sel, rs);
            }
            LookupCombo *combo = it.value();
            combo->setRecordSet(rs, ls.nameField, ls.keyField);
            // Typing a name's first letters picks it in every list; the
            // lookup dialogs rely on nothing more.
            combo->setIncrementalSearch(true);
            // The list starts on its first name, the row a report would use
            // when nothing is picked, so the name printed is the one used.
            if (!rs->isEmpty())
                combo->setKeyValue(rs->valueAt(0, ls.keyField));
            connect(combo, &LookupCombo::keyChanged, this,
                    [this, sel, combo] { share(sel, combo); });
        }
}

void OptionDialog::closeLists()
{
    for (RecordSet *rs : std::as_const(m_lists))
        rs->close();
}

void OptionDialog::share(Selection selection, LookupCombo *from)
{
    for (PageWidgets &w : m_pages) {
        LookupCombo *other = w.pickers.value(selection);
        if (other && other != from && other->keyValue() != from->keyValue())
            other->setKeyValue(from->keyValue());
    }
}

LookupCombo *OptionDialog::picker(int page, Selection selection) const
{
    return m_pages.at(size_t(page)).pickers.value(selection);
}

QString OptionDialog::reportOf(int page) const
{
    return memberTable()[size_t(m_member)].pages.at(size_t(page)).report;
}

Reports::Params OptionDialog::params(int page) const
{
    const PageWidgets &w = m_pages.at(size_t(page));
    Reports::Params p;
    p.dataI = w.dataI->date();
    p.dataF = w.dataF->date();
    for (auto it = w.pickers.begin(); it != w.pickers.end(); ++it) {
        LookupCombo *combo = it.value();
        const QVariant key = combo->keyValue();
        const std::optional<double> code =
            key.isNull() ? std::nullopt : std::optional<double>(key.toDouble());
        const QString name = key.isNull() ? QString() : combo->currentText();
        switch (it.key()) {
        case Selection::Filial:
            p.filial = code;
            p.filialNome = name;
            break;
        case Selection::Fornecedor:
            p.fornecedor = code;
            p.fornecedorNome = name;
            break;
        case Selection::Gerencial:
            p.gerencial = code;
            p.gerencialNome = name;
            break;
        }
    }
    const Member &m = memberTable()[size_t(m_member)];
    if (!m.branchLine.isEmpty())
        p.extraLine = m.branchLine + p.filialNome;
    return p;
}

void OptionDialog::ok(int page)
{
    const QString report = reportOf(page);
    const Reports::Params p = params(page);
    // A failing query shows the database's message and leaves the dialog open.
    if (!Guarded([&] { Reports::show(report, p, this); }))
        return;
    if (memberTable()[size_t(m_member)].style == PickerStyle::Lookup)
        for (LookupCombo *combo : m_pages.at(size_t(page)).pickers)
            combo->setKeyValue(QVariant());
    accept();
}

void OptionDialog::done(int result)
{
    closeLists();
    QDialog::done(result);
}

int OptionDialog::run()
{
    for (RecordSet *rs : std::as_const(m_lists))
        if (!rs->isOpen())
            rs->open();
    const int result = Modal::exec(this);
    closeLists();
    return result;
}

int OptionDialog::runMember(const QString &name, QWidget *parent, bool trimAfter)
{
    int result = QDialog::Rejected;
    {
        std::unique_ptr<OptionDialog> dialog(new OptionDialog(name, parent));
        result = dialog->run();
    }
    if (trimAfter)
        TrimWorkingSet();
    return result;
}
