#pragma once
// While the program waits for the server on a long statement (a report over
// a large period), the window cannot repaint: the user sees this notice,
// painted before the wait starts, with a busy cursor, instead of a window
// that looks frozen. The wait itself is bounded by the connection's read
// timeout. One notice at a time; nested notices keep the outer one.

#include <QString>

class QWidget;

class BusyNotice
{
public:
    explicit BusyNotice(
        const QString &text = QStringLiteral("Aguardando o servidor de banco de dados..."));
    ~BusyNotice();
    BusyNotice(const BusyNotice &) = delete;
    BusyNotice &operator=(const BusyNotice &) = delete;

    // The notice shown now, if any (tests).
    static QWidget *current();

private:
    QWidget *m_window = nullptr;
};
