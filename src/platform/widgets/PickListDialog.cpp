#include "widgets/PickListDialog.h"

#include "db/LikePattern.h"
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
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace Pick {

namespace {

// Codes are copied as numbers: 0 for nothing, whole numbers as int.
QVariant codeValue(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return QVariant(0);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        return QVariant(0);
    if (d == std::floor(d) && d >= std::numeric_limits<int>::min() &&
        d <= std::numeric_limits<int>::max())
        return QVariant(int(d));
    return QVariant(d);
}

QVariant textValue(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return QVariant(QStringLiteral(""));
    return QVariant(v.toString());
}

} // namespace

QString searchSql(const ListKind &list, const Search &search)
{
    return QStringLiteral("SELECT * FROM ") + list.table + QStringLiteral(" WHERE ") +
           search.column + QStringLiteral(" LIKE(:pattern) ORDER BY ") + search.order;
}

QString searchPattern(const Search &search, const QString &typed)
{
    return search.match == Match::Prefix ? LikePattern::prefix(typed) : LikePattern::exact(typed);
}

bool targetFits(const Spec &spec, const Target &target)
{
    if (spec.targetKind == TargetKind::Record) {
        RecordSet *const *rs = std::get_if<RecordSet *>(&target);
        return rs && *rs;
    }
    const EntrySink *sink = std::get_if<EntrySink>(&target);
    return sink && *sink;
}

void copyCurrentRow(const Spec &spec, const RecordSet *list, const Target &target)
{
    // Everything is read before anything is written, so a missing column
    // leaves the target untouched.
    const bool hasRow = list && list->isOpen() && list->recNo() >= 0;
    QList<std::pair<QString, QVariant>> values;
    for (const FieldCopy &c : spec.copies) {
        const QVariant v = hasRow ? list->value(c.source) : QVariant();
        values.append({c.target, c.kind == FieldCopy::Code ? codeValue(v) : textValue(v)});
    }
    if (RecordSet *const *rs = std::get_if<RecordSet *>(&target)) {
        RecordSet *record = *rs;
        if (!record)
            return;
        if (!record->isEditing())
            record->edit();
        for (const auto &[name, value] : values)
            record->setValue(name, value);
    } else if (const EntrySink *sink = std::get_if<EntrySink>(&target)) {
        if (!*sink)
            return;
        for (const auto &[name, value] : values)
            (*sink)(name, value);
    }
}

} // namespace Pick

using namespace Pick;

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

PickListDialog::PickListDialog(const Spec &spec, RecordSet *list, Target target, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_spec(spec),
      m_list(list), m_target(std::move(target)), m_ownerOrder(list ? list->order() : QString())
{
    const ListKind &kind = *spec.list;
    setObjectName(spec.objectName);
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

    connect(m_byCode, &QPushButton::clicked, this, &PickListDialog::searchByCode);
    connect(m_byName, &QPushButton::clicked, this, &PickListDialog::searchByName);
    connect(m_ok, &QPushButton::clicked, this, &PickListDialog::confirm);
    // A double click on a row picks it, as "OK" would.
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &PickListDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &PickListDialog::cancelPick);

    EnterAsTab::install(this);
}

PickListDialog::~PickListDialog()
{
    if (m_list && m_list->order() != m_ownerOrder)
        m_list->setOrder(m_ownerOrder);
}

void PickListDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_spec.focusSearchOnShow)
        m_search->setFocus();
}

void PickListDialog::searchByCode()
{
    search(m_spec.list->byCode);
}

void PickListDialog::searchByName()
{
    search(m_spec.list->byName);
}

void PickListDialog::search(const Search &s)
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
    m_list->setSql(searchSql(*m_spec.list, s));
    m_list->setParam(QStringLiteral("pattern"), searchPattern(s, typed));
    try {
        m_list->open();
    } catch (const DbError &e) {
        m_list->close();
        Messages::error(QGuiApplication::applicationDisplayName(), e.message());
        m_search->setFocus();
        return;
    }
    if (m_list->isEmpty()) {
        Messages::warning(QStringLiteral("Atenção"), s.notFoundMessage);
        m_search->setFocus();
    }
}

void PickListDialog::confirm()
{
    try {
        copyCurrentRow(m_spec, m_list, m_target);
    } catch (const DbError &e) {
        Messages::error(QGuiApplication::applicationDisplayName(), e.message());
        return;
    }
    accept();
}

void PickListDialog::cancelPick()
{
    reject();
}
