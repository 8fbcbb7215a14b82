#pragma once
// Stands in for the message boxes during a test: records every box and
// answers it with the next queued button (OK when nothing is queued for a box
// that only has OK). A question that finds no queued answer is recorded as
// unexpected, so the test can fail on it.

#include "widgets/Messages.h"

#include <QList>

struct ScriptedMessages
{
    QList<MessageBoxRequest> boxes;
    QList<QMessageBox::StandardButton> answers;
    int unexpected = 0;
    Messages::Handler previous;

    explicit ScriptedMessages(QList<QMessageBox::StandardButton> queued = {})
        : answers(std::move(queued))
    {
        previous = Messages::setHandler([this](const MessageBoxRequest &r) {
            boxes << r;
            if (!answers.isEmpty())
                return answers.takeFirst();
            if (r.buttons == QMessageBox::Ok)
                return QMessageBox::Ok;
            ++unexpected;
            return QMessageBox::NoButton;
        });
    }
    ~ScriptedMessages() { Messages::setHandler(previous); }
    QStringList texts() const
    {
        QStringList t;
        for (const auto &b : boxes)
            t << b.text;
        return t;
    }
};
