#include "schema/DatabaseCreation.h"

#include "schema/Schema.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace {

QString quoted(const QString &name)
{
    QString n = name;
    return QLatin1Char('`') + n.replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}

// The tables of the database as the server names them; nothing when it does
// not exist (error 1049), the error otherwise.
std::optional<QStringList> tablesOf(Connection &server, const QString &database)
{
    try {
        QSqlQuery q = server.exec(QStringLiteral("SHOW TABLES FROM ") + quoted(database));
        QStringList tables;
        while (q.next())
            tables << q.value(0).toString();
        return tables;
    } catch (const DbError &e) {
        if (e.nativeCode() == QLatin1String("1049"))
            return std::nullopt;
        throw;
    }
}

} // namespace

bool DatabaseCreation::validName(const QString &database)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_$-]{1,64}$"));
    return name.match(database).hasMatch();
}

DatabaseCreation::Outcome DatabaseCreation::run(const Request &r)
{
    Outcome o;
    if (!validName(r.database)) {
        o.result = Result::InvalidName;
        o.message = QStringLiteral("O nome de banco \"%1\" não serve: use só letras sem acento, "
                                   "algarismos, \"_\", \"$\" ou \"-\" (até 64 caracteres).")
                        .arg(r.database);
        return o;
    }

    Connection server(QStringLiteral("criar_banco_servidor"));
    ConnectionSettings s = r.server;
    s.database.clear();
    server.setSettings(s);
    std::optional<QStringList> before;
    try {
        server.open();
        o.server = server.serverName();
        before = tablesOf(server, r.database);
    } catch (const DbError &e) {
        o.message = QStringLiteral("Não foi possível consultar o servidor %1: %2")
                        .arg(s.host.isEmpty() ? QStringLiteral("local") : s.host, e.message());
        return o;
    }
    if (before && !before->isEmpty()) {
        o.result = Result::Refused;
        o.tables = int(before->size());
        o.message = QStringLiteral("O banco %1 já existe no servidor %2 e tem %3 tabela(s); nada "
                                   "foi alterado. Para criar um banco novo, informe outro nome na "
                                   "chave BANCO de Admin.ini.")
                        .arg(r.database, o.server)
                        .arg(o.tables);
        return o;
    }

    const bool created = !before;
    QString step;
    try {
        if (created) {
            step = QStringLiteral("criar o banco");
            server.exec(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE "
                                       "utf8mb4_unicode_ci")
                            .arg(quoted(r.database)));
        }
        Connection db(QStringLiteral("criar_banco_tabelas"));
        s.database = r.database;
        db.setSettings(s);
        step = QStringLiteral("abrir o banco");
        db.open();
        step = QStringLiteral("criar as tabelas");
        Schema::runScript(db, r.schemaScript);
        if (!r.demoScript.isEmpty()) {
            step = QStringLiteral("gravar os dados de demonstração");
            Schema::runScript(db, r.demoScript);
        }
        db.close();
        o.result = created ? Result::Created : Result::FilledEmpty;
    } catch (const DbError &e) {
        o.message = QStringLiteral("Não foi possível %1 (banco %2, servidor %3): %4")
                        .arg(step, r.database, o.server, e.message());
    }

    if (o.succeeded()) {
        // Only told to the person: the database is made whatever this says.
        try {
            o.tables = int(tablesOf(server, r.database).value_or(QStringList()).size());
        } catch (const DbError &) {
        }
        return o;
    }

    // Undo what this run made, so that running it again starts clean.
    try {
        if (!server.isOpen())
            server.open();
        if (created) {
            server.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted(r.database));
            o.message += QStringLiteral("\nO banco %1 foi apagado de novo; nada ficou gravado.")
                             .arg(r.database);
        } else {
            for (const QString &table : tablesOf(server, r.database).value_or(QStringList()))
                server.exec(QStringLiteral("DROP TABLE IF EXISTS %1.%2")
                                .arg(quoted(r.database), quoted(table)));
            o.message += QStringLiteral("\nAs tabelas criadas foram apagadas; o banco %1 está "
                                        "vazio como antes.")
                             .arg(r.database);
        }
    } catch (const DbError &e) {
        o.message += QStringLiteral("\nNão foi possível desfazer o que já foi criado (%1): apague "
                                    "o banco %2 do servidor antes de tentar de novo.")
                         .arg(e.message(), r.database);
    }
    return o;
}
