#include "report/ReportDefinition.h"

#include "db/RecordSet.h"

namespace Report {

QVariant Context::value(const QString &field) const
{
    if (!m_rows || m_row < 0)
        return QVariant();
    return m_rows->valueAt(m_row, field);
}

Element &Element::bold(bool on)
{
    hasFont = true;
    font.setBold(on);
    return *this;
}

Element &Element::italic(bool on)
{
    hasFont = true;
    font.setItalic(on);
    return *this;
}

Element &Element::size(double points)
{
    hasFont = true;
    font.setPointSizeF(points);
    return *this;
}

Element &Element::withFont(const QFont &f)
{
    hasFont = true;
    font = f;
    return *this;
}

Element &Element::family(const QString &name)
{
    hasFont = true;
    font.setFamily(name);
    return *this;
}

Element &Element::align(Qt::Alignment horizontal)
{
    alignment = (alignment & ~Qt::AlignHorizontal_Mask) | (horizontal & Qt::AlignHorizontal_Mask);
    return *this;
}

namespace {
Element make(ElementKind kind, const QRectF &rect)
{
    Element e;
    e.kind = kind;
    e.rect = rect;
    // The font starts with no property set: bold()/size() set only what they
    // name and the runner takes the rest from the report's font.
    return e;
}
} // namespace

Element label(const QRectF &rect, const QString &text)
{
    Element e = make(ElementKind::Label, rect);
    e.text = text;
    return e;
}

Element field(const QRectF &rect, const QString &fieldName, const QString &mask)
{
    Element e = make(ElementKind::Field, rect);
    e.field = fieldName;
    e.mask = mask;
    return e;
}

Element computed(const QRectF &rect, TextFn fn)
{
    Element e = make(ElementKind::Computed, rect);
    e.compute = std::move(fn);
    return e;
}

Element memo(const QRectF &rect, const QString &fieldName)
{
    Element e = make(ElementKind::Memo, rect);
    e.field = fieldName;
    e.alignment = Qt::AlignLeft | Qt::AlignTop;
    return e;
}

Element memo(const QRectF &rect, TextFn fn)
{
    Element e = make(ElementKind::Memo, rect);
    e.compute = std::move(fn);
    e.alignment = Qt::AlignLeft | Qt::AlignTop;
    return e;
}

Element sum(const QRectF &rect, const QString &fieldName, const QString &mask)
{
    Element e = make(ElementKind::Sum, rect);
    e.field = fieldName;
    e.mask = mask;
    return e;
}

Element sum(const QRectF &rect, NumberFn amount, const QString &mask)
{
    Element e = make(ElementKind::Sum, rect);
    e.amount = std::move(amount);
    e.mask = mask;
    return e;
}

Element count(const QRectF &rect, const QString &mask)
{
    Element e = make(ElementKind::Count, rect);
    e.mask = mask;
    return e;
}

Element date(const QRectF &rect, const QString &caption)
{
    Element e = make(ElementKind::Date, rect);
    e.text = caption;
    return e;
}

Element pageNumber(const QRectF &rect, const QString &caption, const QString &tmpl)
{
    Element e = make(ElementKind::PageNumber, rect);
    e.text = caption;
    e.mask = tmpl;
    e.exported = false;
    return e;
}

Element detailCount(const QRectF &rect, const QString &caption)
{
    Element e = make(ElementKind::DetailCount, rect);
    e.text = caption;
    return e;
}

Element rule(const QRectF &rect)
{
    Element e = make(ElementKind::Rule, rect);
    e.exported = false;
    return e;
}

Element box(const QRectF &rect, const QColor &fill, bool outline)
{
    Element e = make(ElementKind::Box, rect);
    e.fill = fill;
    e.penWidth = outline ? 0.2 : 0;
    e.exported = false;
    return e;
}

Group &ReportDefinition::addGroup(const QString &keyField)
{
    groups.emplace_back();
    groups.back().keyField = keyField;
    return groups.back();
}

Group &ReportDefinition::addGroup(TextFn key)
{
    groups.emplace_back();
    groups.back().key = std::move(key);
    return groups.back();
}

QSizeF paperSize(Paper paper, Orientation orientation)
{
    QSizeF s;
    switch (paper) {
    case Paper::Letter:
        s = QSizeF(215.9, 279.4);
        break;
    case Paper::A4:
        s = QSizeF(210, 297);
        break;
    case Paper::A4Extra:
        s = QSizeF(235, 322);
        break;
    }
    return orientation == Orientation::Landscape ? s.transposed() : s;
}

} // namespace Report
