#include "widgets/DateEdit.h"
#include "widgets/InputFlag.h"

#include "db/DisplayFormat.h"
#include "widgets/Clock.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString kFormat = QStringLiteral("dd/MM/yyyy");

QIcon calendarIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(0, 79, 157));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.fillRect(3 + c * 3, 7 + r * 2, 2, 1, QColor(60, 60, 60));
    return QIcon(pm);
}

} // namespace

DateEdit::DateEdit(QWidget *parent) : QLineEdit(parent)
{
    // All positions optional, so an empty or half-typed field can be left
    // and judged by isValidInput() instead of being held by the mask.
    setInputMask(QStringLiteral("00/00/0000;_"));
    QAction *drop = addAction(calendarIcon(), QLineEdit::TrailingPosition);
    drop->setToolTip(QStringLiteral("Calendário (F4)"));
    connect(drop, &QAction::triggered, this, &DateEdit::showCalendar);
    connect(this, &QLineEdit::textChanged, this, &DateEdit::onTextChanged);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 40);
    updateFlag();
}

void DateEdit::setAllowEmpty(bool allow)
{
    m_allowEmpty = allow;
    updateFlag();
}

QString DateEdit::text() const
{
    QString t = QLineEdit::text();
    t.remove(QLatin1Char(' '));
    if (t.count(QLatin1Char('/')) == t.size())
        return {};
    return t;
}

QDate DateEdit::date() const
{
    const QString t = text();
    return t.isEmpty() ? QDate() : DisplayFormat::parseDate(t);
}

void DateEdit::setDate(const QDate &date)
{
    if (date.isValid())
        setText(date.toString(kFormat));
    else
        clear();
}

bool DateEdit::isValidInput() const
{
    if (text().isEmpty())
        return m_allowEmpty;
    return date().isValid();
}

void DateEdit::onTextChanged()
{
    updateFlag();
    const QDate d = date();
    if (d != m_lastDate) {
        m_lastDate = d;
        emit dateChanged(d);
    }
}

void DateEdit::updateFlag()
{
    // Half-typed text is only flagged once the person leaves the field.
    const bool bad = !isValidInput() && (!hasFocus() || text().size() >= 10);
    InputFlag::set(this, bad);
}

void DateEdit::focusOutEvent(QFocusEvent *event)
{
    // A two-digit year is written out in full; anything else stays as typed.
    const QDate d = date();
    if (d.isValid() && QLineEdit::text() != d.toString(kFormat))
        setText(d.toString(kFormat));
    QLineEdit::focusOutEvent(event);
    updateFlag();
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QCalendarWidget *DateEdit::calendar()
{
    if (!m_calendar) {
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setFrameShape(QFrame::Box);
        auto *layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setGridVisible(true);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateEdit::pick);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateEdit::pick);
        auto *escape = new QAction(m_popup);
        escape->setShortcut(Qt::Key_Escape);
        escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(escape, &QAction::triggered, this, &DateEdit::hideCalendar);
        m_popup->addAction(escape);
    }
    return m_calendar;
}

bool DateEdit::isCalendarVisible() const
{
    return m_popup && m_popup->isVisible();
}

void DateEdit::showCalendar()
{
    if (isReadOnly() || !isEnabled())
        return;
    QCalendarWidget *cal = calendar();
    const QDate d = date();
    cal->setSelectedDate(d.isValid() ? d : Clock::today());
    m_popup->adjustSize();
    QPoint pos = mapToGlobal(QPoint(0, height()));
    if (const QScreen *s = screen()) {
        const QRect avail = s->availableGeometry();
        if (pos.y() + m_popup->height() > avail.bottom())
            pos.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        pos.setX(
            qBound(avail.left(), pos.x(), qMax(avail.left(), avail.right() - m_popup->width())));
    }
    m_popup->move(pos);
    m_popup->show();
    cal->setFocus(Qt::PopupFocusReason);
}

void DateEdit::hideCalendar()
{
    if (m_popup)
        m_popup->hide();
    setFocus(Qt::PopupFocusReason);
}

void DateEdit::pick(const QDate &date)
{
    setDate(date);
    hideCalendar();
    emit editingFinished();
}
