#include "ofx/OfxText.h"

#include "workbook/TextDecoding.h"

namespace OfxText {

namespace {

// Walks the tags of the text: <NAME>, </NAME> or <NAME/>, with the text that
// follows each; processing instructions, comments and declarations are
// passed over. Names are upper-cased.
class Tags
{
public:
    explicit Tags(QStringView text) : m_s(text) {}

    // False at the end of the text or at a tag cut short.
    bool next()
    {
        const qsizetype n = m_s.size();
        while (true) {
            if (m_pendingEnd) {
                m_pendingEnd = false;
                m_end = true;
                m_value = {};
                return true;
            }
            const qsizetype open = m_s.indexOf(QLatin1Char('<'), m_at);
            if (open < 0)
                return false;
            if (m_s.mid(open, 4) == QLatin1String("<!--")) {
                const qsizetype close = m_s.indexOf(QLatin1String("-->"), open + 4);
                m_at = close < 0 ? n : close + 3;
                continue;
            }
            const qsizetype close = m_s.indexOf(QLatin1Char('>'), open + 1);
            if (close < 0)
                return false;
            QStringView tag = m_s.mid(open + 1, close - open - 1).trimmed();
            m_at = close + 1;
            if (tag.isEmpty() || tag.front() == QLatin1Char('?') || tag.front() == QLatin1Char('!'))
                continue;
            m_end = tag.front() == QLatin1Char('/');
            if (m_end)
                tag = tag.mid(1).trimmed();
            m_pendingEnd = !m_end && tag.endsWith(QLatin1Char('/'));
            if (m_pendingEnd)
                tag.chop(1);
            const qsizetype blank = tag.indexOf(QLatin1Char(' '));
            m_name = (blank < 0 ? tag : tag.left(blank)).toString().toUpper();
            const qsizetype following = m_s.indexOf(QLatin1Char('<'), m_at);
            m_value = m_end ? QStringView() : m_s.mid(m_at, (following < 0 ? n : following) - m_at);
            return true;
        }
    }
    bool isEnd() const { return m_end; }
    const QString &name() const { return m_name; }
    QStringView rawValue() const { return m_value; }

private:
    QStringView m_s;
    qsizetype m_at = 0;
    bool m_end = false;
    bool m_pendingEnd = false;
    QString m_name;
    QStringView m_value;
};

QString decodeEntities(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            const qsizetype semi = text.indexOf(QLatin1Char(';'), i + 1);
            if (semi > i + 1 && semi - i <= 10) {
                const QString name = text.mid(i + 1, semi - i - 1);
                QString decoded;
                if (name == QLatin1String("amp"))
                    decoded = QStringLiteral("&");
                else if (name == QLatin1String("lt"))
                    decoded = QStringLiteral("<");
                else if (name == QLatin1String("gt"))
                    decoded = QStringLiteral(">");
                else if (name == QLatin1String("quot"))
                    decoded = QStringLiteral("\"");
                else if (name == QLatin1String("apos"))
                    decoded = QStringLiteral("'");
                else if (name == QLatin1String("nbsp"))
                    decoded = QStringLiteral(" ");
                else if (name.startsWith(QLatin1Char('#'))) {
                    bool ok = false;
                    const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                                          ? name.mid(2).toUInt(&ok, 16)
                                          : name.mid(1).toUInt(&ok, 10);
                    if (ok && code > 0 && code < 0x110000)
                        decoded = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                }
                if (!decoded.isEmpty()) {
                    out += decoded;
                    i = semi;
                    continue;
                }
            }
        }
        out += text.at(i); // a bare "&" is just an ampersand
    }
    return out;
}

QString escape(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    v.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    v.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    // One line per value: a line break inside would end it early.
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

} // namespace

QString dayOf(const QString &value)
{
    if (value.size() >= 8) {
        bool digits = true;
        for (int k = 0; k < 8 && digits; ++k)
            digits = value.at(k).isDigit();
        if (digits)
            return value.left(8);
    }
    return value;
}

QString plainAmount(const QString &amount)
{
    QString a = amount;
    a.remove(QLatin1Char(' '));
    if (a.startsWith(QLatin1Char('+')))
        a.remove(0, 1);
    const qsizetype comma = a.lastIndexOf(QLatin1Char(','));
    const qsizetype point = a.lastIndexOf(QLatin1Char('.'));
    if (comma >= 0 && comma > point) {
        a.remove(QLatin1Char('.')); // thousands points before a decimal comma
        a.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (comma >= 0) {
        a.remove(QLatin1Char(',')); // thousands commas before a decimal point
    }
    return a;
}

Document parse(const QByteArray &bytes)
{
    Document doc;
    const QString text = TextDecoding::decode(bytes).text;
    const qsizetype begin = text.indexOf(QLatin1String("<OFX"), 0, Qt::CaseInsensitive);
    if (begin < 0)
        return doc;
    Tags tags(QStringView(text).mid(begin));

    enum class Section { None, Account, List, Transaction, Balance, Other };
    Section section = Section::None;
    Statement *st = nullptr;
    Transaction *tx = nullptr;
    QString skipping; // an aggregate inside a transaction that we pass over
    QString statusCode;
    QString statusMessage;

    static const QStringList nestedInTransaction = {
        QStringLiteral("PAYEE"),    QStringLiteral("BANKACCTTO"),   QStringLiteral("CCACCTTO"),
        QStringLiteral("CURRENCY"), QStringLiteral("ORIGCURRENCY"), QStringLiteral("IMAGEDATA"),
    };

    while (tags.next()) {
        const QString &name = tags.name();
        if (tags.isEnd()) {
            if (!skipping.isEmpty()) {
                if (name == skipping)
                    skipping.clear();
                continue;
            }
            if (name == QLatin1String("OFX"))
                doc.closed = true;
            else if (name == QLatin1String("STMTTRN") && section == Section::Transaction)
                section = Section::List;
            else if (name == QLatin1String("BANKTRANLIST") ||
                     name == QLatin1String("BANKACCTFROM") || name == QLatin1String("CCACCTFROM") ||
                     name == QLatin1String("LEDGERBAL") || name == QLatin1String("AVAILBAL"))
                section = Section::None;
            else if (name == QLatin1String("STMTRS") || name == QLatin1String("CCSTMTRS")) {
                section = Section::None;
                st = nullptr;
            }
            continue;
        }

        // A start tag; its value is the text right after it.
        if (!skipping.isEmpty())
            continue;
        const QString value = decodeEntities(tags.rawValue().trimmed().toString());
        if (name == QLatin1String("OFX")) {
            doc.found = true;
        } else if (name == QLatin1String("STMTRS") || name == QLatin1String("CCSTMTRS")) {
            doc.statements.append(Statement());
            st = &doc.statements.last();
            st->creditCard = name == QLatin1String("CCSTMTRS");
            section = Section::None;
        } else if (name == QLatin1String("CODE")) {
            if (statusCode.isEmpty() && value != QLatin1String("0"))
                statusCode = value;
        } else if (name == QLatin1String("MESSAGE")) {
            if (statusMessage.isEmpty() && !statusCode.isEmpty())
                statusMessage = value;
        } else if (!st) {
            continue; // sign-on and other replies
        } else if (name == QLatin1String("BANKACCTFROM") || name == QLatin1String("CCACCTFROM")) {
            section = Section::Account;
        } else if (name == QLatin1String("BANKTRANLIST")) {
            section = Section::List;
        } else if (name == QLatin1String("STMTTRN")) {
            // An unclosed transaction ends where the next one begins.
            st->transactions.append(Transaction());
            tx = &st->transactions.last();
            section = Section::Transaction;
        } else if (name == QLatin1String("LEDGERBAL")) {
            section = Section::Balance;
        } else if (name == QLatin1String("AVAILBAL")) {
            section = Section::Other;
        } else if (section == Section::Account) {
            if (name == QLatin1String("BANKID"))
                st->bankId = value;
            else if (name == QLatin1String("BRANCHID"))
                st->branchId = value;
            else if (name == QLatin1String("ACCTID"))
                st->accountId = value;
            else if (name == QLatin1String("ACCTTYPE"))
                st->accountType = value;
        } else if (section == Section::Transaction) {
            if (nestedInTransaction.contains(name))
                skipping = name;
            else if (name == QLatin1String("TRNTYPE"))
                tx->type = value;
            else if (name == QLatin1String("DTPOSTED"))
                tx->posted = value;
            else if (name == QLatin1String("TRNAMT"))
                tx->amount = value;
            else if (name == QLatin1String("FITID"))
                tx->fitId = value;
            else if (name == QLatin1String("CHECKNUM"))
                tx->checkNumber = value;
            else if (name == QLatin1String("NAME"))
                tx->name = value;
            else if (name == QLatin1String("MEMO"))
                tx->memo = value;
        } else if (section == Section::List) {
            if (name == QLatin1String("DTSTART"))
                st->start = value;
            else if (name == QLatin1String("DTEND"))
                st->end = value;
        } else if (section == Section::Balance) {
            if (name == QLatin1String("BALAMT"))
                st->balance = value;
            else if (name == QLatin1String("DTASOF"))
                st->balanceDate = value;
        } else if (name == QLatin1String("CURDEF")) {
            st->currency = value;
        }
    }
    if (!statusCode.isEmpty())
        doc.statusMessage = statusMessage.isEmpty() ? statusCode : statusMessage;
    return doc;
}

QByteArray restate(const Statement &s, int first, int count)
{
    QString out;
    out.reserve(200 * count + 1000);
    auto leaf = [&out](QLatin1String tag, const QString &value) {
        out += QLatin1Char('<') + tag + QLatin1Char('>') + escape(value) + QLatin1Char('\n');
    };
    out += QStringLiteral("OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\n"
                          "ENCODING:UTF-8\nCHARSET:NONE\nCOMPRESSION:NONE\nOLDFILEUID:NONE\n"
                          "NEWFILEUID:NONE\n\n<OFX>\n<SIGNONMSGSRSV1>\n<SONRS>\n<STATUS>\n"
                          "<CODE>0\n<SEVERITY>INFO\n</STATUS>\n<DTSERVER>19700101\n"
                          "<LANGUAGE>POR\n</SONRS>\n</SIGNONMSGSRSV1>\n");
    const QLatin1String set =
        s.creditCard ? QLatin1String("CREDITCARDMSGSRSV1") : QLatin1String("BANKMSGSRSV1");
    const QLatin1String trnrs =
        s.creditCard ? QLatin1String("CCSTMTTRNRS") : QLatin1String("STMTTRNRS");
    const QLatin1String stmtrs = s.creditCard ? QLatin1String("CCSTMTRS") : QLatin1String("STMTRS");
    out += QStringLiteral("<%1>\n<%2>\n<TRNUID>0\n<STATUS>\n<CODE>0\n<SEVERITY>INFO\n</STATUS>\n"
                          "<%3>\n")
               .arg(set, trnrs, stmtrs);
    leaf(QLatin1String("CURDEF"), s.currency.isEmpty() ? QStringLiteral("BRL") : s.currency);
    if (s.creditCard) {
        out += QLatin1String("<CCACCTFROM>\n");
        leaf(QLatin1String("ACCTID"), s.accountId);
        out += QLatin1String("</CCACCTFROM>\n");
    } else {
        out += QLatin1String("<BANKACCTFROM>\n");
        leaf(QLatin1String("BANKID"), s.bankId);
        if (!s.branchId.isEmpty())
            leaf(QLatin1String("BRANCHID"), s.branchId);
        leaf(QLatin1String("ACCTID"), s.accountId);
        leaf(QLatin1String("ACCTTYPE"),
             s.accountType.isEmpty() ? QStringLiteral("CHECKING") : s.accountType);
        out += QLatin1String("</BANKACCTFROM>\n");
    }
    out += QLatin1String("<BANKTRANLIST>\n");
    // The period is required; a bank that leaves it out still dated its lines.
    QString start = dayOf(s.start.isEmpty() ? s.end : s.start);
    QString end = dayOf(s.end.isEmpty() ? s.start : s.end);
    if (start.isEmpty())
        start = end = s.transactions.isEmpty() ? QStringLiteral("19700101")
                                               : dayOf(s.transactions.first().posted);
    leaf(QLatin1String("DTSTART"), start);
    leaf(QLatin1String("DTEND"), end);
    const int last = std::min<int>(int(s.transactions.size()), first + count);
    for (int i = first; i < last; ++i) {
        const Transaction &t = s.transactions.at(i);
        out += QLatin1String("<STMTTRN>\n");
        leaf(QLatin1String("TRNTYPE"), t.type.isEmpty() ? QStringLiteral("OTHER") : t.type);
        leaf(QLatin1String("DTPOSTED"), dayOf(t.posted));
        leaf(QLatin1String("TRNAMT"), plainAmount(t.amount));
        leaf(QLatin1String("FITID"), t.fitId);
        if (!t.checkNumber.isEmpty())
            leaf(QLatin1String("CHECKNUM"), t.checkNumber);
        if (!t.name.isEmpty())
            leaf(QLatin1String("NAME"), t.name);
        if (!t.memo.isEmpty())
            leaf(QLatin1String("MEMO"), t.memo);
        out += QLatin1String("</STMTTRN>\n");
    }
    out += QLatin1String("</BANKTRANLIST>\n");
    // The balance is required in a statement; without the bank's, a zero
    // stands in (and the reader does not take it for one).
    out += QLatin1String("<LEDGERBAL>\n");
    leaf(QLatin1String("BALAMT"),
         s.balance.isEmpty() ? QStringLiteral("0") : plainAmount(s.balance));
    leaf(QLatin1String("DTASOF"), dayOf(s.balanceDate.isEmpty() ? end : s.balanceDate));
    out += QLatin1String("</LEDGERBAL>\n");
    out += QStringLiteral("</%3>\n</%2>\n</%1>\n</OFX>\n").arg(set, trnrs, stmtrs);
    return out.toUtf8();
}

} // namespace OfxText
