#include "widgets/MoneyEdit.h"
#include "widgets/InputFlag.h"

#include "db/DisplayFormat.h"

#include <QFocusEvent>
#include <QLocale>
#include <QTimer>

namespace {
QLocale br()
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}
} // namespace

MoneyEdit::MoneyEdit(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, &MoneyEdit::updateFlag);
    connect(this, &QLineEdit::returnPressed, this, &MoneyEdit::finish);
    setValue(0);
}

void MoneyEdit::setDecimals(int decimals)
{
    m_decimals = qBound(0, decimals, 8);
    if (hasValidValue() && !isEmpty())
        setValue(value());
}

double MoneyEdit::parse(bool *ok) const
{
    const QString t = QLineEdit::text().trimmed();
    if (t.isEmpty()) {
        *ok = true;
        return 0;
    }
    return DisplayFormat::parseNumber(t, ok);
}

double MoneyEdit::value() const
{
    bool ok = false;
    const double v = parse(&ok);
    return ok ? v : 0;
}

bool MoneyEdit::hasValidValue() const
{
    bool ok = false;
    parse(&ok);
    return ok;
}

QString MoneyEdit::shown(double value) const
{
    return br().toString(value, 'f', m_decimals);
}

QString MoneyEdit::typed(double value) const
{
    QLocale loc = br();
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(value, 'f', m_decimals);
}

void MoneyEdit::setValue(double value)
{
    // Stored as shown, so value() gives back exactly what the person sees.
    setText(hasFocus() ? typed(value) : shown(value));
    m_lastValue = this->value();
}

void MoneyEdit::finish()
{
    if (!hasValidValue())
        return;
    // The amount counts as it is shown, rounded to the decimals.
    const double v = isEmpty() ? 0 : DisplayFormat::parseNumber(shown(value()));
    if (!hasFocus() && !isEmpty())
        setText(shown(v));
    if (v != m_lastValue) {
        m_lastValue = v;
        emit valueChanged(v);
    }
}

void MoneyEdit::focusInEvent(QFocusEvent *event)
{
    if (hasValidValue() && !isEmpty())
        setText(typed(value()));
    QLineEdit::focusInEvent(event);
    // The whole amount is selected, so typing replaces it; after a click only
    // once the line edit has placed its cursor for the click.
    if (event->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, this, &QLineEdit::selectAll);
    else if (event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void MoneyEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    finish();
    if (hasValidValue() && !isEmpty())
        setText(shown(value()));
    updateFlag();
}

void MoneyEdit::updateFlag()
{
    const bool bad = !hasValidValue();
    InputFlag::set(this, bad);
}
