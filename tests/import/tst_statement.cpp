// The statement's lines before the database: which worksheet rows become
// lines and how their cells read (a cell that does not read names its row and
// cell and gives no line at all), the closing balance of an OFX statement,
// whether an OFX account is the chosen one, and which lines of a transfer
// are likely duplicates and asked about.

#include "TestMain.h"
#include "ledger/StatementReader.h"
#include "ledger/TransferPlan.h"

#include <QtTest>

namespace {

TextGrid gridOf(const QList<QStringList> &rows)
{
    int columns = 0;
    for (const QStringList &r : rows)
        columns = qMax(columns, int(r.size()));
    TextGrid g(int(rows.size()), columns);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g.setCell(r, c, rows[r][c]);
    return g;
}

QString show(const StatementLine &l)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(l.data.toString(Qt::ISODate), l.historico, l.documento, QString::number(l.amount),
             l.saldo ? QString::number(*l.saldo) : QStringLiteral("-"));
}

StagedLine staged(int id, const QDate &d, const QString &doc, double credit, double debit = 0)
{
    StagedLine l;
    l.id = id;
    l.data = d;
    l.historico = QStringLiteral("LINHA %1").arg(id);
    l.documento = doc;
    if (credit != 0)
        l.valor = credit;
    else
        l.debito = debit;
    return l;
}

} // namespace

class TstStatement : public QObject
{
    Q_OBJECT
private slots:
    void rowsThatAreLines_data();
    void rowsThatAreLines();
    void cellsThatDoNotRead_data();
    void cellsThatDoNotRead();
    void ofxClosingBalance();
    void ofxAccount_data();
    void ofxAccount();
    void duplicatesAreAskedInOrder();
};

void TstStatement::rowsThatAreLines_data()
{
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QString>("line"); // empty: passed over

    const auto row = [](const char *a, const char *b, const char *c, const char *d,
                        const char *e = "") {
        return QStringList{QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c),
                           QString::fromUtf8(d), QString::fromUtf8(e)};
    };
    QTest::newRow("credit, thousands and balance")
        << row("15/03/2024", "TED RECEBIDA", "456", "1234,5", "2.084,25")
        << "2024-03-15|TED RECEBIDA|456|1234.5|2084.25";
    QTest::newRow("debit, date with time, no balance")
        << row("16/03/2024 14:30:00", "Pagamento ação", "123", "-150,25")
        << "2024-03-16|Pagamento ação|123|-150.25|-";
    QTest::newRow("amount 0") << row("01/03/2024", "TARIFA", "9", "0") << "2024-03-01|TARIFA|9|0|-";
    QTest::newRow("plain decimal point, blanks around")
        << row("1/3/2024", "X", "1", " 10.5 ") << "2024-03-01|X|1|10.5|-";
    QTest::newRow("header") << row("Data", "Histórico", "Documento", "Valor", "Saldo") << "";
    QTest::newRow("no date") << row("", "TARIFA", "1", "-1") << "";
    QTest::newRow("no history") << row("01/03/2024", "", "1", "-1") << "";
    QTest::newRow("no document") << row("01/03/2024", "TARIFA", "", "-1") << "";
    QTest::newRow("header word in history only") << row("01/03/2024", "Histórico", "1", "x") << "";
    QTest::newRow("header word in document only") << row("01/03/2024", "A", "Documento", "x") << "";
    // Passed over before their cells are read: an account row carries text.
    QTest::newRow("SALDO ANTERIOR") << row("01/03/2024", "SALDO ANTERIOR", "0", "", "1000") << "";
    QTest::newRow("CONTA") << row("Conta:", "CONTA", "12345-6", "BRADESCO") << "";
    QTest::newRow("Data with a blank") << row("Data ", "Lançamento", "Doc", "Valor") << "";
    // The texts compare exactly: another case or a blank makes a line.
    QTest::newRow("history with a blank")
        << row("02/03/2024", "CONTA ", "7", "-3") << "2024-03-02|CONTA |7|-3|-";
    QTest::newRow("lower-case saldo anterior")
        << row("02/03/2024", "saldo anterior", "7", "5") << "2024-03-02|saldo anterior|7|5|-";
}

void TstStatement::rowsThatAreLines()
{
    QFETCH(QStringList, row);
    QFETCH(QString, line);
    const QList<StatementLine> lines = StatementReader::fromGrid(gridOf({row}));
    if (line.isEmpty()) {
        QVERIFY(lines.isEmpty());
        return;
    }
    QCOMPARE(lines.size(), 1);
    QCOMPARE(show(lines[0]), line);
}

void TstStatement::cellsThatDoNotRead_data()
{
    QTest::addColumn<QStringList>("third");
    QTest::addColumn<QString>("message");
    QTest::newRow("amount") << QStringList{"03/03/2024", "A", "1", "12,3,4"}
                            << "Linha 3, célula D3: \"12,3,4\" não é um valor.";
    QTest::newRow("amount missing") << QStringList{"03/03/2024", "A", "1", " "}
                                    << "Linha 3, célula D3: o valor está em branco.";
    QTest::newRow("balance") << QStringList{"03/03/2024", "A", "1", "5", "R$ x"}
                             << "Linha 3, célula E3: \"R$ x\" não é um valor.";
    QTest::newRow("date") << QStringList{"31/02/2024", "A", "1", "5"}
                          << "Linha 3, célula A3: \"31/02/2024\" não é uma data (dd/mm/aaaa).";
    QTest::newRow("iso date") << QStringList{"2024-03-03", "A", "1", "5"}
                              << "Linha 3, célula A3: \"2024-03-03\" não é uma data (dd/mm/aaaa).";
}

void TstStatement::cellsThatDoNotRead()
{
    QFETCH(QStringList, third);
    QFETCH(QString, message);
    // Good lines around it: none of them is given.
    const TextGrid grid = gridOf({{"01/03/2024", "A", "1", "1"},
                                  {"02/03/2024", "B", "2", "2"},
                                  third,
                                  {"04/03/2024", "D", "4", "4"}});
    try {
        StatementReader::fromGrid(grid);
        QFAIL("a cell that does not read gave lines");
    } catch (const StatementReader::Error &e) {
        QCOMPARE(e.message(), message);
    }
}

void TstStatement::ofxClosingBalance()
{
    OfxStatement st;
    auto tx = [](const QDate &d, double amount, const char *memo, const char *fitid,
                 const char *check = "") {
        OfxTransaction t;
        t.date = d;
        t.amount = amount;
        t.memo = QString::fromUtf8(memo);
        t.fitId = QString::fromUtf8(fitid);
        t.checkNumber = QString::fromUtf8(check);
        return t;
    };
    // Not in date order: the balance goes to the last line of the latest day.
    st.transactions = {tx({2024, 3, 2}, -10, "A", "F1", "000123"), tx({2024, 3, 5}, 20, "B", "F2"),
                       tx({2024, 3, 5}, -5, "C", "F3"), tx({2024, 3, 3}, 1, "D", "F4")};
    st.ledgerBalance = 1005.5;
    st.balanceDate = QDate(2024, 3, 5);
    QStringList lines;
    for (const StatementLine &l : StatementReader::fromOfx(st))
        lines << show(l);
    QCOMPARE(lines, (QStringList{"2024-03-02|A|000123|-10|-", "2024-03-05|B|F2|20|-",
                                 "2024-03-05|C|F3|-5|1005.5", "2024-03-03|D|F4|1|-"}));
    // A balance as of an earlier day belongs to no line.
    st.balanceDate = QDate(2024, 3, 4);
    for (const StatementLine &l : StatementReader::fromOfx(st))
        QVERIFY(!l.saldo);
}

void TstStatement::ofxAccount_data()
{
    QTest::addColumn<QString>("branchId");
    QTest::addColumn<QString>("accountId");
    QTest::addColumn<QString>("agencia");
    QTest::addColumn<QString>("conta");
    QTest::addColumn<bool>("same");
    QTest::newRow("as written") << "0123"
                                << "12345-6"
                                << "0123"
                                << "12345-6" << true;
    QTest::newRow("digits with zeros") << "123"
                                       << "00123456"
                                       << "0123"
                                       << "12345-6" << true;
    QTest::newRow("without check digit") << ""
                                         << "12345"
                                         << "0123"
                                         << "12345-6" << true;
    QTest::newRow("branch before the number") << ""
                                              << "0123123456"
                                              << "0123"
                                              << "12345-6" << true;
    QTest::newRow("another number") << "0123"
                                    << "12345-7"
                                    << "0123"
                                    << "12345-6" << false;
    QTest::newRow("another branch") << "0350"
                                    << "12345-6"
                                    << "0123"
                                    << "12345-6" << false;
    QTest::newRow("short number only whole") << ""
                                             << "91234"
                                             << ""
                                             << "234" << false;
    QTest::newRow("no number") << ""
                               << ""
                               << ""
                               << "12345-6" << false;
}

void TstStatement::ofxAccount()
{
    QFETCH(QString, branchId);
    QFETCH(QString, accountId);
    QFETCH(QString, agencia);
    QFETCH(QString, conta);
    QFETCH(bool, same);
    OfxAccount a;
    a.bankId = QStringLiteral("237");
    a.branchId = branchId;
    a.accountId = accountId;
    QCOMPARE(StatementReader::sameAccount(a, agencia, conta), same);
}

void TstStatement::duplicatesAreAskedInOrder()
{
    const QDate d(2024, 3, 15);
    const QList<StagedLine> lines = {
        staged(1, d, "DOC1", 0, 150.25),            // the ledger has it
        staged(2, d, "A", 10),                      // booked
        staged(3, d, "a  ", 10),                    // repeats 2 (case, trailing blanks)
        staged(4, d, "A", 10),                      // repeats 2 again
        staged(6, d, "12345678901234567890", 0, 1), // booked cut to 15
        staged(7, d, "123456789012345XXXXX", 0, 1), // the same first 15 characters
        staged(8, d.addDays(1), "A", 10),           // another day
        staged(9, d, "A", 0, 10),                   // a debit of the same amount
    };
    TransferContext c;
    QStringList asked;
    QList<bool> answers = {true, false, true, true, false};
    const QList<LedgerMovement> booked =
        TransferPlan::plan(lines, {1}, c, [&](const StagedLine &l, double amount) {
            asked << QStringLiteral("%1 %2").arg(l.id).arg(amount);
            return answers.takeFirst();
        });
    QCOMPARE(asked, (QStringList{"1 150.25", "3 10", "4 10", "7 1", "9 10"}));
    QStringList got;
    for (const LedgerMovement &m : booked)
        got << m.fornecedor.toString() + "/" + m.especie.toString() + "/" + m.documento.toString();
    QCOMPARE(got, (QStringList{"LINHA 1/DINHEIRO/DOC1", "LINHA 2/BANCO/A", "LINHA 4/DINHEIRO/A",
                               "LINHA 6/BANCO/123456789012345", "LINHA 7/DINHEIRO/123456789012345",
                               "LINHA 8/BANCO/A"}));
    QCOMPARE(TransferPlan::duplicateQuestion(150.25),
             QStringLiteral("Já existe um valor parecido!\nValor R$: 150,250\n"
                            "Confirma o lançamento do registro?"));
    QCOMPARE(TransferPlan::duplicateQuestion(1234.5),
             QStringLiteral("Já existe um valor parecido!\nValor R$: 1.234,500\n"
                            "Confirma o lançamento do registro?"));
}

CP_TEST(TstStatement)
#include "tst_statement.moc"
