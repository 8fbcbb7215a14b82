#pragma once
// The main menu: a full-screen window without frame, five big buttons, the
// user, company and server in the caption, and the red "X" that ends the
// program.

#include <QWidget>

class QToolButton;
class QLabel;

class FrmPrincipal : public QWidget
{
    Q_OBJECT
public:
    explicit FrmPrincipal(QWidget *parent = nullptr);

    QToolButton *button(int number) const; // 1..5
    QWidget *closePanel() const { return m_close; }
    static QString captionFor(const QString &user, const QString &company, const QString &server);

public slots:
    void BtnPagarClick();      // "Contas a &Pagar"
    void BtnFornecedorClick(); // "&Fornecedor"
    void BtnContaClick();      // "&Banco/Conta"
    void BtnCorrenteClick();   // "Conta &Corrente"
    void BtnCaixaClick();      // "Cai&xa"
    void CloseClick();         // the red "X"
    void bringToFront();

private:
    // Starts a sibling program of the suite from the executable's directory.
    void startSibling(const QString &fileName, const QString &description);

    QToolButton *m_buttons[5] = {};
    QWidget *m_close = nullptr;
    QLabel *m_captionLine = nullptr;
};
