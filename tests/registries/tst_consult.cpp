// The company-number and person-number consultations opened from the
// supplier window, against the stand-in services on loopback (open company
// data, and captcha-protected forms): what is shown, what lands in the
// supplier (the cities list, texts cut to the columns, a second consultation
// overwriting the first), every failure said and the window still usable,
// the captcha flow, the person window with and without a configured service,
// and a consultation with no supplier to receive it.
//
// With CP_SCREENSHOTS set to a folder, each window is saved there as a PNG
// once it shows an answer.

#include "../web/LoopbackServices.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "app/Globals.h"
#include "app/SupplierWindow.h"
#include "db/RecordSet.h"
#include "registries/CaptchaBox.h"
#include "registries/F_ConsultaCNPJ.h"
#include "registries/frmConsultaCPF.h"
#include "registries/frmFornecedor.h"
#include "widgets/BigToolBar.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/UpperEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// The supplier columns a consultation writes, in the order compared; a
// null column shows as an empty place.
QString storedColumns()
{
    QStringList c;
    for (const char *name :
         {"Nome", "nomefan", "Endereco", "Numero", "complemento", "Bairro", "Cidade", "Cep",
          "email", "Telefone1", "situacao", "CNAE", "Cgccpf", "Estado", "CodigoCidade"})
        c << QString("coalesce(%1, '')").arg(name);
    return "concat_ws('|', " + c.join(", ") + ")";
}

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(QDate(2026, 12, 11), QTime(10, 0)), "ANA")
    {
        if (!db.ok())
            return;
        exec("insert into fornecedor (CodigoFornecedor, Nome, nomefan, Endereco, Bairro, Cidade, "
             "Estado, CodigoCidade, Cep, Obs) values (1, 'SILVA MATERIAIS', 'SILVINHA', 'RUA A', "
             "'CENTRO', 'SÃO PAULO', 'SP', 3550308, '01001000', 'entrega às terças')");
    }
    QString stored() { return scalar("select " + storedColumns() + " from fornecedor").toString(); }
};

void shot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("CP_SCREENSHOTS");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name + ".png"));
}

// Types a number into a masked edit from its first place, as a person does.
void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->clear();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, text);
}

// The supplier window with supplier 1 current on tab "Dados".
struct SupplierScreen
{
    explicit SupplierScreen(bool search = true)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (!search)
            return;
        w.searchEdit()->setText("1");
        w.searchByCodigo();
        QVERIFY(w.suppliers()->locate("CodigoFornecedor", 1));
        w.pages()->setCurrentIndex(1);
    }
    ~SupplierScreen()
    {
        w.suppliers()->cancel();
        if (w.isVisible())
            w.reject();
    }
    // Clicks a consultation picture; drive runs on the window it opens.
    template <class Window> void consult(const char *picture, std::function<void(Window *)> drive)
    {
        bool opened = false;
        bool fits = false;
        Modal::ScopedHandler modal([&](QDialog *d) {
            auto *win = qobject_cast<Window *>(d);
            opened = win != nullptr;
            if (!win)
                return int(QDialog::Rejected);
            win->show();
            if (!QTest::qWaitForWindowExposed(win))
                return int(QDialog::Rejected);
            // Fitted to the desk by its layout, not squeezed below it.
            const QRect desk = win->screen()->availableGeometry();
            fits = desk.contains(win->frameGeometry()) &&
                   win->width() >= win->minimumSizeHint().width() &&
                   win->height() >= win->minimumSizeHint().height();
            drive(win);
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(w.findChild<QToolButton *>(picture), Qt::LeftButton);
        QVERIFY(opened);
        QVERIFY(fits);
    }
    frmFornecedor w;
};

QStringList items(const QListWidget *list)
{
    QStringList l;
    for (int i = 0; i < list->count(); ++i)
        l << list->item(i)->text();
    return l;
}

} // namespace

class TstConsult : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup() { Config() = m_config; }

    void companyFound_data();
    void companyFound();
    void companyFailures_data();
    void companyFailures();
    void captchaFlow();
    void person();
    void personWithoutService();
    void captchaFileCannotBeWritten();
    void noSupplierToReceive_data();
    void noSupplierToReceive();

private:
    void useOpenData(const QString &base)
    {
        Config().web.companyService = WebSettings::CompanyService::OpenData;
        Config().web.companyBase = base;
        Config().web.http.connectTimeoutMs = 1000;
        Config().web.http.timeoutMs = 1000;
    }
    LoopbackServices m_server;
    AdminConfig m_config = Config();
};

void TstConsult::initTestCase()
{
    QString error;
    QVERIFY2(m_server.start(TestDb::sourceDir() + "/tests/web/loopback_services.py", &error),
             qPrintable(error));
}

void TstConsult::companyFound_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("cityBox");
    QTest::addColumn<QStringList>("shown"); // Tipo de Empresa, Abertura, Razão Social
    QTest::addColumn<QStringList>("secondary");

    QTest::newRow("found, double spaces removed")
        << "19131243000197"
        << "OPEN KNOWLEDGE BRASIL|REDE PELO CONHECIMENTO LIVRE|AVENIDA PAULISTA|37|ANDAR 4 SALA "
           "2|BELA VISTA|SÃO PAULO|01311902|contato@ok.org.br|(11) 2385-1939|ATIVA|94.30-8-00 - "
           "Atividades de associações de defesa de direitos sociais|19.131.243/0001-97|SP|3550308"
        << "SÃO PAULO" << QStringList{"MATRIZ", "03/10/2013", "OPEN KNOWLEDGE BRASIL"}
        << QStringList{"94.93-6-00 - Atividades de organizações associativas ligadas à cultura e "
                       "à arte",
                       "62.01-5-01 - Desenvolvimento de programas de computador sob encomenda"};
    // The city is written as sent; the "Cidade" box keeps the city it had.
    QTest::newRow("city not in the cities list")
        << "06990590000123"
        << "AGROPECUARIA EXEMPLO LTDA||RUA DAS FLORES|S/N||CENTRO|CAMPINAS|01311000||(19) "
           "98765-4321|BAIXADA|01.11-3-01 - Cultivo de arroz|06.990.590/0001-23|SP|3550308"
        << "SÃO PAULO" << QStringList{"FILIAL", "", "AGROPECUARIA EXEMPLO LTDA"} << QStringList{};
    QTest::newRow("texts cut to the columns, another state")
        << "12345678000195"
        << "COMPANHIA BRASILEIRA DE DISTRIBUICAO DE PRODUTOS A|SUPERMERCADOS UNIDOS DO ESTADO DO "
           "RIO DE JANEIRO L|AVENIDA PRESIDENTE JUSCELINO KUBITSCHEK |1234567890|BLOCO B TORRE "
           "NORTE CONJUNTO 1|BARRA DA TIJUCA JARDIM OCEANIC|RIO DE JANEIRO|22640100|"
           "atendimento.fornecedores.distribuicao@supermercado|(21) 3333-4444|SUSPENSA POR "
           "INCONSI|47.11-3-02 - Comércio varejista de mercadorias em geral|12.345.678/0001-95|RJ|"
           "3304557"
        << "RIO DE JANEIRO"
        << QStringList{"FILIAL", "31/12/1999",
                       "COMPANHIA BRASILEIRA DE DISTRIBUICAO DE PRODUTOS ALIMENTICIOS E BEBIDAS"}
        << QStringList{};
}

void TstConsult::companyFound()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, cityBox);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, secondary);
    Fixture f;
    REQUIRE_DB(f.db);
    useOpenData(m_server.base());
    SupplierScreen screen;
    ScriptedMessages boxes;
    screen.consult<F_ConsultaCNPJ>("imgConsultaCnpj", [&](F_ConsultaCNPJ *win) {
        // No captcha to fetch or type for this service.
        QTRY_COMPARE(win->captchaBox()->picture()->text(), QString("Consulta sem captcha"));
        QVERIFY(!win->captchaEdit()->isEnabled());
        QVERIFY(win->removeDoubleSpacesBox()->isChecked());
        typeInto(win->cnpjEdit(), typed);
        QTest::mouseClick(win->consultarButton(), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE((QStringList{win->answerEdit("Tipo de Empresa")->text(),
                              win->answerEdit("Abertura")->text(),
                              win->answerEdit("Razão Social")->text()}),
                 shown);
        QCOMPARE(items(win->secondaryActivities()), secondary);
        if (QTest::currentDataTag() == QLatin1String("found, double spaces removed"))
            shot(win, "F_ConsultaCNPJ");
    });
    // The supplier is being edited, not saved: the clerk saves.
    QCOMPARE(screen.w.suppliers()->state(), RecordSet::State::Edit);
    QVERIFY(screen.w.editBar()->isVisible());
    QCOMPARE(screen.w.cidadeBox()->currentText(), cityBox);
    QCOMPARE(f.stored(),
             QString("SILVA MATERIAIS|SILVINHA|RUA A|||CENTRO|SÃO PAULO|01001000||||||SP|3550308"));
    screen.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(f.stored(), stored);
    // What the consultation does not fill stays.
    QCOMPARE(f.scalar("select Obs from fornecedor").toString(), QString("entrega às terças"));
}

void TstConsult::companyFailures_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<QString>("message"); // %1: the server's host and port
    QTest::newRow("not found") << "98765432000110" << true
                               << "CNPJ 98.765.432/0001-10 não encontrado no cadastro da Receita "
                                  "Federal.";
    QTest::newRow("too many requests")
        << "11111111000111" << true
        << "O serviço de consulta de CNPJ %1 recusou a consulta: limite de consultas atingido "
           "(HTTP 429). Tente novamente em 30 segundos.";
    QTest::newRow("malformed JSON")
        << "33333333000133" << true
        << "Resposta inválida do serviço de consulta de CNPJ %1: não é um objeto JSON.";
    QTest::newRow("slow server") << "44444444000144" << true
                                 << "O servidor %1 não respondeu em 1 segundo. Tente novamente "
                                    "mais tarde.";
    QTest::newRow("no server") << "19131243000197" << false
                               << "O servidor %1 recusou a conexão: o serviço não está no ar ou o "
                                  "endereço está errado.";
    QTest::newRow("number cut short")
        << "1913124300" << true
        << "CNPJ inválido: \"19.131.243/00-\". Informe os 14 caracteres do CNPJ.";
}

void TstConsult::companyFailures()
{
    QFETCH(QString, typed);
    QFETCH(bool, serverUp);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    const QString base = serverUp
                             ? m_server.base()
                             : QString("http://127.0.0.1:%1").arg(LoopbackServices::closedPort());
    useOpenData(base);
    const QString host = QUrl(base).host() + ':' + QString::number(QUrl(base).port());
    SupplierScreen screen;
    screen.consult<F_ConsultaCNPJ>("imgConsultaCnpj", [&](F_ConsultaCNPJ *win) {
        typeInto(win->cnpjEdit(), typed);
        ScriptedMessages boxes;
        QElapsedTimer clock;
        clock.start();
        win->consultar();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(boxes.texts(), QStringList{message.contains("%1") ? message.arg(host) : message});
        QCOMPARE(boxes.boxes[0].title, AppTitle);
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(win->answerEdit("Razão Social")->text(), QString());
        QCOMPARE(screen.w.suppliers()->state(), RecordSet::State::Browse);
        QCOMPARE(screen.w.suppliers()->text("Nome"), QString("SILVA MATERIAIS"));
        if (!serverUp)
            return;
        // The window is still usable: a company found after the failure.
        typeInto(win->cnpjEdit(), "06990590000123");
        win->consultar();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(screen.w.suppliers()->text("Nome"), QString("AGROPECUARIA EXEMPLO LTDA"));
    });
    QCOMPARE(f.scalar("select Nome from fornecedor").toString(), QString("SILVA MATERIAIS"));
}

void TstConsult::captchaFlow()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Config().web.companyService = WebSettings::CompanyService::CaptchaForm;
    Config().web.companyCaptchaUrl = m_server.base() + "/captcha";
    Config().web.companyQueryUrl = m_server.base() + "/cnpj/consulta";
    SupplierScreen screen;
    ScriptedMessages boxes;
    screen.consult<F_ConsultaCNPJ>("imgConsultaCnpj", [&](F_ConsultaCNPJ *win) {
        // The first captcha comes by itself, then the number is asked for.
        QTRY_VERIFY(win->captchaBox()->hasPicture());
        QCOMPARE(win->captchaBox()->picture()->pixmap().size(), QSize(120, 40));
        QVERIFY(win->captchaEdit()->isEnabled());
        typeInto(win->cnpjEdit(), "19131243000197");

        win->consultar();
        QCOMPARE(boxes.texts(), QStringList{"É necessário digitar o captcha."});
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::NoIcon);
        boxes.boxes.clear();

        // A wrong captcha, sent with Enter: said, and a fresh one fetched.
        win->captchaBox()->showText("velho");
        typeInto(win->captchaEdit(), "abcde");
        QCOMPARE(win->captchaEdit()->text(), QString("ABCDE"));
        QTest::keyClick(win->captchaEdit(), Qt::Key_Return);
        QCOMPARE(boxes.texts(),
                 QStringList{"O captcha digitado não confere. Digite o novo captcha e consulte "
                             "outra vez."});
        QVERIFY(win->captchaBox()->hasPicture());
        QCOMPARE(win->captchaEdit()->text(), QString());
        QCOMPARE(screen.w.suppliers()->state(), RecordSet::State::Browse);
        boxes.boxes.clear();

        typeInto(win->captchaEdit(), "xk7p2");
        QTest::keyClick(win->captchaEdit(), Qt::Key_Return);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(screen.w.suppliers()->text("Nome"), QString("OPEN KNOWLEDGE BRASIL"));
        QCOMPARE(screen.w.suppliers()->text("Endereco"), QString("AV PAULISTA"));
        QCOMPARE(win->answerEdit("Abertura")->text(), QString("03/10/2013"));
        QCOMPARE(win->secondaryActivities()->count(), 2);
        shot(win, "F_ConsultaCNPJ_captcha");

        // A second consultation overwrites every column again; the postcode
        // sent with its hyphen is kept whole as its digits.
        typeInto(win->cnpjEdit(), "06990590000123");
        win->consultar();
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(win->secondaryActivities()->count(), 0);
        QCOMPARE(win->answerEdit("CEP")->text(), QString("13010-111"));
    });
    screen.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(f.stored(), QString("AGROPECUARIA EXEMPLO LTDA||RUA DAS FLORES|S/N||CENTRO|CAMPINAS|"
                                 "13010111||(19) 98765-4321|BAIXADA|01.11-3-01 - Cultivo de arroz|"
                                 "06.990.590/0001-23|SP|3550308"));
}

void TstConsult::person()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Config().web.personCaptchaUrl = m_server.base() + "/captcha";
    Config().web.personQueryUrl = m_server.base() + "/cpf/consulta";
    QFile::remove(frmConsultaCPF::captchaFile());
    SupplierScreen screen;
    ScriptedMessages boxes;
    screen.consult<frmConsultaCPF>("imgConsultaCpf", [&](frmConsultaCPF *win) {
        win->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(win));
        QCOMPARE(QApplication::focusWidget(), win->captchaEdit());
        // A second after the window was made, the captcha, kept as a file.
        QVERIFY(!win->captchaBox()->hasPicture());
        QTRY_VERIFY_WITH_TIMEOUT(win->captchaBox()->hasPicture(), 3000);
        QTRY_COMPARE(QApplication::focusWidget(), win->cpfEdit());
        QFile file(frmConsultaCPF::captchaFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("\x89PNG\r\n\x1a\n"));

        QTest::keyClicks(win->cpfEdit(), "12345678909");
        // Leaving the number goes to the birth date.
        QTest::keyClick(win->cpfEdit(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), win->birthDateEdit());
        win->birthDateEdit()->setCursorPosition(0);
        QTest::keyClicks(win->birthDateEdit(), "01021980");
        QCOMPARE(win->birthDateEdit()->text(), QString("01/02/1980"));

        QTest::mouseClick(win->consultarButton(), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{"É necessário digitar o captcha."});
        QCOMPARE(QApplication::focusWidget(), win->captchaEdit());
        boxes.boxes.clear();

        QTest::keyClicks(win->captchaEdit(), "xk7p2");
        QTest::mouseClick(win->consultarButton(), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList());
        QStringList shown;
        for (const char *c :
             {"Nome da Pessoa Física", "Situação Cadastral", "Digito Verificador",
              "Código de controle do comprovante:", "Comprovante emitido às:", "Data da Incrição"})
            shown << win->answerEdit(QString::fromUtf8(c))->text();
        QCOMPARE(shown, (QStringList{"FULANO  DE TAL", "REGULAR", "00", "ABCD.1234.EF56.7890",
                                     "10:15:30 DO DIA 05/03/2026", "01/02/1998"}));
        shot(win, "frmConsultaCPF");
        QTest::mouseClick(win->fecharButton(), Qt::LeftButton);
        QVERIFY(!win->isVisible());
    });
    QVERIFY(screen.w.editBar()->isVisible());
    screen.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(f.scalar("select concat(Nome, '|', Cgccpf, '|', Endereco) from fornecedor").toString(),
             QString("FULANO  DE TAL|12345678909|RUA A"));
}

void TstConsult::personWithoutService()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Config().web.personCaptchaUrl.clear();
    Config().web.personQueryUrl = m_server.base() + "/cpf/consulta";
    const QString message = "Nenhum serviço de consulta de CPF está configurado. Informe os "
                            "endereços CPF_CAPTCHA (imagem do captcha) e CPF_CONSULTA (consulta) "
                            "na seção [WEB] do arquivo Admin.ini.";
    SupplierScreen screen;
    ScriptedMessages boxes;
    screen.consult<frmConsultaCPF>("imgConsultaCpf", [&](frmConsultaCPF *win) {
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), QStringList{message}, 3000);
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QCOMPARE(win->captchaBox()->picture()->text(), QString("Serviço não configurado"));
        QTest::keyClicks(win->cpfEdit(), "12345678909");
        win->captchaEdit()->setText("XK7P2");
        win->consultar();
        QCOMPARE(boxes.texts(), (QStringList{message, message}));
        QCOMPARE(win->answerEdit("Nome da Pessoa Física")->text(), QString());
    });
    QCOMPARE(screen.w.suppliers()->state(), RecordSet::State::Browse);
}

// The file is a by-product: where it cannot be written (here a folder stands
// in its place) the captcha is still shown and consulted, and nothing is said.
void TstConsult::captchaFileCannotBeWritten()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Config().web.personCaptchaUrl = m_server.base() + "/captcha";
    Config().web.personQueryUrl = m_server.base() + "/cpf/consulta";
    const QString file = frmConsultaCPF::captchaFile();
    QFile::remove(file);
    QVERIFY(QDir().mkdir(file));
    SupplierScreen screen;
    ScriptedMessages boxes;
    screen.consult<frmConsultaCPF>("imgConsultaCpf", [&](frmConsultaCPF *win) {
        win->atualizarCaptcha();
        QVERIFY(win->captchaBox()->hasPicture());
        win->cpfEdit()->setText("12345678909");
        win->birthDateEdit()->setText("01/02/1980");
        win->captchaEdit()->setText("XK7P2");
        win->consultar();
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(screen.w.suppliers()->text("Nome"), QString("FULANO  DE TAL"));
    });
    QVERIFY(QFileInfo(file).isDir());
    QVERIFY(QDir().rmdir(file));
}

void TstConsult::noSupplierToReceive_data()
{
    QTest::addColumn<bool>("supplierWindow");
    QTest::newRow("no supplier window") << false;
    QTest::newRow("supplier window, list not open") << true;
}

void TstConsult::noSupplierToReceive()
{
    QFETCH(bool, supplierWindow);
    Fixture f;
    REQUIRE_DB(f.db);
    useOpenData(m_server.base());
    const QString said = "Não há fornecedor aberto para receber os dados consultados: faça uma "
                         "consulta ou inclua um fornecedor no Cadastro de Fornecedor e consulte "
                         "outra vez. Nada foi gravado.";
    ScriptedMessages boxes;
    auto drive = [&](F_ConsultaCNPJ *win) {
        typeInto(win->cnpjEdit(), "19131243000197");
        win->consultar();
        // The answer is shown all the same.
        QCOMPARE(win->answerEdit("Razão Social")->text(), QString("OPEN KNOWLEDGE BRASIL"));
        QCOMPARE(boxes.texts(), QStringList{said});
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
    };
    if (supplierWindow) {
        SupplierScreen screen(false);
        screen.consult<F_ConsultaCNPJ>("imgConsultaCnpj", drive);
        QVERIFY(!screen.w.suppliers()->isOpen());
        QVERIFY(screen.w.mainBar()->isVisible());
    } else {
        QCOMPARE(CurrentSupplierWindow(), nullptr);
        F_ConsultaCNPJ win;
        win.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win));
        drive(&win);
    }
    QCOMPARE(f.count("fornecedor"), 1);
    QCOMPARE(f.scalar("select Nome from fornecedor").toString(), QString("SILVA MATERIAIS"));
}

CP_TEST(TstConsult)
#include "tst_consult.moc"
