// The pick lists driven the way a clerk uses them: type into the search
// field, press a search button, look at the list, press OK or Cancelar; and
// what reaches the caller (the record being edited or the entry fields).

#include "TestDb.h"
#include "TestMain.h"

#include "app/Globals.h"
#include "db/RecordSet.h"
#include "payables/PayablesLookups.h"
#include "registries/PickList.h"
#include "registries/PickLists.h"
#include "widgets/DataGrid.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

using PickLists::Member;

namespace {

// Records every box and answers OK.
struct BoxRecorder
{
    QList<MessageBoxRequest> boxes;
    Messages::Handler previous;
    BoxRecorder()
    {
        previous = Messages::setHandler([this](const MessageBoxRequest &r) {
            boxes << r;
            return QMessageBox::Ok;
        });
    }
    ~BoxRecorder() { Messages::setHandler(previous); }
    QStringList texts() const
    {
        QStringList t;
        for (const auto &b : boxes)
            t << b.text;
        return t;
    }
};

// Takes the pick list when it is shown modally, shows it, lets the test drive
// it and answers with the result the dialog ended with.
class Driver
{
public:
    using Steps = std::function<void(PickList *)>;
    explicit Driver(Steps steps)
        : m_guard([this, steps](QDialog *d) {
              ++shown;
              auto *pick = qobject_cast<PickList *>(d);
              if (!pick)
                  return int(QDialog::Rejected);
              d->show();
              steps(pick);
              return d->result();
          })
    {
    }
    int shown = 0;

private:
    Modal::ScopedHandler m_guard;
};

enum class Button { Code, Name };

// Types into the search field as a keyboard does and presses the button.
void searchFor(PickList *d, Button button, const QString &typed)
{
    d->searchEdit()->clear();
    QTest::keyClicks(d->searchEdit(), typed);
    QPushButton *b = button == Button::Code ? d->codeButton() : d->nameButton();
    QTest::mouseClick(b, Qt::LeftButton);
}

QList<int> codes(RecordSet *rs, const QString &field)
{
    QList<int> c;
    for (int row = 0; row < rs->recordCount(); ++row)
        c << rs->valueAt(row, field).toInt();
    return c;
}

bool run(TestDb &db, const QString &sql)
{
    QSqlQuery q(db.sql());
    if (!q.exec(sql)) {
        qWarning() << q.lastError().text() << sql;
        return false;
    }
    return true;
}

// A few rows in every list, keys not in name order so an order shows.
bool fillRegistries(TestDb &db)
{
    const char *statements[] = {
        "INSERT INTO fornecedor (CodigoFornecedor, Nome, Telefone1, Cgccpf, CodigoTipo, Tipos, "
        "CodigoGerencial, Gerencial) VALUES "
        "(120, 'SILVEIRA', '1140000120', '11.111.111/0001-20', 4, 'CHEQUE', 8, 'SERVICOS'),"
        "(12, 'SILVA & CIA', '1140000012', '22.222.222/0001-12', 3, 'BOLETO', 7, 'MATERIAIS'),"
        "(3, 'SILVANO', NULL, NULL, NULL, NULL, NULL, NULL),"
        "(125, 'D''AVILA MATERIAIS', '1140000125', '33.333.333/0001-25', 3, 'BOLETO', 7, "
        "'MATERIAIS'),"
        "(5, 'ALFA SIL', NULL, NULL, 3, 'BOLETO', 7, 'MATERIAIS')",
        "INSERT INTO filial (Codigofilial, Nomefilial) VALUES (1, 'MATRIZ'), (10, 'FILIAL CENTRO'),"
        "(11, 'FILIAL NORTE'), (2, 'FILIAL SUL'), (100, 'ARMAZEM'), (21, 'ZONA LESTE')",
        "INSERT INTO contagerencial (codigogerencial, Gerencial) VALUES (7, 'MATERIAIS'),"
        "(8, 'SERVICOS'), (70, 'MANUTENCAO')",
        "INSERT INTO tipos (CODIGOTIPO, DESCTIPO) VALUES (3, 'BOLETO'), (4, 'CHEQUE'), (5, 'PIX')",
        "INSERT INTO tipodespesa (codigodespesa, despesa) VALUES (1, 'ALUGUEL'), (2, 'ENERGIA'),"
        "(15, 'AGUA')",
        "INSERT INTO conta (codigoconta, banco, agencia, conta) VALUES "
        "(1, 'BANCO DO BRASIL', '1234', '12345'), (2, 'BRADESCO', '0001', '123456'),"
        "(3, 'ITAU', '0350', '98765-4')",
    };
    for (const char *s : statements)
        if (!run(db, QString::fromUtf8(s)))
            return false;
    return true;
}

// The lists of both callers, over the test database.
struct Lists
{
    explicit Lists(Connection *c) : lookups(c), tbConta(c, QStringLiteral("select * from conta"))
    {
        tbConta.setOrder(QStringLiteral("conta"));
    }
    RecordSet *of(Member m)
    {
        const QString table = PickLists::spec(m).list->table;
        if (table == QLatin1String("Fornecedor"))
            return lookups.tbfornecedor;
        if (table == QLatin1String("Filial"))
            return lookups.tbfilial;
        if (table == QLatin1String("ContaGerencial"))
            return lookups.tbgerencial;
        if (table == QLatin1String("Tipos"))
            return lookups.tbTipo;
        if (table == QLatin1String("TipoDespesa"))
            return lookups.MyTipoDespesa;
        return &tbConta;
    }
    PayablesLookups lookups;
    RecordSet tbConta;
};

// Sink standing in for the new-payable screen's entry fields.
struct EntryFields
{
    QVariantMap fields;
    PickLists::EntrySink sink()
    {
        return [this](const QString &name, const QVariant &v) { fields.insert(name, v); };
    }
};

// What a member confirms into: the payable being edited or the entry fields.
PickLists::Target targetFor(Member m, RecordSet &pagar, EntryFields &entry)
{
    if (PickLists::spec(m).targetKind == PickLists::TargetKind::Record)
        return PickLists::Target(&pagar);
    return PickLists::Target(entry.sink());
}

} // namespace

class TstPickLists : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void dialogsAsShown_data();
    void dialogsAsShown();
    void searchNarrowsTheList_data();
    void searchNarrowsTheList();
    void searchMessages_data();
    void searchMessages();
    void narrowedListOutlivesTheDialog();
    void cancelReturnsToTheNotedRow();
    void openingLeavesAnOpenListAlone();
    void confirmCopiesTheRow_data();
    void confirmCopiesTheRow();
    void confirmIntoEditedRecordDoesNotPost();
    void supplierThenPaymentTypeOverrides();
    void emptyListConfirmsZeroAndBlank_data();
    void emptyListConfirmsZeroAndBlank();
    void databaseErrorLeavesListClosed();
    void keyboard();
    void doubleClickPicksTheRow();
    void wrongTargetShowsNothing();
};

void TstPickLists::cleanup()
{
    Modal::setHandler({});
    Messages::setHandler({});
}

void TstPickLists::dialogsAsShown_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("hasX");
    QTest::addColumn<QString>("byCode");
    QTest::addColumn<QString>("byName");
    QTest::addColumn<QStringList>("columns");

    const QString quarvo =
        QStringLiteral("Quarvo Sistemas - Suporte: (11) 4002-8922 - suporte@quarvo.com.br");
    const QStringList suppliers = {
        "Codigo", "Nome do Fornecedor", "Telefone", "Conta Gerencial", "Tipos", "Cnpj"};
    const QStringList branches = {"Codigo", "Descrição da Filial"};
    const QStringList costs = {"Codigo", "Descrição Conta Gerencial"};
    const QStringList types = {"Codigo", "Descrição do Tipo de Pagamento"};
    const QStringList expenses = {"Codigo", "Descrição do Tipo de Despesa"};
    const QStringList accounts = {"Codigo", "Agência", "Banco", "Conta"};

    auto row = [](Member m, const char *name, const QString &caption, const char *title, bool x,
                  const char *code, const char *nm, const QStringList &cols) {
        QTest::newRow(name) << int(m) << QString::fromUtf8(name) << caption
                            << QString::fromUtf8(title) << x << QString::fromUtf8(code)
                            << QString::fromUtf8(nm) << cols;
    };
    const QString loc = QStringLiteral("Localizar");
    const QString locF = QStringLiteral("Localizar Fornecedor");
    row(Member::frmL_Fornecedor, "frmL_Fornecedor", locF, "Localizar Fornecedor", false,
        "Por &Codigo", "Por R.&Social", suppliers);
    row(Member::FrmL_fornecedorPagar, "FrmL_fornecedorPagar", locF, "Localizar Fornecedor", false,
        "Por &Codigo", "Por R.&Social", suppliers);
    row(Member::FrmL_FilialPagar02, "FrmL_FilialPagar02", loc, "LOCALIZAR FILIAL", true,
        "Por &Codigo", "Por R.&Social", branches);
    row(Member::FrmL_filialPagar, "FrmL_filialPagar", loc, "LOCALIZAR FILIAL", true, "Por &Codigo",
        "Por R.&Social", branches);
    row(Member::FrmL_CustoPagar01, "FrmL_CustoPagar01", quarvo, "LOCALIZAR CENTRAL DE CUSTO", true,
        "Por &Codigo", "Por &Descrição", costs);
    row(Member::FrmL_CustoPagar02, "FrmL_CustoPagar02", quarvo, "LOCALIZAR CENTRAL DE CUSTO", true,
        "Por &Codigo", "Por &Descrição", costs);
    row(Member::FrmL_TipoDespesa, "FrmL_TipoDespesa", loc, "LOCALIZAR TIPO DE PAGAMENTO", true,
        "Por &Codigo", "Por &Descrição", types);
    row(Member::FrmL_TipoPagamento, "FrmL_TipoPagamento", loc, "LOCALIZAR TIPO DE PAGAMENTO", true,
        "Por &Codigo", "Por &Descrição", types);
    row(Member::FrmL_DespesaPagar, "FrmL_DespesaPagar", loc, "LOCALIZAR TIPO DE DESPESA", true,
        "Por &Codigo", "Por &Descrição", expenses);
    row(Member::FrmL_DespesaPagar01, "FrmL_DespesaPagar01", loc, "LOCALIZAR TIPO DE DESPESA", true,
        "Por &Codigo", "Por &Descrição", expenses);
    row(Member::frmL_Conta, "frmL_Conta", quarvo, "Localizar Conta", false, "Por &Conta",
        "Por &Banco", accounts);
}

void TstPickLists::dialogsAsShown()
{
    QFETCH(int, member);
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(bool, hasX);
    QFETCH(QString, byCode);
    QFETCH(QString, byName);
    QFETCH(QStringList, columns);

    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    const Member m = Member(member);
    RecordSet pagar(&db.connection(), QStringLiteral("select * from pagar"));
    EntryFields entry;
    const PickLists::Target target = targetFor(m, pagar, entry);
    BoxRecorder boxes;

    Driver driver([&](PickList *d) {
        QCOMPARE(d->objectName(), objectName);
        QCOMPARE(d->windowTitle(), caption);
        QCOMPARE(d->titleBand()->caption(), title);
        QCOMPARE(d->titleBand()->closePanel()->isVisible(), hasX);
        QCOMPARE(d->codeButton()->text(), byCode);
        QCOMPARE(d->nameButton()->text(), byName);
        QVERIFY(d->codeButton()->isFlat() && d->nameButton()->isFlat());
        QCOMPARE(d->okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(d->cancelButton()->text(), QStringLiteral("Cancelar"));
        for (const char *name : {"edtLocalizar", "btnCodigo", "btnNome", "btnOk", "btnCancelar"})
            QVERIFY2(d->findChild<QWidget *>(QString::fromLatin1(name)), name);
        QVERIFY(qobject_cast<UpperEdit *>(d->findChild<QWidget *>("edtLocalizar")));

        // Fixed size, no system buttons.
        QCOMPARE(d->minimumSize(), d->maximumSize());
        QVERIFY(d->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(d->windowFlags() & Qt::WindowSystemMenuHint));

        // The grid shows the caller's list, read-only, whole rows.
        QStringList shown;
        for (int c = 0; c < d->grid()->model()->columnCount(); ++c)
            shown << d->grid()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(shown, columns);
        QCOMPARE(d->grid()->recordSet(), lists.of(m));
        QVERIFY(lists.of(m)->isOpen()); // opened by the pick list
        QCOMPARE(d->grid()->model()->rowCount(), lists.of(m)->recordCount());
        QCOMPARE(d->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(d->grid()->selectionBehavior(), QAbstractItemView::SelectRows);

        // The X closes like Cancelar (where there is one).
        if (hasX)
            QTest::mouseClick(d->titleBand()->closePanel(), Qt::LeftButton);
        else
            d->cancelButton()->click();
    });
    QVERIFY(!PickLists::run(m, lists.of(m), target, nullptr));
    QCOMPARE(driver.shown, 1);
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(entry.fields.isEmpty());
    QCOMPARE(pagar.state(), RecordSet::State::Inactive);
}

void TstPickLists::searchNarrowsTheList_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fieldShows");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<QString>("statement");

    const int code = int(Button::Code), name = int(Button::Name);
    const int fornecedor = int(Member::frmL_Fornecedor);
    QTest::newRow("name prefix, upper case, by name")
        << fornecedor << name << "sil"
        << "SIL"
        << "CodigoFornecedor" << QList<int>{12, 3, 120}
        << "Fornecedor WHERE Nome LIKE(:pattern) ORDER BY Nome";
    QTest::newRow("supplier code is whole text")
        << fornecedor << code << "12"
        << "12"
        << "CodigoFornecedor" << QList<int>{12}
        << "Fornecedor WHERE CodigoFornecedor LIKE(:pattern) ORDER BY CodigoFornecedor";
    QTest::newRow("blanks trimmed") << fornecedor << name << "  silve  "
                                    << "  SILVE  "
                                    << "CodigoFornecedor" << QList<int>{120}
                                    << "Fornecedor WHERE Nome LIKE(:pattern) ORDER BY Nome";
    QTest::newRow("quote in the name") << fornecedor << name << "d'avila"
                                       << "D'AVILA"
                                       << "CodigoFornecedor" << QList<int>{125}
                                       << "Fornecedor WHERE Nome LIKE(:pattern) ORDER BY Nome";
    QTest::newRow("percent is a wildcard") << fornecedor << name << "%materiais"
                                           << "%MATERIAIS"
                                           << "CodigoFornecedor" << QList<int>{125}
                                           << "Fornecedor WHERE Nome LIKE(:pattern) ORDER BY Nome";
    QTest::newRow("branch code is a prefix, by code")
        << int(Member::FrmL_filialPagar) << code << "1"
        << "1"
        << "Codigofilial" << QList<int>{1, 10, 11, 100}
        << "Filial WHERE CodigoFilial LIKE(:pattern) ORDER BY CodigoFilial";
    QTest::newRow("branch by name") << int(Member::FrmL_FilialPagar02) << name << "filial"
                                    << "FILIAL"
                                    << "Codigofilial" << QList<int>{10, 11, 2}
                                    << "Filial WHERE NomeFilial LIKE(:pattern) ORDER BY NomeFilial";
    QTest::newRow("cost centre code prefix")
        << int(Member::FrmL_CustoPagar01) << code << "7"
        << "7"
        << "codigogerencial" << QList<int>{7, 70}
        << "ContaGerencial WHERE Codigogerencial LIKE(:pattern) ORDER BY Codigogerencial";
    QTest::newRow("payment type by description")
        << int(Member::FrmL_TipoPagamento) << name << "b"
        << "B"
        << "CODIGOTIPO" << QList<int>{3} << "Tipos WHERE Desctipo LIKE(:pattern) ORDER BY Desctipo";
    QTest::newRow("expense type by description")
        << int(Member::FrmL_DespesaPagar) << name << "a"
        << "A"
        << "codigodespesa" << QList<int>{15, 1}
        << "TipoDespesa WHERE Despesa LIKE(:pattern) ORDER BY Despesa";
    QTest::newRow("expense code prefix")
        << int(Member::FrmL_DespesaPagar01) << code << "1"
        << "1"
        << "codigodespesa" << QList<int>{1, 15}
        << "TipoDespesa WHERE CodigoDespesa LIKE(:pattern) ORDER BY CodigoDespesa";
    QTest::newRow("account number whole text")
        << int(Member::frmL_Conta) << code << "12345"
        << "12345"
        << "codigoconta" << QList<int>{1}
        << "Conta WHERE Conta LIKE(:pattern) ORDER BY CodigoConta";
    QTest::newRow("bank prefix") << int(Member::frmL_Conta) << name << "b"
                                 << "B"
                                 << "codigoconta" << QList<int>{1, 2}
                                 << "Conta WHERE Banco LIKE(:pattern) ORDER BY Banco";
}

void TstPickLists::searchNarrowsTheList()
{
    QFETCH(int, member);
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, fieldShows);
    QFETCH(QString, keyField);
    QFETCH(QList<int>, found);
    QFETCH(QString, statement);

    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    const Member m = Member(member);
    RecordSet *list = lists.of(m);
    RecordSet pagar(&db.connection(), QStringLiteral("select * from pagar"));
    EntryFields entry;
    const PickLists::Target target = targetFor(m, pagar, entry);
    BoxRecorder boxes;

    Driver driver([&](PickList *d) {
        searchFor(d, Button(button), typed);
        QCOMPARE(d->searchEdit()->text(), fieldShows);
        QCOMPARE(codes(list, keyField), found);
        QCOMPARE(d->grid()->model()->rowCount(), found.size());
        // The typed text reaches the server as a parameter, never in the text.
        QCOMPARE(list->sql(), QStringLiteral("SELECT * FROM ") + statement);
        QVERIFY(d->isVisible()); // a search never closes the dialog
        d->cancelPick();
    });
    QVERIFY(!PickLists::run(m, list, target, nullptr));
    QCOMPARE(driver.shown, 1);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(list->recordCount(), found.size()); // still narrowed
}

void TstPickLists::searchMessages_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    struct Texts
    {
        const char *codeEmpty, *codeNone, *nameEmpty, *nameNone;
    };
    const Texts suppliers{"Codigo do Fornecedor em Branco !!!", "Codigo não Encontrado!!!",
                          "Razão Social do Fornecedor em Branco !!!",
                          "Razão Social não Encontrado!!!"};
    const Texts branches{"Codigo da Filial em Branco !!!", "Codigo da Filial não Encontrado!!!",
                         "Razão Social da Filial em Branco !!!",
                         "Razão Social da Filial não Encontrado!!!"};
    const Texts costs{"Codigo do Centro de Custo em Branco !!!",
                      "Codigo do Centro de Custo não Encontrado!!!",
                      "Descrição do Centro de Custo em Branco !!!",
                      "Descrição do Centro de Custo não Encontrado!!!"};
    const Texts types{"Codigo do Tipo da Pagamento em Branco !!!",
                      "Codigo do Tipo da Pagamento não Encontrado!!!",
                      "Descrição do Tipo da Pagamento em Branco !!!",
                      "Descrição do Tipo da Pagamento não Encontrado!!!"};
    const Texts expenses{"Codigo do Tipo da Despesa em Branco !!!",
                         "Codigo do Tipo da Despesa não Encontrado!!!",
                         "Descrição do Tipo da Despesa em Branco !!!",
                         "Descrição do Tipo da Despesa não Encontrado!!!"};
    const Texts accounts{"Codigo da Conta em Branco !!!", "Codigo não Encontrado!!!",
                         "Banco em Branco !!!", "Banco não Encontrado!!!"};
    const std::pair<Member, const Texts *> all[] = {
        {Member::frmL_Fornecedor, &suppliers},   {Member::FrmL_fornecedorPagar, &suppliers},
        {Member::FrmL_FilialPagar02, &branches}, {Member::FrmL_filialPagar, &branches},
        {Member::FrmL_CustoPagar01, &costs},     {Member::FrmL_CustoPagar02, &costs},
        {Member::FrmL_TipoDespesa, &types},      {Member::FrmL_TipoPagamento, &types},
        {Member::FrmL_DespesaPagar, &expenses},  {Member::FrmL_DespesaPagar01, &expenses},
        {Member::frmL_Conta, &accounts},
    };
    const int code = int(Button::Code), name = int(Button::Name);
    for (const auto &[m, t] : all) {
        const QByteArray n = PickLists::spec(m).objectName.toUtf8();
        QTest::newRow((n + " code empty").constData())
            << int(m) << code << QString() << QString::fromUtf8(t->codeEmpty);
        QTest::newRow((n + " code none").constData())
            << int(m) << code << "9" << QString::fromUtf8(t->codeNone);
        QTest::newRow((n + " name empty").constData())
            << int(m) << name << QString() << QString::fromUtf8(t->nameEmpty);
        // An injection attempt is just a text that matches nothing.
        QTest::newRow((n + " name none").constData())
            << int(m) << name << "x' or '1'='1" << QString::fromUtf8(t->nameNone);
    }
}

void TstPickLists::searchMessages()
{
    QFETCH(int, member);
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    const Member m = Member(member);
    RecordSet *list = lists.of(m);
    RecordSet pagar(&db.connection(), QStringLiteral("select * from pagar"));
    EntryFields entry;
    const PickLists::Target target = targetFor(m, pagar, entry);
    BoxRecorder boxes;

    Driver driver([&](PickList *d) {
        const QString sqlBefore = list->sql();
        const int rowsBefore = list->recordCount();
        d->grid()->setFocus(); // the focus must come back to the search field
        searchFor(d, Button(button), typed);
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Atenção"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(d->focusWidget(), static_cast<QWidget *>(d->searchEdit()));
        QVERIFY(d->isVisible());
        if (typed.isEmpty()) { // list untouched
            QCOMPARE(list->sql(), sqlBefore);
            QCOMPARE(list->recordCount(), rowsBefore);
        } else { // list open and empty until the next search
            QVERIFY(list->isOpen());
            QCOMPARE(list->recordCount(), 0);
        }
        d->cancelPick();
    });
    QVERIFY(!PickLists::run(m, list, target, nullptr));
    QCOMPARE(driver.shown, 1);
}

void TstPickLists::narrowedListOutlivesTheDialog()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    RecordSet *tbfilial = lists.lookups.tbfilial;
    EntryFields entry;
    BoxRecorder boxes;

    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Code, QStringLiteral("1"));
            // While the dialog shows the result, the statement's order holds.
            QCOMPARE(codes(tbfilial, "Codigofilial"), (QList<int>{1, 10, 11, 100}));
            d->cancelPick();
        });
        QVERIFY(!PickLists::run(Member::FrmL_FilialPagar02, tbfilial, entry.sink(), nullptr));
    }
    // Still narrowed afterwards, back in its owner's order (by name).
    QCOMPARE(tbfilial->order(), QStringLiteral("Nomefilial"));
    QCOMPARE(codes(tbfilial, "Codigofilial"), (QList<int>{100, 10, 11, 1}));

    // The next pick list on the same list starts from the narrowed list.
    Driver driver([&](PickList *d) {
        QCOMPARE(d->grid()->model()->rowCount(), 4);
        d->cancelPick();
    });
    QVERIFY(!PickLists::run(Member::FrmL_FilialPagar02, tbfilial, entry.sink(), nullptr));
    QCOMPARE(driver.shown, 1);
    QVERIFY(boxes.boxes.isEmpty());
}

void TstPickLists::cancelReturnsToTheNotedRow()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    RecordSet *tbfornecedor = lists.lookups.tbfornecedor;
    RecordSet pagar(&db.connection(), QStringLiteral("select * from pagar"));
    BoxRecorder boxes;
    tbfornecedor->open();

    // The noted row is in the narrowed list: Cancelar goes back to it.
    QVERIFY(tbfornecedor->locate("CodigoFornecedor", 120));
    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Name, QStringLiteral("sil"));
            QCOMPARE(tbfornecedor->value("CodigoFornecedor").toInt(), 12);
            d->cancelButton()->click();
        });
        QVERIFY(!PickLists::run(Member::FrmL_fornecedorPagar, tbfornecedor, &pagar, nullptr));
    }
    QCOMPARE(tbfornecedor->recordCount(), 3);
    QCOMPARE(tbfornecedor->value("CodigoFornecedor").toInt(), 120);

    // Not in the narrowed list: the list stays where the search left it.
    QVERIFY(tbfornecedor->locate("CodigoFornecedor", 3));
    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Name, QStringLiteral("d'a"));
            d->cancelPick();
        });
        QVERIFY(!PickLists::run(Member::FrmL_fornecedorPagar, tbfornecedor, &pagar, nullptr));
    }
    QCOMPARE(codes(tbfornecedor, "CodigoFornecedor"), QList<int>{125});
    QCOMPARE(tbfornecedor->value("CodigoFornecedor").toInt(), 125);

    // OK keeps the row picked.
    tbfornecedor->setSql(QStringLiteral("Select * from fornecedor"));
    tbfornecedor->open();
    QVERIFY(tbfornecedor->locate("CodigoFornecedor", 120));
    QVERIFY(run(db, "INSERT INTO pagar (Nome) VALUES ('X')"));
    pagar.open();
    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Code, QStringLiteral("12"));
            d->confirm();
        });
        QVERIFY(PickLists::run(Member::FrmL_fornecedorPagar, tbfornecedor, &pagar, nullptr));
    }
    QCOMPARE(tbfornecedor->value("CodigoFornecedor").toInt(), 12);
    QVERIFY(boxes.boxes.isEmpty());
}

void TstPickLists::openingLeavesAnOpenListAlone()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    RecordSet *tbTipo = lists.lookups.tbTipo;
    EntryFields entry;
    BoxRecorder boxes;

    // An open list keeps its query text and its row.
    const QString own = QStringLiteral("select * from tipos where CODIGOTIPO >= 4");
    tbTipo->setSql(own);
    tbTipo->open();
    tbTipo->last();
    const int row = tbTipo->recNo();
    Driver driver([&](PickList *d) {
        QCOMPARE(tbTipo->sql(), own);
        QCOMPARE(tbTipo->recNo(), row);
        QCOMPARE(d->grid()->currentRow(), row);
        d->cancelPick();
    });
    QVERIFY(!PickLists::run(Member::FrmL_TipoDespesa, tbTipo, entry.sink(), nullptr));
    QCOMPARE(tbTipo->sql(), own);
    QCOMPARE(tbTipo->recNo(), row);
    QCOMPARE(driver.shown, 1);
}

void TstPickLists::confirmCopiesTheRow_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariantMap>("expected");

    const int code = int(Button::Code);
    using namespace PickLists::Entry;
    QTest::newRow("frmL_Fornecedor")
        << int(Member::frmL_Fornecedor) << code << "12"
        << QVariantMap{{CodigoFornecedor, 12}, {NomeFornecedor, "SILVA & CIA"},
                       {CodigoTipo, 3},        {DescTipo, "BOLETO"},
                       {CodigoGerencial, 7},   {DescGerencial, "MATERIAIS"}};
    QTest::newRow("frmL_Fornecedor without defaults")
        << int(Member::frmL_Fornecedor) << code << "3"
        << QVariantMap{{CodigoFornecedor, 3}, {NomeFornecedor, "SILVANO"}, {CodigoTipo, 0},
                       {DescTipo, ""},        {CodigoGerencial, 0},        {DescGerencial, ""}};
    QTest::newRow("FrmL_fornecedorPagar")
        << int(Member::FrmL_fornecedorPagar) << code << "120"
        << QVariantMap{{"CodigoFornecedor", 120}, {"Nome", "SILVEIRA"},
                       {"codigotipo", 4},         {"tipo", "CHEQUE"},
                       {"codigogerencial", 8},    {"gerencial", "SERVICOS"}};
    QTest::newRow("FrmL_FilialPagar02")
        << int(Member::FrmL_FilialPagar02) << code << "2"
        << QVariantMap{{CodigoFilial, 2}, {NomeFilial, "FILIAL SUL"}};
    QTest::newRow("FrmL_filialPagar")
        << int(Member::FrmL_filialPagar) << code << "21"
        << QVariantMap{{"Codigofilial", 21}, {"filial", "ZONA LESTE"}};
    QTest::newRow("FrmL_CustoPagar01")
        << int(Member::FrmL_CustoPagar01) << code << "8"
        << QVariantMap{{CodigoGerencial, 8}, {DescGerencial, "SERVICOS"}};
    QTest::newRow("FrmL_CustoPagar02")
        << int(Member::FrmL_CustoPagar02) << code << "70"
        << QVariantMap{{"codigogerencial", 70}, {"gerencial", "MANUTENCAO"}};
    QTest::newRow("FrmL_TipoDespesa") << int(Member::FrmL_TipoDespesa) << code << "5"
                                      << QVariantMap{{CodigoTipo, 5}, {DescTipo, "PIX"}};
    QTest::newRow("FrmL_TipoPagamento") << int(Member::FrmL_TipoPagamento) << code << "4"
                                        << QVariantMap{{"codigotipo", 4}, {"tipo", "CHEQUE"}};
    QTest::newRow("FrmL_DespesaPagar") << int(Member::FrmL_DespesaPagar) << code << "15"
                                       << QVariantMap{{CodigoDespesa, 15}, {DescDespesa, "AGUA"}};
    QTest::newRow("FrmL_DespesaPagar01")
        << int(Member::FrmL_DespesaPagar01) << code << "2"
        << QVariantMap{{"codigodespesa", 2}, {"despesa", "ENERGIA"}};
    QTest::newRow("frmL_Conta") << int(Member::frmL_Conta) << code << "98765-4"
                                << QVariantMap{{"codigoconta", 3},
                                               {"conta", "98765-4"},
                                               {"banco", "ITAU"},
                                               {"agencia", "0350"}};
}

void TstPickLists::confirmCopiesTheRow()
{
    QFETCH(int, member);
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QVariantMap, expected);

    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    const Member m = Member(member);
    const bool record = PickLists::spec(m).targetKind == PickLists::TargetKind::Record;
    // The record being edited: a payable, or a ledger movement for the accounts.
    const bool ledger = m == Member::frmL_Conta;
    QVERIFY(run(db, ledger ? "INSERT INTO contacorrente (conta, banco) VALUES ('OLD', 'OLD')"
                           : "INSERT INTO pagar (Nome, tipo) VALUES ('OLD', 'OLD')"));
    RecordSet edited(&db.connection(), ledger ? QStringLiteral("select * from contacorrente")
                                              : QStringLiteral("select * from pagar"));
    edited.open();
    EntryFields entry;
    const PickLists::Target target =
        record ? PickLists::Target(&edited) : PickLists::Target(entry.sink());
    BoxRecorder boxes;

    Driver driver([&](PickList *d) {
        searchFor(d, Button(button), typed);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(PickLists::run(m, lists.of(m), target, nullptr));
    QCOMPARE(boxes.texts(), QStringList());
    if (record) {
        QCOMPARE(edited.state(), RecordSet::State::Edit);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(edited.value(it.key()).toString(), it.value().toString());
    } else {
        QCOMPARE(entry.fields.keys(), expected.keys());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QVariant got = entry.fields.value(it.key());
            QCOMPARE(got, it.value());
            // Codes as numbers, descriptions as text.
            QCOMPARE(got.typeId(),
                     it.value().typeId() == QMetaType::Int ? QMetaType::Int : QMetaType::QString);
        }
    }
}

void TstPickLists::confirmIntoEditedRecordDoesNotPost()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    QVERIFY(run(db, "INSERT INTO pagar (Controle, CodigoFornecedor, Nome, Codigofilial, filial) "
                    "VALUES (1, 125, 'D''AVILA MATERIAIS', 1, 'MATRIZ')"));
    RecordSet tbPagar(&db.connection(), QStringLiteral("select * from pagar"));
    tbPagar.open();
    QSignalSpy states(&tbPagar, &RecordSet::stateChanged);
    BoxRecorder boxes;

    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Name, QStringLiteral("silveira"));
            d->confirm();
        });
        QVERIFY(PickLists::run(Member::FrmL_fornecedorPagar, lists.lookups.tbfornecedor, &tbPagar,
                               nullptr));
    }
    // The caller sees the record go into edit mode (its cue for the save bar).
    QCOMPARE(states.size(), 1);
    QCOMPARE(states[0][0].value<RecordSet::State>(), RecordSet::State::Edit);
    QCOMPARE(tbPagar.value("CodigoFornecedor").toInt(), 120);
    QCOMPARE(tbPagar.text("Nome"), QStringLiteral("SILVEIRA"));

    // A second pick while editing keeps the edit and adds its columns.
    {
        Driver driver([&](PickList *d) {
            searchFor(d, Button::Code, QStringLiteral("10"));
            d->confirm();
        });
        QVERIFY(
            PickLists::run(Member::FrmL_filialPagar, lists.lookups.tbfilial, &tbPagar, nullptr));
    }
    QCOMPARE(states.size(), 1);
    QCOMPARE(tbPagar.state(), RecordSet::State::Edit);
    QCOMPARE(tbPagar.value("Codigofilial").toInt(), 10);
    QCOMPARE(tbPagar.text("filial"), QStringLiteral("FILIAL CENTRO"));
    QCOMPARE(tbPagar.text("Nome"), QStringLiteral("SILVEIRA"));

    // Nothing written: saving is the caller's.
    QSqlQuery q(db.sql());
    QVERIFY(q.exec("SELECT CodigoFornecedor, Nome, Codigofilial FROM pagar WHERE Controle = 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 125);
    QCOMPARE(q.value(1).toString(), QStringLiteral("D'AVILA MATERIAIS"));
    QCOMPARE(q.value(2).toInt(), 1);
    tbPagar.post();
    QVERIFY(q.exec("SELECT CodigoFornecedor, filial FROM pagar WHERE Controle = 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 120);
    QCOMPARE(q.value(1).toString(), QStringLiteral("FILIAL CENTRO"));

    // A record that cannot be edited (no row) is reported, the dialog stays.
    RecordSet none(&db.connection(), QStringLiteral("select * from pagar where Controle = 0"));
    none.open();
    {
        Driver driver([&](PickList *d) {
            d->confirm();
            QVERIFY(d->isVisible());
            QCOMPARE(boxes.boxes.size(), 1);
            QCOMPARE(boxes.boxes[0].title, AppTitle);
            QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
            d->cancelPick();
        });
        QVERIFY(!PickLists::run(Member::FrmL_TipoPagamento, lists.lookups.tbTipo, &none, nullptr));
    }
}

void TstPickLists::supplierThenPaymentTypeOverrides()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    EntryFields entry;
    BoxRecorder boxes;
    auto pick = [&](Member m, Button b, const QString &typed) {
        Driver driver([&](PickList *d) {
            searchFor(d, b, typed);
            d->confirm();
        });
        return PickLists::run(m, lists.of(m), entry.sink(), nullptr);
    };
    using namespace PickLists::Entry;

    // A payment type and cost centre picked first are overwritten by the supplier's.
    QVERIFY(pick(Member::FrmL_TipoDespesa, Button::Code, "5"));
    QVERIFY(pick(Member::FrmL_CustoPagar01, Button::Code, "70"));
    QVERIFY(pick(Member::frmL_Fornecedor, Button::Code, "120"));
    QCOMPARE(entry.fields.value(CodigoTipo), QVariant(4));
    QCOMPARE(entry.fields.value(DescTipo), QVariant("CHEQUE"));
    QCOMPARE(entry.fields.value(CodigoGerencial), QVariant(8));
    QCOMPARE(entry.fields.value(DescGerencial), QVariant("SERVICOS"));

    // The payment type picked afterwards wins; the cost centre stays the supplier's.
    QVERIFY(pick(Member::FrmL_TipoDespesa, Button::Name, "pix"));
    QCOMPARE(entry.fields.value(CodigoTipo), QVariant(5));
    QCOMPARE(entry.fields.value(DescTipo), QVariant("PIX"));
    QCOMPARE(entry.fields.value(CodigoGerencial), QVariant(8));
    QCOMPARE(entry.fields.value(CodigoFornecedor), QVariant(120));
    QVERIFY(boxes.boxes.isEmpty());
}

void TstPickLists::emptyListConfirmsZeroAndBlank_data()
{
    QTest::addColumn<int>("member");
    QTest::newRow("entry") << int(Member::frmL_Fornecedor);
    QTest::newRow("record") << int(Member::FrmL_fornecedorPagar);
}

void TstPickLists::emptyListConfirmsZeroAndBlank()
{
    QFETCH(int, member);
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    QVERIFY(run(db, "INSERT INTO pagar (CodigoFornecedor, Nome, codigotipo, tipo, codigogerencial,"
                    " gerencial) VALUES (12, 'SILVA & CIA', 3, 'BOLETO', 7, 'MATERIAIS')"));
    RecordSet tbPagar(&db.connection(), QStringLiteral("select * from pagar"));
    tbPagar.open();
    EntryFields entry;
    entry.fields.insert(PickLists::Entry::NomeFornecedor, "SILVA & CIA");
    const Member m = Member(member);
    const bool record = PickLists::spec(m).targetKind == PickLists::TargetKind::Record;
    BoxRecorder boxes;

    Driver driver([&](PickList *d) {
        searchFor(d, Button::Name, QStringLiteral("nobody"));
        d->confirm();
    });
    QVERIFY(PickLists::run(m, lists.lookups.tbfornecedor,
                           record ? PickLists::Target(&tbPagar) : PickLists::Target(entry.sink()),
                           nullptr));
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Razão Social não Encontrado!!!")});
    if (record) {
        QCOMPARE(tbPagar.state(), RecordSet::State::Edit);
        for (const char *c : {"CodigoFornecedor", "codigotipo", "codigogerencial"})
            QCOMPARE(tbPagar.value(c), QVariant(0.0));
        for (const char *c : {"Nome", "tipo", "gerencial"})
            QCOMPARE(tbPagar.value(c), QVariant(QString()));
    } else {
        using namespace PickLists::Entry;
        for (const QString &c : {CodigoFornecedor, CodigoTipo, CodigoGerencial})
            QCOMPARE(entry.fields.value(c), QVariant(0));
        for (const QString &c : {NomeFornecedor, DescTipo, DescGerencial})
            QCOMPARE(entry.fields.value(c), QVariant(QString()));
    }
}

void TstPickLists::databaseErrorLeavesListClosed()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    RecordSet *tbfilial = lists.lookups.tbfilial;
    tbfilial->open();
    EntryFields entry;
    BoxRecorder boxes;
    QVERIFY(run(db, "DROP TABLE filial"));

    Driver driver([&](PickList *d) {
        searchFor(d, Button::Code, QStringLiteral("1"));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].title, AppTitle);
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(boxes.boxes[0].text.contains(QStringLiteral("filial"), Qt::CaseInsensitive),
                 qPrintable(boxes.boxes[0].text));
        QVERIFY(!tbfilial->isOpen());
        QVERIFY(d->isVisible());
        d->cancelPick();
    });
    QVERIFY(!PickLists::run(Member::FrmL_FilialPagar02, tbfilial, entry.sink(), nullptr));
    QVERIFY(!tbfilial->isOpen());
    QVERIFY(entry.fields.isEmpty());
}

void TstPickLists::keyboard()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    EntryFields entry;
    BoxRecorder boxes;

    // The expense-type pick list of the entry screen starts in the search
    // field; Enter there moves on and never presses OK.
    Driver driver([&](PickList *d) {
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(d->searchEdit()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ag"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(d->isVisible());
        QVERIFY(QApplication::focusWidget() != d->searchEdit());
        d->searchByName();
        QCOMPARE(codes(lists.lookups.MyTipoDespesa, "codigodespesa"), QList<int>{15});
        d->confirm();
    });
    QVERIFY(PickLists::run(Member::FrmL_DespesaPagar, lists.lookups.MyTipoDespesa, entry.sink(),
                           nullptr));
    QCOMPARE(entry.fields.value(PickLists::Entry::CodigoDespesa), QVariant(15));
    QVERIFY(boxes.boxes.isEmpty());
}

void TstPickLists::doubleClickPicksTheRow()
{
    TestDb db;
    REQUIRE_DB(db);
    QVERIFY(fillRegistries(db));
    Lists lists(&db.connection());
    EntryFields entry;
    QVariant clicked;
    Driver driver([&](PickList *d) {
        QVERIFY(QTest::qWaitForWindowExposed(d));
        auto *grid = d->findChild<DataGrid *>("grdLista");
        QVERIFY(grid && grid->model()->rowCount() > 1);
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        clicked = lists.lookups.tbfilial->valueAt(1, "Codigofilial");
        // As a person does it: the first click, then the second one.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    QVERIFY(
        PickLists::run(Member::FrmL_FilialPagar02, lists.lookups.tbfilial, entry.sink(), nullptr));
    QCOMPARE(entry.fields.value(PickLists::Entry::CodigoFilial).toInt(), clicked.toInt());
}

void TstPickLists::wrongTargetShowsNothing()
{
    TestDb db;
    REQUIRE_DB(db);
    Lists lists(&db.connection());
    RecordSet pagar(&db.connection(), QStringLiteral("select * from pagar"));
    EntryFields entry;
    Driver driver([](PickList *d) { d->confirm(); });
    for (const char *name : {"frmL_Fornecedor", "FrmL_fornecedorPagar", "FrmL_fornecedorPagar"})
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("PickLists::run: \"%1\" without a list or "
                                                       "a fitting target")
                                            .arg(QLatin1String(name))));
    QVERIFY(!PickLists::run(Member::frmL_Fornecedor, lists.lookups.tbfornecedor, &pagar, nullptr));
    QVERIFY(!PickLists::run(Member::FrmL_fornecedorPagar, lists.lookups.tbfornecedor, entry.sink(),
                            nullptr));
    QVERIFY(!PickLists::run(Member::FrmL_fornecedorPagar, nullptr, &pagar, nullptr));
    QCOMPARE(driver.shown, 0);
}

CP_TEST(TstPickLists)
#include "tst_picklists.moc"
