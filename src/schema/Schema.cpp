#include "schema/Schema.h"

#include "db/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

static void initSchemaResources()
{
    Q_INIT_RESOURCE(schema);
}

namespace Schema {

namespace {
QString readResource(const QString &path)
{
    initSchemaResources();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Script interno não encontrado: %1").arg(path));
    return QString::fromUtf8(f.readAll());
}
} // namespace

QString schemaScript()
{
    return readResource(QStringLiteral(":/schema/schema.sql"));
}

QString demoScript()
{
    return readResource(QStringLiteral(":/schema/demo.sql"));
}

QString installedScriptDir(const QString &exeDir)
{
    return QDir::cleanPath(exeDir + QStringLiteral("/../share/contas-pagar"));
}

QString readScript(const QString &dir, const QString &fileName, QString *source)
{
    const QString path = QDir(dir).filePath(fileName);
    if (!QFileInfo::exists(path)) {
        if (source)
            source->clear();
        return readResource(QStringLiteral(":/schema/") + fileName);
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Não foi possível ler o script %1.").arg(path));
    if (source)
        *source = path;
    return QString::fromUtf8(f.readAll());
}

QStringList splitScript(const QString &script)
{
    QStringList statements;
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (current.isEmpty() && (line.isEmpty() || line.startsWith(QStringLiteral("--"))))
            continue;
        if (line.startsWith(QStringLiteral("-- ")) || line == QStringLiteral("--"))
            continue;
        current += raw;
        current += QLatin1Char('\n');
        if (line.endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            if (!current.trimmed().isEmpty())
                statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void runScript(Connection &connection, const QString &script)
{
    for (const QString &statement : splitScript(script))
        connection.exec(statement);
}

void create(Connection &connection)
{
    runScript(connection, schemaScript());
    connection.forgetTableColumns();
}

} // namespace Schema
