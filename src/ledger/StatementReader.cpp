#include "ledger/StatementReader.h"

#include "db/DisplayFormat.h"
#include "workbook/CellText.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace StatementReader {

namespace {

enum Column { ColData = 0, ColHistorico = 1, ColDocumento = 2, ColValor = 3, ColSaldo = 4 };

bool passedOver(const QString &a, const QString &b, const QString &c)
{
    if (a.isEmpty() || a == QLatin1String("Data"))
        return true;
    if (b.isEmpty() || b == QStringLiteral("Histórico"))
        return true;
    if (c.isEmpty() || c == QLatin1String("Documento"))
        return true;
    return b == QLatin1String("SALDO ANTERIOR") || b == QLatin1String("CONTA") ||
           a == QLatin1String("Data ");
}

QString where(int row, int column)
{
    return QStringLiteral("Linha %1, célula %2: ")
        .arg(row + 1)
        .arg(CellText::cellName(row, column));
}

double numberCell(const TextGrid &grid, int row, int column)
{
    const QString text = grid.cell(row, column);
    if (text.trimmed().isEmpty())
        throw Error(where(row, column) + QStringLiteral("o valor está em branco."));
    const std::optional<double> v = number(text);
    if (!v)
        throw Error(where(row, column) + QStringLiteral("\"%1\" não é um valor.").arg(text));
    return *v;
}

// Digits only, without the leading zeros.
QString digits(const QString &text)
{
    QString d;
    for (const QChar c : text)
        if (c.isDigit())
            d += c;
    while (d.startsWith(QLatin1Char('0')))
        d.remove(0, 1);
    return d;
}

} // namespace

Error::Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message)
{
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = DisplayFormat::parseNumber(text, &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QDate date(const QString &text)
{
    // A date cell that holds a time of day reads "dd/mm/yyyy HH:mm:ss".
    static const QRegularExpression withTime(
        QStringLiteral("^\\s*(\\S+)(?:\\s+\\d{1,2}:\\d{2}(?::\\d{2})?)?\\s*$"));
    const QRegularExpressionMatch m = withTime.match(text);
    if (!m.hasMatch())
        return {};
    return DisplayFormat::parseDate(m.captured(1));
}

QList<StatementLine> fromGrid(const TextGrid &grid)
{
    QList<StatementLine> lines;
    for (int r = 0; r < grid.rowCount(); ++r) {
        const QString a = grid.cell(r, ColData);
        const QString b = grid.cell(r, ColHistorico);
        const QString c = grid.cell(r, ColDocumento);
        if (passedOver(a, b, c))
            continue;
        StatementLine line;
        line.amount = numberCell(grid, r, ColValor);
        if (!grid.cell(r, ColSaldo).isEmpty())
            line.saldo = numberCell(grid, r, ColSaldo);
        line.data = date(a);
        if (!line.data.isValid())
            throw Error(where(r, ColData) +
                        QStringLiteral("\"%1\" não é uma data (dd/mm/aaaa).").arg(a));
        line.historico = b;
        line.documento = c;
        lines << line;
    }
    return lines;
}

QList<StatementLine> fromOfx(const OfxStatement &statement)
{
    QList<StatementLine> lines;
    int closing = -1; // the last line of the latest day
    for (const OfxTransaction &t : statement.transactions) {
        StatementLine line;
        line.data = t.date;
        line.historico = t.history();
        line.documento = t.document();
        line.amount = t.amount;
        lines << line;
        if (closing < 0 || t.date >= lines.at(closing).data)
            closing = int(lines.size()) - 1;
    }
    if (closing >= 0 && statement.ledgerBalance &&
        !(statement.balanceDate.isValid() && statement.balanceDate < lines.at(closing).data))
        lines[closing].saldo = *statement.ledgerBalance;
    return lines;
}

bool isOfxFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ofx") || suffix == QLatin1String("qfx"))
        return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4096).toUpper();
    return head.trimmed().startsWith("OFXHEADER") || head.contains("<?OFX") ||
           head.contains("<OFX>");
}

bool sameAccount(const OfxAccount &ofx, const QString &agencia, const QString &conta)
{
    const QString theirs = digits(ofx.accountId);
    if (theirs.isEmpty())
        return false;
    QStringList ours{digits(conta)};
    const int dash = conta.lastIndexOf(QLatin1Char('-'));
    if (dash > 0)
        ours << digits(conta.left(dash)); // without the check digit
    bool number = false;
    for (const QString &n : ours) {
        if (n.isEmpty())
            continue;
        // A short number could end many others: only a whole number counts then.
        if (theirs == n || (n.size() >= 5 && theirs.endsWith(n)))
            number = true;
    }
    if (!number)
        return false;
    const QString branchTheirs = digits(ofx.branchId);
    const QString branchOurs = digits(agencia);
    return branchTheirs.isEmpty() || branchOurs.isEmpty() || branchTheirs == branchOurs;
}

} // namespace StatementReader
