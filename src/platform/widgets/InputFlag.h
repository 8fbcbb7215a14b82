#pragma once
// Marks an edit whose text cannot be taken (an impossible date, an amount
// that is not a number): the property "invalidInput" for callers and tests,
// and a pink background for the person typing.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace InputFlag {

inline void set(QWidget *edit, bool invalid)
{
    if (edit->property("invalidInput").toBool() == invalid)
        return;
    edit->setProperty("invalidInput", invalid);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, invalid ? QColor(255, 210, 210) : QPalette().color(QPalette::Base));
    edit->setPalette(p);
}

} // namespace InputFlag
