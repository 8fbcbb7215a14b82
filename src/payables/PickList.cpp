#include "payables/PickList.h"

#include "app/Globals.h"
#include "db/RecordSet.h"
#include "widgets/DataGrid.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace PickLists;

namespace {

QPushButton *flatButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFlat(true);
    b->setAutoDefault(false);
    return b;
}

QPushButton *panelButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    return b;
}

} // namespace

PickList::PickList(const MemberSpec &member, RecordSet *list, Target target, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_member(member),
      m_list(list), m_target(std::move(target)), m_ownerOrder(list ? list->order() : QString())
{
    const ListKind &kind = *member.list;
    setObjectName(member.objectName);
    setWindowTitle(kind.windowCaption);
    setModal(true);
    setFixedSize(kind.size);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    m_title = new TitleBand(kind.titleText, this);
    m_title->setCloseAction([this] { cancelPick(); });
    m_title->closePanel()->setVisible(kind.hasClose);
    layout->addWidget(m_title);

    auto *searchGroup = new QGroupBox(this);
    searchGroup->setObjectName(QStringLiteral("grpLocalizar"));
    auto *searchLayout = new QHBoxLayout(searchGroup);
    m_byCode = flatButton(kind.byCode.caption, QStringLiteral("btnCodigo"), searchGroup);
    m_byName = flatButton(kind.byName.caption, QStringLiteral("btnNome"), searchGroup);
    m_search = new UpperEdit(searchGroup);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    searchLayout->addWidget(m_byCode);
    searchLayout->addWidget(m_byName);
    searchLayout->addWidget(m_search, 1);
    auto *searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(8, 0, 8, 0);
    searchRow->addWidget(searchGroup);
    layout->addLayout(searchRow);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("grdLista"));
    m_grid->setColumns(kind.columns);
    m_grid->setRecordSet(list);
    auto *gridRow = new QHBoxLayout;
    gridRow->setContentsMargins(8, 0, 8, 0);
    gridRow->addWidget(m_grid);
    layout->addLayout(gridRow, 1);

    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("pnlBotoes"));
    bottom->setFrameShape(QFrame::StyledPanel);
    auto *bottomLayout = new QHBoxLayout(bottom);
    m_ok = panelButton(QStringLiteral("OK"), QStringLiteral("btnOk"), bottom);
    m_cancel = panelButton(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), bottom);
    bottomLayout->addStretch();
    bottomLayout->addWidget(m_ok);
    bottomLayout->addWidget(m_cancel);
    layout->addWidget(bottom);

    connect(m_byCode, &QPushButton::clicked, this, &PickList::searchByCode);
    connect(m_byName, &QPushButton::clicked, this, &PickList::searchByName);
    connect(m_ok, &QPushButton::clicked, this, &PickList::confirm);
    // A double click on a row picks it, as "OK" would.
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &PickList::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &PickList::cancelPick);

    EnterAsTab::install(this);
}

PickList::~PickList()
{
    if (m_list && m_list->order() != m_ownerOrder)
        m_list->setOrder(m_ownerOrder);
}

void PickList::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    if (m_member.focusSearchOnShow)
        m_search->setFocus();
}

void PickList::searchByCode()
{
    search(m_member.list->byCode);
}

void PickList::searchByName()
{
    search(m_member.list->byName);
}

void PickList::search(const Search &s)
{
    const QString typed = m_search->text();
    if (typed.isEmpty()) {
        Messages::warning(QStringLiteral("Atenção"), s.emptyMessage);
        m_search->setFocus();
        return;
    }
    if (!m_list)
        return;
    // The statement's ORDER BY decides the order while the dialog shows the
    // result; the owner's client-side order comes back when the dialog goes.
    m_list->setOrder(QString());
    m_list->setSql(searchSql(*m_member.list, s));
    m_list->setParam(QStringLiteral("pattern"), searchPattern(s, typed));
    try {
        m_list->open();
    } catch (const DbError &e) {
        m_list->close();
        Messages::error(AppTitle, e.message());
        m_search->setFocus();
        return;
    }
    if (m_list->isEmpty()) {
        Messages::warning(QStringLiteral("Atenção"), s.notFoundMessage);
        m_search->setFocus();
    }
}

void PickList::confirm()
{
    try {
        copyCurrentRow(m_member, m_list, m_target);
    } catch (const DbError &e) {
        Messages::error(AppTitle, e.message());
        return;
    }
    accept();
}

void PickList::cancelPick()
{
    reject();
}
