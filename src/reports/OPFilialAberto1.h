#pragma once
// The dialog that prints, or sends by e-mail, the open payables of one branch
// (or of every branch, "TODAS") that fall due in a period. Borderless, framed,
// centred, modal; opened from the payables maintenance screen's report menu.
//
// - The branch edit looks up the branch list ("Select * from Filial Order By
//   NomeFilial", opened with the dialog and closed with it). "TODAS", exactly
//   so, means every branch; any other text must name a branch (a unique start
//   of a name will do): an empty edit or a name that is not in the list is
//   refused with a message instead of silently using whatever branch happens
//   to be current.
// - "&Imprimi" previews RptPagarAberto (one branch) or RptPagarAberto01 (all)
//   with the dialog's title and the "Nome da Filial : " line, then closes the
//   dialog with the OK result.
// - "Email" builds the message (OpenPayablesMail) and sends it off the
//   user-interface thread: the dialog keeps repainting, "Email" and
//   "&Imprimi" stay disabled and the cursor busy until the send ends, then
//   the success ("A Messagem Foi Enviada com Sucesso") or the server's reason
//   is shown. The dialog stays open.
// - The cancel button (or Esc) closes the dialog; a send still running is
//   cancelled.
//
// The buttons' actions are public slots, so a test presses them as a clerk would.

#include "mail/MailSendJob.h"
#include "reports/OpenPayablesMail.h"

#include <QDialog>
#include <QPointer>

class DateEdit;
class LookupEdit;
class QPushButton;
class RecordSet;

class OPFilialAberto1 : public QDialog
{
    Q_OBJECT
public:
    explicit OPFilialAberto1(QWidget *parent = nullptr);
    ~OPFilialAberto1() override;

    // What the menu entry does: create, run modally, trim the memory, destroy.
    static int run(QWidget *parent);

    LookupEdit *EdtFilial = nullptr;
    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QPushButton *BtnImprimi = nullptr;
    QPushButton *BtnEmail = nullptr;
    QPushButton *BtnCancelar = nullptr;
    RecordSet *tbFilial = nullptr;

    bool isSending() const { return m_job != nullptr; }
    // Tries of one send and the pause between them (3 tries, 2 s apart).
    void setAttempts(int attempts, int pauseMs);

    // What the fields ask for; false, after the message saying why, when the
    // branch or the period cannot be used.
    bool request(OpenPayablesMail::Request *out);

public slots:
    void imprimir();
    void email();

signals:
    // A send has ended (after its message was shown).
    void sendFinished(bool sent);

protected:
    void done(int result) override;

private:
    void sendEnded(const MailOutcome &outcome);
    void stopSending();

    QPointer<MailSendJob> m_job;
    int m_attempts = 3;
    int m_pauseMs = 2000;
};
