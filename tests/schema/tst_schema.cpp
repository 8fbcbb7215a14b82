// Checks the database that schema.sql creates against the table layout the
// program and the rest of the suite rely on, and checks that the demo data
// loads and shows every state a payable can be in.
//
// The expectation table below is typed out by hand on purpose: it is the
// reference the schema is held to, so a column that changes type or width in
// schema.sql (or disappears, or appears unannounced) fails here.

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "TestDb.h"
#include "TestMain.h"

namespace {

// Type families as information_schema.COLUMNS.DATA_TYPE reports them.
// "serial" is the key of most tables: INT, primary key, auto-increment.
constexpr const char *SERIAL = "serial";
constexpr const char *INT = "int";
constexpr const char *SMALLINT = "smallint";
constexpr const char *BIGINT = "bigint";
constexpr const char *DBL = "double";
constexpr const char *TXT = "varchar";
constexpr const char *MEMO = "longtext";
constexpr const char *DATE = "date";
constexpr const char *DATETIME = "datetime";
constexpr const char *TIME = "time";

struct ExpectedColumn
{
    const char *table;
    const char *column;
    const char *type;
    int width; // characters, for text columns only
};

// clang-format off
const ExpectedColumn kColumns[] = {
    // payables
    {"pagar", "Controle", SERIAL, 0},
    {"pagar", "Nota", TXT, 50},
    {"pagar", "notacontrole", TXT, 10},
    {"pagar", "condicao", TXT, 20},
    {"pagar", "parcelas", DBL, 0},
    {"pagar", "Dataemissao", DATE, 0},
    {"pagar", "Datavenc", DATE, 0},
    {"pagar", "Dataquitacao", DATE, 0},
    {"pagar", "Valor", DBL, 0},
    {"pagar", "total", DBL, 0},
    {"pagar", "totalpg", DBL, 0},
    {"pagar", "valorpg", DBL, 0},
    {"pagar", "desconto", DBL, 0},
    {"pagar", "pago", TXT, 1},
    {"pagar", "negociacao", TXT, 1},
    {"pagar", "posicao", TXT, 1},
    {"pagar", "CodigoFornecedor", DBL, 0},
    {"pagar", "Nome", TXT, 100},
    {"pagar", "nomefornecedor", TXT, 50},
    {"pagar", "Codigofilial", DBL, 0},
    {"pagar", "filial", TXT, 50},
    {"pagar", "nomefilial", TXT, 50},
    {"pagar", "codigogerencial", DBL, 0},
    {"pagar", "gerencial", TXT, 50},
    {"pagar", "gerenial", TXT, 50},
    {"pagar", "codigodespesa", DBL, 0},
    {"pagar", "despesa", TXT, 50},
    {"pagar", "codigotipo", DBL, 0},
    {"pagar", "tipo", TXT, 25},
    {"pagar", "tipos", TXT, 50},
    {"pagar", "codigotipocartao", DBL, 0},
    {"pagar", "tipocartao", TXT, 20},
    {"pagar", "especie", TXT, 15},
    {"pagar", "tiporecebimento", TXT, 20},
    {"pagar", "Obs", MEMO, 0},
    {"pagar", "obs01", TXT, 100},
    {"pagar", "obs02", TXT, 100},
    {"pagar", "obs03", TXT, 100},
    {"pagar", "complemento", TXT, 30},
    {"pagar", "usuario", TXT, 20},
    {"pagar", "horalanc", TXT, 10},
    {"pagar", "horaquitado", TXT, 10},
    {"pagar", "nomecomputador", TXT, 50},
    {"pagar", "dataproc", DATETIME, 0},
    {"pagar", "numerodpc", DBL, 0},
    {"pagar", "codigonota", DBL, 0},
    {"pagar", "chavenota", TXT, 50},
    {"pagar", "aplicacao", TXT, 30},
    {"pagar", "opcaoentrada", TXT, 15},
    {"pagar", "tabela", TXT, 50},
    {"pagar", "codigoparcela", DBL, 0},
    {"pagar", "descparcela", TXT, 50},
    {"pagar", "controles", TXT, 15},
    {"pagar", "codigobarras", TXT, 512},

    // suppliers
    {"fornecedor", "CodigoFornecedor", SERIAL, 0},
    {"fornecedor", "Nome", TXT, 50},
    {"fornecedor", "nomefan", TXT, 50},
    {"fornecedor", "Cgccpf", TXT, 25},
    {"fornecedor", "Cgc", TXT, 25},
    {"fornecedor", "Cpf", TXT, 14},
    {"fornecedor", "ie", TXT, 15},
    {"fornecedor", "rg", TXT, 18},
    {"fornecedor", "TipoContribuinte", INT, 0},
    {"fornecedor", "Endereco", TXT, 40},
    {"fornecedor", "Numero", TXT, 10},
    {"fornecedor", "ICompletCliFor", TXT, 25},
    {"fornecedor", "complemento", TXT, 30},
    {"fornecedor", "Bairro", TXT, 30},
    {"fornecedor", "Cidade", TXT, 30},
    {"fornecedor", "Estado", TXT, 2},
    {"fornecedor", "Cep", TXT, 8},
    {"fornecedor", "CodigoCidade", INT, 0},
    {"fornecedor", "CodCidade", INT, 0},
    {"fornecedor", "Telefone1", TXT, 15},
    {"fornecedor", "Telefone2", TXT, 15},
    {"fornecedor", "Telcontato", TXT, 15},
    {"fornecedor", "email", TXT, 50},
    {"fornecedor", "contato", TXT, 50},
    {"fornecedor", "CodigoTipo", DBL, 0},
    {"fornecedor", "Tipos", TXT, 50},
    {"fornecedor", "CodigoGerencial", DBL, 0},
    {"fornecedor", "Gerencial", TXT, 50},
    {"fornecedor", "situacao", TXT, 20},
    {"fornecedor", "CNAE", MEMO, 0},
    {"fornecedor", "captcha", TXT, 30},
    {"fornecedor", "Obs", MEMO, 0},
    {"fornecedor", "Tipo", TXT, 1},
    {"fornecedor", "ativo", TXT, 1},
    {"fornecedor", "Controle", DBL, 0},
    {"fornecedor", "contador", INT, 0},
    {"fornecedor", "DtPrimeiraCompra", DATE, 0},
    {"fornecedor", "dtCartaDebito", DATE, 0},
    {"fornecedor", "CodigoSubGrupo", DBL, 0},
    {"fornecedor", "DescricaoSubgrupo", TXT, 50},
    {"fornecedor", "dataproc", DATETIME, 0},
    {"fornecedor", "bCodECtCliFor", SMALLINT, 0},
    {"fornecedor", "strNascimentotCliFor", TXT, 8},
    {"fornecedor", "strNomeMaetCliFor", TXT, 40},
    {"fornecedor", "strNomePaitCliFor", TXT, 40},
    {"fornecedor", "strNomeConjugetCliFor", TXT, 40},
    {"fornecedor", "strEmpresatCliFor", TXT, 40},
    {"fornecedor", "IEmpresaTempotCliFor", TXT, 15},
    {"fornecedor", "strEmpresaCargotCliFor", TXT, 15},
    {"fornecedor", "sSalariotCliFor", DBL, 0},
    {"fornecedor", "strEmpresaEnderecotCliFor", TXT, 40},
    {"fornecedor", "IEmpresaCodNumerotCliFor", SMALLINT, 0},
    {"fornecedor", "IEmpresaCompletCliFor", TXT, 25},
    {"fornecedor", "strEmpresaCeptCliFor", TXT, 8},
    {"fornecedor", "strEmpresaBairrotCliFor", TXT, 30},
    {"fornecedor", "strEmpresaCidadetCliFor", TXT, 30},
    {"fornecedor", "strEmpresaUftCliFor", TXT, 2},
    {"fornecedor", "strcodCarteiraProftclifor", TXT, 14},
    {"fornecedor", "strResidenciaTempotclifor", TXT, 15},

    // branches, cost centres, expense types, payment types
    {"filial", "Codigofilial", SERIAL, 0},
    {"filial", "Nomefilial", TXT, 50},
    {"filial", "Obs", MEMO, 0},
    {"filial", "rede", TXT, 35},
    {"filial", "servidor", TXT, 40},
    {"filial", "sincronizador", TXT, 40},
    {"filial", "redeos", TXT, 40},

    {"contagerencial", "codigogerencial", SERIAL, 0},
    {"contagerencial", "Gerencial", TXT, 50},
    {"contagerencial", "dataprocessamento", DATETIME, 0},

    {"tipodespesa", "codigodespesa", SERIAL, 0},
    {"tipodespesa", "despesa", TXT, 50},
    {"tipodespesa", "dataprocessamento", DATETIME, 0},

    {"tipos", "CODIGOTIPO", SERIAL, 0},
    {"tipos", "DESCTIPO", TXT, 30},

    // bank accounts
    {"conta", "codigoconta", SERIAL, 0},
    {"conta", "banco", TXT, 30},
    {"conta", "agencia", TXT, 4},
    {"conta", "conta", TXT, 15},
    {"conta", "valor", DBL, 0},
    {"conta", "debito", DBL, 0},
    {"conta", "ES", TXT, 1},
    {"conta", "data", DATE, 0},
    {"conta", "codigofilial", DBL, 0},
    {"conta", "filial", TXT, 50},
    {"conta", "codigotipo", DBL, 0},
    {"conta", "codigogerencial", DBL, 0},
    {"conta", "gerencial", TXT, 50},
    {"conta", "codigodespesa", DBL, 0},
    {"conta", "descricaodespesa", TXT, 50},
    {"conta", "usuario", TXT, 50},
    {"conta", "dataprocessamento", DATETIME, 0},
    {"conta", "cartao", TXT, 25},
    {"conta", "nomecartao", TXT, 15},
    {"conta", "codigocartao", DBL, 0},

    // the company
    {"configuracao", "Controle", SERIAL, 0},
    {"configuracao", "Nome", TXT, 50},
    {"configuracao", "Endereco", TXT, 50},
    {"configuracao", "Bairro", TXT, 40},
    {"configuracao", "Cidade", TXT, 40},
    {"configuracao", "Estado", TXT, 2},
    {"configuracao", "Cep", TXT, 8},
    {"configuracao", "Tel1", TXT, 15},
    {"configuracao", "Tel2", TXT, 15},
    {"configuracao", "Fax", TXT, 15},
    {"configuracao", "Email", TXT, 50},
    {"configuracao", "Setor", TXT, 50},
    {"configuracao", "Cpf", TXT, 14},
    {"configuracao", "Cnpj", TXT, 15},
    {"configuracao", "Insc", TXT, 15},

    // reference tables
    {"uf", "Sigla", TXT, 2},
    {"uf", "NomEst", TXT, 25},

    {"municipios_ibge", "uf", TXT, 2},
    {"municipios_ibge", "codigo", BIGINT, 0},
    {"municipios_ibge", "nome", TXT, 50},

    // purchase notes
    {"nota", "Codigonota", SERIAL, 0},
    {"nota", "Codigofornecedor", DBL, 0},
    {"nota", "Notafiscal", TXT, 20},
    {"nota", "Data", DATE, 0},
    {"nota", "dataentrada", DATE, 0},
    {"nota", "operacao", TXT, 20},
    {"nota", "chave", TXT, 44},
    {"nota", "valor", DBL, 0},
    {"nota", "vProd", DBL, 0},
    {"nota", "vNF", DBL, 0},
    {"nota", "vTotTrib", DBL, 0},
    {"nota", "totalfrete", DBL, 0},
    {"nota", "NFCancelada", TXT, 1},
    {"nota", "Importacao", TXT, 50},

    {"itensnota", "Contador", SERIAL, 0},
    {"itensnota", "Codigonota", DBL, 0},
    {"itensnota", "Codigoproduto", DBL, 0},
    {"itensnota", "CodigoFornecedor", DBL, 0},
    {"itensnota", "Qt", DBL, 0},
    {"itensnota", "Preco", DBL, 0},
    {"itensnota", "Tipo", TXT, 1},
    {"itensnota", "Data", DATE, 0},
    {"itensnota", "dataentrada", DATE, 0},
    {"itensnota", "produto", TXT, 100},
    {"itensnota", "descricao", TXT, 100},
    {"itensnota", "notafiscal", TXT, 20},
    {"itensnota", "Referencia", TXT, 25},
    {"itensnota", "Fechada", TXT, 10},
    {"itensnota", "NFCancelada", TXT, 1},
    {"itensnota", "Importacao", TXT, 50},

    // checking-account ledger
    {"contacorrente", "controle", SERIAL, 0},
    {"contacorrente", "codigoconta", DBL, 0},
    {"contacorrente", "conta", TXT, 50},
    {"contacorrente", "banco", TXT, 20},
    {"contacorrente", "agencia", TXT, 4},
    {"contacorrente", "datalancamento", DATE, 0},
    {"contacorrente", "datavencimento", DATE, 0},
    {"contacorrente", "dataquitacao", DATE, 0},
    {"contacorrente", "valor", DBL, 0},
    {"contacorrente", "debito", DBL, 0},
    {"contacorrente", "es", TXT, 11},
    {"contacorrente", "tipos", TXT, 15},
    {"contacorrente", "especie", TXT, 50},
    {"contacorrente", "tiposaida", TXT, 30},
    {"contacorrente", "codigofilial", DBL, 0},
    {"contacorrente", "filial", TXT, 50},
    {"contacorrente", "codigofornecedor", DBL, 0},
    {"contacorrente", "fornecedor", TXT, 50},
    {"contacorrente", "codigogerencial", DBL, 0},
    {"contacorrente", "gerencial", TXT, 50},
    {"contacorrente", "codigotipo", DBL, 0},
    {"contacorrente", "tipo", TXT, 30},
    {"contacorrente", "codigotipodespesa", DBL, 0},
    {"contacorrente", "tipodespesa", TXT, 50},
    {"contacorrente", "codigodespesa", DBL, 0},
    {"contacorrente", "documento", TXT, 15},
    {"contacorrente", "valordoc", DBL, 0},
    {"contacorrente", "importado", TXT, 1},
    {"contacorrente", "dataimportado", DATE, 0},
    {"contacorrente", "cheque", TXT, 15},
    {"contacorrente", "cartao", TXT, 15},
    {"contacorrente", "usuario", TXT, 30},
    {"contacorrente", "hora", TIME, 0},
    {"contacorrente", "nomecomputador", TXT, 40},
    {"contacorrente", "obs", MEMO, 0},
    {"contacorrente", "dataproc", DATETIME, 0},

    // cash ledger of the cash program
    {"caixa", "Controle", SERIAL, 0},
    {"caixa", "Tipo", TXT, 10},
    {"caixa", "Descricao", TXT, 50},
    {"caixa", "Opcao", TXT, 1},
    {"caixa", "Tp", TXT, 1},
    {"caixa", "es", TXT, 1},
    {"caixa", "CodigoNota", TXT, 10},
    {"caixa", "CodigoCliente", DBL, 0},
    {"caixa", "Usuario", TXT, 50},
    {"caixa", "NomeFuncionario", TXT, 30},
    {"caixa", "NomeFunciionario", TXT, 30},
    {"caixa", "Data", DATE, 0},
    {"caixa", "Debito", DBL, 0},
    {"caixa", "valor", DBL, 0},
    {"caixa", "Hora", TXT, 10},
    {"caixa", "especie", TXT, 25},
    {"caixa", "Condicao", TXT, 25},
    {"caixa", "filial", TXT, 50},
    {"caixa", "codigoFilial", DBL, 0},
    {"caixa", "nomecomputador", TXT, 40},
    {"caixa", "CodigoFuncionario", DBL, 0},
    {"caixa", "Credito", DBL, 0},
    {"caixa", "Turno", TXT, 1},
    {"caixa", "Numero", TXT, 10},
    {"caixa", "protocolo", TXT, 15},
    {"caixa", "chave", TXT, 45},
    {"caixa", "datanfce", DATE, 0},
    {"caixa", "nfce", TXT, 20},
    {"caixa", "serienfce", TXT, 20},
    {"caixa", "horanfce", TXT, 10},
    {"caixa", "lote", TXT, 20},
    {"caixa", "troco", DBL, 0},
    {"caixa", "TipoNotaFiscal", TXT, 20},
    {"caixa", "NFCancelada", TXT, 1},
    {"caixa", "tabela", TXT, 50},
    {"caixa", "dataproc", DATETIME, 0},

    // bank statement staging
    {"importacaobanco", "id", SERIAL, 0},
    {"importacaobanco", "data", DATE, 0},
    {"importacaobanco", "hora", TIME, 0},
    {"importacaobanco", "usuario", TXT, 50},
    {"importacaobanco", "historico", TXT, 100},
    {"importacaobanco", "documento", TXT, 25},
    {"importacaobanco", "valor", DBL, 0},
    {"importacaobanco", "debito", DBL, 0},
    {"importacaobanco", "saldo", DBL, 0},
    {"importacaobanco", "importado", TXT, 1},
    {"importacaobanco", "dataimportado", DATE, 0},
    {"importacaobanco", "dataprocessamento", DATETIME, 0},
    {"importacaobanco", "banco", TXT, 50},

    // the ledger-shaped bank table: the ledger's columns plus "bancos"
    {"contacorrentebanco", "controle", SERIAL, 0},
    {"contacorrentebanco", "codigoconta", DBL, 0},
    {"contacorrentebanco", "conta", TXT, 50},
    {"contacorrentebanco", "banco", TXT, 20},
    {"contacorrentebanco", "bancos", TXT, 50},
    {"contacorrentebanco", "agencia", TXT, 4},
    {"contacorrentebanco", "datalancamento", DATE, 0},
    {"contacorrentebanco", "datavencimento", DATE, 0},
    {"contacorrentebanco", "dataquitacao", DATE, 0},
    {"contacorrentebanco", "valor", DBL, 0},
    {"contacorrentebanco", "debito", DBL, 0},
    {"contacorrentebanco", "es", TXT, 11},
    {"contacorrentebanco", "tipos", TXT, 15},
    {"contacorrentebanco", "especie", TXT, 50},
    {"contacorrentebanco", "tiposaida", TXT, 30},
    {"contacorrentebanco", "codigofilial", DBL, 0},
    {"contacorrentebanco", "filial", TXT, 50},
    {"contacorrentebanco", "codigofornecedor", DBL, 0},
    {"contacorrentebanco", "fornecedor", TXT, 50},
    {"contacorrentebanco", "codigogerencial", DBL, 0},
    {"contacorrentebanco", "gerencial", TXT, 50},
    {"contacorrentebanco", "codigotipo", DBL, 0},
    {"contacorrentebanco", "tipo", TXT, 30},
    {"contacorrentebanco", "codigotipodespesa", DBL, 0},
    {"contacorrentebanco", "tipodespesa", TXT, 50},
    {"contacorrentebanco", "codigodespesa", DBL, 0},
    {"contacorrentebanco", "documento", TXT, 15},
    {"contacorrentebanco", "valordoc", DBL, 0},
    {"contacorrentebanco", "importado", TXT, 1},
    {"contacorrentebanco", "dataimportado", DATE, 0},
    {"contacorrentebanco", "cheque", TXT, 15},
    {"contacorrentebanco", "cartao", TXT, 15},
    {"contacorrentebanco", "usuario", TXT, 30},
    {"contacorrentebanco", "hora", TIME, 0},
    {"contacorrentebanco", "nomecomputador", TXT, 40},
    {"contacorrentebanco", "obs", MEMO, 0},
    {"contacorrentebanco", "dataproc", DATETIME, 0},

    // receivables
    {"receber", "Controle", SERIAL, 0},
    {"receber", "CodigoNota", TXT, 10},
    {"receber", "CodigoCliente", DBL, 0},
    {"receber", "Nome", TXT, 50},
    {"receber", "CodigoFilial", DBL, 0},
    {"receber", "filial", TXT, 50},
    {"receber", "DataVenc", DATE, 0},
    {"receber", "DataQuitacao", DATE, 0},
    {"receber", "Valor", DBL, 0},
    {"receber", "TotalPg", DBL, 0},
    {"receber", "especie", TXT, 15},

    // work row of a settlement
    {"pagartemp", "Controle", SERIAL, 0},
    {"pagartemp", "Nota", TXT, 10},
    {"pagartemp", "CodigoFornecedor", DBL, 0},
    {"pagartemp", "Codigofilial", DBL, 0},
    {"pagartemp", "Nome", TXT, 50},
    {"pagartemp", "Dataemissao", DATE, 0},
    {"pagartemp", "Datavenc", DATE, 0},
    {"pagartemp", "Dataquitacao", DATE, 0},
    {"pagartemp", "Valor", DBL, 0},
    {"pagartemp", "total", DBL, 0},
    {"pagartemp", "totalpg", DBL, 0},
    {"pagartemp", "pago", TXT, 1},
    {"pagartemp", "filial", TXT, 50},
    {"pagartemp", "posicao", TXT, 1},
    {"pagartemp", "especie", TXT, 15},
    {"pagartemp", "usuario", TXT, 15},
    {"pagartemp", "codigogerencial", DBL, 0},
    {"pagartemp", "gerenial", TXT, 50},
    {"pagartemp", "codigotipo", DBL, 0},
    {"pagartemp", "tipo", TXT, 25},
    {"pagartemp", "parcelas", DBL, 0},
    {"pagartemp", "condicao", TXT, 20},
    {"pagartemp", "notacontrole", TXT, 10},
    {"pagartemp", "codigonota", DBL, 0},
    {"pagartemp", "controles", TXT, 15},
    {"pagartemp", "desconto", DBL, 0},
    {"pagartemp", "Obs1", TXT, 100},
    {"pagartemp", "dataproc", DATETIME, 0},
    {"pagartemp", "obs", MEMO, 0},

    // cash hand-off
    {"caixatemp", "Controle", SERIAL, 0},
    {"caixatemp", "CodigoNota", TXT, 10},
    {"caixatemp", "CodigoCliente", DBL, 0},
    {"caixatemp", "CodigoFuncionario", DBL, 0},
    {"caixatemp", "Descricao", TXT, 50},
    {"caixatemp", "Data", DATE, 0},
    {"caixatemp", "Credito", DBL, 0},
    {"caixatemp", "Debito", DBL, 0},
    {"caixatemp", "Opcao", TXT, 1},
    {"caixatemp", "Tipo", TXT, 10},
    {"caixatemp", "Usuario", TXT, 50},
    {"caixatemp", "Tp", TXT, 1},
    {"caixatemp", "Condicao", TXT, 25},
    {"caixatemp", "Hora", TXT, 10},
    {"caixatemp", "Turno", TXT, 1},
    {"caixatemp", "Numero", TXT, 10},
    {"caixatemp", "especie", TXT, 35},
    {"caixatemp", "es", TXT, 1},
    {"caixatemp", "dataprocessamento", DATETIME, 0},

    // summary work table
    {"resumo", "Controle", SERIAL, 0},
    {"resumo", "codigo", DBL, 0},
    {"resumo", "historico", TXT, 50},
    {"resumo", "Datai", DATE, 0},
    {"resumo", "dataf", DATE, 0},
    {"resumo", "valor", DBL, 0},
    {"resumo", "debito", DBL, 0},
    {"resumo", "credito", DBL, 0},
    {"resumo", "tabela", TXT, 50},
    {"resumo", "codigoplano", DBL, 0},
    {"resumo", "plano", TXT, 50},
    {"resumo", "posicao", TXT, 15},
    {"resumo", "nota", TXT, 10},
    {"resumo", "condicao", TXT, 30},
    {"resumo", "codigofornecedor", DBL, 0},
    {"resumo", "codigofilial", DBL, 0},
    {"resumo", "filial", TXT, 50},
    {"resumo", "descricao", TXT, 50},
    {"resumo", "codigogerencial", DBL, 0},
    {"resumo", "gerencial", TXT, 50},
    {"resumo", "especie", TXT, 35},
    {"resumo", "dataprocessamento", DATETIME, 0},
    {"resumo", "CodigoNota", TXT, 10},
    {"resumo", "CodigoCliente", DBL, 0},
    {"resumo", "CodigoFuncionario", DBL, 0},
    {"resumo", "Data", DATE, 0},
    {"resumo", "Opcao", TXT, 1},
    {"resumo", "Tp", TXT, 1},
    {"resumo", "Turno", TXT, 1},
    {"resumo", "es", TXT, 1},
    {"resumo", "Tipo", TXT, 20},
    {"resumo", "Usuario", TXT, 20},
    {"resumo", "Hora", TXT, 10},
    {"resumo", "numero", TXT, 15},
    {"resumo", "mes", TXT, 2},
    {"resumo", "ano", TXT, 4},
    {"resumo", "datavenc", DATE, 0},
    {"resumo", "dataquitacao", DATE, 0},

    // annual movement: one column per month
    {"resumoanual", "controle", SERIAL, 0},
    {"resumoanual", "descricao", TXT, 50},
    {"resumoanual", "01", DBL, 0},
    {"resumoanual", "02", DBL, 0},
    {"resumoanual", "03", DBL, 0},
    {"resumoanual", "04", DBL, 0},
    {"resumoanual", "05", DBL, 0},
    {"resumoanual", "06", DBL, 0},
    {"resumoanual", "07", DBL, 0},
    {"resumoanual", "08", DBL, 0},
    {"resumoanual", "09", DBL, 0},
    {"resumoanual", "10", DBL, 0},
    {"resumoanual", "11", DBL, 0},
    {"resumoanual", "12", DBL, 0},
    {"resumoanual", "mes", TXT, 2},
    {"resumoanual", "codigocliente", DBL, 0},
    {"resumoanual", "codigoplano", DBL, 0},
    {"resumoanual", "plano", TXT, 50},
    {"resumoanual", "dataprocessamento", DATETIME, 0},

    // netting of receivables and payables
    {"resumo02", "Controle", SERIAL, 0},
    {"resumo02", "CodigoNota", TXT, 10},
    {"resumo02", "CodigoCliente", DBL, 0},
    {"resumo02", "Descricao", TXT, 50},
    {"resumo02", "Data", DATE, 0},
    {"resumo02", "Credito", DBL, 0},
    {"resumo02", "Debito", DBL, 0},
    {"resumo02", "es", TXT, 1},
    {"resumo02", "CodigoFuncionario", DBL, 0},
    {"resumo02", "Opcao", TXT, 1},
    {"resumo02", "Tp", TXT, 1},
    {"resumo02", "Turno", TXT, 1},
    {"resumo02", "Tipo", TXT, 10},
    {"resumo02", "Usuario", TXT, 50},
    {"resumo02", "Condicao", TXT, 30},
    {"resumo02", "Hora", TXT, 10},
    {"resumo02", "especie", TXT, 25},
    {"resumo02", "numero", TXT, 15},
    {"resumo02", "codigoFilial", DBL, 0},
    {"resumo02", "filial", TXT, 50},
    {"resumo02", "tabela", TXT, 50},
    {"resumo02", "valor", DBL, 0},
    {"resumo02", "dataf", DATE, 0},

    // paid totals per month for the charts
    {"pagarmes", "id", SERIAL, 0},
    {"pagarmes", "mes01", DBL, 0},
    {"pagarmes", "descricao", TXT, 50},
    {"pagarmes", "codigofilial", DBL, 0},
    {"pagarmes", "filial", TXT, 50},
    {"pagarmes", "codigofornecedor", DBL, 0},
    {"pagarmes", "fornecedor", TXT, 50},
};

// The state capitals with their IBGE municipality codes.
const struct { const char *uf; qint64 codigo; const char *nome; } kCapitals[] = {
    {"AC", 1200401, "Rio Branco"},   {"AL", 2704302, "Maceió"},
    {"AM", 1302603, "Manaus"},       {"AP", 1600303, "Macapá"},
    {"BA", 2927408, "Salvador"},     {"CE", 2304400, "Fortaleza"},
    {"DF", 5300108, "Brasília"},     {"ES", 3205309, "Vitória"},
    {"GO", 5208707, "Goiânia"},      {"MA", 2111300, "São Luís"},
    {"MG", 3106200, "Belo Horizonte"}, {"MS", 5002704, "Campo Grande"},
    {"MT", 5103403, "Cuiabá"},       {"PA", 1501402, "Belém"},
    {"PB", 2507507, "João Pessoa"},  {"PE", 2611606, "Recife"},
    {"PI", 2211001, "Teresina"},     {"PR", 4106902, "Curitiba"},
    {"RJ", 3304557, "Rio de Janeiro"}, {"RN", 2408102, "Natal"},
    {"RO", 1100205, "Porto Velho"},  {"RR", 1400100, "Boa Vista"},
    {"RS", 4314902, "Porto Alegre"}, {"SC", 4205407, "Florianópolis"},
    {"SE", 2800308, "Aracaju"},      {"SP", 3550308, "São Paulo"},
    {"TO", 1721000, "Palmas"},
};
// clang-format on

QString key(const QString &table, const QString &column)
{
    return table.toLower() + QLatin1Char('.') + column.toLower();
}

// CPF (11 digits) and CNPJ (14 digits): two mod-11 check digits; a remainder
// below 2 gives 0, otherwise 11 minus the remainder. Punctuation is ignored,
// a number of one repeated digit is refused.
bool validCpfCnpj(const QString &text)
{
    QList<int> d;
    for (QChar c : text)
        if (c.isDigit())
            d << c.digitValue();
    auto check = [&d](int count, const QList<int> &weights) {
        int sum = 0;
        for (int i = 0; i < count; ++i)
            sum += d[i] * weights[i];
        const int r = sum % 11;
        return r < 2 ? 0 : 11 - r;
    };
    if (d.size() != 11 && d.size() != 14)
        return false;
    if (std::all_of(d.cbegin(), d.cend(), [&d](int x) { return x == d.first(); }))
        return false;
    if (d.size() == 11) {
        return check(9, {10, 9, 8, 7, 6, 5, 4, 3, 2}) == d[9] &&
               check(10, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}) == d[10];
    }
    return check(12, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == d[12] &&
           check(13, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == d[13];
}

} // namespace

class TstSchema : public QObject
{
    Q_OBJECT

    struct ActualColumn
    {
        QString dataType;
        QVariant width;
        QString columnKey;
        QString extra;
    };

    std::unique_ptr<TestDb> m_db;   // schema only, never written
    std::unique_ptr<TestDb> m_demo; // schema plus demo data
    bool m_demoLoaded = false;
    QString m_demoError;
    QHash<QString, ActualColumn> m_actual;

    static QVariant scalar(QSqlDatabase db, const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next()) {
            qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
            return {};
        }
        return q.value(0);
    }

    static QString demoPath()
    {
        return TestDb::sourceDir() + QStringLiteral("/src/schema/demo.sql");
    }
    static QString schemaPath()
    {
        return TestDb::sourceDir() + QStringLiteral("/src/schema/schema.sql");
    }

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<TestDb>();
        QVERIFY2(m_db->ok(), qPrintable(m_db->error()));
        QSqlQuery q(m_db->sql());
        QVERIFY2(q.exec(QStringLiteral(
                     "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, "
                     "COLUMN_KEY, EXTRA FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                     "DATABASE()")),
                 qPrintable(q.lastError().text()));
        while (q.next()) {
            m_actual.insert(key(q.value(0).toString(), q.value(1).toString()),
                            {q.value(2).toString().toLower(), q.value(3), q.value(4).toString(),
                             q.value(5).toString().toLower()});
        }
        QVERIFY(!m_actual.isEmpty());

        m_demo = std::make_unique<TestDb>();
        QVERIFY2(m_demo->ok(), qPrintable(m_demo->error()));
        m_demoLoaded = m_demo->loadSqlFile(demoPath());
        if (!m_demoLoaded)
            m_demoError = m_demo->error();
    }

    void cleanupTestCase()
    {
        m_demo.reset();
        m_db.reset();
    }

    // Every table has a primary key: rows of a table without one cannot be
    // replicated safely to the nodes of a cluster.
    void everyTableHasAPrimaryKey()
    {
        QSqlQuery q(m_db->sql());
        QVERIFY(q.exec(QStringLiteral(
            "SELECT t.TABLE_NAME FROM information_schema.TABLES t WHERE t.TABLE_SCHEMA = "
            "DATABASE() AND t.TABLE_TYPE = 'BASE TABLE' AND NOT EXISTS (SELECT 1 FROM "
            "information_schema.TABLE_CONSTRAINTS c WHERE c.TABLE_SCHEMA = t.TABLE_SCHEMA AND "
            "c.TABLE_NAME = t.TABLE_NAME AND c.CONSTRAINT_TYPE = 'PRIMARY KEY')")));
        QStringList without;
        while (q.next())
            without << q.value(0).toString();
        QCOMPARE(without, QStringList());
    }

    // Every column exists with its type and, for text, its width in characters.
    void columns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("width");
        for (const auto &c : kColumns) {
            QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(c.table, c.column)))
                << QString::fromLatin1(c.table) << QString::fromLatin1(c.column)
                << QString::fromLatin1(c.type) << c.width;
        }
    }

    void columns()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, type);
        QFETCH(int, width);

        const auto it = m_actual.constFind(key(table, column));
        QVERIFY2(it != m_actual.constEnd(), "column missing");
        if (type == QLatin1String(SERIAL)) {
            QCOMPARE(it->dataType, QStringLiteral("int"));
            QCOMPARE(it->columnKey, QStringLiteral("PRI"));
            QVERIFY2(it->extra.contains(QLatin1String("auto_increment")),
                     "key is not auto-increment");
            return;
        }
        QCOMPARE(it->dataType, type);
        if (type == QLatin1String(TXT))
            QCOMPARE(it->width.toInt(), width);
    }

    // No table carries columns beyond the expected ones (a misspelt column
    // would otherwise sit there unnoticed beside the missing one), and every
    // table is InnoDB with the accent- and case-insensitive collation.
    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QSet<QString> seen;
        for (const auto &c : kColumns) {
            const QString t = QString::fromLatin1(c.table);
            if (!seen.contains(t)) {
                seen.insert(t);
                QTest::newRow(c.table) << t;
            }
        }
    }

    void tables()
    {
        QFETCH(QString, table);
        QSet<QString> expected;
        for (const auto &c : kColumns)
            if (table == QLatin1String(c.table))
                expected.insert(key(table, QString::fromLatin1(c.column)));

        QStringList unexpected;
        const QString prefix = table.toLower() + QLatin1Char('.');
        for (auto it = m_actual.cbegin(); it != m_actual.cend(); ++it)
            if (it.key().startsWith(prefix) && !expected.contains(it.key()))
                unexpected << it.key();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1String(", "))));

        QSqlQuery q(m_db->sql());
        q.prepare(QStringLiteral("SELECT ENGINE, TABLE_COLLATION FROM information_schema.TABLES "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ?"));
        q.addBindValue(table.toLower());
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QVERIFY2(q.next(), "table missing");
        QCOMPARE(q.value(0).toString(), QStringLiteral("InnoDB"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("utf8mb4_unicode_ci"));
    }

    // Table names are written in mixed case throughout the program.
    void mixedCaseNames_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("Fornecedor") << QStringLiteral("Select * From Fornecedor Order By Nome");
        QTest::newRow("Resumo02") << QStringLiteral(
            "SELECT * FROM Resumo02 WHERE (Data >= CURDATE()) Order By Data, Es, Descricao");
        QTest::newRow("ItensNota") << QStringLiteral("select * from itensNota");
        QTest::newRow("Uf") << QStringLiteral(
            "Select Ucase(Nomest),NomEst,sigla From Uf Order By Sigla");
        QTest::newRow("Municipios_Ibge") << QStringLiteral(
            "Select uf,codigo,Ucase(nome) nome From Municipios_Ibge Order By Uf,Nome");
        QTest::newRow("Pagarmes") << QStringLiteral("SELECT * FROM Pagarmes");
        QTest::newRow("PagarTemp") << QStringLiteral("select * from PagarTemp");
        QTest::newRow("Caixa") << QStringLiteral("select * from Caixa order by CodigoNota");
        QTest::newRow("Tipodespesa")
            << QStringLiteral("select * from Tipodespesa order by Despesa");
        QTest::newRow("ResumoAnual months")
            << QStringLiteral("select descricao, sum(`01`) as total01, sum(`12`) as total12 from "
                              "ResumoAnual group by descricao");
        QTest::newRow("Pagar") << QStringLiteral("select * from Pagar where controle < 0");
    }

    void mixedCaseNames()
    {
        QFETCH(QString, sql);
        QSqlQuery q(m_db->sql());
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    }

    // A payable inserted without negociacao is a normal one, and the columns
    // no screen fills stay null.
    void payableDefaults()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QSqlQuery q(db.sql());
        QVERIFY2(q.exec(QStringLiteral("INSERT INTO pagar (Nota, Nome, Valor, Datavenc) "
                                       "VALUES ('1234', 'FORNECEDOR TESTE', 10.5, CURDATE())")),
                 qPrintable(q.lastError().text()));
        const QVariant id = q.lastInsertId();
        QVERIFY(id.isValid());
        QVERIFY(q.exec(QStringLiteral("SELECT negociacao, pago, Dataquitacao, totalpg, posicao, "
                                      "desconto, numerodpc FROM pagar WHERE Controle = %1")
                           .arg(id.toInt())));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("N"));
        for (int i = 1; i < q.record().count(); ++i)
            QVERIFY2(q.value(i).isNull(), qPrintable(q.record().fieldName(i)));

        // An open, normal row is what the open-payables reports select.
        QCOMPARE(
            scalar(db.sql(), QStringLiteral("SELECT COUNT(*) FROM pagar WHERE Dataquitacao IS NULL "
                                            "AND negociacao = 'N'"))
                .toInt(),
            1);
    }

    // A row of the annual table sets one month; the eleven others must add 0,
    // not null, to the sums of the column reports.
    void annualMonthsDefaultToZero()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QSqlQuery q(db.sql());
        for (int m = 1; m <= 12; ++m) {
            const QString col = QStringLiteral("`%1`").arg(m, 2, 10, QLatin1Char('0'));
            QVERIFY2(q.exec(QStringLiteral("INSERT INTO resumoanual (descricao, %1, mes) "
                                           "VALUES ('FORNECEDOR', 100, '%2')")
                                .arg(col, col.mid(1, 2))),
                     qPrintable(q.lastError().text()));
        }
        QVERIFY(q.exec(QStringLiteral(
            "SELECT mes, `01`+`02`+`03`+`04`+`05`+`06`+`07`+`08`+`09`+`10`+`11`+`12` "
            "FROM resumoanual ORDER BY mes")));
        int rows = 0;
        while (q.next()) {
            ++rows;
            QVERIFY2(
                !q.value(1).isNull(),
                qPrintable(
                    QStringLiteral("row of month %1 sums to null").arg(q.value(0).toString())));
            QCOMPARE(q.value(1).toDouble(), 100.0);
        }
        QCOMPARE(rows, 12);
        QCOMPARE(
            scalar(
                db.sql(),
                QStringLiteral(
                    "SELECT SUM(`01`)+SUM(`02`)+SUM(`03`)+SUM(`04`)+SUM(`05`)+SUM(`06`)+SUM(`07`)"
                    "+SUM(`08`)+SUM(`09`)+SUM(`10`)+SUM(`11`)+SUM(`12`) FROM resumoanual"))
                .toDouble(),
            1200.0);
    }

    void brazilianStates()
    {
        QCOMPARE(scalar(m_db->sql(), QStringLiteral("SELECT COUNT(*) FROM uf")).toInt(), 27);
        QCOMPARE(scalar(m_db->sql(),
                        QStringLiteral(
                            "SELECT COUNT(DISTINCT Sigla) FROM uf WHERE CHAR_LENGTH(Sigla) = 2 "
                            "AND NomEst <> ''"))
                     .toInt(),
                 27);
        QCOMPARE(scalar(m_db->sql(), QStringLiteral("SELECT NomEst FROM uf WHERE Sigla = 'SP'"))
                     .toString(),
                 QStringLiteral("São Paulo"));
    }

    void capitals_data()
    {
        QTest::addColumn<QString>("uf");
        QTest::addColumn<qint64>("codigo");
        QTest::addColumn<QString>("nome");
        for (const auto &c : kCapitals)
            QTest::newRow(c.uf) << QString::fromLatin1(c.uf) << c.codigo
                                << QString::fromUtf8(c.nome);
    }

    void capitals()
    {
        QFETCH(QString, uf);
        QFETCH(qint64, codigo);
        QFETCH(QString, nome);
        QSqlQuery q(m_db->sql());
        q.prepare(QStringLiteral("SELECT uf, nome FROM municipios_ibge WHERE codigo = ?"));
        q.addBindValue(codigo);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QVERIFY2(q.next(), "municipality code missing");
        QCOMPARE(q.value(0).toString(), uf);
        QCOMPARE(q.value(1).toString(), nome); // accents intact
    }

    // The consultation finds a municipality by state and name; the collation
    // must let an unaccented upper-case name find it.
    void municipalityByStateAndName()
    {
        QSqlQuery q(m_db->sql());
        q.prepare(QStringLiteral("SELECT codigo FROM municipios_ibge WHERE uf = ? AND nome = ?"));
        q.addBindValue(QStringLiteral("PA"));
        q.addBindValue(QStringLiteral("BELEM"));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), qint64(1501402));
        QCOMPARE(
            scalar(m_db->sql(), QStringLiteral("SELECT COUNT(*) FROM municipios_ibge")).toInt(),
            27);
    }

    // Loading the schema into a database that already has it changes nothing.
    void schemaLoadsTwice()
    {
        TestDb db;
        QVERIFY2(db.ok(), qPrintable(db.error()));
        QVERIFY2(db.loadSqlFile(schemaPath()), "second load of schema.sql failed");
        QCOMPARE(scalar(db.sql(), QStringLiteral("SELECT COUNT(*) FROM uf")).toInt(), 27);
        QCOMPARE(scalar(db.sql(), QStringLiteral("SELECT COUNT(*) FROM municipios_ibge")).toInt(),
                 27);
        QCOMPARE(
            scalar(db.sql(), QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                            "WHERE TABLE_SCHEMA = DATABASE()"))
                .toInt(),
            scalar(m_db->sql(), QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                               "WHERE TABLE_SCHEMA = DATABASE()"))
                .toInt());
    }

    void checkDigitHelper_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("valid");
        QTest::newRow("cpf") << QStringLiteral("111.444.777-35") << true;
        QTest::newRow("cpf digits only") << QStringLiteral("11144477735") << true;
        QTest::newRow("cpf remainder below 2") << QStringLiteral("123.456.789-09") << true;
        QTest::newRow("cpf remainder below 2, other digit")
            << QStringLiteral("123.456.789-19") << false;
        QTest::newRow("cpf wrong first digit") << QStringLiteral("111.444.777-45") << false;
        QTest::newRow("cpf wrong second digit") << QStringLiteral("111.444.777-36") << false;
        QTest::newRow("cpf one repeated digit") << QStringLiteral("111.111.111-11") << false;
        QTest::newRow("cnpj") << QStringLiteral("11.222.333/0001-81") << true;
        QTest::newRow("cnpj digits swapped") << QStringLiteral("11.222.333/0001-18") << false;
        QTest::newRow("cnpj wrong base") << QStringLiteral("11.222.334/0001-81") << false;
        QTest::newRow("too short") << QStringLiteral("12.345") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void checkDigitHelper()
    {
        QFETCH(QString, number);
        QFETCH(bool, valid);
        QCOMPARE(validCpfCnpj(number), valid);
    }

    void demoLoads()
    {
        QVERIFY2(m_demoLoaded,
                 qPrintable(QStringLiteral("demo.sql did not load into a fresh database: ") +
                            m_demoError));
        QCOMPARE(scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) FROM configuracao")).toInt(),
                 1);
        QCOMPARE(scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) FROM filial")).toInt(), 3);
        QVERIFY(scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) FROM fornecedor")).toInt() >=
                15);
        QVERIFY(scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) FROM pagar")).toInt() >= 200);
    }

    // Relative to the day of loading, the payables list has a row of every state.
    void demoStates_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::newRow("open, due later") << QStringLiteral(
            "FROM pagar WHERE Dataquitacao IS NULL AND negociacao = 'N' AND Datavenc > CURDATE()");
        QTest::newRow("overdue") << QStringLiteral(
            "FROM pagar WHERE Dataquitacao IS NULL AND negociacao = 'N' AND Datavenc < CURDATE()");
        QTest::newRow("due today") << QStringLiteral(
            "FROM pagar WHERE Dataquitacao IS NULL AND negociacao = 'N' AND Datavenc = CURDATE()");
        QTest::newRow("paid") << QStringLiteral("FROM pagar WHERE Dataquitacao IS NOT NULL AND "
                                                "pago = 'S' AND totalpg > 0 AND negociacao = 'N'");
        QTest::newRow("negotiated")
            << QStringLiteral("FROM pagar WHERE Dataquitacao IS NULL AND negociacao = 'S'");
        QTest::newRow("partially paid") << QStringLiteral(
            "FROM pagar WHERE Dataquitacao IS NOT NULL AND especie = 'VALOR DO DPC' "
            "AND tiporecebimento = 'Dpc' AND numerodpc = 1 AND totalpg < Valor");
        QTest::newRow("DPC remainder")
            << QStringLiteral("FROM pagar WHERE Dataquitacao IS NULL AND condicao LIKE 'DPC - %' "
                              "AND notacontrole = Nota "
                              "AND Obs = 'DPC' AND parcelas = 1 AND numerodpc >= 1 AND pago = 'N'");
        QTest::newRow("second DPC remainder")
            << QStringLiteral("FROM pagar WHERE condicao = 'DPC - 2' AND numerodpc = 2");
        QTest::newRow("six instalments")
            << QStringLiteral("FROM pagar WHERE parcelas = 6 AND notacontrole LIKE '%/6' AND "
                              "condicao = '6º PARCELA'");
        QTest::newRow("paid at entry") << QStringLiteral(
            "FROM pagar WHERE parcelas = 0 AND condicao = '1º PARCELA' AND Datavenc = Dataemissao "
            "AND Dataquitacao = Dataemissao AND notacontrole = CONCAT(Nota, '/1')");
        QTest::newRow("paid through the bank") << QStringLiteral(
            "FROM pagar WHERE gerenial = 'CONTA CORRENTE' AND Dataquitacao IS NOT NULL");
        QTest::newRow("a year and a half of history")
            << QStringLiteral("FROM pagar WHERE Dataemissao <= CURDATE() - INTERVAL 16 MONTH");
        QTest::newRow("cash rows")
            << QStringLiteral("FROM caixa WHERE Tipo = 'DEBITO' AND Debito = valor");
        QTest::newRow("ledger credit") << QStringLiteral(
            "FROM contacorrente WHERE tipos = 'CREDITO' AND es = 'E' AND valor > 0");
        QTest::newRow("ledger debit") << QStringLiteral(
            "FROM contacorrente WHERE tipos = 'DEBITO' AND es = 'S' AND debito > 0");
        QTest::newRow("bank account")
            << QStringLiteral("FROM conta WHERE banco <> '' AND agencia <> ''");
        QTest::newRow("open receivable")
            << QStringLiteral("FROM receber WHERE DataQuitacao IS NULL AND DataVenc >= CURDATE()");
        QTest::newRow("received") << QStringLiteral(
            "FROM receber WHERE DataQuitacao IS NOT NULL AND TotalPg > 0");
        QTest::newRow("supplier with CPF")
            << QStringLiteral("FROM fornecedor WHERE CHAR_LENGTH(Cgccpf) = 14");
        QTest::newRow("supplier with CNPJ")
            << QStringLiteral("FROM fornecedor WHERE CHAR_LENGTH(Cgccpf) = 18");
    }

    void demoStates()
    {
        QFETCH(QString, condition);
        if (!m_demoLoaded)
            QSKIP("demo.sql did not load (see demoLoads)");
        const QVariant n = scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) ") + condition);
        QVERIFY2(n.isValid(), "query failed");
        QVERIFY2(n.toInt() >= 1, "no such row in the demo data");
    }

    // What the program writes, the demo data must also respect: names copied
    // from the registries, instalment dates and values, flags in step.
    void demoConsistency_data()
    {
        QTest::addColumn<QString>("offending");
        QTest::newRow("supplier name") << QStringLiteral(
            "FROM pagar p LEFT JOIN fornecedor f ON f.CodigoFornecedor = p.CodigoFornecedor "
            "WHERE f.Nome IS NULL OR BINARY f.Nome <> p.Nome OR BINARY p.nomefornecedor <> "
            "LEFT(p.Nome, 50)");
        QTest::newRow("branch name")
            << QStringLiteral("FROM pagar p LEFT JOIN filial f ON f.Codigofilial = p.Codigofilial "
                              "WHERE f.Nomefilial IS NULL OR BINARY p.nomefilial <> f.Nomefilial "
                              "OR BINARY p.filial <> f.Nomefilial");
        QTest::newRow("cost centre name") << QStringLiteral(
            "FROM pagar p LEFT JOIN contagerencial g ON g.codigogerencial = p.codigogerencial "
            "WHERE g.Gerencial IS NULL OR BINARY p.gerencial <> g.Gerencial "
            "OR BINARY p.gerenial NOT IN (g.Gerencial, 'CONTA CORRENTE')");
        QTest::newRow("expense type name") << QStringLiteral(
            "FROM pagar p LEFT JOIN tipodespesa t ON t.codigodespesa = p.codigodespesa "
            "WHERE t.despesa IS NULL OR BINARY p.despesa <> t.despesa");
        QTest::newRow("payment type name")
            << QStringLiteral("FROM pagar p LEFT JOIN tipos t ON t.CODIGOTIPO = p.codigotipo "
                              "WHERE t.DESCTIPO IS NULL OR BINARY p.tipo <> t.DESCTIPO");
        QTest::newRow("supplier defaults")
            << QStringLiteral("FROM fornecedor f LEFT JOIN tipos t ON t.CODIGOTIPO = f.CodigoTipo "
                              "LEFT JOIN contagerencial g ON g.codigogerencial = f.CodigoGerencial "
                              "WHERE t.DESCTIPO IS NULL OR BINARY f.Tipos <> t.DESCTIPO OR "
                              "g.Gerencial IS NULL OR BINARY f.Gerencial <> g.Gerencial");
        QTest::newRow("instalment due every 30 days") << QStringLiteral(
            "FROM pagar WHERE parcelas > 0 AND condicao LIKE '%º PARCELA' AND Datavenc <> "
            "Dataemissao "
            "+ INTERVAL 30 * CAST(SUBSTRING_INDEX(notacontrole, '/', -1) AS UNSIGNED) DAY");
        QTest::newRow("instalment label") << QStringLiteral(
            "FROM pagar WHERE parcelas > 0 AND condicao LIKE '%º PARCELA' AND "
            "(notacontrole <> CONCAT(Nota, '/', SUBSTRING_INDEX(notacontrole, '/', -1)) "
            "OR condicao <> CONCAT(SUBSTRING_INDEX(notacontrole, '/', -1), 'º PARCELA'))");
        QTest::newRow("instalment value")
            << QStringLiteral("FROM pagar WHERE parcelas > 0 AND condicao LIKE '%º PARCELA' "
                              "AND ABS(Valor - ROUND(total / parcelas, 2)) > 0.001");
        QTest::newRow("instalment count") << QStringLiteral(
            "FROM (SELECT Nota FROM pagar WHERE parcelas > 0 AND condicao LIKE '%º PARCELA' "
            "GROUP BY Nota HAVING COUNT(*) <> MAX(parcelas)) x");
        QTest::newRow("paid flag in step")
            << QStringLiteral("FROM pagar WHERE (pago = 'S') <> (Dataquitacao IS NOT NULL)");
        QTest::newRow("settled in the future")
            << QStringLiteral("FROM pagar WHERE Dataquitacao > CURDATE()");
        QTest::newRow("settled without amount")
            << QStringLiteral("FROM pagar WHERE Dataquitacao IS NOT NULL AND NOT totalpg > 0");
        QTest::newRow("cash row without payable") << QStringLiteral(
            "FROM caixa c WHERE NOT EXISTS (SELECT 1 FROM pagar p WHERE p.Nota = c.CodigoNota "
            "OR CONCAT(p.Nota, '/1') = c.CodigoNota)");
        QTest::newRow("account without opening movement") << QStringLiteral(
            "FROM conta c WHERE NOT EXISTS (SELECT 1 FROM contacorrente m WHERE m.codigoconta = "
            "c.codigoconta "
            "AND m.datalancamento = c.data AND m.tipos IS NULL AND m.valor = c.valor)");
        QTest::newRow("ledger direction") << QStringLiteral(
            "FROM contacorrente WHERE NOT ((es = 'E' AND valor > 0 AND debito IS NULL) "
            "OR (es = 'S' AND debito > 0 AND valor IS NULL))");
    }

    void demoConsistency()
    {
        QFETCH(QString, offending);
        if (!m_demoLoaded)
            QSKIP("demo.sql did not load (see demoLoads)");
        const QVariant n = scalar(m_demo->sql(), QStringLiteral("SELECT COUNT(*) ") + offending);
        QVERIFY2(n.isValid(), "query failed");
        QCOMPARE(n.toInt(), 0);
    }

    void demoSupplierDocuments()
    {
        if (!m_demoLoaded)
            QSKIP("demo.sql did not load (see demoLoads)");
        QSqlQuery q(m_demo->sql());
        QVERIFY(q.exec(QStringLiteral("SELECT Nome, Cgccpf FROM fornecedor")));
        const QRegularExpression formatted(QStringLiteral(
            "^(\\d{2}\\.\\d{3}\\.\\d{3}/\\d{4}-\\d{2}|\\d{3}\\.\\d{3}\\.\\d{3}-\\d{2})$"));
        int rows = 0;
        while (q.next()) {
            ++rows;
            const QString doc = q.value(1).toString();
            const QByteArray who = (q.value(0).toString() + QLatin1String(": ") + doc).toUtf8();
            QVERIFY2(formatted.match(doc).hasMatch(), who.constData());
            QVERIFY2(validCpfCnpj(doc), who.constData());
        }
        QVERIFY(rows > 0);
    }
};

CP_TEST(TstSchema)
#include "tst_schema.moc"
