#include "db/RecordSet.h"

#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace {

QString quoteIdent(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + n + QLatin1Char('`');
}

} // namespace

RecordSet::RecordSet(Connection *connection, QObject *parent) : QObject(parent), m_conn(connection)
{
}

RecordSet::RecordSet(Connection *connection, const QString &sql, QObject *parent)
    : QObject(parent), m_conn(connection)
{
    setSql(sql);
}

RecordSet::~RecordSet() = default;

void RecordSet::setSql(const QString &sql)
{
    if (isOpen())
        close();
    m_sql = sql;
    m_parsed = ParsedSql::parse(sql);
}

void RecordSet::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.toLower(), value);
}

QVariant RecordSet::param(const QString &name) const
{
    return m_params.value(name.toLower());
}

QString RecordSet::baseTable() const
{
    if (!m_baseTable.isEmpty())
        return m_baseTable;
    static const QRegularExpression re(QStringLiteral("\\bfrom\\s+`?([A-Za-z0-9_]+)`?"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(m_sql);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

QString RecordSet::keyField() const
{
    if (!m_keyField.isEmpty())
        return m_keyField;
    const QString table = baseTable();
    if (table.isEmpty())
        return {};
    for (const auto &c : m_conn->tableColumns(table))
        if (c.primaryKey)
            return c.name;
    return {};
}

void RecordSet::setFieldWidth(const QString &field, int width)
{
    m_widths.insert(field.toLower(), width);
    const int i = fieldIndex(field);
    if (i >= 0) {
        Column &c = m_cols[i];
        if (width > 0 && (c.width < 0 || width < c.width))
            c.width = width;
    }
}

void RecordSet::setOrder(const QString &order)
{
    m_order = order;
    if (isOpen()) {
        const int store = m_current >= 0 ? int(m_order_idx[m_current]) : -1;
        emit aboutToReset();
        applyOrder();
        int row = -1;
        if (store >= 0) {
            auto it = std::find(m_order_idx.begin(), m_order_idx.end(), uint32_t(store));
            row = int(it - m_order_idx.begin());
        }
        emit reset();
        setCurrent(row < 0 ? (isEmpty() ? -1 : 0) : row, true);
    }
}

void RecordSet::setMaster(RecordSet *master, const QStringList &masterFields,
                          const QStringList &detailParams)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterFields = masterFields;
    m_detailParams = detailParams;
    if (master) {
        connect(master, &RecordSet::currentRowChanged, this, &RecordSet::onMasterRowChanged);
        connect(master, &RecordSet::stateChanged, this, [this](State s) {
            if (s == State::Inactive)
                onMasterRowChanged();
        });
    }
}

void RecordSet::onMasterRowChanged()
{
    if (!m_master)
        return;
    bool changed = !isOpen();
    for (int i = 0; i < m_masterFields.size() && i < m_detailParams.size(); ++i) {
        const QVariant v = (m_master->isOpen() && m_master->recNo() >= 0)
                               ? m_master->value(m_masterFields[i])
                               : QVariant();
        const QString key = m_detailParams[i].toLower();
        const QVariant old = m_params.value(key);
        if (!m_params.contains(key) || old != v || old.isNull() != v.isNull())
            changed = true;
        setParam(m_detailParams[i], v);
    }
    if (changed && m_master->isOpen())
        open();
    else if (!m_master->isOpen() && isOpen())
        close();
}

QVariantList RecordSet::paramValues() const
{
    QVariantList values;
    for (const QString &n : m_parsed.names) {
        const QString key = n.toLower();
        if (!m_params.contains(key))
            throw DbError(QStringLiteral("Parâmetro '%1' sem valor").arg(n), {}, m_sql);
        values << m_params.value(key);
    }
    return values;
}

QHash<QString, int> RecordSet::baseWidths()
{
    QHash<QString, int> widths;
    const QString table = baseTable();
    if (!table.isEmpty()) {
        for (const auto &c : m_conn->tableColumns(table))
            widths.insert(c.name.toLower(), c.charLength);
    }
    return widths;
}

void RecordSet::loadColumns(const std::vector<SinkColumn> &columns,
                            const QHash<QString, int> &baseWidths)
{
    m_cols.clear();
    m_index.clear();
    m_cols.resize(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        Column &c = m_cols[i];
        c.name = columns[i].name;
        c.type = columns[i].type;
        switch (c.type.id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            c.kind = Kind::Int;
            break;
        case QMetaType::Bool:
            c.kind = Kind::Bool;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            c.kind = Kind::Double;
            break;
        case QMetaType::QDate:
            c.kind = Kind::Date;
            break;
        case QMetaType::QDateTime:
            c.kind = Kind::DateTime;
            break;
        case QMetaType::QTime:
            c.kind = Kind::Time;
            break;
        case QMetaType::QByteArray:
            c.kind = Kind::Bytes;
            break;
        default:
            c.kind = Kind::Text;
            break;
        }
        const QString lower = c.name.toLower();
        if (!m_index.contains(lower))
            m_index.insert(lower, int(i));
        auto bw = baseWidths.find(lower);
        c.inBase = bw != baseWidths.end();
        c.width = c.inBase ? bw.value() : -1;
        const int w = m_widths.value(lower, -1);
        if (w > 0 && (c.width < 0 || w < c.width))
            c.width = w;
    }
}

void RecordSet::appendRow(const SinkCell *cells)
{
    const size_t n = m_cols.size();
    for (size_t k = 0; k < n; ++k) {
        Column &c = m_cols[k];
        const SinkCell &v = cells[k];
        c.null.push_back(v.null ? 1 : 0);
        switch (c.kind) {
        case Kind::Double:
            c.d.push_back(v.null ? 0 : v.d);
            break;
        case Kind::Text:
        case Kind::Bytes:
            c.off.push_back(uint32_t(c.arena.size()));
            c.len.push_back(v.null ? 0 : v.size);
            if (!v.null && v.size > 0)
                c.arena.append(v.bytes, qsizetype(v.size));
            break;
        default:
            c.i.push_back(v.null ? 0 : v.i);
            break;
        }
    }
    ++m_storeRows;
}

size_t RecordSet::addStoreRow()
{
    for (Column &c : m_cols) {
        c.null.push_back(1);
        switch (c.kind) {
        case Kind::Double:
            c.d.push_back(0);
            break;
        case Kind::Text:
        case Kind::Bytes:
            c.off.push_back(0);
            c.len.push_back(0);
            break;
        default:
            c.i.push_back(0);
            break;
        }
    }
    return m_storeRows++;
}

void RecordSet::setCell(Column &c, size_t r, const QVariant &v)
{
    bool null = v.isNull() || !v.isValid();
    switch (c.kind) {
    case Kind::Int:
        if (!null)
            c.i[r] = v.toLongLong();
        break;
    case Kind::Bool:
        if (!null)
            c.i[r] = v.toBool() ? 1 : 0;
        break;
    case Kind::Double:
        if (!null)
            c.d[r] = v.toDouble();
        break;
    case Kind::Date: {
        const QDate d = v.toDate();
        null = null || !d.isValid();
        if (!null)
            c.i[r] = d.toJulianDay();
        break;
    }
    case Kind::DateTime: {
        const QDateTime d = v.toDateTime();
        null = null || !d.isValid();
        if (!null)
            c.i[r] = d.toMSecsSinceEpoch();
        break;
    }
    case Kind::Time: {
        const QTime t = v.toTime();
        null = null || !t.isValid();
        if (!null)
            c.i[r] = t.msecsSinceStartOfDay();
        break;
    }
    case Kind::Text:
    case Kind::Bytes:
        if (!null) {
            const QByteArray bytes = c.kind == Kind::Text ? v.toString().toUtf8() : v.toByteArray();
            c.off[r] = uint32_t(c.arena.size());
            c.len[r] = uint32_t(bytes.size());
            c.arena.append(bytes);
        }
        break;
    }
    c.null[r] = null ? 1 : 0;
}

QVariant RecordSet::cell(const Column &c, size_t r) const
{
    if (c.null[r])
        return QVariant();
    switch (c.kind) {
    case Kind::Int:
        if (c.type.id() == QMetaType::Int)
            return QVariant(int(c.i[r]));
        return QVariant(qlonglong(c.i[r]));
    case Kind::Bool:
        return QVariant(c.i[r] != 0);
    case Kind::Double:
        return QVariant(c.d[r]);
    case Kind::Date:
        return QVariant(QDate::fromJulianDay(c.i[r]));
    case Kind::DateTime:
        return QVariant(QDateTime::fromMSecsSinceEpoch(c.i[r]));
    case Kind::Time:
        return QVariant(QTime::fromMSecsSinceStartOfDay(int(c.i[r])));
    case Kind::Text:
        return QVariant(QString::fromUtf8(c.arena.constData() + c.off[r], qsizetype(c.len[r])));
    case Kind::Bytes:
        return QVariant(QByteArray(c.arena.constData() + c.off[r], qsizetype(c.len[r])));
    }
    return QVariant();
}

// Each row goes from the network into the columns as it arrives.
struct RecordSet::Filler final : RowSink
{
    Filler(RecordSet &rs, const QHash<QString, int> &widths) : rs(rs), widths(widths) {}
    void columns(const std::vector<SinkColumn> &columns) override
    {
        rs.m_storeRows = 0; // a read run again after a reconnect starts over
        rs.loadColumns(columns, widths);
    }
    void row(const SinkCell *cells) override { rs.appendRow(cells); }
    RecordSet &rs;
    const QHash<QString, int> &widths;
};

void RecordSet::clearRows()
{
    emit aboutToReset();
    m_buffer.clear();
    m_modified.clear();
    m_insertRow = -1;
    m_cols.clear();
    m_order_idx.clear();
    m_storeRows = 0;
    m_current = -1;
    m_state = State::Inactive;
}

void RecordSet::filled()
{
    for (Column &c : m_cols)
        c.arena.squeeze();
    m_order_idx.resize(m_storeRows);
    for (size_t i = 0; i < m_storeRows; ++i)
        m_order_idx[i] = uint32_t(i);
    applyOrder();
    m_state = State::Browse;
    m_bof = true;
    m_eof = m_order_idx.empty();
    // The current row is in place before views hear of the new rows.
    m_current = m_order_idx.empty() ? -1 : 0;
    emit reset();
    emit stateChanged(m_state);
    emit currentRowChanged(m_current);
}

void RecordSet::openRows(const QSqlRecord &columns, const QList<QVariantList> &rows)
{
    clearRows();
    std::vector<SinkColumn> described;
    for (int i = 0; i < columns.count(); ++i)
        described.push_back({columns.fieldName(i), columns.field(i).metaType()});
    loadColumns(described, {});
    const int cols = int(m_cols.size());
    for (const QVariantList &row : rows) {
        const size_t r = addStoreRow();
        for (int i = 0; i < cols && i < row.size(); ++i)
            setCell(m_cols[i], r, row[i]);
    }
    filled();
}

void RecordSet::applyOrder()
{
    if (m_order.trimmed().isEmpty())
        return;
    struct Key
    {
        int col;
        bool desc;
    };
    std::vector<Key> keys;
    for (const QString &part : m_order.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        const int col = fieldIndex(words.value(0));
        if (col < 0)
            continue;
        const bool desc =
            words.size() > 1 && words[1].compare(QStringLiteral("desc"), Qt::CaseInsensitive) == 0;
        keys.push_back({col, desc});
    }
    if (keys.empty())
        return;
    // Text keys are folded once, not at every comparison.
    std::vector<std::vector<QString>> folded(m_cols.size());
    for (const Key &k : keys) {
        const Column &c = m_cols[k.col];
        if (c.kind == Kind::Text && folded[k.col].empty()) {
            folded[k.col].resize(m_storeRows);
            for (size_t r = 0; r < m_storeRows; ++r)
                if (!c.null[r])
                    folded[k.col][r] =
                        QString::fromUtf8(c.arena.constData() + c.off[r], qsizetype(c.len[r]))
                            .toCaseFolded();
        }
    }
    auto cmp = [&](uint32_t a, uint32_t b) {
        for (const Key &k : keys) {
            const Column &c = m_cols[k.col];
            int r = 0;
            if (c.null[a] || c.null[b]) {
                r = int(!c.null[a]) - int(!c.null[b]);
            } else if (c.kind == Kind::Text) {
                r = folded[k.col][a].compare(folded[k.col][b]);
            } else if (c.kind == Kind::Double) {
                r = c.d[a] < c.d[b] ? -1 : (c.d[a] > c.d[b] ? 1 : 0);
            } else if (c.kind == Kind::Bytes) {
                r = QByteArray(c.arena.constData() + c.off[a], c.len[a])
                        .compare(QByteArray(c.arena.constData() + c.off[b], c.len[b]));
            } else {
                r = c.i[a] < c.i[b] ? -1 : (c.i[a] > c.i[b] ? 1 : 0);
            }
            if (r != 0)
                return k.desc ? r > 0 : r < 0;
        }
        return false;
    };
    std::stable_sort(m_order_idx.begin(), m_order_idx.end(), cmp);
}

void RecordSet::open()
{
    if (m_sql.isEmpty())
        throw DbError(QStringLiteral("Comando SQL não definido"));
    const QVariantList values = paramValues();
    clearRows();
    try {
        // The base table's columns are known before the rows start: while
        // they stream the session runs nothing else.
        const QHash<QString, int> widths = baseWidths();
        Filler filler(*this, widths);
        m_conn->stream(m_parsed.sql, values, filler);
    } catch (...) {
        m_cols.clear();
        m_index.clear();
        m_storeRows = 0;
        emit reset();
        throw;
    }
    filled();
}

void RecordSet::close()
{
    if (m_state == State::Inactive && m_cols.empty())
        return;
    emit aboutToReset();
    m_cols.clear();
    m_index.clear();
    m_order_idx.clear();
    m_storeRows = 0;
    m_buffer.clear();
    m_modified.clear();
    m_insertRow = -1;
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    emit reset();
    emit stateChanged(m_state);
}

void RecordSet::refresh()
{
    if (!isOpen()) {
        open();
        return;
    }
    if (isEditing())
        cancel();
    const QString key = keyField();
    const QVariant keyValue = (!key.isEmpty() && m_current >= 0) ? value(key) : QVariant();
    const int oldRow = m_current;
    open();
    if (!keyValue.isNull() && locate(key, keyValue))
        return;
    if (!isEmpty())
        moveTo(qBound(0, oldRow, recordCount() - 1));
}

void RecordSet::setCurrent(int row, bool force)
{
    if (row == m_current && !force)
        return;
    m_current = row;
    emit currentRowChanged(row);
}

void RecordSet::setState(State s)
{
    if (s == m_state)
        return;
    m_state = s;
    emit stateChanged(s);
}

void RecordSet::first()
{
    if (isEditing())
        post();
    m_bof = true;
    m_eof = isEmpty();
    setCurrent(isEmpty() ? -1 : 0);
}

void RecordSet::last()
{
    if (isEditing())
        post();
    m_eof = true;
    m_bof = isEmpty();
    setCurrent(recordCount() - 1);
}

void RecordSet::next()
{
    if (isEditing())
        post();
    if (m_current < recordCount() - 1) {
        m_bof = m_eof = false;
        setCurrent(m_current + 1);
    } else {
        m_eof = true;
    }
}

void RecordSet::prior()
{
    if (isEditing())
        post();
    if (m_current > 0) {
        m_bof = m_eof = false;
        setCurrent(m_current - 1);
    } else {
        m_bof = true;
    }
}

bool RecordSet::moveTo(int row)
{
    if (row < 0 || row >= recordCount())
        return false;
    if (isEditing() && row != m_current)
        post();
    m_bof = m_eof = false;
    setCurrent(row);
    return true;
}

bool RecordSet::locate(const QString &field, const QVariant &v)
{
    const int col = fieldIndex(field);
    if (col < 0)
        return false;
    for (int row = 0; row < recordCount(); ++row) {
        const QVariant cv = cell(m_cols[col], m_order_idx[row]);
        bool equal;
        if (m_cols[col].kind == Kind::Text)
            equal = cv.toString().compare(v.toString(), Qt::CaseInsensitive) == 0;
        else if (m_cols[col].kind == Kind::Int || m_cols[col].kind == Kind::Double)
            equal = !cv.isNull() && !v.isNull() && cv.toDouble() == v.toDouble();
        else
            equal = cv == v;
        if (equal) {
            moveTo(row);
            return true;
        }
    }
    return false;
}

QString RecordSet::fieldName(int i) const
{
    return (i >= 0 && i < fieldCount()) ? m_cols[i].name : QString();
}

int RecordSet::fieldIndex(const QString &name) const
{
    return m_index.value(name.toLower(), -1);
}

QMetaType RecordSet::fieldType(int i) const
{
    return (i >= 0 && i < fieldCount()) ? m_cols[i].type : QMetaType();
}

QVariant RecordSet::value(const QString &field) const
{
    const int col = fieldIndex(field);
    if (col < 0)
        throw DbError(QStringLiteral("Campo '%1' não encontrado").arg(field));
    if (m_current < 0)
        return QVariant();
    if (isEditing())
        return m_buffer.value(col);
    return cell(m_cols[col], m_order_idx[m_current]);
}

QVariant RecordSet::valueAt(int row, int col) const
{
    if (row < 0 || row >= recordCount() || col < 0 || col >= fieldCount())
        return QVariant();
    if (row == m_current && isEditing())
        return m_buffer.value(col);
    return cell(m_cols[col], m_order_idx[row]);
}

QVariant RecordSet::valueAt(int row, const QString &field) const
{
    return valueAt(row, fieldIndex(field));
}

void RecordSet::edit()
{
    if (!isOpen())
        throw DbError(QStringLiteral("O conjunto de dados está fechado"));
    if (isEditing())
        return;
    if (m_current < 0)
        throw DbError(QStringLiteral("Não há registro para alterar"));
    m_buffer.clear();
    for (int i = 0; i < fieldCount(); ++i)
        m_buffer << cell(m_cols[i], m_order_idx[m_current]);
    m_modified.assign(m_cols.size(), false);
    setState(State::Edit);
}

void RecordSet::append()
{
    if (!isOpen())
        throw DbError(QStringLiteral("O conjunto de dados está fechado"));
    if (isEditing())
        post();
    const int row = recordCount();
    emit aboutToInsertRow(row);
    const size_t store = addStoreRow();
    m_order_idx.push_back(uint32_t(store));
    m_buffer.clear();
    for (int i = 0; i < fieldCount(); ++i)
        m_buffer << QVariant();
    m_modified.assign(m_cols.size(), false);
    m_insertRow = row;
    m_state = State::Insert;
    m_bof = m_eof = false;
    emit rowInserted(row);
    emit stateChanged(m_state);
    setCurrent(row, true);
}

QVariant RecordSet::cutToWidth(const Column &c, const QVariant &v) const
{
    if (c.kind != Kind::Text || c.width <= 0 || v.isNull())
        return v;
    const QString s = v.toString();
    return s.size() > c.width ? QVariant(s.left(c.width)) : v;
}

void RecordSet::setValue(const QString &field, const QVariant &v)
{
    const int col = fieldIndex(field);
    if (col < 0)
        throw DbError(QStringLiteral("Campo '%1' não encontrado").arg(field));
    if (!isEditing())
        throw DbError(QStringLiteral("O registro não está em modo de edição ou inclusão"));
    m_buffer[col] = cutToWidth(m_cols[col], v);
    m_modified[col] = true;
    emit rowChanged(m_current);
}

bool RecordSet::readBack(size_t store, const QVariant &key)
{
    const QString table = baseTable();
    const QString kf = keyField();
    if (table.isEmpty() || kf.isEmpty() || key.isNull())
        return true;
    QSqlQuery q = m_conn->exec(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(quoteIdent(table), quoteIdent(kf)),
        {key});
    if (!q.next())
        return false;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) {
        const int col = fieldIndex(rec.fieldName(i));
        if (col >= 0 && m_cols[col].inBase)
            setCell(m_cols[col], store, q.value(i));
    }
    return true;
}

bool RecordSet::refreshRow()
{
    if (!isOpen() || m_current < 0)
        return false;
    if (isEditing())
        cancel();
    const int keyCol = fieldIndex(keyField());
    if (keyCol < 0)
        return false;
    const size_t store = m_order_idx[m_current];
    if (readBack(store, cell(m_cols[keyCol], store))) {
        emit rowChanged(m_current);
        return true;
    }
    const int row = m_current;
    emit aboutToRemoveRow(row);
    m_order_idx.erase(m_order_idx.begin() + row);
    emit rowRemoved(row);
    setCurrent(isEmpty() ? -1 : qMin(row, recordCount() - 1), true);
    return false;
}

void RecordSet::post()
{
    if (!isEditing())
        return;
    const QString table = baseTable();
    const QString kf = keyField();
    if (table.isEmpty())
        throw DbError(QStringLiteral("Não há tabela base para gravar"));
    const size_t store = m_order_idx[m_current];
    const int keyCol = kf.isEmpty() ? -1 : fieldIndex(kf);
    QStringList names;
    QVariantList values;
    for (int i = 0; i < fieldCount(); ++i) {
        if (!m_modified[i] || !m_cols[i].inBase)
            continue;
        names << quoteIdent(m_cols[i].name);
        values << m_buffer[i];
    }
    QVariant key;
    if (m_state == State::Insert) {
        QString sql;
        if (names.isEmpty())
            sql = QStringLiteral("INSERT INTO %1 () VALUES ()").arg(quoteIdent(table));
        else
            sql =
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quoteIdent(table), names.join(QStringLiteral(", ")),
                         QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        // One identified operation: a lost reply is settled on the server, so
        // the row is never written twice and never reported unwritten wrongly.
        m_conn->transaction(QStringLiteral("a gravação em %1").arg(table), [&] {
            QSqlQuery q = m_conn->exec(sql, values);
            key = (keyCol >= 0 && m_modified[keyCol]) ? m_buffer[keyCol] : q.lastInsertId();
        });
    } else {
        const QVariant oldKey = keyCol >= 0 ? cell(m_cols[keyCol], store) : QVariant();
        if (keyCol < 0 || oldKey.isNull())
            throw DbError(QStringLiteral("Registro sem chave: não é possível gravar"));
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString &n : names)
                sets << n + QStringLiteral(" = ?");
            const QString unchanged = unchangedSince(store, values);
            bool applied = false;
            m_conn->transaction(QStringLiteral("a alteração em %1").arg(table), [&] {
                QSqlQuery q = m_conn->exec(
                    QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                        .arg(quoteIdent(table), sets.join(QStringLiteral(", ")), unchanged),
                    values);
                applied = Connection::rowsMatched(q) > 0;
            });
            if (!applied)
                throwConflict();
        }
        key = m_modified[keyCol] ? m_buffer[keyCol] : oldKey;
    }
    // The row as typed, then as the server holds it (keys, defaults, cuts).
    QVariantList before;
    for (int i = 0; i < fieldCount(); ++i) {
        before << cell(m_cols[i], store);
        setCell(m_cols[i], store, m_buffer[i]);
    }
    if (!readBack(store, key)) {
        // The edit stays open with what was typed; the list keeps the old row.
        for (int i = 0; i < fieldCount(); ++i)
            setCell(m_cols[i], store, before[i]);
        throw DbError(QStringLiteral("O registro não foi encontrado: foi excluído ou alterado "
                                     "por outro usuário"));
    }
    m_buffer.clear();
    m_modified.clear();
    m_insertRow = -1;
    setState(State::Browse);
    emit rowChanged(m_current);
}

QString RecordSet::unchangedSince(size_t store, QVariantList &params) const
{
    // The key, and every column of the base table as this list read it: a
    // row another workstation changed or deleted meanwhile matches nothing.
    const int keyCol = fieldIndex(keyField());
    QStringList conds;
    conds << quoteIdent(m_cols[keyCol].name) + QStringLiteral(" = ?");
    params << cell(m_cols[keyCol], store);
    for (int i = 0; i < fieldCount(); ++i) {
        const Column &c = m_cols[i];
        if (!c.inBase || i == keyCol)
            continue;
        const QString col = quoteIdent(c.name);
        const QVariant v = cell(c, store);
        if (v.isNull()) {
            // A zero date reads as no date at all.
            if (c.kind == Kind::Date || c.kind == Kind::DateTime)
                conds << QStringLiteral("(%1 IS NULL OR %1 < '1900-01-01')").arg(col);
            else
                conds << col + QStringLiteral(" IS NULL");
        } else if (c.kind == Kind::Double) {
            // Floating columns come back through text; a hair of difference is
            // the same amount, a cent is not.
            conds << QStringLiteral("ABS(%1 - ?) <= ?").arg(col);
            params << v << 1e-9 * qMax(1.0, std::fabs(v.toDouble()));
        } else {
            conds << col + QStringLiteral(" = ?");
            params << v;
        }
    }
    return conds.join(QStringLiteral(" AND "));
}

void RecordSet::throwConflict()
{
    // Nothing was written; what the other workstation saved is shown instead.
    refreshRow();
    throw DbError(QStringLiteral("Registro alterado por outra estação. Os dados foram relidos."))
        .withOutcome(DbError::Outcome::Conflict);
}

void RecordSet::cancel()
{
    if (!isEditing())
        return;
    if (m_state == State::Insert) {
        const int row = m_insertRow;
        // The edit is over before the row goes: a view that moves to another
        // row while it is being removed must not post the dropped one.
        m_buffer.clear();
        m_modified.clear();
        m_insertRow = -1;
        m_state = State::Browse;
        emit aboutToRemoveRow(row);
        m_order_idx.erase(m_order_idx.begin() + row);
        emit rowRemoved(row);
        emit stateChanged(m_state);
        setCurrent(isEmpty() ? -1 : qMin(row, recordCount() - 1), true);
        return;
    }
    m_buffer.clear();
    m_modified.clear();
    setState(State::Browse);
    emit rowChanged(m_current);
}

void RecordSet::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0)
        throw DbError(QStringLiteral("Não há registro para excluir"));
    if (isEditing())
        cancel();
    const QString table = baseTable();
    const QString kf = keyField();
    const int keyCol = fieldIndex(kf);
    if (table.isEmpty() || keyCol < 0)
        throw DbError(QStringLiteral("Não há tabela base para excluir"));
    QVariantList params;
    const QString unchanged = unchangedSince(m_order_idx[m_current], params);
    bool applied = false;
    m_conn->transaction(QStringLiteral("a exclusão em %1").arg(table), [&] {
        QSqlQuery q = m_conn->exec(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoteIdent(table), unchanged), params);
        applied = q.numRowsAffected() > 0;
    });
    if (!applied)
        throwConflict();
    const int row = m_current;
    emit aboutToRemoveRow(row);
    m_order_idx.erase(m_order_idx.begin() + row);
    emit rowRemoved(row);
    setCurrent(isEmpty() ? -1 : qMin(row, recordCount() - 1), true);
}

void RecordSet::truncateTable()
{
    const QString table = baseTable();
    if (table.isEmpty())
        throw DbError(QStringLiteral("Não há tabela base para esvaziar"));
    m_conn->exec(QStringLiteral("TRUNCATE TABLE ") + quoteIdent(table));
    open();
}
