#include "ledger/LedgerStatement.h"

#include <cmath>

namespace LedgerStatement {

namespace {

const QString Rule(Columns, QLatin1Char('='));
const QString Underline = QStringLiteral("-----------");
constexpr int ClosingLines = 6;
constexpr int IssueColumn = 76;

QString side(double value)
{
    return value >= 0 ? QStringLiteral("C") : QStringLiteral("D");
}

class Writer
{
public:
    explicit Writer(const Request &r) : m_r(r), m_doc(Lines, Columns)
    {
        m_doc.setPlainLetters(true);
    }

    void header(bool closing)
    {
        m_doc.put(1, 1, Rule);
        m_doc.put(2, 2, m_r.companyName);
        m_doc.put(2, 81,
                  QStringLiteral("Página: ") +
                      QStringLiteral("%1").arg(m_page, 6, 10, QLatin1Char('0')));
        const QString period = m_r.firstDate + QStringLiteral(" a ") + m_r.lastDate +
                               QStringLiteral(" Conta : ") + m_r.account;
        const QString title = (closing ? QStringLiteral("Fechamento de Caixa - Periodo: ")
                                       : QStringLiteral("Relatorio de C.Corrente-Periodo: ")) +
                              period;
        m_doc.put(3, 2, title);
        // The issue date stands at column 76 of line 3; where a long account
        // number (or long dates) reaches that far, it would cover the
        // account's last digits, so it goes to the free line 5 instead.
        const int issueLine = 1 + int(title.size()) < IssueColumn ? 3 : 5;
        m_doc.put(issueLine, IssueColumn,
                  QStringLiteral("Emissao: ") + m_r.today.toString(QStringLiteral("dd/MM/yyyy")));
        m_doc.put(4, 1, Rule);
        m_doc.put(6, 1, Rule);
        m_doc.put(7, 1,
                  closing
                      ? QStringLiteral("DATA        TIPO                       DESCRICAO        "
                                       "                               VALOR")
                      : QStringLiteral("DATA        TIPOS     DESCRICAO                         "
                                       "C.CUSTO           CREDITO        DEBITO"));
        m_doc.put(8, 1, Rule);
        m_line = 9;
        if (!closing)
            ++m_page;
    }

    void movements(const QList<Movement> &rows)
    {
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Movement &m = rows.at(i);
            if (m_line == 0)
                header(false);
            m_entries += m.valor;
            m_exits += m.debito;
            m_day += m.valor - m.debito;
            m_balance += m.valor - m.debito;
            m_doc.put(m_line, 1,
                      m.datalancamento.toString(QStringLiteral("dd/MM/yyyy")) +
                          QStringLiteral("  ") + m.tipos);
            m_doc.put(m_line, 22, m.fornecedor.left(33).toUpper());
            m_doc.put(m_line, 57, m.gerencial.left(20).toUpper());
            m_doc.putValue(m_line, 72, m.valor);
            m_doc.putValue(m_line, 82, m.debito);
            int next = m_line + 1;
            const bool lastOfDay =
                i + 1 == rows.size() || rows.at(i + 1).datalancamento != m.datalancamento;
            if (lastOfDay) {
                m_doc.put(m_line + 1, 82, Underline);
                m_doc.put(m_line + 2, 69, QStringLiteral("SUB-TOTAL:"));
                m_doc.putValue(m_line + 2, 82, std::fabs(m_day));
                m_doc.put(m_line + 2, 92, side(m_day));
                m_day = 0;
                next = m_line + 4;
            }
            if (next > LastLine) {
                m_doc.newPage();
                m_line = 0;
            } else {
                m_line = next;
            }
        }
    }

    void closing()
    {
        if (m_line == 0) {
            header(true);
        } else if (m_line + ClosingLines > LastLine) {
            m_doc.newPage();
            header(true);
        }
        int l = m_line;
        auto total = [&](const QString &caption, double value, const QString &letter) {
            m_doc.put(l, 59, caption);
            m_doc.putValue(l, 82, value);
            m_doc.put(l, 92, letter);
            ++l;
        };
        total(QStringLiteral("TOTAL ENTRADAS......:"), m_entries, QStringLiteral("C"));
        total(QStringLiteral("TOTAL SAIDAS........:"), m_exits, QStringLiteral("D"));
        total(QStringLiteral("TOTAL DIA...........:"), m_entries - m_exits, QStringLiteral("D"));
        if (m_r.carryBalance)
            total(QStringLiteral("SALDO CAIXA ANTERIOR:"), carried(), side(carried()));
        m_doc.put(l, 82, Underline);
        ++l;
        total(QStringLiteral("SALDO EM CAIXA......:"), m_balance, side(m_balance));
        m_line = l;
    }

    void start() { m_balance = carried(); }
    TextPrint::Document document() const { return m_doc; }

private:
    double carried() const { return m_r.carryBalance ? m_r.carriedBalance : 0; }

    const Request &m_r;
    TextPrint::Document m_doc;
    int m_page = 1;
    int m_line = 0; // 0: nothing on the page yet
    double m_entries = 0;
    double m_exits = 0;
    double m_day = 0;
    double m_balance = 0;
};

} // namespace

TextPrint::Document build(const Request &request, const QList<Movement> &movements)
{
    Writer w(request);
    w.start();
    w.movements(movements);
    w.closing();
    return w.document();
}

} // namespace LedgerStatement
