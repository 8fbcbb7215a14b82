// What an installed program needs beyond the build folder: where Admin.ini is
// found, --help and --version without a display, and --criar-banco making
// the database from the scripts installed beside the program, refusing a
// database in use and undoing a creation that failed.
//
// The program runs as a real process laid out as the package lays it out
// (bin/contas-pagar, share/contas-pagar/*.sql) against the test server.

#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(content);
}

QByteArray iniFor(const QString &database, int port = TestDb::serverSettings().port,
                  const QString &user = QStringLiteral("root"),
                  const QString &password = QStringLiteral("kqz7314"))
{
    return QStringLiteral("[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=%1\nBANCO=%2\nUSUARIO=%3\nSENHA=%4\n"
                          "TEMPO_CONEXAO=3\n")
        .arg(port)
        .arg(database, user, password)
        .toUtf8();
}

// A port on which nothing listens.
int closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

// The program as the package installs it, in a scratch folder with its own
// home and user configuration folder.
struct Installed
{
    QTemporaryDir root;
    QString exe() const { return root.filePath("usr/bin/contas-pagar"); }
    QString share() const { return root.filePath("usr/share/contas-pagar"); }
    QString userIni() const { return root.filePath("config/contas-pagar/Admin.ini"); }

    // withScripts: the share folder holds copies of the source tree's scripts.
    bool make(bool withScripts)
    {
        QDir().mkpath(root.filePath("usr/bin"));
        QDir().mkpath(root.filePath("home"));
        if (!QFile::copy(CP_PROGRAM, exe()))
            return false;
        QFile::setPermissions(exe(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!withScripts)
            return true;
        QDir().mkpath(share());
        for (const char *name : {"schema.sql", "demo.sql"})
            if (!QFile::copy(TestDb::sourceDir() + "/src/schema/" + name, share() + '/' + name))
                return false;
        return true;
    }

    struct Result
    {
        int code = -1;
        QString out;
        QString err;
    };
    Result run(const QStringList &arguments) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("HOME", root.filePath("home"));
        env.insert("XDG_CONFIG_HOME", root.filePath("config"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(exe(), arguments);
        Result r;
        if (!p.waitForFinished(60000))
            return r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        // Qt's own notice about a missing runtime folder is not the program's.
        r.err.remove(QRegularExpression("QStandardPaths: XDG_RUNTIME_DIR[^\n]*\n"));
        return r;
    }
};

// The test server seen without a database: to make and drop databases and
// users and to look at what the program made.
struct Server
{
    Connection c{QStringLiteral("install_admin")};
    QStringList databases;
    QStringList users;
    Server()
    {
        c.setSettings(TestDb::serverSettings());
        c.open();
    }
    ~Server()
    {
        for (const QString &d : std::as_const(databases))
            c.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(d));
        for (const QString &u : std::as_const(users))
            c.exec(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(u));
    }
    // A name for a database this test may make; dropped afterwards.
    QString newName(const QString &tag)
    {
        const QString name =
            QStringLiteral("cpi_%1_%2").arg(QCoreApplication::applicationPid()).arg(tag);
        c.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        databases << name;
        return name;
    }
    bool exists(const QString &database)
    {
        return c.scalar("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?",
                        {database})
                   .toInt() == 1;
    }
    QStringList tables(const QString &database)
    {
        QSqlQuery q = c.exec(
            "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = ? ORDER BY 1",
            {database});
        QStringList t;
        while (q.next())
            t << q.value(0).toString();
        return t;
    }
    QVariant scalar(const QString &database, const QString &sql)
    {
        return c.scalar(sql.arg(QStringLiteral("`%1`").arg(database)));
    }
};

// Environment variables set for one test and put back afterwards.
struct EnvGuard
{
    QList<QPair<QByteArray, std::optional<QByteArray>>> saved;
    void set(const char *name, const std::optional<QByteArray> &value)
    {
        saved.prepend({name, qEnvironmentVariableIsSet(name)
                                 ? std::optional<QByteArray>(qgetenv(name))
                                 : std::nullopt});
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvGuard()
    {
        for (const auto &[name, value] : saved)
            value ? qputenv(name.constData(), *value) : qunsetenv(name.constData());
    }
};

} // namespace

class TstInstall : public QObject
{
    Q_OBJECT
private slots:
    void adminIniPlaces_data();
    void adminIniPlaces();
    void startupMessageNamesTheFileRead();
    void helpAndVersionNeedNoDisplay();
    void createDatabaseRefusals_data();
    void createDatabaseRefusals();
    void createDatabaseWithDemoFromInstalledScripts();
    void createDatabaseFromBuiltInScriptsInUserConfig();
    void databaseWithTablesIsLeftUntouched();
    void emptyDatabaseGrantedToAUserReceivesTheTables();
    void failedCreationIsUndone_data();
    void failedCreationIsUndone();
};

void TstInstall::adminIniPlaces_data()
{
    QTest::addColumn<QString>("beside"); // "": no file; "dir": a folder named Admin.ini
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("xdg");  // XDG_CONFIG_HOME: "set", "unset" or "relative"
    QTest::addColumn<QString>("read"); // "beside", "user" or "none"
    QTest::addColumn<QString>("banco");
    QTest::newRow("beside the executable wins") << "[LOCAL]\nBANCO=junto\n"
                                                << "[LOCAL]\nBANCO=usuario\n"
                                                << "set"
                                                << "beside"
                                                << "junto";
    QTest::newRow("user's XDG_CONFIG_HOME") << ""
                                            << "[LOCAL]\nBANCO=usuario\n"
                                            << "set"
                                            << "user"
                                            << "usuario";
    QTest::newRow("no XDG_CONFIG_HOME: ~/.config") << ""
                                                   << "[LOCAL]\nBANCO=home\n"
                                                   << "unset"
                                                   << "user"
                                                   << "home";
    QTest::newRow("relative XDG_CONFIG_HOME is ignored") << ""
                                                         << "[LOCAL]\nBANCO=home\n"
                                                         << "relative"
                                                         << "user"
                                                         << "home";
    QTest::newRow("none anywhere") << ""
                                   << ""
                                   << "set"
                                   << "none"
                                   << "";
    QTest::newRow("unusable file beside is not skipped") << "dir"
                                                         << "[LOCAL]\nBANCO=usuario\n"
                                                         << "set"
                                                         << "beside"
                                                         << "";
}

void TstInstall::adminIniPlaces()
{
    QFETCH(QString, beside);
    QFETCH(QString, user);
    QFETCH(QString, xdg);
    QFETCH(QString, read);
    QFETCH(QString, banco);
    if (QFileInfo::exists("/etc/contas-pagar/Admin.ini"))
        QSKIP("/etc/contas-pagar/Admin.ini existe nesta máquina e seria lido");
    QTemporaryDir exeDir;
    QTemporaryDir home;
    const QString xdgDir = home.filePath("xdg");
    EnvGuard env;
    env.set("HOME", home.path().toUtf8());
    env.set("XDG_CONFIG_HOME", xdg == "set"        ? std::optional<QByteArray>(xdgDir.toUtf8())
                               : xdg == "relative" ? std::optional<QByteArray>("rel/config")
                                                   : std::nullopt);
    const QString userPath = xdg == "set" ? xdgDir + "/contas-pagar/Admin.ini"
                                          : home.path() + "/.config/contas-pagar/Admin.ini";
    const QString besidePath = exeDir.filePath("Admin.ini");
    if (beside == "dir")
        QVERIFY(QDir().mkdir(besidePath));
    else if (!beside.isEmpty())
        writeFile(besidePath, beside.toUtf8());
    if (!user.isEmpty())
        writeFile(userPath, user.toUtf8());

    QCOMPARE(AdminIniPlaces(exeDir.path()),
             QStringList({besidePath, userPath, "/etc/contas-pagar/Admin.ini"}));
    const AdminConfig c = ReadAdminIni(exeDir.path());
    QCOMPARE(c.banco, banco);
    if (read == "none") {
        QCOMPARE(c.fileFound, false);
        QCOMPARE(c.problems,
                 QStringList(QString("O arquivo de configuração Admin.ini não foi encontrado. "
                                     "Foi procurado em:\n%1\n%2\n/etc/contas-pagar/Admin.ini")
                                 .arg(besidePath, userPath)));
    } else if (beside == "dir") {
        QCOMPARE(c.path, besidePath);
        QCOMPARE(c.problems, QStringList(QString("O arquivo de configuração %1 existe, mas não "
                                                 "pôde ser lido (não é um arquivo).")
                                             .arg(besidePath)));
    } else {
        QCOMPARE(c.fileFound, true);
        QCOMPARE(c.path, read == "beside" ? besidePath : userPath);
        QCOMPARE(c.problems, QStringList());
    }
}

void TstInstall::startupMessageNamesTheFileRead()
{
    QTemporaryDir exeDir;
    QTemporaryDir xdg;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", xdg.path().toUtf8());
    const QString ini = xdg.filePath("contas-pagar/Admin.ini");
    writeFile(ini, iniFor("qualquer", closedPort()));
    ScriptedMessages boxes;
    DM dm;
    dm.DataModuleCreate(exeDir.path());
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY2(boxes.boxes[0].text.endsWith(QString("\n\nConfiguração lida de %1.").arg(ini)),
             qPrintable(boxes.boxes[0].text));
    QCOMPARE(Config().path, ini);
}

void TstInstall::helpAndVersionNeedNoDisplay()
{
    Installed program;
    QVERIFY(program.make(false));
    const auto version = program.run({"--version"});
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out, QString("contas-pagar 1.0\nCadastro e Manutenção de Contas a Pagar\n"));
    QCOMPARE(version.err, QString());

    for (const QStringList &args : {QStringList{"--help"}, QStringList{"-h"},
                                    QStringList{"--relatorio", "RptNada", "--help"}}) {
        const auto help = program.run(args);
        QCOMPARE(help.code, 0);
        QCOMPARE(help.err, QString());
        QVERIFY2(help.out.startsWith("Uso: contas-pagar [PRIMEIRO USUARIO]\n"),
                 qPrintable(help.out));
        QVERIFY(help.out.contains("  --criar-banco [--com-demonstracao]\n"));
        QVERIFY(help.out.contains("RptPagarGeralFornecedor"));
        QVERIFY2(help.out.contains(
                     QString("vale o primeiro encontrado:\n  %1\n  %2\n"
                             "  /etc/contas-pagar/Admin.ini\n")
                         .arg(program.root.filePath("usr/bin/Admin.ini"), program.userIni())),
                 qPrintable(help.out));
        for (const QString &line : help.out.split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }
}

void TstInstall::createDatabaseRefusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("ini"); // "ok": Admin.ini beside, on the test server; "none"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QStringList create{"--criar-banco"};
    QTest::newRow("unknown argument")
        << QStringList{"--criar-banco", "--demais"} << "ok" << 2
        << "Argumento desconhecido para --criar-banco: --demais\nUso: contas-pagar --criar-banco "
           "[--com-demonstracao]\n";
    QTest::newRow("report option with it")
        << QStringList{"--criar-banco", "--relatorio", "RptPagarQuitado"} << "ok" << 2
        << "Argumento desconhecido para --criar-banco: --relatorio\n";
    QTest::newRow("demo alone") << QStringList{"--com-demonstracao"} << "ok" << 2
                                << "--com-demonstracao só vale com --criar-banco.\n";
    QTest::newRow("value given") << QStringList{"--criar-banco=sim"} << "ok" << 2
                                 << "--criar-banco não leva valor.\n";
    QTest::newRow("twice") << QStringList{"--criar-banco", "--criar-banco"} << "ok" << 2
                           << "--criar-banco foi informado mais de uma vez.\n";
    QTest::newRow("no Admin.ini") << create << "none" << 3
                                  << "O arquivo de configuração Admin.ini não foi encontrado. "
                                     "Foi procurado em:\nBIN/Admin.ini\n";
    QTest::newRow("no BANCO") << create << "[LOCAL]\nSERVIDOR=127.0.0.1\n"
                              << 3
                              << "BIN/Admin.ini não diz que banco criar: preencha a chave BANCO da "
                                 "seção [LOCAL].\n";
    QTest::newRow("port not a number")
        << create << "[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=x\nBANCO=b\n"
        << 3 << "BIN/Admin.ini, seção [LOCAL], chave PORTA: \"x\" não é uma porta válida";
    QTest::newRow("name with a blank")
        << create << "[LOCAL]\nSERVIDOR=127.0.0.1\nBANCO=contas pagar\n"
        << 3
        << "O nome de banco \"contas pagar\" não serve: use só letras sem acento, algarismos, "
           "\"_\", \"$\" ou \"-\" (até 64 caracteres).\nConfiguração lida de BIN/Admin.ini.\n";
    QTest::newRow("name that would end the quotes")
        << create << "[LOCAL]\nSERVIDOR=127.0.0.1\nBANCO=a`; DROP DATABASE mysql; --\n"
        << 3 << "O nome de banco \"a`; DROP DATABASE mysql; --\" não serve";
    QTest::newRow("name with an accent") << create << "[LOCAL]\nSERVIDOR=127.0.0.1\nBANCO=fiação\n"
                                         << 3 << "O nome de banco \"fiação\" não serve";
    QTest::newRow("server not there")
        << create << "closed" << 3 << "Não foi possível consultar o servidor 127.0.0.1: ";
}

void TstInstall::createDatabaseRefusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, ini);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    Server server;
    const QString name = server.newName("refusal");
    Installed program;
    QVERIFY(program.make(true));
    const QString iniPath = program.root.filePath("usr/bin/Admin.ini");
    if (ini == "ok")
        writeFile(iniPath, iniFor(name));
    else if (ini == "closed")
        writeFile(iniPath, iniFor(name, closedPort()));
    else if (ini != "none")
        writeFile(iniPath, ini.toUtf8());
    const auto r = program.run(arguments);
    QCOMPARE(r.code, exitCode);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.contains(QString(message).replace("BIN/", program.root.filePath("usr/bin/"))),
             qPrintable(r.err));
    QVERIFY(!server.exists(name));
    QVERIFY(server.exists("mysql"));
}

void TstInstall::createDatabaseWithDemoFromInstalledScripts()
{
    Server server;
    const QString name = server.newName("demo");
    Installed program;
    QVERIFY(program.make(true));
    const QString ini = program.root.filePath("usr/bin/Admin.ini");
    writeFile(ini, iniFor(name));

    const auto r = program.run({"--criar-banco", "--com-demonstracao"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out,
             QString("Banco %1 criado no servidor 127.0.0.1 com as 24 tabelas do programa e "
                     "os dados de demonstração.\nTabelas: %2/schema.sql\nDados de demonstração: "
                     "%2/demo.sql\nConfiguração lida de %3.\n")
                 .arg(name, program.share(), ini));
    QCOMPARE(server.tables(name).size(), 24);
    QVERIFY(server.tables(name).contains("pagar"));
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.fornecedor").toInt(), 22);
    QCOMPARE(server.scalar(name, "SELECT Nome FROM %1.fornecedor WHERE CodigoFornecedor = 22")
                 .toString(),
             QString("CENTRAL DE TAXAS E LICENÇAS LTDA"));
    QCOMPARE(server.c
                 .scalar("SELECT DEFAULT_COLLATION_NAME FROM information_schema.SCHEMATA WHERE "
                         "SCHEMA_NAME = ?",
                         {name})
                 .toString(),
             QString("utf8mb4_unicode_ci"));

    // A second run finds the tables and changes nothing.
    const int payables = server.scalar(name, "SELECT COUNT(*) FROM %1.pagar").toInt();
    QVERIFY(payables > 0);
    const auto again = program.run({"--criar-banco", "--com-demonstracao"});
    QCOMPARE(again.code, 3);
    QCOMPARE(again.out, QString());
    QCOMPARE(again.err, QString("O banco %1 já existe no servidor 127.0.0.1 e tem 24 tabela(s); "
                                "nada foi alterado. Para criar um banco novo, informe outro nome "
                                "na chave BANCO de Admin.ini.\nConfiguração lida de %2.\n")
                            .arg(name, ini));
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.pagar").toInt(), payables);
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.fornecedor").toInt(), 22);
}

void TstInstall::createDatabaseFromBuiltInScriptsInUserConfig()
{
    // Without installed scripts the program's own copy is used; the
    // configuration comes from the user's folder.
    Server server;
    const QString name = server.newName("builtin");
    Installed program;
    QVERIFY(program.make(false));
    writeFile(program.userIni(), iniFor(name));
    const auto r = program.run({"--criar-banco"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, QString("Banco %1 criado no servidor 127.0.0.1 com as 24 tabelas do "
                            "programa.\nTabelas: "
                            "cópia interna do programa\nConfiguração lida de %2.\n")
                        .arg(name, program.userIni()));
    QCOMPARE(server.tables(name).size(), 24);
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.fornecedor").toInt(), 0);
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.uf").toInt(), 27);
}

void TstInstall::databaseWithTablesIsLeftUntouched()
{
    Server server;
    const QString name = server.newName("foreign");
    server.c.exec(QString("CREATE DATABASE `%1`").arg(name));
    server.c.exec(QString("CREATE TABLE `%1`.estoque (id INT PRIMARY KEY)").arg(name));
    Installed program;
    QVERIFY(program.make(true));
    writeFile(program.userIni(), iniFor(name));
    const auto r = program.run({"--criar-banco", "--com-demonstracao"});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.startsWith(QString("O banco %1 já existe no servidor 127.0.0.1 e tem 1 "
                                      "tabela(s); nada foi alterado.")
                                  .arg(name)),
             qPrintable(r.err));
    // Not even the table of operation ids that a connection would add.
    QCOMPARE(server.tables(name), QStringList{"estoque"});
}

void TstInstall::emptyDatabaseGrantedToAUserReceivesTheTables()
{
    // An administrator made the database and gave a user rights on it alone:
    // that user cannot create databases, but can fill this empty one.
    Server server;
    const QString name = server.newName("granted");
    const QString user = QString("cpi_%1").arg(QCoreApplication::applicationPid());
    server.users << user;
    server.c.exec(QString("DROP USER IF EXISTS '%1'@'%'").arg(user));
    server.c.exec(QString("CREATE USER '%1'@'%' IDENTIFIED BY 'senha-de-teste'").arg(user));
    server.c.exec(QString("CREATE DATABASE `%1`").arg(name));
    server.c.exec(QString("GRANT ALL PRIVILEGES ON `%1`.* TO '%2'@'%'").arg(name, user));
    Installed program;
    QVERIFY(program.make(true));
    writeFile(program.userIni(),
              iniFor(name, TestDb::serverSettings().port, user, "senha-de-teste"));
    const auto r = program.run({"--criar-banco", "--com-demonstracao"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.startsWith(QString("O banco %1, que estava vazio, recebeu no servidor 127.0.0.1 "
                                      "as 24 tabelas do programa e os dados de demonstração.\n")
                                  .arg(name)),
             qPrintable(r.out));
    QCOMPARE(server.scalar(name, "SELECT COUNT(*) FROM %1.fornecedor").toInt(), 22);
}

void TstInstall::failedCreationIsUndone_data()
{
    QTest::addColumn<bool>("existedEmpty");
    QTest::newRow("new database is dropped") << false;
    QTest::newRow("empty database is emptied again") << true;
}

void TstInstall::failedCreationIsUndone()
{
    QFETCH(bool, existedEmpty);
    Server server;
    const QString name = server.newName(existedEmpty ? "wasempty" : "new");
    if (existedEmpty)
        server.c.exec(QString("CREATE DATABASE `%1`").arg(name));
    Installed program;
    QVERIFY(program.make(true));
    // The installed schema is read, and the server refuses its third statement.
    writeFile(program.share() + "/schema.sql", "CREATE TABLE um (id INT PRIMARY KEY);\n"
                                               "CREATE TABLE dois (id INT PRIMARY KEY);\n"
                                               "CREATE TABLE tres (id INT PRIMARY KEY, id INT);\n"
                                               "CREATE TABLE quatro (id INT PRIMARY KEY);\n");
    writeFile(program.userIni(), iniFor(name));
    const auto r = program.run({"--criar-banco"});
    QCOMPARE(r.code, 3);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.startsWith(QString("Não foi possível criar as tabelas (banco %1, servidor "
                                      "127.0.0.1): ")
                                  .arg(name)),
             qPrintable(r.err));
    QVERIFY2(r.err.contains("Duplicate column name 'id'"), qPrintable(r.err));
    if (existedEmpty) {
        QVERIFY2(r.err.contains(QString("\nAs tabelas criadas foram apagadas; o banco %1 está "
                                        "vazio como antes.\n")
                                    .arg(name)),
                 qPrintable(r.err));
        QVERIFY(server.exists(name));
        QCOMPARE(server.tables(name), QStringList());
    } else {
        QVERIFY2(r.err.contains(
                     QString("\nO banco %1 foi apagado de novo; nada ficou gravado.\n").arg(name)),
                 qPrintable(r.err));
        QVERIFY(!server.exists(name));
    }
    // So the same command runs again once the script is mended.
    QVERIFY(QFile::remove(program.share() + "/schema.sql"));
    QVERIFY(QFile::copy(TestDb::sourceDir() + "/src/schema/schema.sql",
                        program.share() + "/schema.sql"));
    const auto again = program.run({"--criar-banco"});
    QVERIFY2(again.code == 0, qPrintable(again.err));
    QCOMPARE(server.tables(name).size(), 24);
}

CP_TEST(TstInstall)
#include "tst_install.moc"
