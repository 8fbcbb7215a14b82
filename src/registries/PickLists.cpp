#include "registries/PickLists.h"

#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/RecordSet.h"
#include "registries/PickList.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QDebug>

#include <memory>

namespace PickLists {

namespace {

const QString Localizar = QStringLiteral("Localizar");
const QString PorCodigo = QStringLiteral("Por &Codigo");
const QString PorRSocial = QStringLiteral("Por R.&Social");
const QString PorDescricao = QStringLiteral("Por &Descrição");

GridColumn col(const QString &field, const QString &title, int width)
{
    GridColumn c;
    c.field = field;
    c.title = title;
    c.width = width;
    return c;
}

// The lists. Name searches always match a prefix of the name.

const ListKind Suppliers{
    QStringLiteral("Fornecedor"),
    QStringLiteral("CodigoFornecedor"),
    QStringLiteral("Localizar Fornecedor"),
    QStringLiteral("Localizar Fornecedor"),
    false,
    QSize(900, 480),
    {col(QStringLiteral("CodigoFornecedor"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("Nome"), QStringLiteral("Nome do Fornecedor"), 260),
     col(QStringLiteral("Telefone1"), QStringLiteral("Telefone"), 100),
     col(QStringLiteral("Gerencial"), QStringLiteral("Conta Gerencial"), 150),
     col(QStringLiteral("Tipos"), QStringLiteral("Tipos"), 120),
     col(QStringLiteral("Cgccpf"), QStringLiteral("Cnpj"), 130)},
    {PorCodigo, QStringLiteral("CodigoFornecedor"), QStringLiteral("CodigoFornecedor"),
     Match::WholeText, QStringLiteral("Codigo do Fornecedor em Branco !!!"),
     QStringLiteral("Codigo não Encontrado!!!")},
    {PorRSocial, QStringLiteral("Nome"), QStringLiteral("Nome"), Match::Prefix,
     QStringLiteral("Razão Social do Fornecedor em Branco !!!"),
     QStringLiteral("Razão Social não Encontrado!!!")},
};

const ListKind Branches{
    QStringLiteral("Filial"),
    QStringLiteral("Codigofilial"),
    Localizar,
    QStringLiteral("LOCALIZAR FILIAL"),
    true,
    QSize(520, 440),
    {col(QStringLiteral("Codigofilial"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("Nomefilial"), QStringLiteral("Descrição da Filial"), 380)},
    {PorCodigo, QStringLiteral("CodigoFilial"), QStringLiteral("CodigoFilial"), Match::Prefix,
     QStringLiteral("Codigo da Filial em Branco !!!"),
     QStringLiteral("Codigo da Filial não Encontrado!!!")},
    {PorRSocial, QStringLiteral("NomeFilial"), QStringLiteral("NomeFilial"), Match::Prefix,
     QStringLiteral("Razão Social da Filial em Branco !!!"),
     QStringLiteral("Razão Social da Filial não Encontrado!!!")},
};

const ListKind CostCentres{
    QStringLiteral("ContaGerencial"),
    QStringLiteral("codigogerencial"),
    MakerCaption,
    QStringLiteral("LOCALIZAR CENTRAL DE CUSTO"),
    true,
    QSize(520, 440),
    {col(QStringLiteral("codigogerencial"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("Gerencial"), QStringLiteral("Descrição Conta Gerencial"), 380)},
    {PorCodigo, QStringLiteral("Codigogerencial"), QStringLiteral("Codigogerencial"), Match::Prefix,
     QStringLiteral("Codigo do Centro de Custo em Branco !!!"),
     QStringLiteral("Codigo do Centro de Custo não Encontrado!!!")},
    {PorDescricao, QStringLiteral("gerencial"), QStringLiteral("gerencial"), Match::Prefix,
     QStringLiteral("Descrição do Centro de Custo em Branco !!!"),
     QStringLiteral("Descrição do Centro de Custo não Encontrado!!!")},
};

const ListKind PaymentTypes{
    QStringLiteral("Tipos"),
    QStringLiteral("CODIGOTIPO"),
    Localizar,
    QStringLiteral("LOCALIZAR TIPO DE PAGAMENTO"),
    true,
    QSize(520, 440),
    {col(QStringLiteral("CODIGOTIPO"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("DESCTIPO"), QStringLiteral("Descrição do Tipo de Pagamento"), 380)},
    {PorCodigo, QStringLiteral("CodigoTipo"), QStringLiteral("CodigoTipo"), Match::Prefix,
     QStringLiteral("Codigo do Tipo da Pagamento em Branco !!!"),
     QStringLiteral("Codigo do Tipo da Pagamento não Encontrado!!!")},
    {PorDescricao, QStringLiteral("Desctipo"), QStringLiteral("Desctipo"), Match::Prefix,
     QStringLiteral("Descrição do Tipo da Pagamento em Branco !!!"),
     QStringLiteral("Descrição do Tipo da Pagamento não Encontrado!!!")},
};

const ListKind ExpenseTypes{
    QStringLiteral("TipoDespesa"),
    QStringLiteral("codigodespesa"),
    Localizar,
    QStringLiteral("LOCALIZAR TIPO DE DESPESA"),
    true,
    QSize(520, 440),
    {col(QStringLiteral("codigodespesa"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("despesa"), QStringLiteral("Descrição do Tipo de Despesa"), 380)},
    {PorCodigo, QStringLiteral("CodigoDespesa"), QStringLiteral("CodigoDespesa"), Match::Prefix,
     QStringLiteral("Codigo do Tipo da Despesa em Branco !!!"),
     QStringLiteral("Codigo do Tipo da Despesa não Encontrado!!!")},
    {PorDescricao, QStringLiteral("Despesa"), QStringLiteral("Despesa"), Match::Prefix,
     QStringLiteral("Descrição do Tipo da Despesa em Branco !!!"),
     QStringLiteral("Descrição do Tipo da Despesa não Encontrado!!!")},
};

const ListKind BankAccounts{
    QStringLiteral("Conta"),
    QStringLiteral("codigoconta"),
    MakerCaption,
    QStringLiteral("Localizar Conta"),
    false,
    QSize(560, 440),
    {col(QStringLiteral("codigoconta"), QStringLiteral("Codigo"), 60),
     col(QStringLiteral("agencia"), QStringLiteral("Agência"), 80),
     col(QStringLiteral("banco"), QStringLiteral("Banco"), 210),
     col(QStringLiteral("conta"), QStringLiteral("Conta"), 130)},
    // The account number is matched as a whole and listed by account code.
    {QStringLiteral("Por &Conta"), QStringLiteral("Conta"), QStringLiteral("CodigoConta"),
     Match::WholeText, QStringLiteral("Codigo da Conta em Branco !!!"),
     QStringLiteral("Codigo não Encontrado!!!")},
    {QStringLiteral("Por &Banco"), QStringLiteral("Banco"), QStringLiteral("Banco"), Match::Prefix,
     QStringLiteral("Banco em Branco !!!"), QStringLiteral("Banco não Encontrado!!!")},
};

FieldCopy code(const QString &source, const QString &target)
{
    return {source, target, FieldCopy::Code};
}

FieldCopy text(const QString &source, const QString &target)
{
    return {source, target, FieldCopy::Text};
}

MemberSpec make(Member member, const QString &objectName, const ListKind *list,
                TargetKind targetKind, const QList<FieldCopy> &copies,
                bool focusSearchOnShow = false)
{
    MemberSpec m;
    m.member = member;
    m.objectName = objectName;
    m.list = list;
    m.targetKind = targetKind;
    m.copies = copies;
    m.focusSearchOnShow = focusSearchOnShow;
    return m;
}

QList<MemberSpec> buildMembers()
{
    using namespace Entry;
    const auto S = [](const char *s) { return QString::fromUtf8(s); };
    QList<MemberSpec> m;
    // Suppliers also bring their default payment type and cost centre.
    m << make(Member::frmL_Fornecedor, S("frmL_Fornecedor"), &Suppliers, TargetKind::Entry,
              {code(S("CodigoFornecedor"), CodigoFornecedor), text(S("Nome"), NomeFornecedor),
               code(S("CodigoTipo"), CodigoTipo), text(S("Tipos"), DescTipo),
               code(S("CodigoGerencial"), CodigoGerencial), text(S("Gerencial"), DescGerencial)});
    m << make(
        Member::FrmL_fornecedorPagar, S("FrmL_fornecedorPagar"), &Suppliers, TargetKind::Record,
        {code(S("CodigoFornecedor"), S("CodigoFornecedor")), text(S("Nome"), S("Nome")),
         code(S("CodigoTipo"), S("codigotipo")), text(S("Tipos"), S("tipo")),
         code(S("CodigoGerencial"), S("codigogerencial")), text(S("Gerencial"), S("gerencial"))});
    m << make(Member::FrmL_FilialPagar02, S("FrmL_FilialPagar02"), &Branches, TargetKind::Entry,
              {code(S("Codigofilial"), CodigoFilial), text(S("Nomefilial"), NomeFilial)});
    m << make(Member::FrmL_filialPagar, S("FrmL_filialPagar"), &Branches, TargetKind::Record,
              {code(S("Codigofilial"), S("Codigofilial")), text(S("Nomefilial"), S("filial"))});
    m << make(Member::FrmL_CustoPagar01, S("FrmL_CustoPagar01"), &CostCentres, TargetKind::Entry,
              {code(S("codigogerencial"), CodigoGerencial), text(S("Gerencial"), DescGerencial)});
    m << make(
        Member::FrmL_CustoPagar02, S("FrmL_CustoPagar02"), &CostCentres, TargetKind::Record,
        {code(S("codigogerencial"), S("codigogerencial")), text(S("Gerencial"), S("gerencial"))});
    m << make(Member::FrmL_TipoDespesa, S("FrmL_TipoDespesa"), &PaymentTypes, TargetKind::Entry,
              {code(S("CODIGOTIPO"), CodigoTipo), text(S("DESCTIPO"), DescTipo)});
    m << make(Member::FrmL_TipoPagamento, S("FrmL_TipoPagamento"), &PaymentTypes,
              TargetKind::Record,
              {code(S("CODIGOTIPO"), S("codigotipo")), text(S("DESCTIPO"), S("tipo"))});
    m << make(Member::FrmL_DespesaPagar, S("FrmL_DespesaPagar"), &ExpenseTypes, TargetKind::Entry,
              {code(S("codigodespesa"), CodigoDespesa), text(S("despesa"), DescDespesa)}, true);
    m << make(Member::FrmL_DespesaPagar01, S("FrmL_DespesaPagar01"), &ExpenseTypes,
              TargetKind::Record,
              {code(S("codigodespesa"), S("codigodespesa")), text(S("despesa"), S("despesa"))});
    m << make(Member::frmL_Conta, S("frmL_Conta"), &BankAccounts, TargetKind::Record,
              {code(S("codigoconta"), S("codigoconta")), text(S("conta"), S("conta")),
               text(S("banco"), S("banco")), text(S("agencia"), S("agencia"))});
    return m;
}

} // namespace

const QList<MemberSpec> &members()
{
    static const QList<MemberSpec> all = buildMembers();
    return all;
}

const MemberSpec &spec(Member member)
{
    return members().at(int(member));
}

bool run(Member member, RecordSet *list, const Target &target, QWidget *parent)
{
    const MemberSpec &m = spec(member);
    if (!list || !Pick::targetFits(m, target)) {
        qWarning() << "PickLists::run:" << m.objectName << "without a list or a fitting target";
        return false;
    }
    if (!list->isOpen()) {
        try {
            list->open();
        } catch (const DbError &e) {
            Messages::error(AppTitle, e.message());
        }
    }
    const QString key = m.list->keyField;
    QVariant noted;
    if (list->isOpen() && list->recNo() >= 0 && list->hasField(key))
        noted = list->value(key);

    std::unique_ptr<PickList> dialog(new PickList(m, list, target, parent));
    const bool confirmed = Modal::exec(dialog.get()) == QDialog::Accepted;
    if (!confirmed && !noted.isNull() && list->isOpen())
        list->locate(key, noted);
    TrimWorkingSet();
    dialog.reset();
    return confirmed;
}

} // namespace PickLists
