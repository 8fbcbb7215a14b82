// The printed account statement: its pages checked line by line and column
// by column against lines written out by hand, for the period, the day
// subtotals, the page breaks, the closing block and the carried balance, on
// movements read from a real database; and the dialog's refusals.

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "ledger/FCaixa_Relatorio2_OP02.h"
#include "textprint/TextPreview.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QToolButton>
#include <QtTest>

#include <optional>

namespace {

const QDateTime kNow(QDate(2024, 4, 29), QTime(9, 30));

// One movement of contacorrente.
struct Movement
{
    QString date; // yyyy-MM-dd
    QString tipos;
    QString fornecedor;
    QString gerencial;
    QVariant valor;
    QVariant debito;
    QString conta = QStringLiteral("12345-6");
};

// A line of a page: the texts at their columns; a page line not listed in a
// case marked complete must be empty.
struct Line
{
    int page;
    int line;
    QList<QPair<int, QString>> parts;
};

QString compose(const QList<QPair<int, QString>> &parts)
{
    QString s;
    for (const auto &[column, text] : parts) {
        const qsizetype end = column - 1 + text.size();
        if (s.size() < end)
            s = s.leftJustified(end, QLatin1Char(' '));
        s.replace(column - 1, text.size(), text);
    }
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

const QString kRule = QString(95, QLatin1Char('='));

// The page header as it reads on paper: the movement header, or the closing
// one.
QList<Line> header(int page, bool closing, const QString &first = "01/04/2024",
                   const QString &last = "30/04/2024", const QString &account = "12345-6",
                   int issueLine = 3)
{
    const QString period = first + " a " + last + " Conta : " + account;
    return {
        {page, 1, {{1, kRule}}},
        {page,
         2,
         {{2, "Comercio Exemplo Ltda"}, {81, QString("Pagina: %1").arg(page, 6, 10, QChar('0'))}}},
        {page,
         3,
         {{2, (closing ? "Fechamento de Caixa - Periodo: " : "Relatorio de C.Corrente-Periodo: ") +
                  period},
          {76, issueLine == 3 ? "Emissao: 29/04/2024" : ""}}},
        {page, 4, {{1, kRule}}},
        {page, 5, {{76, issueLine == 5 ? "Emissao: 29/04/2024" : ""}}},
        {page, 6, {{1, kRule}}},
        {page,
         7,
         {{1, closing
                  ? "DATA        TIPO                       DESCRICAO                              "
                    "         VALOR"
                  : "DATA        TIPOS     DESCRICAO                         C.CUSTO           "
                    "CREDITO        DEBITO"}}},
        {page, 8, {{1, kRule}}},
    };
}

Line movement(int page, int line, const QString &dateAndKind, const QString &description,
              const QString &costCentre, const QString &credit, const QString &debit)
{
    return {page,
            line,
            {{1, dateAndKind}, {22, description}, {57, costCentre}, {72, credit}, {82, debit}}};
}

QList<Line> subtotal(int page, int line, const QString &amount, const QString &side)
{
    return {{page, line + 1, {{82, "-----------"}}},
            {page, line + 2, {{69, "SUB-TOTAL:"}, {82, amount}, {92, side}}}};
}

// The closing block from line on; without a carried balance when carried is empty.
QList<Line> closingBlock(int page, int line, const QString &entries, const QString &exits,
                         const QString &day, const QString &carried, const QString &carriedSide,
                         const QString &balance, const QString &balanceSide)
{
    QList<Line> l{{page, line, {{59, "TOTAL ENTRADAS......:"}, {82, entries}, {92, "C"}}},
                  {page, line + 1, {{59, "TOTAL SAIDAS........:"}, {82, exits}, {92, "D"}}},
                  {page, line + 2, {{59, "TOTAL DIA...........:"}, {82, day}, {92, "D"}}}};
    int next = line + 3;
    if (!carried.isEmpty())
        l << Line{page, next++, {{59, "SALDO CAIXA ANTERIOR:"}, {82, carried}, {92, carriedSide}}};
    l << Line{page, next, {{82, "-----------"}}};
    l << Line{page, next + 1, {{59, "SALDO EM CAIXA......:"}, {82, balance}, {92, balanceSide}}};
    return l;
}

// n credits of 10,00 on one day, described "MOV 01" to "MOV n".
QList<Movement> creditsOn(const QString &date, int n)
{
    QList<Movement> m;
    for (int i = 1; i <= n; ++i)
        m << Movement{date,     "CREDITO", QString("MOV %1").arg(i, 2, 10, QChar('0')),
                      "VENDAS", 10.0,      QVariant()};
    return m;
}

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(kNow, QStringLiteral("MARIA"))
    {
        exec("INSERT INTO configuracao (Controle, Nome) VALUES (1, 'Comércio Exemplo Ltda')");
        exec("INSERT INTO conta (codigoconta, banco, agencia, conta) VALUES "
             "(1, 'BRADESCO', '0123', '12345-6'), (2, 'ITAU', '0350', '12345-6'), "
             "(3, 'CAIXA', '0001', '99999-0'), (4, 'CAIXA ECONOMICA', '0871', '00012345-0')");
        dm.tbConfiguracao->refresh();
    }
    void insert(const Movement &m)
    {
        QSqlQuery q(db.sql());
        q.prepare("INSERT INTO contacorrente (datalancamento, tipos, fornecedor, gerencial, valor, "
                  "debito, conta) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const QVariant &v :
             QVariantList{m.date, m.tipos, m.fornecedor, m.gerencial, m.valor, m.debito, m.conta})
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s", qPrintable(q.lastError().text()));
    }
};

// Runs "&Imprimir" with the dialog's fields as given; the document the
// preview was opened with, if it was.
std::optional<TextPrint::Document> print(FCaixa_Relatorio2_OP02 &dialog, const QString &first,
                                         const QString &last, const QString &account, bool carry,
                                         QString *previewTitle = nullptr)
{
    dialog.dataInicial()->setText(first);
    dialog.dataFinal()->setText(last);
    dialog.contaBox()->setKeyValue(account.isEmpty() ? QVariant() : QVariant(account));
    dialog.saldoAnterior()->setChecked(carry);
    std::optional<TextPrint::Document> shown;
    Modal::ScopedHandler handler([&](QDialog *d) {
        if (auto *preview = qobject_cast<TextPrint::Preview *>(d)) {
            shown = preview->document();
            if (previewTitle)
                *previewTitle = preview->windowTitle();
        }
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(dialog.imprimirButton(), Qt::LeftButton);
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(QList<Movement>)
Q_DECLARE_METATYPE(QList<Line>)

class TstStatement : public QObject
{
    Q_OBJECT
private slots:
    void pages_data();
    void pages();
    void refusedDates_data();
    void refusedDates();
    void dialogAsItOpens();
};

void TstStatement::pages_data()
{
    QTest::addColumn<QList<Movement>>("movements");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("account");
    QTest::addColumn<bool>("carry");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<bool>("complete"); // every other line of the pages is empty
    QTest::addColumn<QList<Line>>("lines");

    // Booked before the period on the account: carried when asked for.
    const Movement earlier{"2024-03-15", "CREDITO", "SALDO MARCO", "VENDAS", 500.0, QVariant()};

    QTest::newRow("no movements: closing header and block alone")
        << QList<Movement>{earlier} << "01/04/2024"
        << "12345-6" << true << 1 << true
        << header(1, true) + closingBlock(1, 9, "      0,00", "      0,00", "      0,00",
                                          "    500,00", "C", "    500,00", "C");

    QTest::newRow("three movements on one day and one on the next")
        << QList<Movement>{earlier,
                           {"2024-04-10", "DEBITO", "TARIFA", "BANCO", QVariant(), 200.0},
                           {"2024-04-10", "CREDITO", "DEPOSITO", "VENDAS", 1000.0, QVariant()},
                           {"2024-04-10", "DEBITO", "CHEQUE 123", "DESPESAS", 0.0, 50.5},
                           {"2024-04-11", "CREDITO", "TRANSFERENCIA", "VENDAS", 300.0, 0.0}}
        << "01/04/2024"
        << "12345-6" << true << 1 << true
        << header(1, false) +
               QList<Line>{movement(1, 9, "10/04/2024  CREDITO", "DEPOSITO", "VENDAS", "  1.000,00",
                                    "      0,00"),
                           movement(1, 10, "10/04/2024  DEBITO", "CHEQUE 123", "DESPESAS",
                                    "      0,00", "     50,50"),
                           movement(1, 11, "10/04/2024  DEBITO", "TARIFA", "BANCO", "      0,00",
                                    "    200,00")} +
               subtotal(1, 11, "    749,50", "C") +
               QList<Line>{movement(1, 15, "11/04/2024  CREDITO", "TRANSFERENCIA", "VENDAS",
                                    "    300,00", "      0,00")} +
               subtotal(1, 15, "    300,00", "C") +
               closingBlock(1, 19, "  1.300,00", "    250,50", "  1.049,50", "    500,00", "C",
                            "  1.549,50", "C");

    QTest::newRow("a day with debits above credits")
        << QList<Movement>{{"2024-04-05", "CREDITO", "DEPOSITO", "VENDAS", 100.0, QVariant()},
                           {"2024-04-05", "DEBITO", "ALUGUEL", "ADMINISTRATIVO", QVariant(), 350.0}}
        << "01/04/2024"
        << "12345-6" << true << 1 << true
        << header(1, false) +
               QList<Line>{movement(1, 9, "05/04/2024  CREDITO", "DEPOSITO", "VENDAS", "    100,00",
                                    "      0,00"),
                           movement(1, 10, "05/04/2024  DEBITO", "ALUGUEL", "ADMINISTRATIVO",
                                    "      0,00", "    350,00")} +
               subtotal(1, 10, "    250,00", "D") +
               closingBlock(1, 14, "    100,00", "    350,00", "   -250,00", "      0,00", "C",
                            "   -250,00", "D");

    QTest::newRow("a negative final balance")
        << QList<Movement>{{"2024-03-01", "CREDITO", "SALDO", "VENDAS", 100.0, QVariant()},
                           {"2024-04-20", "DEBITO", "FORNECEDOR ALFA", "COMPRAS", QVariant(),
                            1234.56}}
        << "01/04/2024"
        << "12345-6" << true << 1 << true
        << header(1, false) +
               QList<Line>{movement(1, 9, "20/04/2024  DEBITO", "FORNECEDOR ALFA", "COMPRAS",
                                    "      0,00", "  1.234,56")} +
               subtotal(1, 9, "  1.234,56", "D") +
               closingBlock(1, 13, "      0,00", "  1.234,56", " -1.234,56", "    100,00", "C",
                            " -1.134,56", "D");

    QTest::newRow("without the carried balance")
        << QList<Movement>{earlier,
                           {"2024-04-02", "CREDITO", "DEPOSITO", "VENDAS", 100.0, QVariant()}}
        << "01/04/2024"
        << "12345-6" << false << 1 << true
        << header(1, false) +
               QList<Line>{movement(1, 9, "02/04/2024  CREDITO", "DEPOSITO", "VENDAS", "    100,00",
                                    "      0,00")} +
               subtotal(1, 9, "    100,00", "C") +
               closingBlock(1, 13, "    100,00", "      0,00", "    100,00", "", "", "    100,00",
                            "C");

    // Fifty movements take lines 9 to 58; the subtotal takes 59 and 60, so
    // the next movement (62 > 60) starts page 2.
    QTest::newRow("a movement on line 58 and its subtotal")
        << creditsOn("2024-04-01", 50) +
               QList<Movement>{{"2024-04-02", "DEBITO", "MOV 51", "VENDAS", QVariant(), 20.0}}
        << "01/04/2024"
        << "12345-6" << true << 2 << false
        << QList<Line>{movement(1, 57, "01/04/2024  CREDITO", "MOV 49", "VENDAS", "     10,00",
                                "      0,00"),
                       movement(1, 58, "01/04/2024  CREDITO", "MOV 50", "VENDAS", "     10,00",
                                "      0,00")} +
               subtotal(1, 58, "    500,00", "C") + QList<Line>{{1, 61, {}}, {1, 62, {}}} +
               header(2, false) +
               QList<Line>{movement(2, 9, "02/04/2024  DEBITO", "MOV 51", "VENDAS", "      0,00",
                                    "     20,00")} +
               subtotal(2, 9, "     20,00", "D") +
               closingBlock(2, 13, "    500,00", "     20,00", "    480,00", "      0,00", "C",
                            "    480,00", "C");

    // 42 movements: lines 9 to 50, subtotal 51 and 52, the block from 54 to
    // 59 still fits.
    QTest::newRow("a closing block that just fits")
        << creditsOn("2024-04-03", 42) << "01/04/2024"
        << "12345-6" << true << 1 << false
        << QList<Line>{movement(1, 50, "03/04/2024  CREDITO", "MOV 42", "VENDAS", "     10,00",
                                "      0,00")} +
               subtotal(1, 50, "    420,00", "C") +
               closingBlock(1, 54, "    420,00", "      0,00", "    420,00", "      0,00", "C",
                            "    420,00", "C");

    // 43 movements: the block would start on 55 and needs 6 lines: it goes
    // on page 2 under the closing header, still page number 2.
    QTest::newRow("a closing block that does not fit")
        << creditsOn("2024-04-03", 43) << "01/04/2024"
        << "12345-6" << true << 2 << false
        << QList<Line>{movement(1, 51, "03/04/2024  CREDITO", "MOV 43", "VENDAS", "     10,00",
                                "      0,00")} +
               subtotal(1, 51, "    430,00", "C") +
               QList<Line>{{1, 55, {}}, {1, 56, {}}, {1, 60, {}}} + header(2, true) +
               closingBlock(2, 9, "    430,00", "      0,00", "    430,00", "      0,00", "C",
                            "    430,00", "C") +
               QList<Line>{{2, 15, {}}};

    // Two registered accounts carry the number 12345-6: the statement of the
    // number holds the movements of both; another number stays out.
    QTest::newRow("two accounts sharing a number")
        << QList<Movement>{{"2024-04-08", "CREDITO", "NO BRADESCO", "VENDAS", 70.0, QVariant()},
                           {"2024-04-08", "CREDITO", "NO ITAU", "VENDAS", 30.0, QVariant()},
                           {"2024-04-08", "CREDITO", "OUTRA CONTA", "VENDAS", 999.0, QVariant(),
                            "99999-0"}}
        << "01/04/2024"
        << "12345-6" << true << 1 << true
        << header(1, false) +
               QList<Line>{movement(1, 9, "08/04/2024  CREDITO", "NO BRADESCO", "VENDAS",
                                    "     70,00", "      0,00"),
                           movement(1, 10, "08/04/2024  CREDITO", "NO ITAU", "VENDAS", "     30,00",
                                    "      0,00")} +
               subtotal(1, 10, "    100,00", "C") +
               closingBlock(1, 14, "    100,00", "      0,00", "    100,00", "      0,00", "C",
                            "    100,00", "C");

    // Twenty characters of cost centre run from column 57 to 76; the credit
    // written at 72 covers the last five. Texts go out in upper case, cut,
    // with plain letters; the first date as typed, with its two-digit year.
    QTest::newRow("a 20-character cost centre under the credit column")
        << QList<Movement>{{"2024-04-15", "DEBITO", "pagamento de energia elétrica do mês",
                            "manutenção predial x", QVariant(), 150.0}}
        << "01/04/24"
        << "12345-6" << true << 1 << true
        << header(1, false, "01/04/24") +
               QList<Line>{movement(1, 9, "15/04/2024  DEBITO", "PAGAMENTO DE ENERGIA ELETRICA DO",
                                    "MANUTENCAO PRED", "      0,00", "    150,00")} +
               subtotal(1, 9, "    150,00", "D") +
               closingBlock(1, 13, "      0,00", "    150,00", "   -150,00", "      0,00", "C",
                            "   -150,00", "D");

    // A ten-character account number takes line 3 up to column 76, where
    // the issue date would cover its check digit: the date goes to line 5.
    QTest::newRow("a long account number stays whole")
        << QList<Movement>{{"2024-04-02", "CREDITO", "DEPOSITO", "VENDAS", 100.0, QVariant(),
                            "00012345-0"}}
        << "01/04/2024"
        << "00012345-0" << false << 1 << true
        << header(1, false, "01/04/2024", "30/04/2024", "00012345-0", 5) +
               QList<Line>{movement(1, 9, "02/04/2024  CREDITO", "DEPOSITO", "VENDAS", "    100,00",
                                    "      0,00")} +
               subtotal(1, 9, "    100,00", "C") +
               closingBlock(1, 13, "    100,00", "      0,00", "    100,00", "", "", "    100,00",
                            "C");

    // No account chosen: nothing matches, only the closing block is printed.
    QTest::newRow("no account chosen")
        << QList<Movement>{earlier,
                           {"2024-04-02", "CREDITO", "DEPOSITO", "VENDAS", 100.0, QVariant()}}
        << "01/04/2024"
        << "" << true << 1 << true
        << header(1, true, "01/04/2024", "30/04/2024", "") +
               closingBlock(1, 9, "      0,00", "      0,00", "      0,00", "      0,00", "C",
                            "      0,00", "C");
}

void TstStatement::pages()
{
    QFETCH(QList<Movement>, movements);
    QFETCH(QString, first);
    QFETCH(QString, account);
    QFETCH(bool, carry);
    QFETCH(int, pageCount);
    QFETCH(bool, complete);
    QFETCH(QList<Line>, lines);

    Fixture f;
    REQUIRE_DB(f.db);
    for (const Movement &m : movements)
        f.insert(m);
    ScriptedMessages boxes;
    FCaixa_Relatorio2_OP02 dialog;
    QString title;
    const auto document = print(dialog, first, "30/04/2024", account, carry, &title);
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(document);
    QCOMPARE(title, QStringLiteral("Visualizar Relatório"));
    QCOMPARE(document->lineCount(), 66);
    QCOMPARE(document->columnCount(), 95);
    QCOMPARE(document->pageCount(), pageCount);

    QHash<QPair<int, int>, QString> expected;
    for (const Line &l : lines)
        expected.insert({l.page, l.line}, compose(l.parts));
    for (int page = 1; page <= pageCount; ++page) {
        const QStringList got = document->pageLines(page);
        for (int line = 1; line <= 66; ++line) {
            const auto key = qMakePair(page, line);
            if (!expected.contains(key) && !complete)
                continue;
            QVERIFY2(got.at(line - 1) == expected.value(key),
                     qPrintable(QString("page %1 line %2:\n got  [%3]\n want [%4]")
                                    .arg(page)
                                    .arg(line)
                                    .arg(got.at(line - 1), expected.value(key))));
        }
    }
    // The dialog is ready for the next period.
    QVERIFY(dialog.dataInicial()->isEmpty());
    QVERIFY(dialog.dataFinal()->isEmpty());
    QCOMPARE(dialog.focusWidget(), dialog.dataInicial());
}

void TstStatement::refusedDates_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // object name of the edit given the focus

    QTest::newRow("first empty") << ""
                                 << "30/04/2024"
                                 << "Selecione o período !"
                                 << "DataI";
    QTest::newRow("last empty") << "01/04/2024"
                                << ""
                                << "Selecione o período !"
                                << "DataI";
    QTest::newRow("first impossible") << "31/02/2024"
                                      << "30/04/2024"
                                      << "A data 31/02/2024 não existe. Digite uma data válida."
                                      << "DataI";
    QTest::newRow("last half typed") << "01/04/2024"
                                     << "30/04"
                                     << "A data 30/04/ não existe. Digite uma data válida."
                                     << "DataF";
}

void TstStatement::refusedDates()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    Fixture f;
    REQUIRE_DB(f.db);
    f.insert({"2024-04-10", "CREDITO", "DEPOSITO", "VENDAS", 10.0, QVariant()});
    ScriptedMessages boxes;
    FCaixa_Relatorio2_OP02 dialog;
    const auto document = print(dialog, first, last, "12345-6", true);
    QVERIFY(!document);
    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Atenção"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(dialog.focusWidget());
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
}

void TstStatement::dialogAsItOpens()
{
    Fixture f;
    REQUIRE_DB(f.db);
    FCaixa_Relatorio2_OP02 dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("QUARVO Sistemas - Relatorio do Conta Corrente"));
    QVERIFY(dialog.saldoAnterior()->isChecked());
    QCOMPARE(dialog.saldoAnterior()->text(), QStringLiteral("Calcular Saldo Anterior"));
    QCOMPARE(dialog.imprimirButton()->text(), QStringLiteral("&Imprimir"));
    QCOMPARE(dialog.sairButton()->text(), QStringLiteral("&Sair"));
    // The accounts by number, each registered account once.
    QStringList numbers;
    for (int i = 0; i < dialog.contaBox()->count(); ++i)
        numbers << dialog.contaBox()->itemText(i);
    QCOMPARE(numbers, (QStringList{"00012345-0", "12345-6", "12345-6", "99999-0"}));
    QCOMPARE(dialog.dataInicial()->calendar()->firstDayOfWeek(), Qt::Sunday);
    QStringList hints;
    for (QToolButton *b : dialog.dataInicial()->calendar()->findChildren<QToolButton *>())
        if (!b->toolTip().isEmpty())
            hints << b->toolTip();
    hints.sort();
    QCOMPARE(hints, (QStringList{"Ano Anterior", "Mês Anterior", "Próximo Ano", "Próximo Mês"}));
    // "&Sair" closes the dialog.
    dialog.show();
    QTest::mouseClick(dialog.sairButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

CP_TEST(TstStatement)
#include "tst_statement.moc"
