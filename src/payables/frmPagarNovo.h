#pragma once
// "INCLUSÃO DE CONTAS A PAGAR": entry of a new bill owed to a supplier, split
// into instalments due every 30 days after the emission date. A count of zero
// means paid on the spot: one settled row, today (with its cash rows) or on a
// date picked in the quick settlement dialog.
//
// The screen has no data sets of its own: it is given the lookup lists its
// pick lists work on (those of the maintenance screen that opens it). The
// codes and descriptions are filled only by the pick lists. When generation
// starts the fields are copied once into NewPayableValues; everything written
// afterwards (through the payables book, here and in FrmBaixaPagar) comes
// from that copy. The rows of one generation are one operation: a database
// failure writes none of them and leaves the screen open with its fields.
// Whoever opened the screen follows it through its signals.
//
// Above the amounts, "Código de Barras / Linha Digitável / PIX" takes what a
// clerk pastes or a barcode reader types (ending with Enter): a code that
// reads fills what it carries, the total and the first due date (both still
// editable), and the line under it says what the code is and what was filled;
// a code that does not read says what is wrong and fills nothing. A PIX key
// that is a supplier's CNPJ/CPF proposes that supplier. The code read is
// written into every instalment of the bill.

#include "payables/EntryPlan.h"
#include "paymentcodes/PaymentCode.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <QVariant>

#include <optional>

class BigToolBar;
class DateEdit;
class EntryNumberEdit;
class PayablesLookups;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

class frmPagarNovo : public QDialog
{
    Q_OBJECT
public:
    explicit frmPagarNovo(PayablesLookups *lookups, QWidget *parent = nullptr);
    ~frmPagarNovo() override;

    PayablesLookups *lookups() const { return m_lookups; }
    // The copy taken by the last generation.
    const NewPayableValues &values() const { return m_values; }

    // What the entry pick lists fill (names of PickLists::Entry).
    void setEntryField(const QString &name, const QVariant &value);

    QTabWidget *page() const { return m_page; }
    BigToolBar *bar1() const { return m_bar1; }
    BigToolBar *bar2() const { return m_bar2; }
    BigToolBar *bar3() const { return m_bar3; }
    QPushButton *BitBtn1() const { return m_gerar; }
    QAction *gerarAction() const { return m_gerarAction; }
    DateEdit *dataEmissao() const { return m_data; }
    QLineEdit *notaEdit() const { return m_nota; }
    QLineEdit *valorEdit() const;
    QLineEdit *parcelasEdit() const;
    QPlainTextEdit *memo() const { return m_obs; }
    QLineEdit *codigoBarrasEdit() const { return m_codigo; }
    // What the code read is, what it filled, or what is wrong with it.
    QLabel *codigoBarrasInfo() const { return m_codigoInfo; }
    // Empty: the first instalment is due 30 days after the emission date.
    DateEdit *primeiroVencimento() const { return m_vencimento; }
    // The code last read and accepted (empty when none, or it did not read).
    const std::optional<PaymentCode> &paymentCode() const { return m_paymentCode; }
    // Read-only code and description fields.
    QLineEdit *codigoFornecedor() const { return m_codFornecedor; }
    QLineEdit *nomeFornecedor() const { return m_nomeFornecedor; }
    QLineEdit *codigoGerencial() const { return m_codGerencial; }
    QLineEdit *descGerencial() const { return m_descGerencial; }
    QLineEdit *codigoFilial() const { return m_codFilial; }
    QLineEdit *nomeFilial() const { return m_nomeFilial; }
    QLineEdit *codigoTipo() const { return m_codTipo; }
    QLineEdit *descTipo() const { return m_descTipo; }
    QLineEdit *codigoDespesa() const { return m_codDespesa; }
    QLineEdit *descDespesa() const { return m_descDespesa; }

public slots:
    void BitBtn1Click();      // "&Gerar" (the button and the tool button)
    void ToolButton1Click();  // "Incluir"
    void ToolButton5Click();  // "Fec&har"
    void ToolButton8Click();  // "   Canc&elar    "
    void ToolButton2Click();  // "&Manutenção"
    void TSpeedButtonClick(); // calculator
    void SpeedButton3Click(); // supplier pick list
    void SpeedButton2Click(); // cost-centre pick list
    void SpeedButton1Click(); // branch pick list
    void SpeedButton4Click(); // payment-type pick list
    void SpeedButton5Click(); // expense-type pick list
    void cadastroFornecedor();
    void cadastroCusto();
    void cadastroFilial();
    void cadastroDespesa();
    // Reads the code field (Enter, leaving the field, or "&Gerar" with a
    // code not read yet); false when it holds a code that does not read.
    bool readPaymentCode();

signals:
    // An entry starts (the screen is shown, or "Incluir"): the lists it picks
    // from are wanted open.
    void entryStarting();
    // A generation is done (rows written, or the quick settlement closed);
    // nota is the note as typed.
    void generated(const QString &nota);
    // "&Manutenção": a maintenance screen is asked for over this one.
    void maintenanceRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    void buildMenus();
    // Showing the screen and "Incluir", but for the supplier pick list.
    void prepareEntry();
    void setCode(QLineEdit *edit, double code);
    void setEntering(bool entering);
    bool validate();
    bool copyValues();
    void clearPaymentCode();
    void showCodeInfo(const QString &text, bool error);
    // The supplier whose CNPJ/CPF is document, proposed for the entry; the
    // sentence to add to the code's line ("" when none was proposed).
    QString proposeSupplier(const QString &document);
    PayablesLookups *m_lookups;
    NewPayableValues m_values;

    BigToolBar *m_bar1 = nullptr;
    BigToolBar *m_bar2 = nullptr;
    BigToolBar *m_bar3 = nullptr;
    QAction *m_gerarAction = nullptr;
    QTabWidget *m_page = nullptr;
    QLineEdit *m_codFornecedor = nullptr;
    QLineEdit *m_nomeFornecedor = nullptr;
    QLineEdit *m_codGerencial = nullptr;
    QLineEdit *m_descGerencial = nullptr;
    QLineEdit *m_codFilial = nullptr;
    QLineEdit *m_nomeFilial = nullptr;
    QLineEdit *m_codTipo = nullptr;
    QLineEdit *m_descTipo = nullptr;
    QLineEdit *m_codDespesa = nullptr;
    QLineEdit *m_descDespesa = nullptr;
    QLineEdit *m_nota = nullptr;
    DateEdit *m_data = nullptr;
    EntryNumberEdit *m_valor = nullptr;
    EntryNumberEdit *m_parcelas = nullptr;
    QPushButton *m_gerar = nullptr;
    QPlainTextEdit *m_obs = nullptr;
    QLineEdit *m_codigo = nullptr;
    QLabel *m_codigoInfo = nullptr;
    DateEdit *m_vencimento = nullptr;
    QString m_codigoLido; // the field's text when it was last read
    std::optional<PaymentCode> m_paymentCode;
};
