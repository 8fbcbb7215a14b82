#include "registries/frmConsultaCPF.h"

#include "app/Application.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "app/SupplierWindow.h"
#include "db/RecordSet.h"
#include "registries/CaptchaBox.h"
#include "registries/ConsultationTarget.h"
#include "shell/SafeFile.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"
#include "widgets/UpperEdit.h"

#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace ConsultationParts;

frmConsultaCPF::frmConsultaCPF(QWidget *parent) : frmConsultaCPF(Config().web, parent) {}

frmConsultaCPF::frmConsultaCPF(const WebSettings &settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      m_service(settings)
{
    setObjectName(QStringLiteral("frmConsultaCPF"));
    setWindowTitle(QStringLiteral("Consulta CPF (Receita Fazenda)"));
    build();
    resize(922, 280);

    EnterAsTab::install(this);
    // Enter in the captcha edit consults.
    EnterAsTab::exclude(m_captcha);
    connect(m_captcha, &QLineEdit::returnPressed, this, &frmConsultaCPF::consultar);
    m_cpf->installEventFilter(this);

    // The first captcha comes a second after the window was created.
    m_firstCaptcha = new QTimer(this);
    m_firstCaptcha->setInterval(1000);
    connect(m_firstCaptcha, &QTimer::timeout, this, [this] {
        m_firstCaptcha->stop();
        atualizarCaptcha();
        m_cpf->setFocus();
    });
    m_firstCaptcha->start();
}

frmConsultaCPF::~frmConsultaCPF() = default;

void frmConsultaCPF::build()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);

    auto *upper = new QFrame(this);
    upper->setObjectName(QStringLiteral("pnlConsulta"));
    upper->setFrameShape(QFrame::StyledPanel);
    auto *ul = new QHBoxLayout(upper);
    ul->setContentsMargins(6, 4, 6, 4);

    auto *person = new QVBoxLayout;
    person->setSpacing(0);
    person->addWidget(caption(QStringLiteral("Digite o CPF:"), upper));
    m_cpf = new QLineEdit(upper);
    m_cpf->setObjectName(QStringLiteral("edtCPF"));
    m_cpf->setFont(bigFace(m_cpf->font()));
    m_cpf->setMaxLength(14);
    m_cpf->setFixedWidth(m_cpf->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")) +
                         20);
    person->addWidget(m_cpf);
    auto *note = new QLabel(QStringLiteral("Digite o CPF: Sem Ponto ou Traços"), upper);
    note->setObjectName(QStringLiteral("lblNotaCPF"));
    QPalette red = note->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    note->setPalette(red);
    person->addWidget(note);
    person->addSpacing(4);
    person->addWidget(caption(QStringLiteral("Digite a Data de Nascimento:"), upper));
    m_birth = new QLineEdit(upper);
    m_birth->setObjectName(QStringLiteral("edtNascimento"));
    m_birth->setInputMask(QStringLiteral("00/00/9999;_"));
    m_birth->setFixedWidth(m_birth->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) +
                           24);
    person->addWidget(m_birth);
    person->addStretch();
    ul->addLayout(person);

    auto *captchaColumn = new QVBoxLayout;
    captchaColumn->setSpacing(0);
    captchaColumn->addWidget(caption(QStringLiteral("Digite o Captcha"), upper));
    m_captcha = new UpperEdit(upper);
    m_captcha->setObjectName(QStringLiteral("edtCaptcha"));
    m_captcha->setFont(bigFace(m_captcha->font()));
    m_captcha->setFixedWidth(m_captcha->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")) +
                             20);
    captchaColumn->addWidget(m_captcha);
    captchaColumn->addStretch();
    ul->addLayout(captchaColumn);

    m_captchaBox = new CaptchaBox(upper);
    connect(m_captchaBox, &CaptchaBox::refreshRequested, this, &frmConsultaCPF::atualizarCaptcha);
    ul->addWidget(m_captchaBox, 0, Qt::AlignTop);

    auto *buttons = new QVBoxLayout;
    m_consultar = new QPushButton(QStringLiteral("&Consultar"), upper);
    m_consultar->setObjectName(QStringLiteral("btnConsultar"));
    m_fechar = new QPushButton(QStringLiteral("&Fechar"), upper);
    m_fechar->setObjectName(QStringLiteral("btnFechar"));
    for (QPushButton *b : {m_consultar, m_fechar}) {
        b->setAutoDefault(false);
        b->setMinimumSize(110, 34);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    connect(m_consultar, &QPushButton::clicked, this, &frmConsultaCPF::consultar);
    connect(m_fechar, &QPushButton::clicked, this, &QDialog::reject);
    ul->addLayout(buttons);
    ul->addStretch();
    outer->addWidget(upper);

    // The answer: read-only, borderless, upper-case boxes on the info colour.
    auto *lower = new QFrame(this);
    lower->setObjectName(QStringLiteral("pnlResposta"));
    lower->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(lower);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(0);
    const char *captions[] = {"Nome da Pessoa Física",   "Situação Cadastral",
                              "Digito Verificador",      "Código de controle do comprovante:",
                              "Comprovante emitido às:", "Data da Incrição"};
    const int places[][3] = {{0, 0, 2}, {0, 2, 1}, {0, 3, 1}, {2, 0, 2}, {2, 2, 1}, {2, 3, 1}};
    for (int i = 0; i < 6; ++i) {
        const QString text = QString::fromUtf8(captions[i]);
        auto *edit = new QLineEdit(lower);
        edit->setObjectName(QStringLiteral("edtResposta%1").arg(i));
        edit->setReadOnly(true);
        edit->setFrame(false);
        edit->setAutoFillBackground(true);
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
        p.setColor(QPalette::Text, p.color(QPalette::ToolTipText));
        edit->setPalette(p);
        grid->addWidget(caption(text, lower), places[i][0], places[i][1], 1, places[i][2]);
        grid->addWidget(edit, places[i][0] + 1, places[i][1], 1, places[i][2]);
        m_answers.append({text, edit});
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
    outer->addWidget(lower, 1);
}

int frmConsultaCPF::run(QWidget *parent)
{
    return RunScreen(new frmConsultaCPF(parent));
}

QString frmConsultaCPF::captchaFile()
{
    return QDir(ExecutableDir()).filePath(QStringLiteral("captch.png"));
}

QLineEdit *frmConsultaCPF::answerEdit(const QString &caption) const
{
    for (const auto &[text, edit] : m_answers)
        if (text == caption)
            return edit;
    return nullptr;
}

void frmConsultaCPF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_captcha->setFocus();
}

bool frmConsultaCPF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cpf && event->type() == QEvent::FocusOut) {
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason:
            // After the queued focus change of the click or key is done.
            QTimer::singleShot(0, m_birth, [this] { m_birth->setFocus(); });
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmConsultaCPF::atualizarCaptcha()
{
    const CaptchaImage image = m_service.captcha();
    if (image.ok()) {
        // The file is a by-product for the suite's other programs: a folder
        // that cannot be written must not cost the clerk the captcha.
        QString ignored;
        SafeFile::write(captchaFile(), image.png, &ignored);
        m_captchaBox->showPng(image.png);
    } else if (image.status == ConsultStatus::NotConfigured) {
        m_captchaBox->showText(QStringLiteral("Serviço não configurado"));
        Messages::warning(QStringLiteral("Atenção"), image.message);
    } else {
        m_captchaBox->showText(QStringLiteral("Captcha indisponível"));
        Messages::error(AppTitle, image.message);
    }
    m_captcha->clear();
    m_captcha->setFocus();
}

void frmConsultaCPF::consultar()
{
    if (!m_service.configured()) {
        Messages::warning(QStringLiteral("Atenção"), m_service.notConfiguredMessage());
        return;
    }
    if (m_captcha->text().trimmed().isEmpty()) {
        Messages::plain(AppTitle, needCaptchaMessage());
        m_captcha->setFocus();
        return;
    }
    const QString cpf = m_cpf->text();
    const PersonAnswer answer =
        m_service.consult(cpf, m_birth->text(), m_captcha->text().trimmed());
    if (!answer.found()) {
        Messages::error(AppTitle, answer.message);
        if (answer.status == ConsultStatus::WrongCaptcha)
            atualizarCaptcha();
        return;
    }
    const PersonData &d = answer.data;
    const QList<QPair<const char *, QString>> shown{
        {"Nome da Pessoa Física", d.Nome},
        {"Situação Cadastral", d.Situacao},
        {"Digito Verificador", d.DigitoVerificador},
        {"Código de controle do comprovante:", d.CodCtrlControle},
        {"Comprovante emitido às:", d.Emissao},
        {"Data da Incrição", d.DataInscricao},
    };
    for (const auto &[name, value] : shown) {
        QLineEdit *e = answerEdit(QString::fromUtf8(name));
        e->setText(value.toUpper());
        e->setCursorPosition(0);
    }
    fillSupplier(cpf, answerEdit(QStringLiteral("Nome da Pessoa Física"))->text());
}

void frmConsultaCPF::fillSupplier(const QString &cpf, const QString &name)
{
    SupplierWindow *w = ConsultationTarget::receiver();
    if (!w)
        return;
    Guarded([&] {
        w->startEdit();
        w->suppliers()->setValue(QStringLiteral("Cgccpf"), cpf);
        w->suppliers()->setValue(QStringLiteral("Nome"), name);
    });
}
