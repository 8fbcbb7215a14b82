#pragma once
// "Importar Arquivo Banco": brings a bank statement into the checking-account
// ledger in two steps, over the ledger window (the ledger's "Relatórios"
// entry "&Importar Extrato").
//
// "&Importar Extrato" asks for the statement file (a workbook .xlsx, .xls,
// .ods or .csv, or an OFX file), reads its lines (StatementReader has the
// rules) and stages them in this workstation's `importacaobanco`
// (StatementStaging), shown in the grid. The bank account chosen in
// "Descrição do Banco" when the reading succeeds is the one the transfer
// books on; choosing another one afterwards counts only from the next
// reading. An OFX statement names its account: when it is not the chosen
// one, the clerk is asked before anything is staged. A reading that fails
// (a file that is not a statement, a cell that does not read, a database
// error) says why and changes nothing: what was staged before stays, and so
// do the buttons.
//
// "&Transferir C.C." books the staged lines in `contacorrente`
// (TransferPlan has what each movement carries). Every likely duplicate is
// asked about first, "Já existe um valor parecido!" with Yes as the default;
// then all the movements are written in one operation, so a failure writes
// none and says so. When the staged lines were lost with a reconnect, it
// says so and the statement is read again; the shared table's rows are
// never transferred.
//
// Buttons: both disabled when the window opens; a click on (or a choice in)
// the bank box enables "&Importar Extrato"; a reading enables "&Transferir
// C.C." and disables "&Importar Extrato"; a finished transfer empties the
// grid, enables "&Importar Extrato" and disables "&Transferir C.C.". A
// transfer that wrote nothing may be tried again; one whose outcome is not
// known leaves both disabled until the window is opened again.
//
// When the window closes, the ledger window's movements are read again and
// its list goes to the last row, where the transferred movements are.

#include "ledger/StatementStaging.h"

#include <QDialog>

class DataGrid;
class LookupCombo;
class QProgressBar;
class QPushButton;
class RecordSet;
class TitleBand;

class FrmImportaarquivobanco : public QDialog
{
    Q_OBJECT
public:
    explicit FrmImportaarquivobanco(QWidget *parent = nullptr);
    ~FrmImportaarquivobanco() override;

    // The account the next transfer books on: the one chosen when the last
    // statement was read (empty before any reading).
    struct BankAccount
    {
        QString banco;
        QString conta;
        QString agencia;
    };
    BankAccount selectedAccount() const { return m_selected; }

    TitleBand *titleBand() const { return m_title; }
    DataGrid *grid() const { return m_grid; }
    LookupCombo *bancoBox() const { return m_banco; }
    QPushButton *importarButton() const { return m_importar; }
    QPushButton *transferirButton() const { return m_transferir; }
    QProgressBar *progressBar() const { return m_progress; }
    RecordSet *staging() const { return m_stagingRows; }
    RecordSet *accounts() const { return m_accounts; }

public slots:
    void ImportarExtrato(); // "&Importar Extrato"
    void TransferirCC();    // "&Transferir C.C."
    void bancoClicado();    // a click on the bank box
    void Fechar();          // the red "X"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void buildUi();
    // Reads the file into lines; false after a message (nothing read).
    bool readStatement(const QString &path, QList<StatementLine> *lines);
    bool accountQuestion(const OfxAccount &account);
    void showProgress(int value);
    // The staged lines were lost with the session: say so (after the cause,
    // when there is one), empty the grid and wait for a new reading.
    void stagingLost(const QString &cause = {});

    StatementStaging m_staging;
    RecordSet *m_accounts;
    RecordSet *m_stagingRows;
    RecordSet *m_company;
    BankAccount m_selected;

    TitleBand *m_title = nullptr;
    DataGrid *m_grid = nullptr;
    LookupCombo *m_banco = nullptr;
    QPushButton *m_importar = nullptr;
    QPushButton *m_transferir = nullptr;
    QProgressBar *m_progress = nullptr;
};
