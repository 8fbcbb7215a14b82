-- Database of the accounts-payable program.
--
-- Loaded statement by statement: every statement ends with a semicolon at the
-- end of a line, comments are whole lines, and nothing here creates or selects
-- the database. Loading the file twice is harmless (IF NOT EXISTS, INSERT IGNORE).
--
-- Conventions: codes that refer to another table are DOUBLE (the suite keeps
-- them that way), money is DOUBLE, text columns are VARCHAR with the widest
-- width any screen writes. No foreign keys: rows copy the code and the name of
-- what they refer to, and a registry row may be deleted while others hold its code.
-- Table names are lower case, and the server runs with lower_case_table_names=1 so
-- the program may spell them in any case.

-- ---------------------------------------------------------------------------
-- Payables: one row per instalment of a bill.
-- negociacao defaults to 'N' because no screen writes it when creating a row,
-- and the open-payables reports only list rows with negociacao = 'N'.
-- codigobarras is the boleto's typed line or the PIX "copia e cola" the bill was
-- entered from (a dynamic PIX code with its URL runs well past 100 characters);
-- only the new-payable screen writes it, and the other programs ignore it.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS pagar (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Nota VARCHAR(50) DEFAULT NULL,
  notacontrole VARCHAR(10) DEFAULT NULL,
  condicao VARCHAR(20) DEFAULT NULL,
  parcelas DOUBLE DEFAULT NULL,
  Dataemissao DATE DEFAULT NULL,
  Datavenc DATE DEFAULT NULL,
  Dataquitacao DATE DEFAULT NULL,
  Valor DOUBLE DEFAULT NULL,
  total DOUBLE DEFAULT NULL,
  totalpg DOUBLE DEFAULT NULL,
  valorpg DOUBLE DEFAULT NULL,
  desconto DOUBLE DEFAULT NULL,
  pago VARCHAR(1) DEFAULT NULL,
  negociacao VARCHAR(1) DEFAULT 'N',
  posicao VARCHAR(1) DEFAULT NULL,
  CodigoFornecedor DOUBLE DEFAULT NULL,
  Nome VARCHAR(100) DEFAULT NULL,
  nomefornecedor VARCHAR(50) DEFAULT NULL,
  Codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  nomefilial VARCHAR(50) DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerencial VARCHAR(50) DEFAULT NULL,
  gerenial VARCHAR(50) DEFAULT NULL,
  codigodespesa DOUBLE DEFAULT NULL,
  despesa VARCHAR(50) DEFAULT NULL,
  codigotipo DOUBLE DEFAULT NULL,
  tipo VARCHAR(25) DEFAULT NULL,
  tipos VARCHAR(50) DEFAULT NULL,
  codigotipocartao DOUBLE DEFAULT NULL,
  tipocartao VARCHAR(20) DEFAULT NULL,
  especie VARCHAR(15) DEFAULT NULL,
  tiporecebimento VARCHAR(20) DEFAULT NULL,
  Obs LONGTEXT DEFAULT NULL,
  obs01 VARCHAR(100) DEFAULT NULL,
  obs02 VARCHAR(100) DEFAULT NULL,
  obs03 VARCHAR(100) DEFAULT NULL,
  complemento VARCHAR(30) DEFAULT NULL,
  usuario VARCHAR(20) DEFAULT NULL,
  horalanc VARCHAR(10) DEFAULT NULL,
  horaquitado VARCHAR(10) DEFAULT NULL,
  nomecomputador VARCHAR(50) DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  numerodpc DOUBLE DEFAULT NULL,
  codigonota DOUBLE DEFAULT NULL,
  chavenota VARCHAR(50) DEFAULT NULL,
  aplicacao VARCHAR(30) DEFAULT NULL,
  opcaoentrada VARCHAR(15) DEFAULT NULL,
  tabela VARCHAR(50) DEFAULT NULL,
  codigoparcela DOUBLE DEFAULT NULL,
  descparcela VARCHAR(50) DEFAULT NULL,
  controles VARCHAR(15) DEFAULT NULL,
  codigobarras VARCHAR(512) DEFAULT NULL,
  KEY idx_pagar_datavenc (Datavenc),
  KEY idx_pagar_dataquitacao (Dataquitacao),
  KEY idx_pagar_nota (Nota),
  KEY idx_pagar_nome (Nome),
  KEY idx_pagar_fornecedor (CodigoFornecedor),
  KEY idx_pagar_filial (Codigofilial),
  KEY idx_pagar_gerencial (codigogerencial)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Registries
-- ---------------------------------------------------------------------------

-- Suppliers. The personal and employment columns at the end belong to the
-- suite's shared client-and-supplier layout, this program never shows them.
CREATE TABLE IF NOT EXISTS fornecedor (
  CodigoFornecedor INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Nome VARCHAR(50) DEFAULT NULL,
  nomefan VARCHAR(50) DEFAULT NULL,
  Cgccpf VARCHAR(25) DEFAULT NULL,
  Cgc VARCHAR(25) DEFAULT NULL,
  Cpf VARCHAR(14) DEFAULT NULL,
  ie VARCHAR(15) DEFAULT NULL,
  rg VARCHAR(18) DEFAULT NULL,
  TipoContribuinte INT DEFAULT NULL,
  Endereco VARCHAR(40) DEFAULT NULL,
  Numero VARCHAR(10) DEFAULT NULL,
  ICompletCliFor VARCHAR(25) DEFAULT NULL,
  complemento VARCHAR(30) DEFAULT NULL,
  Bairro VARCHAR(30) DEFAULT NULL,
  Cidade VARCHAR(30) DEFAULT NULL,
  Estado VARCHAR(2) DEFAULT NULL,
  Cep VARCHAR(8) DEFAULT NULL,
  CodigoCidade INT DEFAULT NULL,
  CodCidade INT DEFAULT NULL,
  Telefone1 VARCHAR(15) DEFAULT NULL,
  Telefone2 VARCHAR(15) DEFAULT NULL,
  Telcontato VARCHAR(15) DEFAULT NULL,
  email VARCHAR(50) DEFAULT NULL,
  contato VARCHAR(50) DEFAULT NULL,
  CodigoTipo DOUBLE DEFAULT NULL,
  Tipos VARCHAR(50) DEFAULT NULL,
  CodigoGerencial DOUBLE DEFAULT NULL,
  Gerencial VARCHAR(50) DEFAULT NULL,
  situacao VARCHAR(20) DEFAULT NULL,
  CNAE LONGTEXT DEFAULT NULL,
  captcha VARCHAR(30) DEFAULT NULL,
  Obs LONGTEXT DEFAULT NULL,
  Tipo VARCHAR(1) DEFAULT NULL,
  ativo VARCHAR(1) DEFAULT NULL,
  Controle DOUBLE DEFAULT NULL,
  contador INT DEFAULT NULL,
  DtPrimeiraCompra DATE DEFAULT NULL,
  dtCartaDebito DATE DEFAULT NULL,
  CodigoSubGrupo DOUBLE DEFAULT NULL,
  DescricaoSubgrupo VARCHAR(50) DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  bCodECtCliFor SMALLINT DEFAULT NULL,
  strNascimentotCliFor VARCHAR(8) DEFAULT NULL,
  strNomeMaetCliFor VARCHAR(40) DEFAULT NULL,
  strNomePaitCliFor VARCHAR(40) DEFAULT NULL,
  strNomeConjugetCliFor VARCHAR(40) DEFAULT NULL,
  strEmpresatCliFor VARCHAR(40) DEFAULT NULL,
  IEmpresaTempotCliFor VARCHAR(15) DEFAULT NULL,
  strEmpresaCargotCliFor VARCHAR(15) DEFAULT NULL,
  sSalariotCliFor DOUBLE DEFAULT NULL,
  strEmpresaEnderecotCliFor VARCHAR(40) DEFAULT NULL,
  IEmpresaCodNumerotCliFor SMALLINT DEFAULT NULL,
  IEmpresaCompletCliFor VARCHAR(25) DEFAULT NULL,
  strEmpresaCeptCliFor VARCHAR(8) DEFAULT NULL,
  strEmpresaBairrotCliFor VARCHAR(30) DEFAULT NULL,
  strEmpresaCidadetCliFor VARCHAR(30) DEFAULT NULL,
  strEmpresaUftCliFor VARCHAR(2) DEFAULT NULL,
  strcodCarteiraProftclifor VARCHAR(14) DEFAULT NULL,
  strResidenciaTempotclifor VARCHAR(15) DEFAULT NULL,
  KEY idx_fornecedor_nome (Nome)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Operations of this program: each transaction that writes rows also writes
-- its unique id here, so that after a lost reply to its COMMIT the program can
-- find out on the server whether it was done. Other programs ignore it; ids
-- older than 30 days are removed.
CREATE TABLE IF NOT EXISTS cp_operacao (
  id CHAR(36) NOT NULL PRIMARY KEY,
  nome VARCHAR(60) DEFAULT NULL,
  momento DATETIME NOT NULL,
  KEY (momento)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Branches.
CREATE TABLE IF NOT EXISTS filial (
  Codigofilial INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Nomefilial VARCHAR(50) DEFAULT NULL,
  Obs LONGTEXT DEFAULT NULL,
  rede VARCHAR(35) DEFAULT NULL,
  servidor VARCHAR(40) DEFAULT NULL,
  sincronizador VARCHAR(40) DEFAULT NULL,
  redeos VARCHAR(40) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Cost centres.
CREATE TABLE IF NOT EXISTS contagerencial (
  codigogerencial INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Gerencial VARCHAR(50) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL,
  KEY idx_contagerencial_gerencial (Gerencial)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Expense types.
CREATE TABLE IF NOT EXISTS tipodespesa (
  codigodespesa INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  despesa VARCHAR(50) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL,
  KEY idx_tipodespesa_despesa (despesa)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Payment types.
CREATE TABLE IF NOT EXISTS tipos (
  CODIGOTIPO INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  DESCTIPO VARCHAR(30) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Bank accounts, each with the opening movement entered with it.
CREATE TABLE IF NOT EXISTS conta (
  codigoconta INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  banco VARCHAR(30) DEFAULT NULL,
  agencia VARCHAR(4) DEFAULT NULL,
  conta VARCHAR(15) DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  debito DOUBLE DEFAULT NULL,
  ES VARCHAR(1) DEFAULT NULL,
  data DATE DEFAULT NULL,
  codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  codigotipo DOUBLE DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerencial VARCHAR(50) DEFAULT NULL,
  codigodespesa DOUBLE DEFAULT NULL,
  descricaodespesa VARCHAR(50) DEFAULT NULL,
  usuario VARCHAR(50) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL,
  cartao VARCHAR(25) DEFAULT NULL,
  nomecartao VARCHAR(15) DEFAULT NULL,
  codigocartao DOUBLE DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- The company (one row, the program reads the first).
CREATE TABLE IF NOT EXISTS configuracao (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Nome VARCHAR(50) DEFAULT NULL,
  Endereco VARCHAR(50) DEFAULT NULL,
  Bairro VARCHAR(40) DEFAULT NULL,
  Cidade VARCHAR(40) DEFAULT NULL,
  Estado VARCHAR(2) DEFAULT NULL,
  Cep VARCHAR(8) DEFAULT NULL,
  Tel1 VARCHAR(15) DEFAULT NULL,
  Tel2 VARCHAR(15) DEFAULT NULL,
  Fax VARCHAR(15) DEFAULT NULL,
  Email VARCHAR(50) DEFAULT NULL,
  Setor VARCHAR(50) DEFAULT NULL,
  Cpf VARCHAR(14) DEFAULT NULL,
  Cnpj VARCHAR(15) DEFAULT NULL,
  Insc VARCHAR(15) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- States (reference data, read only). The abbreviation is the key so that the
-- seed below can be loaded again without duplicating rows.
CREATE TABLE IF NOT EXISTS uf (
  Sigla VARCHAR(2) NOT NULL PRIMARY KEY,
  NomEst VARCHAR(25) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Municipalities by their 7-digit IBGE code (reference data, read only). The
-- company-number consultation finds a municipality by state and name.
CREATE TABLE IF NOT EXISTS municipios_ibge (
  uf VARCHAR(2) DEFAULT NULL,
  codigo BIGINT NOT NULL PRIMARY KEY,
  nome VARCHAR(50) DEFAULT NULL,
  KEY idx_municipios_uf_nome (uf, nome)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Purchase notes and their items, shown read only on the supplier screen.
CREATE TABLE IF NOT EXISTS nota (
  Codigonota INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Codigofornecedor DOUBLE DEFAULT NULL,
  Notafiscal VARCHAR(20) DEFAULT NULL,
  Data DATE DEFAULT NULL,
  dataentrada DATE DEFAULT NULL,
  operacao VARCHAR(20) DEFAULT NULL,
  chave VARCHAR(44) DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  vProd DOUBLE DEFAULT NULL,
  vNF DOUBLE DEFAULT NULL,
  vTotTrib DOUBLE DEFAULT NULL,
  totalfrete DOUBLE DEFAULT NULL,
  NFCancelada VARCHAR(1) DEFAULT NULL,
  Importacao VARCHAR(50) DEFAULT NULL,
  KEY idx_nota_fornecedor (Codigofornecedor)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS itensnota (
  Contador INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Codigonota DOUBLE DEFAULT NULL,
  Codigoproduto DOUBLE DEFAULT NULL,
  CodigoFornecedor DOUBLE DEFAULT NULL,
  Qt DOUBLE DEFAULT NULL,
  Preco DOUBLE DEFAULT NULL,
  Tipo VARCHAR(1) DEFAULT NULL,
  Data DATE DEFAULT NULL,
  dataentrada DATE DEFAULT NULL,
  produto VARCHAR(100) DEFAULT NULL,
  descricao VARCHAR(100) DEFAULT NULL,
  notafiscal VARCHAR(20) DEFAULT NULL,
  Referencia VARCHAR(25) DEFAULT NULL,
  Fechada VARCHAR(10) DEFAULT NULL,
  NFCancelada VARCHAR(1) DEFAULT NULL,
  Importacao VARCHAR(50) DEFAULT NULL,
  KEY idx_itensnota_nota (Codigonota, notafiscal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Ledgers
-- ---------------------------------------------------------------------------

-- Checking-account ledger: a credit in valor, a debit in debito.
CREATE TABLE IF NOT EXISTS contacorrente (
  controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  codigoconta DOUBLE DEFAULT NULL,
  conta VARCHAR(50) DEFAULT NULL,
  banco VARCHAR(20) DEFAULT NULL,
  agencia VARCHAR(4) DEFAULT NULL,
  datalancamento DATE DEFAULT NULL,
  datavencimento DATE DEFAULT NULL,
  dataquitacao DATE DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  debito DOUBLE DEFAULT NULL,
  es VARCHAR(11) DEFAULT NULL,
  tipos VARCHAR(15) DEFAULT NULL,
  especie VARCHAR(50) DEFAULT NULL,
  tiposaida VARCHAR(30) DEFAULT NULL,
  codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  codigofornecedor DOUBLE DEFAULT NULL,
  fornecedor VARCHAR(50) DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerencial VARCHAR(50) DEFAULT NULL,
  codigotipo DOUBLE DEFAULT NULL,
  tipo VARCHAR(30) DEFAULT NULL,
  codigotipodespesa DOUBLE DEFAULT NULL,
  tipodespesa VARCHAR(50) DEFAULT NULL,
  codigodespesa DOUBLE DEFAULT NULL,
  documento VARCHAR(15) DEFAULT NULL,
  valordoc DOUBLE DEFAULT NULL,
  importado VARCHAR(1) DEFAULT NULL,
  dataimportado DATE DEFAULT NULL,
  cheque VARCHAR(15) DEFAULT NULL,
  cartao VARCHAR(15) DEFAULT NULL,
  usuario VARCHAR(30) DEFAULT NULL,
  hora TIME DEFAULT NULL,
  nomecomputador VARCHAR(40) DEFAULT NULL,
  obs LONGTEXT DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  KEY idx_contacorrente_conta (conta),
  KEY idx_contacorrente_datalancamento (datalancamento)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Cash ledger of the suite's cash program, this program only appends the cash
-- payments of payables. The columns after nomecomputador are the cash
-- program's own (NFC-e data, shift, change) and are never set here.
CREATE TABLE IF NOT EXISTS caixa (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Tipo VARCHAR(10) DEFAULT NULL,
  Descricao VARCHAR(50) DEFAULT NULL,
  Opcao VARCHAR(1) DEFAULT NULL,
  Tp VARCHAR(1) DEFAULT NULL,
  es VARCHAR(1) DEFAULT NULL,
  CodigoNota VARCHAR(10) DEFAULT NULL,
  CodigoCliente DOUBLE DEFAULT NULL,
  Usuario VARCHAR(50) DEFAULT NULL,
  NomeFuncionario VARCHAR(30) DEFAULT NULL,
  NomeFunciionario VARCHAR(30) DEFAULT NULL,
  Data DATE DEFAULT NULL,
  Debito DOUBLE DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  Hora VARCHAR(10) DEFAULT NULL,
  especie VARCHAR(25) DEFAULT NULL,
  Condicao VARCHAR(25) DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  codigoFilial DOUBLE DEFAULT NULL,
  nomecomputador VARCHAR(40) DEFAULT NULL,
  CodigoFuncionario DOUBLE DEFAULT NULL,
  Credito DOUBLE DEFAULT NULL,
  Turno VARCHAR(1) DEFAULT NULL,
  Numero VARCHAR(10) DEFAULT NULL,
  protocolo VARCHAR(15) DEFAULT NULL,
  chave VARCHAR(45) DEFAULT NULL,
  datanfce DATE DEFAULT NULL,
  nfce VARCHAR(20) DEFAULT NULL,
  serienfce VARCHAR(20) DEFAULT NULL,
  horanfce VARCHAR(10) DEFAULT NULL,
  lote VARCHAR(20) DEFAULT NULL,
  troco DOUBLE DEFAULT NULL,
  TipoNotaFiscal VARCHAR(20) DEFAULT NULL,
  NFCancelada VARCHAR(1) DEFAULT NULL,
  tabela VARCHAR(50) DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  KEY idx_caixa_codigonota (CodigoNota),
  KEY idx_caixa_data (Data)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Staging of one bank statement, every reading truncates and refills it.
CREATE TABLE IF NOT EXISTS importacaobanco (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  data DATE DEFAULT NULL,
  hora TIME DEFAULT NULL,
  usuario VARCHAR(50) DEFAULT NULL,
  historico VARCHAR(100) DEFAULT NULL,
  documento VARCHAR(25) DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  debito DOUBLE DEFAULT NULL,
  saldo DOUBLE DEFAULT NULL,
  importado VARCHAR(1) DEFAULT NULL,
  dataimportado DATE DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL,
  banco VARCHAR(50) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Ledger-shaped table of the suite, opened here only as the holder of the
-- statement import's bank selection, never written.
CREATE TABLE IF NOT EXISTS contacorrentebanco (
  controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  codigoconta DOUBLE DEFAULT NULL,
  conta VARCHAR(50) DEFAULT NULL,
  banco VARCHAR(20) DEFAULT NULL,
  bancos VARCHAR(50) DEFAULT NULL,
  agencia VARCHAR(4) DEFAULT NULL,
  datalancamento DATE DEFAULT NULL,
  datavencimento DATE DEFAULT NULL,
  dataquitacao DATE DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  debito DOUBLE DEFAULT NULL,
  es VARCHAR(11) DEFAULT NULL,
  tipos VARCHAR(15) DEFAULT NULL,
  especie VARCHAR(50) DEFAULT NULL,
  tiposaida VARCHAR(30) DEFAULT NULL,
  codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  codigofornecedor DOUBLE DEFAULT NULL,
  fornecedor VARCHAR(50) DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerencial VARCHAR(50) DEFAULT NULL,
  codigotipo DOUBLE DEFAULT NULL,
  tipo VARCHAR(30) DEFAULT NULL,
  codigotipodespesa DOUBLE DEFAULT NULL,
  tipodespesa VARCHAR(50) DEFAULT NULL,
  codigodespesa DOUBLE DEFAULT NULL,
  documento VARCHAR(15) DEFAULT NULL,
  valordoc DOUBLE DEFAULT NULL,
  importado VARCHAR(1) DEFAULT NULL,
  dataimportado DATE DEFAULT NULL,
  cheque VARCHAR(15) DEFAULT NULL,
  cartao VARCHAR(15) DEFAULT NULL,
  usuario VARCHAR(30) DEFAULT NULL,
  hora TIME DEFAULT NULL,
  nomecomputador VARCHAR(40) DEFAULT NULL,
  obs LONGTEXT DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  KEY idx_contacorrentebanco_conta (conta, datalancamento)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Receivables of the suite's sales side, read here for the netting and the
-- summaries. DataQuitacao null = still open.
CREATE TABLE IF NOT EXISTS receber (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  CodigoNota VARCHAR(10) DEFAULT NULL,
  CodigoCliente DOUBLE DEFAULT NULL,
  Nome VARCHAR(50) DEFAULT NULL,
  CodigoFilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  DataVenc DATE DEFAULT NULL,
  DataQuitacao DATE DEFAULT NULL,
  Valor DOUBLE DEFAULT NULL,
  TotalPg DOUBLE DEFAULT NULL,
  especie VARCHAR(15) DEFAULT NULL,
  KEY idx_receber_datavenc (DataVenc),
  KEY idx_receber_dataquitacao (DataQuitacao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Work tables. Each is one set of rows shared by every workstation, a fill
-- truncates its table first.
-- ---------------------------------------------------------------------------

-- Copy of the payable being settled.
CREATE TABLE IF NOT EXISTS pagartemp (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Nota VARCHAR(10) DEFAULT NULL,
  CodigoFornecedor DOUBLE DEFAULT NULL,
  Codigofilial DOUBLE DEFAULT NULL,
  Nome VARCHAR(50) DEFAULT NULL,
  Dataemissao DATE DEFAULT NULL,
  Datavenc DATE DEFAULT NULL,
  Dataquitacao DATE DEFAULT NULL,
  Valor DOUBLE DEFAULT NULL,
  total DOUBLE DEFAULT NULL,
  totalpg DOUBLE DEFAULT NULL,
  pago VARCHAR(1) DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  posicao VARCHAR(1) DEFAULT NULL,
  especie VARCHAR(15) DEFAULT NULL,
  usuario VARCHAR(15) DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerenial VARCHAR(50) DEFAULT NULL,
  codigotipo DOUBLE DEFAULT NULL,
  tipo VARCHAR(25) DEFAULT NULL,
  parcelas DOUBLE DEFAULT NULL,
  condicao VARCHAR(20) DEFAULT NULL,
  notacontrole VARCHAR(10) DEFAULT NULL,
  codigonota DOUBLE DEFAULT NULL,
  controles VARCHAR(15) DEFAULT NULL,
  desconto DOUBLE DEFAULT NULL,
  Obs1 VARCHAR(100) DEFAULT NULL,
  dataproc DATETIME DEFAULT NULL,
  obs LONGTEXT DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Hand-off of cash payments to the suite's cash program (append only here).
CREATE TABLE IF NOT EXISTS caixatemp (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  CodigoNota VARCHAR(10) DEFAULT NULL,
  CodigoCliente DOUBLE DEFAULT NULL,
  CodigoFuncionario DOUBLE DEFAULT NULL,
  Descricao VARCHAR(50) DEFAULT NULL,
  Data DATE DEFAULT NULL,
  Credito DOUBLE DEFAULT NULL,
  Debito DOUBLE DEFAULT NULL,
  Opcao VARCHAR(1) DEFAULT NULL,
  Tipo VARCHAR(10) DEFAULT NULL,
  Usuario VARCHAR(50) DEFAULT NULL,
  Tp VARCHAR(1) DEFAULT NULL,
  Condicao VARCHAR(25) DEFAULT NULL,
  Hora VARCHAR(10) DEFAULT NULL,
  Turno VARCHAR(1) DEFAULT NULL,
  Numero VARCHAR(10) DEFAULT NULL,
  especie VARCHAR(35) DEFAULT NULL,
  es VARCHAR(1) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Summary work table filled by the cost-centre, annual-movement and payment
-- summaries, each fill uses its own subset of the columns.
CREATE TABLE IF NOT EXISTS resumo (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  codigo DOUBLE DEFAULT NULL,
  historico VARCHAR(50) DEFAULT NULL,
  Datai DATE DEFAULT NULL,
  dataf DATE DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  debito DOUBLE DEFAULT NULL,
  credito DOUBLE DEFAULT NULL,
  tabela VARCHAR(50) DEFAULT NULL,
  codigoplano DOUBLE DEFAULT NULL,
  plano VARCHAR(50) DEFAULT NULL,
  posicao VARCHAR(15) DEFAULT NULL,
  nota VARCHAR(10) DEFAULT NULL,
  condicao VARCHAR(30) DEFAULT NULL,
  codigofornecedor DOUBLE DEFAULT NULL,
  codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  descricao VARCHAR(50) DEFAULT NULL,
  codigogerencial DOUBLE DEFAULT NULL,
  gerencial VARCHAR(50) DEFAULT NULL,
  especie VARCHAR(35) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL,
  CodigoNota VARCHAR(10) DEFAULT NULL,
  CodigoCliente DOUBLE DEFAULT NULL,
  CodigoFuncionario DOUBLE DEFAULT NULL,
  Data DATE DEFAULT NULL,
  Opcao VARCHAR(1) DEFAULT NULL,
  Tp VARCHAR(1) DEFAULT NULL,
  Turno VARCHAR(1) DEFAULT NULL,
  es VARCHAR(1) DEFAULT NULL,
  Tipo VARCHAR(20) DEFAULT NULL,
  Usuario VARCHAR(20) DEFAULT NULL,
  Hora VARCHAR(10) DEFAULT NULL,
  numero VARCHAR(15) DEFAULT NULL,
  mes VARCHAR(2) DEFAULT NULL,
  ano VARCHAR(4) DEFAULT NULL,
  datavenc DATE DEFAULT NULL,
  dataquitacao DATE DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Annual movement: one supplier's total for one month per row. The month
-- columns default to 0 so that the eleven a row leaves unset add nothing to
-- the report sums (a NULL would turn the row's total into NULL).
CREATE TABLE IF NOT EXISTS resumoanual (
  controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  descricao VARCHAR(50) DEFAULT NULL,
  `01` DOUBLE DEFAULT 0,
  `02` DOUBLE DEFAULT 0,
  `03` DOUBLE DEFAULT 0,
  `04` DOUBLE DEFAULT 0,
  `05` DOUBLE DEFAULT 0,
  `06` DOUBLE DEFAULT 0,
  `07` DOUBLE DEFAULT 0,
  `08` DOUBLE DEFAULT 0,
  `09` DOUBLE DEFAULT 0,
  `10` DOUBLE DEFAULT 0,
  `11` DOUBLE DEFAULT 0,
  `12` DOUBLE DEFAULT 0,
  mes VARCHAR(2) DEFAULT NULL,
  codigocliente DOUBLE DEFAULT NULL,
  codigoplano DOUBLE DEFAULT NULL,
  plano VARCHAR(50) DEFAULT NULL,
  dataprocessamento DATETIME DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Netting of open receivables (es 'E') against open payables (es 'D').
CREATE TABLE IF NOT EXISTS resumo02 (
  Controle INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  CodigoNota VARCHAR(10) DEFAULT NULL,
  CodigoCliente DOUBLE DEFAULT NULL,
  Descricao VARCHAR(50) DEFAULT NULL,
  Data DATE DEFAULT NULL,
  Credito DOUBLE DEFAULT NULL,
  Debito DOUBLE DEFAULT NULL,
  es VARCHAR(1) DEFAULT NULL,
  CodigoFuncionario DOUBLE DEFAULT NULL,
  Opcao VARCHAR(1) DEFAULT NULL,
  Tp VARCHAR(1) DEFAULT NULL,
  Turno VARCHAR(1) DEFAULT NULL,
  Tipo VARCHAR(10) DEFAULT NULL,
  Usuario VARCHAR(50) DEFAULT NULL,
  Condicao VARCHAR(30) DEFAULT NULL,
  Hora VARCHAR(10) DEFAULT NULL,
  especie VARCHAR(25) DEFAULT NULL,
  numero VARCHAR(15) DEFAULT NULL,
  codigoFilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  tabela VARCHAR(50) DEFAULT NULL,
  valor DOUBLE DEFAULT NULL,
  dataf DATE DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Paid totals per month for the charts, id gives the order of the bars.
CREATE TABLE IF NOT EXISTS pagarmes (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  mes01 DOUBLE DEFAULT NULL,
  descricao VARCHAR(50) DEFAULT NULL,
  codigofilial DOUBLE DEFAULT NULL,
  filial VARCHAR(50) DEFAULT NULL,
  codigofornecedor DOUBLE DEFAULT NULL,
  fornecedor VARCHAR(50) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Reference data
-- ---------------------------------------------------------------------------

INSERT IGNORE INTO uf (Sigla, NomEst) VALUES
  ('AC', 'Acre'),
  ('AL', 'Alagoas'),
  ('AM', 'Amazonas'),
  ('AP', 'Amapá'),
  ('BA', 'Bahia'),
  ('CE', 'Ceará'),
  ('DF', 'Distrito Federal'),
  ('ES', 'Espírito Santo'),
  ('GO', 'Goiás'),
  ('MA', 'Maranhão'),
  ('MG', 'Minas Gerais'),
  ('MS', 'Mato Grosso do Sul'),
  ('MT', 'Mato Grosso'),
  ('PA', 'Pará'),
  ('PB', 'Paraíba'),
  ('PE', 'Pernambuco'),
  ('PI', 'Piauí'),
  ('PR', 'Paraná'),
  ('RJ', 'Rio de Janeiro'),
  ('RN', 'Rio Grande do Norte'),
  ('RO', 'Rondônia'),
  ('RR', 'Roraima'),
  ('RS', 'Rio Grande do Sul'),
  ('SC', 'Santa Catarina'),
  ('SE', 'Sergipe'),
  ('SP', 'São Paulo'),
  ('TO', 'Tocantins');

-- The state capitals.
INSERT IGNORE INTO municipios_ibge (uf, codigo, nome) VALUES
  ('AC', 1200401, 'Rio Branco'),
  ('AL', 2704302, 'Maceió'),
  ('AM', 1302603, 'Manaus'),
  ('AP', 1600303, 'Macapá'),
  ('BA', 2927408, 'Salvador'),
  ('CE', 2304400, 'Fortaleza'),
  ('DF', 5300108, 'Brasília'),
  ('ES', 3205309, 'Vitória'),
  ('GO', 5208707, 'Goiânia'),
  ('MA', 2111300, 'São Luís'),
  ('MG', 3106200, 'Belo Horizonte'),
  ('MS', 5002704, 'Campo Grande'),
  ('MT', 5103403, 'Cuiabá'),
  ('PA', 1501402, 'Belém'),
  ('PB', 2507507, 'João Pessoa'),
  ('PE', 2611606, 'Recife'),
  ('PI', 2211001, 'Teresina'),
  ('PR', 4106902, 'Curitiba'),
  ('RJ', 3304557, 'Rio de Janeiro'),
  ('RN', 2408102, 'Natal'),
  ('RO', 1100205, 'Porto Velho'),
  ('RR', 1400100, 'Boa Vista'),
  ('RS', 4314902, 'Porto Alegre'),
  ('SC', 4205407, 'Florianópolis'),
  ('SE', 2800308, 'Aracaju'),
  ('SP', 3550308, 'São Paulo'),
  ('TO', 1721000, 'Palmas');
