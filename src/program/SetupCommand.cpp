#include "program/SetupCommand.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "reports/Reports.h"
#include "schema/DatabaseCreation.h"
#include "schema/Schema.h"

#include <cstdio>

namespace SetupCommand {
namespace {

enum Exit { Ok = 0, BadArguments = 2, NoDatabase = 3 };

const QString kHelp = QStringLiteral("--help");
const QString kShortHelp = QStringLiteral("-h");
const QString kVersion = QStringLiteral("--version");
const QString kCreate = QStringLiteral("--criar-banco");
const QString kDemo = QStringLiteral("--com-demonstracao");

QString optionName(const QString &arg)
{
    return arg.section(QLatin1Char('='), 0, 0);
}

void print(std::FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', to);
    std::fflush(to);
}

int fail(int code, const QString &text)
{
    print(stderr, text);
    return code;
}

QString createUsage()
{
    return QStringLiteral("Uso: contas-pagar --criar-banco [--com-demonstracao]");
}

// words joined by ", " in lines of at most width characters, each after indent.
QString wrapped(const QStringList &words, const QString &indent, int width)
{
    QString text;
    QString line = indent;
    for (int i = 0; i < words.size(); ++i) {
        const QString word = words[i] + (i + 1 < words.size() ? QStringLiteral(",") : QString());
        if (line.size() > indent.size() && line.size() + 1 + word.size() > width) {
            text += line + QLatin1Char('\n');
            line = indent;
        }
        if (line.size() > indent.size())
            line += QLatin1Char(' ');
        line += word;
    }
    return text + line;
}

QString scriptSource(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("cópia interna do programa") : path;
}

int createDatabase(const QStringList &arguments)
{
    bool demo = false;
    bool create = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (i == 0 && !arg.startsWith(QLatin1String("--")))
            continue; // the program's own name
        const QString name = optionName(arg);
        if (name != kCreate && name != kDemo)
            return fail(BadArguments,
                        QStringLiteral("Argumento desconhecido para --criar-banco: %1\n%2")
                            .arg(arg, createUsage()));
        if (arg.contains(QLatin1Char('=')))
            return fail(BadArguments, QStringLiteral("%1 não leva valor.").arg(name));
        bool &flag = name == kCreate ? create : demo;
        if (flag)
            return fail(BadArguments,
                        QStringLiteral("%1 foi informado mais de uma vez.").arg(name));
        flag = true;
    }
    if (!create)
        return fail(
            BadArguments,
            QStringLiteral("--com-demonstracao só vale com --criar-banco.\n%1").arg(createUsage()));

    Config() = ReadAdminIni(ExecutableDir());
    const AdminConfig &config = Config();
    if (!config.problems.isEmpty())
        return fail(NoDatabase, config.problems.join(QLatin1Char('\n')));
    if (config.banco.trimmed().isEmpty())
        return fail(NoDatabase, QStringLiteral("%1 não diz que banco criar: preencha a chave BANCO "
                                               "da seção [LOCAL].")
                                    .arg(config.path));

    DatabaseCreation::Request request;
    request.server = DM::settingsOf(config);
    request.database = config.banco.trimmed();
    request.server.database = request.database;
    const QString dir = Schema::installedScriptDir(ExecutableDir());
    QString schemaSource;
    QString demoSource;
    try {
        request.schemaScript = Schema::readScript(dir, QStringLiteral("schema.sql"), &schemaSource);
        if (demo)
            request.demoScript = Schema::readScript(dir, QStringLiteral("demo.sql"), &demoSource);
    } catch (const DbError &e) {
        return fail(NoDatabase, e.message());
    }

    const DatabaseCreation::Outcome outcome = DatabaseCreation::run(request);
    const QString origin = QStringLiteral("Configuração lida de %1.").arg(config.path);
    if (!outcome.succeeded())
        return fail(NoDatabase, outcome.message + QLatin1Char('\n') + origin);

    const QString tables = outcome.tables > 0
                               ? QStringLiteral("as %1 tabelas do programa").arg(outcome.tables)
                               : QStringLiteral("as tabelas do programa");
    QString text = (outcome.result == DatabaseCreation::Result::Created
                        ? QStringLiteral("Banco %1 criado no servidor %2 com %3")
                        : QStringLiteral("O banco %1, que estava vazio, recebeu no servidor %2 %3"))
                       .arg(request.database, outcome.server, tables);
    text += demo ? QStringLiteral(" e os dados de demonstração.\n") : QStringLiteral(".\n");
    text += QStringLiteral("Tabelas: %1\n").arg(scriptSource(schemaSource));
    if (demo)
        text += QStringLiteral("Dados de demonstração: %1\n").arg(scriptSource(demoSource));
    text += origin;
    print(stdout, text);

    // The tables are there, but the program's mixed-case SQL would not find
    // them on a server that tells names apart by case: say so now.
    DM dm;
    if (dm.connectWith(request.server)) {
        const QString problem = dm.tableNameCaseProblem();
        if (!problem.isEmpty())
            print(stderr, QStringLiteral("Atenção: ") + problem);
    }
    return Ok;
}

} // namespace

Kind kind(const QStringList &arguments)
{
    Kind found = Kind::None;
    for (const QString &arg : arguments) {
        const QString name = optionName(arg);
        if (name == kHelp || name == kShortHelp)
            return Kind::Help;
        if (name == kVersion)
            found = Kind::Version;
        else if ((name == kCreate || name == kDemo) && found == Kind::None)
            found = Kind::CreateDatabase;
    }
    return found;
}

QString version()
{
    return QStringLiteral(CP_VERSION);
}

QString helpText()
{
    const QStringList places = AdminIniPlaces(ExecutableDir());
    return QStringLiteral(
               "Uso: contas-pagar [PRIMEIRO USUARIO]\n"
               "%1.\n"
               "\n"
               "Sem opções, abre o programa. O lançador do sistema passa dois argumentos:\n"
               "o primeiro é repassado aos outros programas do sistema, o segundo é o nome\n"
               "do usuário.\n"
               "\n"
               "Comandos sem janela:\n"
               "  --relatorio NOME --de dd/mm/aaaa --ate dd/mm/aaaa [--filial N]\n"
               "              [--fornecedor N] [--gerencial N] --saida ARQUIVO\n"
               "      grava o relatório no formato da extensão do arquivo (.pdf, .csv,\n"
               "      .txt, .html, .rtf, .xls, .xlsx, .xml). NOME é um destes:\n"
               "%2\n"
               "  --enviar-email (--filial N | --todas) --de dd/mm/aaaa --ate dd/mm/aaaa\n"
               "      envia por e-mail a lista das contas em aberto do período.\n"
               "  --criar-banco [--com-demonstracao]\n"
               "      cria o banco de dados de Admin.ini com as tabelas do programa (e a\n"
               "      empresa de demonstração); um banco que já tem tabelas é recusado\n"
               "      sem alteração.\n"
               "  --help, -h     mostra esta ajuda.\n"
               "  --version      mostra a versão.\n"
               "\n"
               "Admin.ini é procurado nesta ordem, e vale o primeiro encontrado:\n"
               "  %3\n"
               "\n"
               "Códigos de saída dos comandos: 0 feito; 2 argumento inválido;\n"
               "3 configuração ou banco de dados; 4 arquivo não gravado; 5 e-mail não\n"
               "enviado.\n")
        .arg(AppTitle, wrapped(Reports::names(), QStringLiteral("        "), 79),
             places.join(QStringLiteral("\n  ")));
}

int run(const QStringList &arguments)
{
    switch (kind(arguments)) {
    case Kind::Help:
        print(stdout, helpText());
        return Ok;
    case Kind::Version:
        print(stdout, QStringLiteral("contas-pagar %1\n%2").arg(version(), AppTitle));
        return Ok;
    case Kind::CreateDatabase:
        return createDatabase(arguments);
    case Kind::None:
        break;
    }
    return BadArguments;
}

} // namespace SetupCommand
