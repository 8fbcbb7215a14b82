#include "registries/RegistryWidgets.h"

#include "widgets/Icons.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

namespace RegistryWidgets {

namespace {

class LowerValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const QString lower = input.toLower();
        if (lower.size() != input.size())
            pos = qBound(0, pos + int(lower.size() - input.size()), int(lower.size()));
        input = lower;
        return Acceptable;
    }
};

} // namespace

QWidget *letterStrip(QWidget *parent, const std::function<void(QChar)> &click,
                     QList<QPushButton *> *buttons, const QString &taken)
{
    auto *strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("letterStrip"));
    strip->setAutoFillBackground(true);
    QPalette p = strip->palette();
    p.setColor(QPalette::Window, Qt::white);
    strip->setPalette(p);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    QFont f = strip->font();
    f.setBold(true);
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QChar letter = QChar::fromLatin1(c);
        auto *b = new QPushButton(QStringLiteral("&") + letter, strip);
        b->setObjectName(QStringLiteral("btnLetra%1").arg(letter));
        b->setFlat(true);
        b->setFont(f);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        if (taken.contains(letter, Qt::CaseInsensitive))
            b->setShortcut(QKeySequence());
        b->setMinimumWidth(10);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QObject::connect(b, &QPushButton::clicked, strip, [click, letter] { click(letter); });
        row->addWidget(b);
        if (buttons)
            *buttons << b;
    }
    return strip;
}

QToolButton *picture(const QString &objectName, const QString &hint, const QString &sign,
                     const QColor &color, QWidget *parent, int size)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setToolTip(hint);
    b->setIcon(Icons::tile(sign, color, size));
    b->setIconSize(QSize(size, size));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

BigToolBar *toolBar(const QString &objectName, const QSize &buttonSize, QWidget *parent)
{
    auto *bar = new BigToolBar(parent);
    bar->setObjectName(objectName);
    bar->setIconSize(QSize(30, 30));
    bar->setProperty("buttonSize", buttonSize);
    // The captions were laid out for an 8-point face on buttons of this size;
    // a larger one would cut "   Fechar   " or "Relatórios".
    QFont f = bar->font();
    f.setPointSizeF(7.5);
    bar->setFont(f);
    bar->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QAction *addButton(BigToolBar *bar, const QString &objectName, const QString &caption,
                   const QString &sign, const QColor &color, std::function<void()> slot)
{
    QAction *a =
        bar->addButton(caption, Icons::tile(sign, color, 30), QKeySequence(), std::move(slot));
    a->setObjectName(objectName);
    if (QToolButton *b = bar->button(a)) {
        b->setObjectName(objectName);
        const QSize size = bar->property("buttonSize").toSize();
        // The size given, wider only where a caption would not fit it.
        if (size.isValid())
            b->setFixedSize(qMax(size.width(), b->sizeHint().width()), size.height());
    }
    bar->adjustSize();
    return a;
}

void makeLowerCase(QLineEdit *edit)
{
    edit->setValidator(new LowerValidator(edit));
}

void TabbingMemo::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // The widget's own walk: the memo's would keep the focus while it is editable.
        QWidget::focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace RegistryWidgets
