#include "widgets/UpperEdit.h"

#include <QValidator>

namespace {

// A validator may rewrite the input it is given: every change a person makes
// passes through here, typing and pasting alike, and undo keeps working.
class UpperValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const QString upper = input.toUpper();
        if (upper.size() != input.size())
            pos = qBound(0, pos + int(upper.size() - input.size()), int(upper.size()));
        input = upper;
        return Acceptable;
    }
};

} // namespace

UpperEdit::UpperEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new UpperValidator(this));
}

UpperEdit::UpperEdit(int maxLength, QWidget *parent) : UpperEdit(parent)
{
    if (maxLength > 0)
        setMaxLength(maxLength);
}
