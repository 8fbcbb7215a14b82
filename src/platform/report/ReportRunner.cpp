#include "report/ReportRunner.h"

#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "widgets/Clock.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace Report {

QStringList Page::texts() const
{
    QStringList out;
    for (const Item &i : items)
        if (i.kind == Item::Kind::Text)
            out << i.text;
    return out;
}

QString PreparedReport::pageText(int page) const
{
    if (page < 0 || page >= pageCount())
        return QString();
    return pages[size_t(page)].texts().join(QLatin1Char('\n'));
}

QStringList PreparedReport::tableTexts(TableRow::Kind kind) const
{
    QStringList out;
    for (const TableRow &r : table) {
        if (r.kind != kind)
            continue;
        QStringList cells;
        for (const Cell &c : r.cells)
            if (!c.text.isEmpty())
                cells << c.text;
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

namespace {

const QLocale &brLocale(bool grouped)
{
    static const QLocale withGroups(QLocale::Portuguese, QLocale::Brazil);
    static const QLocale plain = [] {
        QLocale l(QLocale::Portuguese, QLocale::Brazil);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return grouped ? withGroups : plain;
}

// A mask understood once per element instead of once per value: numbers of
// the form [prefix][#,##]0[.00##] and the plain dd/mm/yyyy date. Anything else
// goes to DisplayFormat, which gives the same texts.
struct FastMask
{
    bool number = false;
    bool grouped = false;
    int decimals = 0; // after the point, "0": always printed
    int optional = 0; // after the point, "#": printed unless a trailing zero
    QString prefix;
    bool plainDate = false;

    explicit FastMask(const QString &mask)
    {
        plainDate = mask.isEmpty() || mask == QLatin1String("dd/mm/yyyy");
        if (mask.isEmpty())
            return;
        int first = -1;
        for (int i = 0; i < mask.size(); ++i)
            if (mask[i] == QLatin1Char('#') || mask[i] == QLatin1Char('0')) {
                first = i;
                break;
            }
        if (first < 0)
            return;
        number = true;
        prefix = mask.left(first);
        grouped = mask.contains(QLatin1Char(','));
        const int point = mask.indexOf(QLatin1Char('.'));
        if (point >= 0)
            for (int i = point + 1;
                 i < mask.size() && (mask[i] == QLatin1Char('0') || mask[i] == QLatin1Char('#'));
                 ++i)
                ++(mask[i] == QLatin1Char('0') ? decimals : optional);
    }

    QString formatNumber(double v) const
    {
        if (!number)
            return QString();
        QString text = brLocale(grouped).toString(v, 'f', decimals + optional);
        if (optional > 0) {
            // Same rule as DisplayFormat: trailing zeros of the "#" digits go,
            // and the separator with them when no digit is left after it.
            int drop = 0;
            while (drop < optional && text.at(text.size() - 1 - drop) == QLatin1Char('0'))
                ++drop;
            text.chop(drop);
            if (decimals == 0 && drop == optional)
                text.chop(1);
            if (text == QLatin1String("-0"))
                text = QStringLiteral("0");
        }
        return prefix + text;
    }
};

QString twoDigits(int n)
{
    const QChar d[2] = {QLatin1Char(char('0' + n / 10)), QLatin1Char(char('0' + n % 10))};
    return QString(d, 2);
}

QString plainDate(const QDate &d)
{
    if (!d.isValid())
        return QString();
    QString s;
    s.reserve(10);
    s += twoDigits(d.day());
    s += QLatin1Char('/');
    s += twoDigits(d.month());
    s += QLatin1Char('/');
    s += QString::number(d.year()).rightJustified(4, QLatin1Char('0'));
    return s;
}

bool isNumeric(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// Memo heights are measured on a fixed high-resolution reference so that the
// layout does not depend on the screen the program runs on.
constexpr double kRefDpi = 600;

QPaintDevice *referenceDevice()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(int(std::lround(kRefDpi / 0.0254)));
        i.setDotsPerMeterY(int(std::lround(kRefDpi / 0.0254)));
        return i;
    }();
    return &image;
}

enum class Scope { Report, Page, Group };

struct Accumulator
{
    Scope scope = Scope::Report;
    int group = -1;
    bool isCount = false;
    int field = -1;
    const NumberFn *amount = nullptr;
    double value = 0;
};

struct PreElement
{
    const Element *e = nullptr;
    int font = 0;
    int column = -1;
    int field = -1; // column of the RecordSet
    int acc = -1;
    FastMask mask{QString()};
    // Set by bandHeight() for the row about to print: how far the element
    // moves down because a memo above it grew, and (memos) the height the
    // text needs; pushes says something stands below the memo.
    double shift = 0;
    double height = 0;
    bool pushes = false;
};

struct PreBand
{
    const Band *band = nullptr;
    std::vector<PreElement> elements;
    bool hasMemo = false;
    bool inTable = false;
    bool tableHasCells = false;
    TableRow::Kind kind = TableRow::Kind::Detail;

    bool printable() const { return band && !band->isEmpty(); }
};

struct PageRef
{
    int page;
    size_t item;
    const Element *e;
};

class Runner
{
public:
    Runner(const ReportDefinition &d, const RecordSet *rows) : m_d(d), m_rows(rows) {}

    PreparedReport run()
    {
        prepare();
        const int n = m_rows && m_rows->isOpen() ? m_rows->recordCount() : 0;
        startPage();
        const size_t groups = m_groups.size();
        std::vector<QVariant> keys(groups), previous(groups);
        for (int r = 0; r < n; ++r) {
            for (size_t g = 0; g < groups; ++g)
                keys[g] = groupKey(g, r);
            size_t firstChanged = 0;
            if (r > 0) {
                firstChanged = groups;
                for (size_t g = 0; g < groups; ++g)
                    if (keys[g] != previous[g]) {
                        firstChanged = g;
                        break;
                    }
                for (size_t g = groups; g > firstChanged; --g)
                    closeGroup(g - 1, r - 1);
            }
            for (size_t g = firstChanged; g < groups; ++g)
                openGroup(g, r);
            std::swap(keys, previous);

            // The row is counted on the page where its detail line lands, so
            // the break (and the footer of the page left) comes first.
            const double h = fit(m_detail, r);
            addRow(r);
            ++m_detailCount;
            if (h >= 0) {
                place(m_detail, r, h);
                m_pageHasBody = true;
                m_lastRow = r;
            }
            put(m_detail2, r);
        }
        if (n > 0)
            for (size_t g = groups; g > 0; --g)
                closeGroup(g - 1, n - 1);
        put(m_summary, n - 1);
        endPage(true);

        const int total = int(m_out.pages.size());
        for (const PageRef &ref : m_pageRefs)
            m_out.pages[size_t(ref.page)].items[ref.item].text =
                ref.e->text + ref.e->mask.arg(ref.page + 1).arg(total);
        return std::move(m_out);
    }

private:
    int fontIndex(const Element &e)
    {
        const QFont f = e.hasFont ? e.font.resolve(m_d.font) : m_d.font;
        for (size_t i = 0; i < m_out.fonts.size(); ++i)
            if (m_out.fonts[i] == f)
                return int(i);
        m_out.fonts.push_back(f);
        m_metrics.emplace_back(f, referenceDevice());
        return int(m_out.fonts.size() - 1);
    }

    int fieldIndex(const QString &name) const
    {
        if (name.isEmpty() || !m_rows || !m_rows->isOpen())
            return -1;
        return m_rows->fieldIndex(name);
    }

    static bool isText(ElementKind k) { return k != ElementKind::Rule && k != ElementKind::Box; }

    void prepareBand(PreBand &pb, const Band &band, Scope scope, int group, bool inTable,
                     TableRow::Kind kind)
    {
        pb.band = &band;
        pb.inTable = inTable;
        pb.kind = kind;
        for (const Element &e : band.elements) {
            PreElement pe;
            pe.e = &e;
            pe.font = fontIndex(e);
            pe.field = fieldIndex(e.field);
            pe.mask = FastMask(e.mask);
            if (e.kind == ElementKind::Memo)
                pb.hasMemo = true;
            if (e.kind == ElementKind::Sum || e.kind == ElementKind::Count) {
                Accumulator a;
                a.scope = scope;
                a.group = group;
                a.isCount = e.kind == ElementKind::Count;
                a.field = pe.field;
                a.amount = e.amount ? &e.amount : nullptr;
                pe.acc = int(m_accs.size());
                m_accs.push_back(a);
            }
            if (inTable && e.exported && isText(e.kind)) {
                const double x = std::round(e.rect.left() * 2) / 2;
                m_columnX.push_back(x);
                pb.tableHasCells = true;
            }
            pb.elements.push_back(pe);
        }
    }

    void assignColumns(PreBand &pb)
    {
        for (PreElement &pe : pb.elements) {
            if (!pb.inTable || !pe.e->exported || !isText(pe.e->kind))
                continue;
            const double x = std::round(pe.e->rect.left() * 2) / 2;
            // The column that starts at or before the element (the first one
            // for an element left of every column).
            const auto after = std::upper_bound(m_columnX.begin(), m_columnX.end(), x + 1e-9);
            pe.column = std::max(0, int(after - m_columnX.begin()) - 1);
        }
    }

    void prepare()
    {
        m_out.title = m_d.title;
        m_out.flavour = m_d.flavour;
        m_out.paper = m_d.paper;
        m_out.orientation = m_d.orientation;
        m_out.pageSize = paperSize(m_d.paper, m_d.orientation);
        fontIndex(Element()); // the report's own font is font 0

        m_pageHeight = m_out.pageSize.height();
        m_left = m_d.margins.left();
        m_width = m_out.pageSize.width() - m_d.margins.left() - m_d.margins.right();
        m_top = m_d.margins.top();

        using K = TableRow::Kind;
        prepareBand(m_pageHeader, m_d.pageHeader, Scope::Page, -1, false, K::Detail);
        prepareBand(m_columnHeader, m_d.columnHeader, Scope::Page, -1, true, K::ColumnHeader);
        m_groups.resize(m_d.groups.size());
        for (size_t g = 0; g < m_d.groups.size(); ++g) {
            const Group &def = m_d.groups[g];
            GroupRun &gr = m_groups[g];
            gr.def = &def;
            gr.keyField = fieldIndex(def.keyField);
            prepareBand(gr.header, def.header, Scope::Group, int(g), true, K::GroupHeader);
            prepareBand(gr.footer, def.footer, Scope::Group, int(g), true, K::GroupFooter);
        }
        prepareBand(m_detail, m_d.detail, Scope::Report, -1, true, K::Detail);
        prepareBand(m_detail2, m_d.detail2, Scope::Report, -1, true, K::Detail);
        prepareBand(m_summary, m_d.summary, Scope::Report, -1, true, K::Summary);
        prepareBand(m_pageFooter, m_d.pageFooter, Scope::Page, -1, false, K::Detail);

        // Spreadsheet columns: where the column captions start, when there
        // are captions; otherwise wherever a data element starts.
        if (m_columnHeader.tableHasCells) {
            m_columnX.clear();
            for (const Element &e : m_d.columnHeader.elements)
                if (e.exported && isText(e.kind))
                    m_columnX.push_back(std::round(e.rect.left() * 2) / 2);
        }
        std::sort(m_columnX.begin(), m_columnX.end());
        m_columnX.erase(std::unique(m_columnX.begin(), m_columnX.end()), m_columnX.end());
        m_out.columnCount = int(m_columnX.size());
        for (PreBand *pb : {&m_columnHeader, &m_detail, &m_detail2, &m_summary})
            assignColumns(*pb);
        for (GroupRun &gr : m_groups) {
            assignColumns(gr.header);
            assignColumns(gr.footer);
        }

        m_footerHeight = m_pageFooter.printable() ? m_d.pageFooter.height : 0;
        m_bottom = m_pageHeight - m_d.margins.bottom() - m_footerHeight;
        if (m_rows && m_rows->isOpen())
            m_out.table.reserve(size_t(m_rows->recordCount()) + 16);
    }

    QVariant groupKey(size_t g, int row) const
    {
        const GroupRun &gr = m_groups[g];
        if (gr.def->key)
            return gr.def->key(Context(m_rows, row, pageNo(), m_detailCount));
        if (gr.keyField < 0)
            return QVariant();
        return m_rows->valueAt(row, gr.keyField);
    }

    int pageNo() const { return int(m_out.pages.size()); }

    void addRow(int row)
    {
        for (Accumulator &a : m_accs) {
            if (a.isCount) {
                a.value += 1;
            } else if (a.amount) {
                a.value += (*a.amount)(Context(m_rows, row, pageNo(), m_detailCount));
            } else if (a.field >= 0) {
                const QVariant v = m_rows->valueAt(row, a.field);
                if (!v.isNull())
                    a.value += v.toDouble();
            }
        }
    }

    void openGroup(size_t g, int row)
    {
        for (Accumulator &a : m_accs)
            if (a.scope == Scope::Group && a.group == int(g))
                a.value = 0;
        GroupRun &gr = m_groups[g];
        const double keep =
            gr.def->keepHeaderWithRow && m_detail.printable() ? m_d.detail.height : 0;
        put(gr.header, row, keep);
    }

    void closeGroup(size_t g, int row) { put(m_groups[g].footer, row); }

    void startPage()
    {
        const size_t previous = m_out.pages.empty() ? 64 : m_out.pages.back().items.size();
        m_out.pages.emplace_back();
        m_page = &m_out.pages.back();
        m_page->items.reserve(previous + 8);
        for (Accumulator &a : m_accs)
            if (a.scope == Scope::Page)
                a.value = 0;
        m_y = m_top;
        const int row = m_lastRow;
        if (pageNo() > 1 || m_d.pageHeaderOnFirstPage)
            place(m_pageHeader, row, bandHeight(m_pageHeader, row));
        if (m_columnHeader.printable()) {
            const bool table = m_columnHeader.inTable;
            m_columnHeader.inTable = table && pageNo() == 1; // captions once in the table
            place(m_columnHeader, row, bandHeight(m_columnHeader, row));
            m_columnHeader.inTable = table;
        }
        m_pageHasBody = false;
    }

    void endPage(bool last)
    {
        if (m_pageFooter.printable() && (!last || m_d.pageFooterOnLastPage)) {
            m_y = m_pageHeight - m_d.margins.bottom() - m_footerHeight;
            place(m_pageFooter, m_lastRow, m_footerHeight);
        }
    }

    // A memo that grows pushes down whatever stands below it in its columns,
    // so two memos one above the other stack; side by side, the band grows
    // by the taller of them.
    double bandHeight(PreBand &pb, int row)
    {
        double h = pb.band->height;
        if (!pb.hasMemo)
            return h;
        for (PreElement &pe : pb.elements) {
            pe.shift = 0;
            pe.pushes = false;
            pe.height = pe.e->rect.height();
            if (pe.e->kind != ElementKind::Memo)
                continue;
            const QString text = memoText(pe, row);
            if (text.isEmpty())
                continue;
            const QFontMetricsF &fm = m_metrics[size_t(pe.font)];
            const double px = kRefDpi / 25.4;
            const QRectF r = fm.boundingRect(QRectF(0, 0, pe.e->rect.width() * px, 1e7),
                                             int(pe.e->alignment) | Qt::TextWordWrap, text);
            pe.height = std::max(r.height() / px + 0.3, pe.e->rect.height());
        }
        // Memos from the top down, so a memo pushed by another passes the
        // push on to what is below it.
        std::vector<PreElement *> memos;
        for (PreElement &pe : pb.elements)
            if (pe.e->kind == ElementKind::Memo)
                memos.push_back(&pe);
        std::stable_sort(memos.begin(), memos.end(), [](const PreElement *a, const PreElement *b) {
            return a->e->rect.top() < b->e->rect.top();
        });
        for (PreElement *m : memos) {
            const double growth = std::max(0.0, m->height - m->e->rect.height());
            const QRectF &mr = m->e->rect;
            for (PreElement &pe : pb.elements) {
                const QRectF &er = pe.e->rect;
                const bool below = er.top() >= mr.bottom() - 1e-6;
                const bool sameColumns =
                    er.left() < mr.right() - 1e-6 && er.right() > mr.left() + 1e-6;
                if (&pe == m || !below || !sameColumns)
                    continue;
                pe.shift = std::max(pe.shift, m->shift + growth);
                m->pushes = true;
            }
        }
        for (const PreElement &pe : pb.elements)
            if (pe.e->kind == ElementKind::Memo || pe.shift > 0)
                h = std::max(h, pe.e->rect.top() + pe.shift + pe.height);
        return h;
    }

    QString memoText(const PreElement &pe, int row) const
    {
        if (pe.e->compute)
            return pe.e->compute(Context(m_rows, row, pageNo(), m_detailCount));
        if (pe.field >= 0 && row >= 0)
            return m_rows->valueAt(row, pe.field).toString();
        return pe.e->text;
    }

    // Height of the band for the row, after starting a new page when it does
    // not fit on this one; -1 when the band does not print for the row.
    double fit(PreBand &pb, int row, double keepWith = 0)
    {
        if (!pb.printable())
            return -1;
        if (pb.band->printIf && !pb.band->printIf(Context(m_rows, row, pageNo(), m_detailCount)))
            return -1;
        const double h = bandHeight(pb, row);
        if (m_pageHasBody && m_y + h + keepWith > m_bottom + 1e-6) {
            endPage(false);
            startPage();
        }
        return h;
    }

    void put(PreBand &pb, int row, double keepWith = 0)
    {
        const double h = fit(pb, row, keepWith);
        if (h < 0)
            return;
        place(pb, row, h);
        m_pageHasBody = true;
        if (row >= 0)
            m_lastRow = row;
    }

    void place(PreBand &pb, int row, double height)
    {
        if (!pb.printable())
            return;
        const Band &band = *pb.band;
        const Context ctx(m_rows, row, pageNo(), m_detailCount);
        std::vector<Item> &items = m_page->items;
        const double y = m_y;

        QColor background = band.background;
        if (band.rowBackground) {
            const QColor c = band.rowBackground(ctx);
            if (c.isValid())
                background = c;
        }
        if (background.isValid()) {
            Item &it = items.emplace_back();
            it.kind = Item::Kind::Rect;
            it.rect = QRectF(m_left, y, m_width, height);
            it.fill = background.rgba();
        }
        QColor rowColor;
        if (band.rowColor)
            rowColor = band.rowColor(ctx);

        TableRow *trow = nullptr;
        if (pb.inTable && pb.tableHasCells) {
            trow = &m_out.table.emplace_back();
            trow->kind = pb.kind;
            trow->cells.resize(size_t(m_out.columnCount));
        }

        for (PreElement &pe : pb.elements) {
            const Element &e = *pe.e;
            Item &it = items.emplace_back();
            it.rect = e.rect.translated(m_left, y + (pb.hasMemo ? pe.shift : 0));
            it.color = (rowColor.isValid() ? rowColor : e.color).rgba();
            it.font = uint16_t(pe.font);
            it.alignment = uint16_t(e.alignment);
            double number = 0;
            bool isNumber = false;
            switch (e.kind) {
            case ElementKind::Label:
                it.text = e.text;
                break;
            case ElementKind::Field:
                if (pe.field >= 0 && row >= 0) {
                    const QVariant v = m_rows->valueAt(row, pe.field);
                    it.text = e.text + valueText(pe, v);
                    if (isNumeric(v)) {
                        isNumber = e.text.isEmpty();
                        number = v.toDouble();
                    }
                } else {
                    it.text = e.text;
                }
                break;
            case ElementKind::Computed:
                it.text = e.compute ? e.compute(ctx) : e.text;
                break;
            case ElementKind::Memo:
                it.text = memoText(pe, row);
                it.wrap = true;
                // A memo with nothing below it fills the band down to its
                // end; one with something below keeps to its own text.
                if (pe.pushes)
                    it.rect.setHeight(pe.height);
                else
                    it.rect.setBottom(y + height);
                break;
            case ElementKind::Sum:
            case ElementKind::Count: {
                const double v = m_accs[size_t(pe.acc)].value;
                QString t;
                if (pe.mask.number)
                    t = pe.mask.formatNumber(v);
                else if (e.kind == ElementKind::Count || e.mask.isEmpty())
                    t = QString::number(qint64(std::llround(v)));
                else
                    t = DisplayFormat::format(v, e.mask);
                it.text = e.text + t;
                isNumber = e.text.isEmpty();
                number = v;
                break;
            }
            case ElementKind::Date:
                it.text =
                    e.text + (e.mask.isEmpty() ? plainDate(Clock::today())
                                               : DisplayFormat::format(Clock::today(), e.mask));
                break;
            case ElementKind::PageNumber: {
                const QString tmpl = e.mask.isEmpty() ? QStringLiteral("%1") : e.mask;
                if (tmpl.contains(QLatin1String("%2"))) {
                    m_pageRefs.push_back({pageNo() - 1, items.size() - 1, &e});
                    it.text = e.text + tmpl.arg(pageNo());
                } else {
                    it.text = e.text + tmpl.arg(pageNo());
                }
                break;
            }
            case ElementKind::DetailCount:
                it.text = e.text + (pe.mask.number ? pe.mask.formatNumber(m_detailCount)
                                                   : QString::number(m_detailCount));
                break;
            case ElementKind::Rule:
                it.kind = Item::Kind::Line;
                it.penWidth = float(e.penWidth);
                break;
            case ElementKind::Box:
                it.kind = Item::Kind::Rect;
                it.penWidth = float(e.penWidth);
                it.fill = e.fill.isValid() ? e.fill.rgba() : 0;
                break;
            }
            if (e.upper && it.kind == Item::Kind::Text)
                it.text = it.text.toUpper();
            if (trow && pe.column >= 0) {
                Cell &c = trow->cells[size_t(pe.column)];
                if (c.text.isEmpty()) {
                    c.text = it.text;
                    c.isNumber = isNumber;
                    c.number = number;
                    if (isNumber)
                        c.mask = e.mask;
                } else if (!it.text.isEmpty()) {
                    c.text += QLatin1Char(' ') + it.text;
                    c.isNumber = false;
                }
            }
        }
        m_y = y + height;
    }

    QString valueText(const PreElement &pe, const QVariant &v) const
    {
        if (v.isNull())
            return QString();
        switch (v.metaType().id()) {
        case QMetaType::QDate:
            if (pe.mask.plainDate)
                return plainDate(v.toDate());
            break;
        case QMetaType::QString:
            return v.toString();
        default:
            if (pe.mask.number && isNumeric(v))
                return pe.mask.formatNumber(v.toDouble());
            break;
        }
        return DisplayFormat::format(v, pe.e->mask);
    }

    struct GroupRun
    {
        const Group *def = nullptr;
        int keyField = -1;
        PreBand header;
        PreBand footer;
    };

    const ReportDefinition &m_d;
    const RecordSet *m_rows;
    PreparedReport m_out;
    std::vector<QFontMetricsF> m_metrics;
    std::vector<Accumulator> m_accs;
    std::vector<double> m_columnX;
    std::vector<PageRef> m_pageRefs;

    PreBand m_pageHeader, m_columnHeader, m_detail, m_detail2, m_summary, m_pageFooter;
    std::vector<GroupRun> m_groups;

    Page *m_page = nullptr;
    double m_pageHeight = 0, m_left = 0, m_width = 0, m_top = 0, m_bottom = 0;
    double m_footerHeight = 0;
    double m_y = 0;
    bool m_pageHasBody = false;
    int m_detailCount = 0;
    int m_lastRow = -1;
};

} // namespace

PreparedReport run(const ReportDefinition &definition, const RecordSet &rows)
{
    return Runner(definition, &rows).run();
}

PreparedReport run(const ReportDefinition &definition)
{
    return Runner(definition, nullptr).run();
}

} // namespace Report
