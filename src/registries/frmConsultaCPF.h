#pragma once
// "Consulta CPF (Receita Fazenda)": looks a person number up, with the
// person's birth date, in the federal revenue's register through the
// captcha-protected service of Admin.ini [WEB] CPF_CAPTCHA and CPF_CONSULTA,
// and fills the supplier being edited in the current supplier window.
//
// The window opens with the focus in the captcha edit; one second after it
// was created it fetches the first captcha by itself and moves the focus to
// the CPF edit. Every captcha fetched ("Atualizar Captcha" too) is also
// saved as "captch.png" in the program's folder, as the suite's other
// programs expect; the picture is shown even where that folder cannot be
// written. When the focus leaves the CPF edit (Tab, Enter or a click) it
// goes to the birth date.
//
// "&Consultar": without a configured service the clerk is told which
// Admin.ini keys set it and nothing is sent; without a captcha, "É
// necessário digitar o captcha."; a failure is said in the standard error
// box and the window stays as it was, a wrong captcha also fetches a fresh
// one. A person found is shown in the six boxes (in upper case) and written
// into the current supplier, put into edit mode and not saved: Cgccpf takes
// the CPF as typed and Nome the name as shown. With no supplier to receive
// it the answer is shown, the clerk is told so, and nothing is written.
// "&Fechar" closes the window.

#include "web/PersonConsultation.h"

#include <QDialog>

class CaptchaBox;
class QLineEdit;
class QPushButton;
class QTimer;

class frmConsultaCPF : public QDialog
{
    Q_OBJECT
public:
    // Without settings, those of the configuration.
    explicit frmConsultaCPF(QWidget *parent = nullptr);
    frmConsultaCPF(const WebSettings &settings, QWidget *parent);
    ~frmConsultaCPF() override;

    // Creates the window, runs it modally and destroys it.
    static int run(QWidget *parent = nullptr);

    // Where every captcha is saved: "captch.png" in the program's folder.
    static QString captchaFile();

    QLineEdit *cpfEdit() const { return m_cpf; }
    QLineEdit *birthDateEdit() const { return m_birth; }
    QLineEdit *captchaEdit() const { return m_captcha; }
    CaptchaBox *captchaBox() const { return m_captchaBox; }
    QPushButton *consultarButton() const { return m_consultar; }
    QPushButton *fecharButton() const { return m_fechar; }
    // The answer box of a caption ("Nome da Pessoa Física", ...).
    QLineEdit *answerEdit(const QString &caption) const;

public slots:
    void atualizarCaptcha(); // "Atualizar Captcha"
    void consultar();        // "&Consultar"

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void fillSupplier(const QString &cpf, const QString &name);

    PersonConsultation m_service;
    QTimer *m_firstCaptcha = nullptr;
    QLineEdit *m_cpf = nullptr;
    QLineEdit *m_birth = nullptr;
    QLineEdit *m_captcha = nullptr;
    CaptchaBox *m_captchaBox = nullptr;
    QPushButton *m_consultar = nullptr;
    QPushButton *m_fechar = nullptr;
    QList<QPair<QString, QLineEdit *>> m_answers;
};
