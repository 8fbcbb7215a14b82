#pragma once
// "Consulta de CNPJ": looks a company number up in the federal revenue's
// register and fills the supplier being edited in the current supplier
// window with what was found.
//
// The service is the one Admin.ini [WEB] chooses (web/CompanyConsultation.h).
// A captcha-protected service shows its captcha in the box; the first one is
// fetched by itself 100 ms after the window is shown, "Atualizar Captcha"
// fetches another, and Enter in the captcha edit consults. The open company
// data service needs none: the box says "Consulta sem captcha", the captcha
// edit is disabled and "Consultar" asks for nothing.
//
// "Consultar": without a captcha where one is needed, "É necessário digitar o
// captcha." and nothing is sent. Otherwise the number (as typed in the mask,
// letters allowed in its first twelve places) is consulted; every failure
// (number not found, too many requests, a malformed answer, a timeout, no
// network) is said in the standard error box and the window stays as it was;
// a wrong captcha is said and a fresh captcha fetched. A company found is
// shown in every box and its secondary activities listed, then written into
// the current supplier (put into edit mode, not saved: the clerk saves in the
// supplier window): Nome, nomefan, Endereco, Numero, complemento, Bairro,
// Cidade, Cep (its digits), email, Telefone1, situacao, CNAE (the main
// activity), Cgccpf (the number as typed); the "Estado" box takes the state
// and the "Cidade" box the first city of that state in the cities list whose
// name begins with the city found (a city the list does not hold leaves the
// box as it was). Texts longer than their columns are cut to fit. With no
// supplier to receive it the answer is shown, the clerk is told so, and
// nothing is written.

#include "web/CompanyConsultation.h"

#include <QDialog>

#include <memory>

class CaptchaBox;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

class F_ConsultaCNPJ : public QDialog
{
    Q_OBJECT
public:
    // Without a service, the one the configuration chooses.
    explicit F_ConsultaCNPJ(QWidget *parent = nullptr,
                            std::unique_ptr<CompanyConsultation> service = {});
    ~F_ConsultaCNPJ() override;

    // Creates the window, runs it modally and destroys it.
    static int run(QWidget *parent = nullptr);

    QLineEdit *cnpjEdit() const { return m_cnpj; }
    QLineEdit *captchaEdit() const { return m_captcha; }
    CaptchaBox *captchaBox() const { return m_captchaBox; }
    QCheckBox *removeDoubleSpacesBox() const { return m_removeSpaces; }
    QPushButton *consultarButton() const { return m_consultar; }
    // The answer box of a caption ("Razão Social", "Endereço:", ...).
    QLineEdit *answerEdit(const QString &caption) const;
    QListWidget *secondaryActivities() const { return m_cnae2; }

public slots:
    void atualizarCaptcha(); // "Atualizar Captcha"
    void consultar();        // "Consultar"

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showAnswer(const CompanyData &d);
    void fillSupplier(const CompanyData &d, const QString &cnpj);

    std::unique_ptr<CompanyConsultation> m_service;
    QTimer *m_firstCaptcha = nullptr;
    QLineEdit *m_cnpj = nullptr;
    QLineEdit *m_captcha = nullptr;
    CaptchaBox *m_captchaBox = nullptr;
    QCheckBox *m_removeSpaces = nullptr;
    QPushButton *m_consultar = nullptr;
    QList<QPair<QString, QLineEdit *>> m_answers;
    QListWidget *m_cnae2 = nullptr;
};
