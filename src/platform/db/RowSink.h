#pragma once
// What receives the rows of a result as they arrive from the server (see
// Connection::stream): first the columns, then one call per row with every
// cell already decoded into a plain value, so a large list is filled without
// a QVariant per cell.
//
// A column's type is the one the Qt driver gives the same column (integers,
// Double, QDate, QDateTime, QString or QByteArray), and a cell carries:
//   - integer types: i (unsigned values keep their bits);
//   - Double: d;
//   - QDate: i, the Julian day;
//   - QDateTime: i, milliseconds since the epoch of the local date and time;
//   - QString (UTF-8) and QByteArray: bytes/size, valid only during the call.
// A NULL, and a date or date and time that is not a real one (the server's
// zero dates), has null set and nothing else.
//
// columns() may come more than once: when the connection is lost part way
// and the read is run again after reconnecting, the sink starts over.

#include <QMetaType>
#include <QString>

#include <cstdint>
#include <vector>

struct SinkColumn
{
    QString name;
    QMetaType type;
};

struct SinkCell
{
    bool null = true;
    int64_t i = 0;
    double d = 0;
    const char *bytes = nullptr;
    uint32_t size = 0;
};

class RowSink
{
public:
    virtual ~RowSink() = default;
    virtual void columns(const std::vector<SinkColumn> &columns) = 0;
    virtual void row(const SinkCell *cells) = 0;
};
