// The registries' rules that need no database: the CPF/CNPJ check of the
// supplier registry and the opening movement of a new bank account.

#include "TestMain.h"
#include "books/LedgerBook.h"
#include "registries/AccountOpening.h"
#include "registries/CpfCnpj.h"

#include <QtTest>

using CpfCnpj::Verdict;

class TstRegistryRules : public QObject
{
    Q_OBJECT
private slots:
    void cpfCnpj_data();
    void cpfCnpj();
    void openingMovement_data();
    void openingMovement();
    void openingMovementCarriesTheAccount();
};

void TstRegistryRules::cpfCnpj_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("message");

    const QString cpf = "CPF Invalido !!!";
    const QString cnpj = "CNPJ Invalido !!!";
    // Nothing or one character: not checked.
    QTest::newRow("empty") << "" << Verdict::NotChecked << "";
    QTest::newRow("one character") << "5" << Verdict::NotChecked << "";
    // CPF: bare, punctuated (14 characters, still a CPF), blanks, wrong digits.
    QTest::newRow("cpf bare") << "52998224725" << Verdict::ValidCpf << "";
    QTest::newRow("cpf punctuated") << "529.982.247-25" << Verdict::ValidCpf << "";
    QTest::newRow("cpf hyphen only") << "529982247-25" << Verdict::ValidCpf << "";
    QTest::newRow("cpf with blanks") << "529 982 247 25" << Verdict::ValidCpf << "";
    QTest::newRow("cpf second digit wrong") << "529.982.247-24" << Verdict::InvalidCpf << cpf;
    QTest::newRow("cpf first digit wrong") << "52998224735" << Verdict::InvalidCpf << cpf;
    QTest::newRow("eleven equal digits") << "11111111111" << Verdict::InvalidCpf << cpf;
    QTest::newRow("eleven zeros punctuated") << "000.000.000-00" << Verdict::InvalidCpf << cpf;
    QTest::newRow("cpf with a letter") << "5299822472A" << Verdict::InvalidCpf << cpf;
    // CNPJ: bare and punctuated, wrong digits.
    QTest::newRow("cnpj bare") << "11222333000181" << Verdict::ValidCnpj << "";
    QTest::newRow("cnpj punctuated") << "11.222.333/0001-81" << Verdict::ValidCnpj << "";
    QTest::newRow("cnpj second digit wrong")
        << "11.222.333/0001-82" << Verdict::InvalidCnpj << cnpj;
    QTest::newRow("cnpj first digit wrong") << "11222333000191" << Verdict::InvalidCnpj << cnpj;
    // Alphanumeric CNPJ: capital letters in the first 12, digits at the end.
    QTest::newRow("alphanumeric punctuated") << "12.ABC.345/01DE-35" << Verdict::ValidCnpj << "";
    QTest::newRow("alphanumeric bare") << "12ABC34501DE35" << Verdict::ValidCnpj << "";
    QTest::newRow("alphanumeric wrong digit")
        << "12.ABC.345/01DE-36" << Verdict::InvalidCnpj << cnpj;
    QTest::newRow("letter as check digit") << "12ABC34501DE3A" << Verdict::InvalidCnpj << cnpj;
    QTest::newRow("lower-case letters") << "12abc34501de35" << Verdict::InvalidCnpj << cnpj;
    // Other lengths after the separators: the typed length picks the message.
    QTest::newRow("two blanks") << "  " << Verdict::InvalidCpf << cpf;
    QTest::newRow("seven digits") << "1234567" << Verdict::InvalidCpf << cpf;
    QTest::newRow("ten typed, eight left") << "12.345.678" << Verdict::InvalidCpf << cpf;
    QTest::newRow("twelve digits") << "123456789012" << Verdict::InvalidCnpj << cnpj;
    QTest::newRow("sixteen digits") << "1234567890123456" << Verdict::InvalidCnpj << cnpj;
}

void TstRegistryRules::cpfCnpj()
{
    QFETCH(QString, typed);
    QFETCH(Verdict, verdict);
    QFETCH(QString, message);
    const Verdict v = CpfCnpj::check(typed);
    QCOMPARE(v, verdict);
    QCOMPARE(CpfCnpj::accepted(v), message.isEmpty());
    QCOMPARE(CpfCnpj::message(v), message);
}

void TstRegistryRules::openingMovement_data()
{
    QTest::addColumn<QVariant>("credito");
    QTest::addColumn<QVariant>("debito");
    QTest::addColumn<QVariant>("valor");   // written to contacorrente; invalid: not written
    QTest::addColumn<QVariant>("debited"); // idem

    QTest::newRow("credit 0, debit 150,00")
        << QVariant(0.0) << QVariant(150.0) << QVariant() << QVariant(150.0);
    QTest::newRow("both filled: the credit alone")
        << QVariant(200.0) << QVariant(150.0) << QVariant(200.0) << QVariant();
    QTest::newRow("credit only") << QVariant(1234.56) << QVariant() << QVariant(1234.56)
                                 << QVariant();
    QTest::newRow("no credit typed")
        << QVariant() << QVariant(80.0) << QVariant() << QVariant(80.0);
}

void TstRegistryRules::openingMovement()
{
    QFETCH(QVariant, credito);
    QFETCH(QVariant, debito);
    QFETCH(QVariant, valor);
    QFETCH(QVariant, debited);
    OpeningAccount a;
    a.valor = credito;
    a.debito = debito;
    const LedgerMovement m = AccountOpening::movement(a, QTime(9, 30));
    QCOMPARE(m.valor, valor);
    QCOMPARE(m.debito, debited);
}

void TstRegistryRules::openingMovementCarriesTheAccount()
{
    OpeningAccount a;
    a.codigoconta = 7;
    a.banco = "BRADESCO";
    a.agencia = "0123";
    a.conta = "45678-9";
    a.codigofilial = 2;
    a.filial = "LOJA NORTE";
    a.data = QDate(2024, 4, 1);
    a.es = "S";
    a.codigogerencial = 3;
    a.gerencial = "ALUGUEL";
    a.codigotipo = 4;
    a.tipo = "BOLETO";
    a.codigodespesa = 5;
    a.despesa = "ENERGIA";
    a.valor = 0.0;
    a.debito = 150.0;
    const RowValues row = LedgerBook::row(AccountOpening::movement(a, QTime(9, 30, 15)));
    const RowValues expected{{"codigoconta", 7},
                             {"conta", "45678-9"},
                             {"banco", "BRADESCO"},
                             {"agencia", "0123"},
                             {"datalancamento", QDate(2024, 4, 1)},
                             {"dataquitacao", QDate(2024, 4, 1)},
                             {"datavencimento", QDate(2024, 4, 1)},
                             {"debito", 150.0},
                             {"codigofilial", 2},
                             {"filial", "LOJA NORTE"},
                             {"codigogerencial", 3},
                             {"gerencial", "ALUGUEL"},
                             {"codigotipo", 4},
                             {"tipo", "BOLETO"},
                             {"tipodespesa", "ENERGIA"},
                             {"codigotipodespesa", 5},
                             {"es", "S"},
                             {"especie", "DINHEIRO"},
                             {"hora", QTime(9, 30, 15)}};
    QCOMPARE(row, expected);
}

CP_TEST(TstRegistryRules)
#include "tst_registryrules.moc"
