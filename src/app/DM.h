#pragma once
// The data module: the one connection every screen shares and the table
// objects that several screens work on together.

#include "app/Globals.h"
#include "db/Connection.h"
#include "db/RecordSet.h"

#include <QObject>

class DM : public QObject
{
    Q_OBJECT
public:
    explicit DM(QObject *parent = nullptr);
    ~DM() override;
    static DM *instance();

    // Reads "Admin.ini" (the first of AdminIniPlaces(iniDir)), opens the
    // connection and tbConfiguracao. A failure is shown in the standard error
    // box, naming the file read, and start-up goes on.
    void DataModuleCreate(const QString &iniDir);
    // The connection the settings of an Admin.ini describe.
    static ConnectionSettings settingsOf(const AdminConfig &config);
    // Why start-up could not connect ("" when it did).
    QString startupError() const { return m_startupError; }
    // The same, on given settings (tests, the command-line tools).
    bool connectWith(const ConnectionSettings &settings, QString *error = nullptr);

    Connection::LossAction MyConnection1ConnectionLost(const DbError &cause);

    // Company name: Nome of the first configuracao row ("" when unreadable).
    QString companyName() const;
    QString serverName() const { return MyConnection1->serverName(); }
    // Closes every shared table object except tbConfiguracao.
    void closeSharedTables();
    // When the server compares table names with regard to case, the program's
    // mixed-case SQL texts fail; this tells what is wrong ("" when all is well).
    QString tableNameCaseProblem();

    Connection *MyConnection1;
    RecordSet *tbConfiguracao;
    RecordSet *tbFornecedor;
    RecordSet *tbPagar;
    RecordSet *tbPagar01;
    RecordSet *tbFilial;
    RecordSet *tbCaixatemp;
    RecordSet *tbContacorrente;

private:
    // Columns this program added to tables of the suite after their first
    // release, added to an older database (nullable; the other programs
    // ignore them).
    void addNewColumns();
    QString m_startupError;
};

// Shortcuts used by every screen.
inline Connection &Db()
{
    return *DM::instance()->MyConnection1;
}
