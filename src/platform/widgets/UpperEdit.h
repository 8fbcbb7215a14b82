#pragma once
// One-line edit that turns what is typed (or pasted) into upper case, keeping
// the cursor where it was. Text set by the program is shown as given.

#include <QLineEdit>

class UpperEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit UpperEdit(QWidget *parent = nullptr);
    // maxLength > 0 limits the text to that many characters.
    explicit UpperEdit(int maxLength, QWidget *parent = nullptr);
};
