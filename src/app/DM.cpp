#include "app/DM.h"

#include "app/Globals.h"
#include "widgets/Messages.h"

#include <QSqlQuery>

namespace {
DM *g_instance = nullptr;
}

DM::DM(QObject *parent) : QObject(parent)
{
    g_instance = this;
    MyConnection1 = new Connection(QStringLiteral("MyConnection1"), this);
    MyConnection1->connectionLostHandler = [this](const DbError &e) {
        return MyConnection1ConnectionLost(e);
    };
    auto table = [this](const QString &sql, const QString &key) {
        auto *rs = new RecordSet(MyConnection1, sql, this);
        rs->setKeyField(key);
        return rs;
    };
    tbConfiguracao =
        table(QStringLiteral("select * from configuracao"), QStringLiteral("Controle"));
    tbFornecedor = table(QStringLiteral("select * from fornecedor order by Nome"),
                         QStringLiteral("CodigoFornecedor"));
    tbPagar = table(QStringLiteral("select * from pagar"), QStringLiteral("Controle"));
    tbPagar01 = table(QStringLiteral("Select * From Pagar"), QStringLiteral("Controle"));
    tbFilial = table(QStringLiteral("Select * from filial"), QStringLiteral("Codigofilial"));
    tbCaixatemp = table(QStringLiteral("select * from caixatemp"), QStringLiteral("Controle"));
    tbContacorrente =
        table(QStringLiteral("select * from contacorrente"), QStringLiteral("controle"));
}

DM::~DM()
{
    if (g_instance == this)
        g_instance = nullptr;
}

DM *DM::instance()
{
    return g_instance;
}

Connection::LossAction DM::MyConnection1ConnectionLost(const DbError &)
{
    // Counted over the whole run: five losses are retried, the sixth raises,
    // and the cycle starts again.
    if (ConnectionLossCount >= 5) {
        ConnectionLossCount = 0;
        return Connection::LossAction::Raise;
    }
    ++ConnectionLossCount;
    return Connection::LossAction::Reconnect;
}

bool DM::connectWith(const ConnectionSettings &settings, QString *error)
{
    MyConnection1->close();
    MyConnection1->setSettings(settings);
    try {
        MyConnection1->open();
        tbConfiguracao->open();
    } catch (const DbError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    addNewColumns();
    return true;
}

void DM::addNewColumns()
{
    // A database made before bills kept their payment code gets the column at
    // the first connection; asking first keeps every later start from taking
    // the table's lock. A user without the right to alter tables still starts:
    // only entering a bill with a code is then refused by the server.
    try {
        QSqlQuery q = MyConnection1->exec(
            QStringLiteral("SELECT COUNT(*), COALESCE(SUM(COLUMN_NAME = 'codigobarras'), 0) FROM "
                           "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND "
                           "TABLE_NAME = 'pagar'"));
        if (q.next() && q.value(0).toInt() > 0 && q.value(1).toInt() == 0)
            MyConnection1->exec(QStringLiteral(
                "ALTER TABLE pagar ADD COLUMN IF NOT EXISTS codigobarras VARCHAR(512) NULL"));
    } catch (const DbError &) {
    }
}

ConnectionSettings DM::settingsOf(const AdminConfig &c)
{
    ConnectionSettings s;
    s.port = c.porta;
    s.host = c.servidor;
    s.database = c.banco;
    s.user = c.usuario;
    s.password = c.senha;
    s.connectTimeoutSeconds = c.tempoConexao;
    s.readTimeoutSeconds = c.tempoLeitura;
    s.writeTimeoutSeconds = c.tempoLeitura;
    return s;
}

void DM::DataModuleCreate(const QString &iniDir)
{
    Config() = ReadAdminIni(iniDir);
    // With a wrong or missing file the defaults would point somewhere else
    // and the message would talk of sockets: say what is wrong with the file.
    if (!Config().problems.isEmpty()) {
        m_startupError = Config().problems.join(QLatin1Char('\n'));
        Messages::error(AppTitle, m_startupError);
        return;
    }
    QString error;
    if (!connectWith(settingsOf(Config()), &error)) {
        m_startupError = error;
        // The file may come from any of several places: say which one
        // pointed here.
        Messages::error(AppTitle,
                        QStringLiteral("%1\n\nConfiguração lida de %2.").arg(error, Config().path));
        return;
    }
    const QString problem = tableNameCaseProblem();
    if (!problem.isEmpty())
        Messages::error(AppTitle, problem);
}

QString DM::companyName() const
{
    if (!tbConfiguracao->isOpen() || tbConfiguracao->isEmpty())
        return QString();
    try {
        tbConfiguracao->first();
        return tbConfiguracao->text(QStringLiteral("Nome"));
    } catch (const DbError &) {
        return QString();
    }
}

void DM::closeSharedTables()
{
    for (RecordSet *rs : {tbFornecedor, tbPagar, tbPagar01, tbFilial, tbCaixatemp, tbContacorrente})
        rs->close();
}

QString DM::tableNameCaseProblem()
{
    try {
        const int lctn =
            MyConnection1->scalar(QStringLiteral("SELECT @@lower_case_table_names")).toInt();
        if (lctn != 0)
            return QString();
    } catch (const DbError &e) {
        return e.message();
    }
    return QStringLiteral(
        "O servidor MySQL diferencia maiúsculas de minúsculas nos nomes das tabelas "
        "(lower_case_table_names = 0), e este programa escreve os nomes das tabelas com "
        "maiúsculas e minúsculas misturadas.\n\nConfigure o servidor com "
        "lower_case_table_names = 1 (veja o README) antes de usar o programa.");
}
