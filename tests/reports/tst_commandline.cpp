// Unattended report runs from the command line: a good run writes the file
// in the format of its extension, a bad argument ends with a message and
// code 2 (3 without the database, 4 when the file cannot be written), and
// arguments that are no report command are left alone.

#include "FileSizeLimit.h"
#include "ReportsFixture.h"
#include "TestMain.h"
#include "reports/Reports.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace ReportsTest;

namespace {

QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }
    void notAReportCommand();
    void writesPdf();
    void writesCsvWithSelection();
    void badArguments_data();
    void badArguments();
    void unreachableDatabase();
    void unwritableTargetKeepsTheOldFile();
};

void TestCommandLine::notAReportCommand()
{
    QString messages;
    QCOMPARE(Reports::runCommandLine({"contas-pagar", "1", "MARIA"}, &messages), -1);
    QCOMPARE(Reports::runCommandLine({"contas-pagar"}, &messages), -1);
    QVERIFY(messages.isEmpty());
}

void TestCommandLine::writesPdf()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    QTemporaryDir dir;
    const QString out = dir.filePath("quitado.pdf");
    QString messages;
    QCOMPARE(Reports::runCommandLine({"contas-pagar", "--relatorio", "RptPagarQuitado", "--de",
                                      "01/04/2024", "--ate", "30/04/2024", "--saida", out},
                                     &messages),
             0);
    const QString text = pdfText(out);
    QVERIFY2(text.contains("Quitação no Periodo: 01/04/2024 à 30/04/2024"), qPrintable(text));
    QVERIFY(text.contains(kCompany));
    QVERIFY(text.contains("Q1/1") && text.contains("Q2/1") && !text.contains("Q3/1"));
    // A5 40,00 + Q1 79,90 + Q2 20,50 + Q4 12,34
    QVERIFY2(text.contains("152,74"), qPrintable(text));
}

void TestCommandLine::writesCsvWithSelection()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    QTemporaryDir dir;
    const QString out = dir.filePath("filial.csv");
    QString messages;
    QCOMPARE(Reports::runCommandLine({"--relatorio", "RptPagarFilialVenc02", "--de", "01/04/2024",
                                      "--ate=30/04/2024", "--filial", "2", "--saida", out},
                                     &messages),
             0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(file.readAll());
    QVERIFY2(csv.contains("A3") && !csv.contains("A1"), qPrintable(csv));
    // The branch is named by the registry: the command line gives only its
    // code, and the printed page carries the name.
    const QString pdf = dir.filePath("filial.pdf");
    QCOMPARE(Reports::runCommandLine({"--relatorio", "RptPagarFilialVenc02", "--de", "01/04/2024",
                                      "--ate", "30/04/2024", "--filial", "2", "--saida", pdf},
                                     &messages),
             0);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QRegularExpression("Nome do Filial: +SHOPPING")), qPrintable(text));
}

void TestCommandLine::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QStringList period{"--de", "01/04/2024", "--ate", "30/04/2024"};
    QTest::newRow("relatório desconhecido")
        << (QStringList{"--relatorio", "RptNada", "--saida", "@/x.pdf"} + period) << 2
        << "Relatório desconhecido: RptNada";
    QTest::newRow("sem relatório")
        << (QStringList{"--saida", "@/x.pdf"} + period) << 2 << "Falta --relatorio";
    QTest::newRow("data inválida")
        << QStringList{"--relatorio", "RptPagarQuitado", "--de",    "31/02/2024",
                       "--ate",       "30/04/2024",      "--saida", "@/x.pdf"}
        << 2 << "Data inválida em --de: 31/02/2024";
    QTest::newRow("data em outro formato")
        << QStringList{"--relatorio", "RptPagarQuitado", "--de",    "2024-04-01",
                       "--ate",       "30/04/2024",      "--saida", "@/x.pdf"}
        << 2 << "Data inválida em --de";
    QTest::newRow("sem data final")
        << QStringList{"--relatorio", "RptPagarQuitado", "--de", "01/04/2024", "--saida", "@/x.pdf"}
        << 2 << "Falta --ate";
    QTest::newRow("sem saída") << (QStringList{"--relatorio", "RptPagarQuitado"} + period) << 2
                               << "Falta --saida";
    QTest::newRow("extensão desconhecida")
        << (QStringList{"--relatorio", "RptPagarQuitado", "--saida", "@/x.doc"} + period) << 2
        << "Extensão de arquivo desconhecida: @/x.doc";
    QTest::newRow("falta a filial")
        << (QStringList{"--relatorio", "RptPagarAberto", "--saida", "@/x.pdf"} + period) << 2
        << "O relatório RptPagarAberto exige --filial";
    QTest::newRow("filial que não se aplica")
        << (QStringList{"--relatorio", "RptPagarQuitado", "--filial", "1", "--saida", "@/x.pdf"} +
            period)
        << 2 << "O relatório RptPagarQuitado não usa --filial";
    QTest::newRow("código inválido")
        << (QStringList{"--relatorio", "RptPagarFilialVenc01", "--fornecedor", "1 OR 1=1",
                        "--saida", "@/x.pdf"} +
            period)
        << 2 << "Código inválido em --fornecedor";
    QTest::newRow("argumento desconhecido")
        << (QStringList{"--relatorio", "RptPagarQuitado", "--formato", "pdf"} + period) << 2
        << "Argumento desconhecido: --formato";
    QTest::newRow("pasta inexistente")
        << (QStringList{"--relatorio", "RptPagarQuitado", "--saida", "@/nao/existe/x.pdf"} + period)
        << 4 << "Não foi possível gravar @/nao/existe/x.pdf";
    QTest::newRow("sem valor") << QStringList{"--relatorio"} << 2 << "Falta o valor de --relatorio";
}

void TestCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    // "@" stands for a folder of this case's own.
    QTemporaryDir dir;
    arguments.replaceInStrings(QStringLiteral("@"), dir.path());
    message.replace(QStringLiteral("@"), dir.path());
    QString messages;
    QCOMPARE(Reports::runCommandLine(QStringList{"contas-pagar"} + arguments, &messages), code);
    QVERIFY2(messages.contains(message), qPrintable(messages));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void TestCommandLine::unreachableDatabase()
{
    DM dm;
    ConnectionSettings s = TestDb::serverSettings();
    s.unixSocket.clear();
    s.host = "127.0.0.1";
    s.port = 1; // nothing listens there
    s.connectTimeoutSeconds = 2;
    QVERIFY(!dm.connectWith(s));
    QTemporaryDir dir;
    QString messages;
    const int code =
        Reports::runCommandLine({"--relatorio", "RptPagarQuitado", "--de", "01/04/2024", "--ate",
                                 "30/04/2024", "--saida", dir.filePath("x.pdf")},
                                &messages);
    QCOMPARE(code, 3);
    QVERIFY2(messages.contains("Não foi possível conectar ao banco de dados"),
             qPrintable(messages));
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
}

void TestCommandLine::unwritableTargetKeepsTheOldFile()
{
    // A full disk, a device or pipe as the target, a missing folder: exit 4,
    // the reason on the error output, and whatever was there stays as it was.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    QTemporaryDir dir;
    const QString old = dir.filePath("quitado.pdf");
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("antigo") == 6);
    }
    const QString fifo = dir.filePath("fila.pdf");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto run = [](const QString &out, QString *messages) {
        return Reports::runCommandLine({"--relatorio", "RptPagarQuitado", "--de", "01/04/2024",
                                        "--ate", "30/04/2024", "--saida", out},
                                       messages);
    };
    QString messages;
    int code = 0;
    {
        FileSizeLimit full(1000);
        QVERIFY(full.ok());
        code = run(old, &messages);
    }
    QCOMPARE(code, 4);
    QVERIFY2(messages.contains("quitado.pdf") && messages.contains("tamanho"),
             qPrintable(messages));
    QCOMPARE(QFile(old).size(), 6);
    messages.clear();
    QCOMPARE(run(fifo, &messages), 4);
    QVERIFY2(messages.contains("não é um arquivo comum"), qPrintable(messages));
    messages.clear();
    QCOMPARE(run(dir.filePath("faltando/x.pdf"), &messages), 4);
    QVERIFY2(messages.contains("não existe"), qPrintable(messages));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"fila.pdf", "quitado.pdf"}));
    // The same run with room on the disk replaces the old file.
    messages.clear();
    QCOMPARE(run(old, &messages), 0);
    QVERIFY(QFile(old).size() > 1000);
}

CP_TEST(TestCommandLine)
#include "tst_commandline.moc"
