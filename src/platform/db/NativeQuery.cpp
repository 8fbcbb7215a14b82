#include "db/NativeQuery.h"

#include "db/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QTime>

#include <mysql.h>

#include <charconv>
#include <cstring>
#include <vector>

namespace {

// How a column's cells are turned into plain values.
enum class Decode : uint8_t {
    Signed,
    Unsigned,
    Double,     // text: parsed; prepared: the binary double as sent
    DoubleText, // FLOAT and DECIMAL: read as the library's text, then parsed
    Date,
    DateTime,
    Bytes
};

struct Plan
{
    QMetaType type;
    Decode how;
};

// The column types are those of the Qt driver, so that a list reads the same
// whether the record set or a QSqlQuery fetched it.
Plan planFor(const MYSQL_FIELD &f)
{
    const bool isUnsigned = f.flags & UNSIGNED_FLAG;
    const Decode integer = isUnsigned ? Decode::Unsigned : Decode::Signed;
    auto type = [](QMetaType::Type t) { return QMetaType(t); };
    switch (f.type) {
    case MYSQL_TYPE_TINY:
        return {type(isUnsigned ? QMetaType::UChar : QMetaType::Char), integer};
    case MYSQL_TYPE_SHORT:
        return {type(isUnsigned ? QMetaType::UShort : QMetaType::Short), integer};
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
        return {type(isUnsigned ? QMetaType::UInt : QMetaType::Int), integer};
    case MYSQL_TYPE_YEAR:
        return {type(QMetaType::Int), integer};
    case MYSQL_TYPE_LONGLONG:
        return {type(isUnsigned ? QMetaType::ULongLong : QMetaType::LongLong), integer};
    case MYSQL_TYPE_DOUBLE:
        return {type(QMetaType::Double), Decode::Double};
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return {type(QMetaType::Double), Decode::DoubleText};
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return {type(QMetaType::QDate), Decode::Date};
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return {type(QMetaType::QDateTime), Decode::DateTime};
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_GEOMETRY:
    case MYSQL_TYPE_JSON:
        return {type((f.flags & BINARY_FLAG) ? QMetaType::QByteArray : QMetaType::QString),
                Decode::Bytes};
    default: // TIME (it may exceed a day), ENUM, SET, BIT, NULL
        return {type(QMetaType::QString), Decode::Bytes};
    }
}

DbError sessionError(MYSQL *m, const QString &sql)
{
    return DbError(QString::fromUtf8(mysql_error(m)).trimmed(), QString::number(mysql_errno(m)),
                   sql);
}

DbError statementError(MYSQL_STMT *st, const QString &sql)
{
    return DbError(QString::fromUtf8(mysql_stmt_error(st)).trimmed(),
                   QString::number(mysql_stmt_errno(st)), sql);
}

// Up to maxDigits decimal digits at p; -1 when there is none.
int digits(const char *&p, const char *end, int maxDigits)
{
    int v = 0, n = 0;
    while (p < end && n < maxDigits && *p >= '0' && *p <= '9') {
        v = v * 10 + (*p++ - '0');
        ++n;
    }
    return n ? v : -1;
}

bool expect(const char *&p, const char *end, char c)
{
    if (p < end && *p == c) {
        ++p;
        return true;
    }
    return false;
}

bool localMsecs(const QDate &date, int h, int mi, int s, int ms, int64_t &out)
{
    if (!date.isValid())
        return false;
    const QTime time(h, mi, s, ms);
    if (!time.isValid())
        return false;
    const QDateTime dt(date, time);
    if (!dt.isValid())
        return false;
    out = dt.toMSecsSinceEpoch();
    return true;
}

// "YYYY-MM-DD" as the server writes it.
bool textDate(const char *p, const char *end, QDate &date)
{
    const int y = digits(p, end, 4);
    if (y < 0 || !expect(p, end, '-'))
        return false;
    const int m = digits(p, end, 2);
    if (m < 0 || !expect(p, end, '-'))
        return false;
    const int d = digits(p, end, 2);
    if (d < 0)
        return false;
    date = QDate(y, m, d);
    return date.isValid();
}

// "YYYY-MM-DD HH:MM:SS[.ffffff]"; fractions finer than a millisecond are
// dropped, as when the same value comes through a prepared statement.
bool textDateTime(const char *p, const char *end, int64_t &out)
{
    QDate date;
    if (end - p < 10 || !textDate(p, p + 10, date))
        return false;
    p += 10;
    if (!(expect(p, end, ' ') || expect(p, end, 'T')))
        return localMsecs(date, 0, 0, 0, 0, out);
    const int h = digits(p, end, 2);
    if (h < 0 || !expect(p, end, ':'))
        return false;
    const int mi = digits(p, end, 2);
    if (mi < 0 || !expect(p, end, ':'))
        return false;
    const int s = digits(p, end, 2);
    if (s < 0)
        return false;
    int ms = 0;
    if (expect(p, end, '.')) {
        for (int k = 0; k < 3; ++k)
            ms = ms * 10 + ((p < end && *p >= '0' && *p <= '9') ? *p++ - '0' : 0);
    }
    return localMsecs(date, h, mi, s, ms, out);
}

bool parseDouble(const char *p, size_t n, double &out)
{
    const auto r = std::from_chars(p, p + n, out);
    return r.ec == std::errc() && r.ptr == p + n;
}

void decodeText(Decode how, const char *p, unsigned long n, SinkCell &c)
{
    c = SinkCell{};
    if (!p)
        return;
    c.null = false;
    switch (how) {
    case Decode::Signed:
        // The server writes integers; anything else reads as 0, as before.
        if (std::from_chars(p, p + n, c.i).ec != std::errc())
            c.i = 0;
        break;
    case Decode::Unsigned: {
        uint64_t u = 0;
        if (std::from_chars(p, p + n, u).ec != std::errc())
            u = 0;
        c.i = int64_t(u);
        break;
    }
    case Decode::Double:
    case Decode::DoubleText:
        c.null = !parseDouble(p, n, c.d);
        break;
    case Decode::Date: {
        QDate d;
        c.null = !textDate(p, p + n, d);
        if (!c.null)
            c.i = d.toJulianDay();
        break;
    }
    case Decode::DateTime:
        c.null = !textDateTime(p, p + n, c.i);
        break;
    case Decode::Bytes:
        c.bytes = p;
        c.size = uint32_t(n);
        break;
    }
}

// The rest of a multi-result statement (a procedure call) is read and
// dropped: the session must be ready for the next statement.
void finishResults(MYSQL *m, const QString &sql)
{
    while (mysql_more_results(m)) {
        const int rc = mysql_next_result(m);
        if (rc > 0)
            throw sessionError(m, sql);
        if (rc < 0)
            break;
        if (MYSQL_RES *r = mysql_use_result(m))
            mysql_free_result(r);
    }
}

struct ResultGuard
{
    MYSQL_RES *res;
    ~ResultGuard()
    {
        // For a result still streaming this reads the remaining rows, so the
        // session is in step again (a lost session simply fails fast).
        if (res)
            mysql_free_result(res);
    }
};

struct StatementGuard
{
    MYSQL_STMT *st;
    ~StatementGuard()
    {
        if (st)
            mysql_stmt_close(st);
    }
};

std::vector<SinkColumn> columnsOf(const MYSQL_FIELD *fields, unsigned n, std::vector<Plan> &plans)
{
    std::vector<SinkColumn> cols;
    cols.reserve(n);
    plans.clear();
    plans.reserve(n);
    for (unsigned k = 0; k < n; ++k) {
        plans.push_back(planFor(fields[k]));
        cols.push_back(
            {QString::fromUtf8(fields[k].name, qsizetype(fields[k].name_length)), plans[k].type});
    }
    return cols;
}

void runText(MYSQL *m, const QString &sql, RowSink &sink)
{
    const QByteArray text = sql.toUtf8();
    if (mysql_real_query(m, text.constData(), (unsigned long)text.size()) != 0)
        throw sessionError(m, sql);
    MYSQL_RES *res = mysql_use_result(m);
    if (!res) {
        if (mysql_errno(m))
            throw sessionError(m, sql);
        sink.columns({}); // a statement that returns no rows
        finishResults(m, sql);
        return;
    }
    ResultGuard guard{res};
    const unsigned n = mysql_num_fields(res);
    std::vector<Plan> plans;
    sink.columns(columnsOf(mysql_fetch_fields(res), n, plans));
    std::vector<SinkCell> cells(n);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        const unsigned long *len = mysql_fetch_lengths(res);
        for (unsigned k = 0; k < n; ++k)
            decodeText(plans[k].how, row[k], len[k], cells[k]);
        sink.row(cells.data());
    }
    // The end of the rows, or the connection lost part way.
    if (mysql_errno(m))
        throw sessionError(m, sql);
    guard.res = nullptr;
    mysql_free_result(res);
    finishResults(m, sql);
}

// The Qt driver's notion of a value that binds as NULL.
bool isNullValue(const QVariant &v)
{
    if (v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString *>(v.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray *>(v.constData())->isNull();
    case QMetaType::QDate:
        return static_cast<const QDate *>(v.constData())->isNull();
    case QMetaType::QTime:
        return static_cast<const QTime *>(v.constData())->isNull();
    case QMetaType::QDateTime:
        return static_cast<const QDateTime *>(v.constData())->isNull();
    default:
        return false;
    }
}

// Parameter values bound as the Qt driver binds them; the storage lives as
// long as the statement runs.
class ParamBinds
{
public:
    explicit ParamBinds(const QVariantList &values)
        : m_binds(size_t(values.size())), m_bytes(size_t(values.size())),
          m_times(size_t(values.size())), m_ints(size_t(values.size())),
          m_int32s(size_t(values.size())), m_doubles(size_t(values.size())),
          m_lengths(size_t(values.size())), m_nulls(size_t(values.size()), 0),
          m_tinys(size_t(values.size()), 0)
    {
        std::memset(m_binds.data(), 0, m_binds.size() * sizeof(MYSQL_BIND));
        std::memset(m_times.data(), 0, m_times.size() * sizeof(MYSQL_TIME));
        for (size_t i = 0; i < m_binds.size(); ++i)
            bind(i, values[qsizetype(i)]);
    }
    MYSQL_BIND *data() { return m_binds.data(); }

private:
    void bind(size_t i, const QVariant &v)
    {
        MYSQL_BIND &b = m_binds[i];
        if (isNullValue(v)) {
            // A missing date or time still tells the server its type, as the
            // Qt driver's does (COALESCE and friends then give a date).
            switch (v.typeId()) {
            case QMetaType::QDate:
                b.buffer_type = MYSQL_TYPE_DATE;
                break;
            case QMetaType::QTime:
                b.buffer_type = MYSQL_TYPE_TIME;
                break;
            case QMetaType::QDateTime:
                b.buffer_type = MYSQL_TYPE_DATETIME;
                break;
            default:
                b.buffer_type = MYSQL_TYPE_NULL;
                return;
            }
            m_nulls[i] = 1;
            b.is_null = &m_nulls[i];
            b.buffer = &m_times[i];
            b.buffer_length = sizeof(MYSQL_TIME);
            return;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
            // A flag compares as the number it is ("= 1"), not as the word "true".
            m_tinys[i] = v.toBool() ? 1 : 0;
            b.buffer_type = MYSQL_TYPE_TINY;
            b.buffer = &m_tinys[i];
            b.buffer_length = 1;
            return;
        case QMetaType::Int:
        case QMetaType::UInt:
            m_int32s[i] = int32_t(v.toLongLong());
            b.buffer_type = MYSQL_TYPE_LONG;
            b.buffer = &m_int32s[i];
            b.buffer_length = sizeof(int32_t);
            b.is_unsigned = v.typeId() == QMetaType::UInt;
            return;
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            m_ints[i] =
                v.typeId() == QMetaType::LongLong ? v.toLongLong() : int64_t(v.toULongLong());
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &m_ints[i];
            b.buffer_length = sizeof(int64_t);
            b.is_unsigned = v.typeId() == QMetaType::ULongLong;
            return;
        case QMetaType::Double:
            m_doubles[i] = v.toDouble();
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &m_doubles[i];
            b.buffer_length = sizeof(double);
            return;
        case QMetaType::QDate:
        case QMetaType::QTime:
        case QMetaType::QDateTime: {
            MYSQL_TIME &t = m_times[i];
            const QDate date = v.typeId() == QMetaType::QTime ? QDate() : v.toDate();
            const QTime time = v.typeId() == QMetaType::QDate ? QTime() : v.toTime();
            if (date.isValid()) {
                t.year = unsigned(date.year());
                t.month = unsigned(date.month());
                t.day = unsigned(date.day());
            }
            if (time.isValid()) {
                t.hour = unsigned(time.hour());
                t.minute = unsigned(time.minute());
                t.second = unsigned(time.second());
                t.second_part = unsigned(time.msec()) * 1000;
            }
            if (v.typeId() == QMetaType::QDate) {
                t.time_type = MYSQL_TIMESTAMP_DATE;
                b.buffer_type = MYSQL_TYPE_DATE;
            } else if (v.typeId() == QMetaType::QTime) {
                t.time_type = MYSQL_TIMESTAMP_TIME;
                b.buffer_type = MYSQL_TYPE_TIME;
            } else {
                t.time_type = MYSQL_TIMESTAMP_DATETIME;
                b.buffer_type = MYSQL_TYPE_DATETIME;
            }
            b.buffer = &t;
            b.buffer_length = sizeof(MYSQL_TIME);
            return;
        }
        case QMetaType::QByteArray:
            m_bytes[i] = v.toByteArray();
            b.buffer_type = MYSQL_TYPE_BLOB;
            break;
        default:
            m_bytes[i] = v.toString().toUtf8();
            b.buffer_type = MYSQL_TYPE_STRING;
            break;
        }
        m_lengths[i] = (unsigned long)m_bytes[i].size();
        b.buffer = m_bytes[i].data();
        b.buffer_length = m_lengths[i];
        b.length = &m_lengths[i];
    }

    std::vector<MYSQL_BIND> m_binds;
    std::vector<QByteArray> m_bytes;
    std::vector<MYSQL_TIME> m_times;
    std::vector<int64_t> m_ints;
    std::vector<int32_t> m_int32s;
    std::vector<double> m_doubles;
    std::vector<unsigned long> m_lengths;
    std::vector<my_bool> m_nulls;
    std::vector<signed char> m_tinys;
};

bool dateOf(const MYSQL_TIME &t, QDate &date)
{
    date = QDate(int(t.year), int(t.month), int(t.day));
    return date.isValid();
}

void runPrepared(MYSQL *m, const QString &sql, const QVariantList &params, RowSink &sink)
{
    MYSQL_STMT *st = mysql_stmt_init(m);
    if (!st)
        throw sessionError(m, sql);
    StatementGuard guard{st};
    const QByteArray text = sql.toUtf8();
    if (mysql_stmt_prepare(st, text.constData(), (unsigned long)text.size()) != 0)
        throw statementError(st, sql);
    ParamBinds binds(params);
    // A count that does not match binds nothing: the library then refuses
    // the statement with its own message.
    if (mysql_stmt_param_count(st) == (unsigned long)params.size() &&
        mysql_stmt_bind_param(st, binds.data()) != 0)
        throw statementError(st, sql);
    if (mysql_stmt_execute(st) != 0)
        throw statementError(st, sql);
    MYSQL_RES *meta = mysql_stmt_result_metadata(st);
    if (!meta) {
        if (mysql_stmt_errno(st))
            throw statementError(st, sql);
        sink.columns({});
        return;
    }
    ResultGuard metaGuard{meta};
    const unsigned n = mysql_num_fields(meta);
    const MYSQL_FIELD *fields = mysql_fetch_fields(meta);
    std::vector<Plan> plans;
    std::vector<SinkColumn> cols = columnsOf(fields, n, plans);

    // One slot per column for what the library writes at each fetch; texts
    // get a buffer of their usual width, a longer value is fetched apart.
    std::vector<MYSQL_BIND> out(n);
    std::memset(out.data(), 0, n * sizeof(MYSQL_BIND));
    std::vector<unsigned long> lengths(n, 0);
    std::vector<my_bool> nulls(n, 0), errors(n, 0);
    std::vector<int64_t> ints(n, 0);
    std::vector<double> doubles(n, 0);
    std::vector<MYSQL_TIME> times(n);
    std::memset(times.data(), 0, n * sizeof(MYSQL_TIME));
    std::vector<size_t> textAt(n, 0);
    size_t textSize = 0;
    for (unsigned k = 0; k < n; ++k) {
        if (plans[k].how == Decode::Bytes || plans[k].how == Decode::DoubleText) {
            textAt[k] = textSize;
            const unsigned long width = plans[k].how == Decode::DoubleText ? 80 : fields[k].length;
            out[k].buffer_length = qBound(16ul, width, 1024ul);
            textSize += out[k].buffer_length;
        }
    }
    std::vector<char> textBuffer(textSize);
    std::vector<std::vector<char>> longTexts(n);
    for (unsigned k = 0; k < n; ++k) {
        MYSQL_BIND &b = out[k];
        b.length = &lengths[k];
        b.is_null = &nulls[k];
        b.error = &errors[k];
        switch (plans[k].how) {
        case Decode::Signed:
        case Decode::Unsigned:
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &ints[k];
            b.buffer_length = sizeof(int64_t);
            b.is_unsigned = plans[k].how == Decode::Unsigned;
            break;
        case Decode::Double:
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &doubles[k];
            b.buffer_length = sizeof(double);
            break;
        case Decode::Date:
        case Decode::DateTime:
            b.buffer_type = plans[k].how == Decode::Date ? MYSQL_TYPE_DATE : MYSQL_TYPE_DATETIME;
            b.buffer = &times[k];
            b.buffer_length = sizeof(MYSQL_TIME);
            break;
        case Decode::DoubleText:
        case Decode::Bytes:
            b.buffer_type =
                plans[k].type.id() == QMetaType::QByteArray ? MYSQL_TYPE_BLOB : MYSQL_TYPE_STRING;
            b.buffer = textBuffer.data() + textAt[k];
            break;
        }
    }
    if (mysql_stmt_bind_result(st, out.data()) != 0)
        throw statementError(st, sql);
    sink.columns(cols);
    std::vector<SinkCell> cells(n);
    for (;;) {
        const int rc = mysql_stmt_fetch(st);
        if (rc == MYSQL_NO_DATA)
            break;
        if (rc != 0 && rc != MYSQL_DATA_TRUNCATED)
            throw statementError(st, sql);
        for (unsigned k = 0; k < n; ++k) {
            SinkCell &c = cells[k];
            c = SinkCell{};
            if (nulls[k])
                continue;
            c.null = false;
            switch (plans[k].how) {
            case Decode::Signed:
            case Decode::Unsigned:
                c.i = ints[k];
                break;
            case Decode::Double:
                c.d = doubles[k];
                break;
            case Decode::DoubleText:
                c.null = !parseDouble(static_cast<const char *>(out[k].buffer),
                                      qMin(lengths[k], out[k].buffer_length), c.d);
                break;
            case Decode::Date: {
                QDate d;
                c.null = !dateOf(times[k], d);
                if (!c.null)
                    c.i = d.toJulianDay();
                break;
            }
            case Decode::DateTime: {
                const MYSQL_TIME &t = times[k];
                QDate d;
                c.null = !dateOf(t, d) || !localMsecs(d, int(t.hour), int(t.minute), int(t.second),
                                                      int(t.second_part / 1000), c.i);
                break;
            }
            case Decode::Bytes:
                if (lengths[k] <= out[k].buffer_length) {
                    c.bytes = static_cast<const char *>(out[k].buffer);
                    c.size = uint32_t(lengths[k]);
                } else {
                    std::vector<char> &whole = longTexts[k];
                    whole.resize(lengths[k]);
                    MYSQL_BIND b;
                    std::memset(&b, 0, sizeof b);
                    unsigned long got = 0;
                    b.buffer_type = out[k].buffer_type;
                    b.buffer = whole.data();
                    b.buffer_length = lengths[k];
                    b.length = &got;
                    if (mysql_stmt_fetch_column(st, &b, k, 0) != 0)
                        throw statementError(st, sql);
                    c.bytes = whole.data();
                    c.size = uint32_t(qMin(got, lengths[k]));
                }
                break;
            }
        }
        sink.row(cells.data());
    }
}

} // namespace

namespace NativeQuery {

st_mysql *handle(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    // The driver hands out its MYSQL* (registered under the struct's name).
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "MYSQL*") != 0 && qstrcmp(v.typeName(), "st_mysql*") != 0))
        return nullptr;
    return *static_cast<MYSQL *const *>(v.constData());
}

void run(st_mysql *session, const QString &sql, const QVariantList &params, RowSink &sink)
{
    if (!session)
        throw DbError(QStringLiteral("Não há conexão com o servidor"), QStringLiteral("2006"), sql);
    if (params.isEmpty())
        runText(session, sql, sink);
    else
        runPrepared(session, sql, params, sink);
}

} // namespace NativeQuery
