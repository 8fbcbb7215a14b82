#pragma once
// "QUARVO Sistemas - Relatorio do Conta Corrente": the dialog that prints the
// statement of one bank account for a period (LedgerStatement.h lays the
// pages out) and shows it in the text preview.
//
// The account is the number chosen in "Conta:" (every row of contacorrente
// with that number counts, whichever account it was booked on; with none
// chosen nothing matches and only the closing block is printed). The period
// is both dates included; with "Calcular Saldo Anterior" ticked the balance
// of everything booked before it is carried. A date edit left empty gets
// "Selecione o período !", one holding a date that does not exist says so;
// neither prints anything. After a statement has been shown both dates are
// cleared and the focus is back in the first one, ready for the next period.

#include <QDialog>

#include <optional>

namespace TextPrint {
class Document;
}

class DateEdit;
class LookupCombo;
class QCheckBox;
class QPushButton;
class RecordSet;

class FCaixa_Relatorio2_OP02 : public QDialog
{
    Q_OBJECT
public:
    explicit FCaixa_Relatorio2_OP02(QWidget *parent = nullptr);
    ~FCaixa_Relatorio2_OP02() override;

    DateEdit *dataInicial() const { return m_dataI; }
    DateEdit *dataFinal() const { return m_dataF; }
    LookupCombo *contaBox() const { return m_conta; }
    QCheckBox *saldoAnterior() const { return m_saldoAnterior; }
    QPushButton *imprimirButton() const { return m_imprimir; }
    QPushButton *sairButton() const { return m_sair; }
    RecordSet *accounts() const { return m_accounts; }

public slots:
    // "&Imprimir": reads the period and shows the statement in the preview.
    void Imprimir();

private:
    // The statement of what the dialog holds; nullopt after a message
    // (missing or impossible date, database error).
    std::optional<TextPrint::Document> statement();
    bool datesAreUsable();

    RecordSet *m_accounts;
    RecordSet *m_period;  // the movements printed
    RecordSet *m_earlier; // the movements summed for the carried balance
    DateEdit *m_dataI = nullptr;
    DateEdit *m_dataF = nullptr;
    LookupCombo *m_conta = nullptr;
    QCheckBox *m_saldoAnterior = nullptr;
    QPushButton *m_imprimir = nullptr;
    QPushButton *m_sair = nullptr;
};
