#include "registries/F_ConsultaCNPJ.h"

#include "app/Application.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "app/SupplierWindow.h"
#include "db/RecordSet.h"
#include "registries/CaptchaBox.h"
#include "registries/ConsultationTarget.h"
#include "web/CompanyConsultation.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"
#include "widgets/UpperEdit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace ConsultationParts;

namespace {

// The postcode column holds 8 characters: a postcode sent with its hyphen or
// dot is kept as its digits, never cut to lose its last one.
QString postcodeDigits(const QString &sent)
{
    QString s;
    for (const QChar c : sent)
        if (c != QLatin1Char('-') && c != QLatin1Char('.') && !c.isSpace())
            s += c;
    return s;
}

} // namespace

F_ConsultaCNPJ::F_ConsultaCNPJ(QWidget *parent, std::unique_ptr<CompanyConsultation> service)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      m_service(service ? std::move(service) : CompanyConsultation::create(Config().web))
{
    setObjectName(QStringLiteral("F_ConsultaCNPJ"));
    setWindowTitle(QStringLiteral("Consulta de CNPJ"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);

    // Upper panel: the number, the captcha and the button.
    auto *upper = new QFrame(this);
    upper->setObjectName(QStringLiteral("pnlConsulta"));
    upper->setFrameShape(QFrame::StyledPanel);
    auto *ul = new QHBoxLayout(upper);
    auto *numberBox = new QVBoxLayout;
    numberBox->addWidget(caption(QStringLiteral("Digite o CNPJ:"), upper));
    m_cnpj = new QLineEdit(upper);
    m_cnpj->setObjectName(QStringLiteral("edtCNPJ"));
    m_cnpj->setFont(bigFace(m_cnpj->font()));
    // The twelve first places take letters too (the alphanumeric numbers
    // issued from July 2026), the check digits only digits.
    m_cnpj->setInputMask(QStringLiteral(">NN.NNN.NNN/NNNN-99;_"));
    m_cnpj->setMinimumWidth(
        m_cnpj->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 20);
    numberBox->addWidget(m_cnpj);
    numberBox->addSpacing(6);
    numberBox->addWidget(caption(QStringLiteral("Digite o Captcha"), upper));
    m_captcha = new UpperEdit(upper);
    m_captcha->setObjectName(QStringLiteral("edtCaptcha"));
    m_captcha->setFont(bigFace(m_captcha->font()));
    numberBox->addWidget(m_captcha);
    ul->addLayout(numberBox);

    m_captchaBox = new CaptchaBox(upper);
    ul->addWidget(m_captchaBox, 0, Qt::AlignVCenter);
    connect(m_captchaBox, &CaptchaBox::refreshRequested, this, &F_ConsultaCNPJ::atualizarCaptcha);

    auto *actions = new QVBoxLayout;
    m_removeSpaces =
        new QCheckBox(QStringLiteral("Remover espaços duplos dos dados retornados"), upper);
    m_removeSpaces->setObjectName(QStringLiteral("ckRemoverEspacos"));
    m_removeSpaces->setChecked(true);
    actions->addWidget(m_removeSpaces);
    m_consultar = new QPushButton(QStringLiteral("Consultar"), upper);
    m_consultar->setObjectName(QStringLiteral("btnConsultar"));
    m_consultar->setAutoDefault(false);
    m_consultar->setMinimumSize(120, 36);
    connect(m_consultar, &QPushButton::clicked, this, &F_ConsultaCNPJ::consultar);
    actions->addWidget(m_consultar, 0, Qt::AlignLeft);
    actions->addStretch();
    ul->addLayout(actions, 1);
    outer->addWidget(upper);

    // Lower panel: the answer.
    auto *lower = new QFrame(this);
    lower->setObjectName(QStringLiteral("pnlResposta"));
    lower->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(lower);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    // caption, row, column, column span
    struct Place
    {
        const char *caption;
        int row, col, span;
    };
    const Place places[] = {
        {"Tipo de Empresa", 0, 0, 1},
        {"Abertura", 0, 1, 1},
        {"Situação", 0, 2, 2},
        {"Razão Social", 2, 0, 4},
        {"Fantasia", 4, 0, 4},
        {"Endereço:", 6, 0, 2},
        {"Número", 6, 2, 1},
        {"Complemento", 6, 3, 1},
        {"Bairro", 8, 0, 1},
        {"Cidade", 8, 1, 1},
        {"UF", 8, 2, 1},
        {"CEP", 8, 3, 1},
        {"CNAE Principal", 10, 0, 4},
        {"Endereço Eletrônico", 12, 0, 2},
        {"Telefone", 12, 2, 2},
    };
    for (const Place &p : places) {
        const QString text = QString::fromUtf8(p.caption);
        auto *edit = new QLineEdit(lower);
        edit->setReadOnly(true);
        edit->setObjectName(QStringLiteral("edtResposta%1").arg(m_answers.size()));
        grid->addWidget(caption(text, lower), p.row, p.col, 1, p.span);
        grid->addWidget(edit, p.row + 1, p.col, 1, p.span);
        m_answers.append({text, edit});
    }
    grid->addWidget(caption(QStringLiteral("CNAE Secundário(s)"), lower), 14, 0, 1, 4);
    m_cnae2 = new QListWidget(lower);
    m_cnae2->setObjectName(QStringLiteral("lstCNAE2"));
    m_cnae2->setMinimumHeight(90);
    grid->addWidget(m_cnae2, 15, 0, 1, 4);
    grid->setRowStretch(15, 1);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);
    outer->addWidget(lower, 1);

    resize(900, 640);

    EnterAsTab::install(this);
    // Enter in the captcha edit consults.
    EnterAsTab::exclude(m_captcha);
    connect(m_captcha, &QLineEdit::returnPressed, this, &F_ConsultaCNPJ::consultar);

    if (!m_service->needsCaptcha()) {
        m_captchaBox->showText(QStringLiteral("Consulta sem captcha"));
        m_captcha->setEnabled(false);
        m_captchaBox->link()->setEnabled(false);
    }

    m_firstCaptcha = new QTimer(this);
    m_firstCaptcha->setInterval(100);
    connect(m_firstCaptcha, &QTimer::timeout, this, [this] {
        m_firstCaptcha->stop();
        atualizarCaptcha();
        m_cnpj->setFocus();
    });
}

F_ConsultaCNPJ::~F_ConsultaCNPJ() = default;

int F_ConsultaCNPJ::run(QWidget *parent)
{
    return RunScreen(new F_ConsultaCNPJ(parent));
}

QLineEdit *F_ConsultaCNPJ::answerEdit(const QString &caption) const
{
    for (const auto &[text, edit] : m_answers)
        if (text == caption)
            return edit;
    return nullptr;
}

void F_ConsultaCNPJ::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_firstCaptcha->start();
}

void F_ConsultaCNPJ::atualizarCaptcha()
{
    if (!m_service->needsCaptcha()) {
        m_captchaBox->showText(QStringLiteral("Consulta sem captcha"));
        return;
    }
    const CaptchaImage image = m_service->captcha();
    if (image.ok()) {
        m_captchaBox->showPng(image.png);
    } else {
        m_captchaBox->showText(image.status == ConsultStatus::NotConfigured
                                   ? QStringLiteral("Serviço não configurado")
                                   : QStringLiteral("Captcha indisponível"));
        if (image.status == ConsultStatus::NotConfigured)
            Messages::warning(QStringLiteral("Atenção"), image.message);
        else
            Messages::error(AppTitle, image.message);
    }
    m_captcha->clear();
    m_captcha->setFocus();
}

void F_ConsultaCNPJ::consultar()
{
    const bool needsCaptcha = m_service->needsCaptcha();
    if (needsCaptcha && m_captcha->text().trimmed().isEmpty()) {
        Messages::plain(AppTitle, needCaptchaMessage());
        m_captcha->setFocus();
        return;
    }
    const QString cnpj = m_cnpj->text();
    const CompanyAnswer answer = m_service->consult(
        cnpj, needsCaptcha ? m_captcha->text().trimmed() : QString(), m_removeSpaces->isChecked());
    if (!answer.found()) {
        if (answer.status == ConsultStatus::NotConfigured)
            Messages::warning(QStringLiteral("Atenção"), answer.message);
        else
            Messages::error(AppTitle, answer.message);
        if (answer.status == ConsultStatus::WrongCaptcha)
            atualizarCaptcha();
        return;
    }
    showAnswer(answer.data);
    fillSupplier(answer.data, cnpj);
}

void F_ConsultaCNPJ::showAnswer(const CompanyData &d)
{
    const QList<QPair<const char *, QString>> shown{
        {"Tipo de Empresa", d.EmpresaTipo},
        {"Razão Social", d.RazaoSocial},
        {"Abertura",
         d.Abertura.isValid() ? d.Abertura.toString(QStringLiteral("dd/MM/yyyy")) : QString()},
        {"Fantasia", d.Fantasia},
        {"Endereço:", d.Endereco},
        {"Número", d.Numero},
        {"Complemento", d.Complemento},
        {"Bairro", d.Bairro},
        {"Cidade", d.Cidade},
        {"UF", d.UF},
        {"CEP", d.CEP},
        {"Situação", d.Situacao},
        {"CNAE Principal", d.CNAE1},
        {"Endereço Eletrônico", d.EndEletronico},
        {"Telefone", d.Telefone},
    };
    for (const auto &[name, value] : shown) {
        QLineEdit *e = answerEdit(QString::fromUtf8(name));
        e->setText(value);
        e->setCursorPosition(0);
    }
    m_cnae2->clear();
    m_cnae2->addItems(d.CNAE2);
}

void F_ConsultaCNPJ::fillSupplier(const CompanyData &d, const QString &cnpj)
{
    SupplierWindow *w = ConsultationTarget::receiver();
    if (!w)
        return;
    Guarded([&] {
        w->startEdit();
        RecordSet *rs = w->suppliers();
        const QList<QPair<const char *, QString>> columns{
            {"Nome", d.RazaoSocial},   {"nomefan", d.Fantasia},        {"Endereco", d.Endereco},
            {"Numero", d.Numero},      {"complemento", d.Complemento}, {"Bairro", d.Bairro},
            {"Cidade", d.Cidade},      {"Cep", postcodeDigits(d.CEP)}, {"email", d.EndEletronico},
            {"Telefone1", d.Telefone}, {"situacao", d.Situacao},       {"CNAE", d.CNAE1},
            {"Cgccpf", cnpj},
        };
        for (const auto &[column, value] : columns)
            rs->setValue(QString::fromLatin1(column), value);
        w->setEstado(d.UF);
        // Without a city (or a state) the list's first city would be taken
        // for it: the box then stays as it was.
        if (!d.UF.trimmed().isEmpty() && !d.Cidade.trimmed().isEmpty())
            w->setCidade(d.UF, d.Cidade);
    });
}
