#pragma once
// Pieces the registry windows share on screen: the strip of 26 clickable
// letters, the small clickable pictures, the memo in which Enter moves on to
// the next control, the edit that turns what is typed into lower case, and
// the big-button tool bars with their fixed button size.

#include "widgets/BigToolBar.h"

#include <QColor>
#include <QList>
#include <QPlainTextEdit>
#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace RegistryWidgets {

// A white strip of the letters "&A" to "&Z" (bold, flat, hand cursor); a
// click calls click(letter). The buttons are appended to *buttons. Alt+letter
// clicks a letter too, except for the letters in taken, whose Alt key belongs
// to another control of the window (Alt+R for "&Razão Social"): two controls
// on one key would leave the key doing neither.
QWidget *letterStrip(QWidget *parent, const std::function<void(QChar)> &click,
                     QList<QPushButton *> *buttons, const QString &taken = {});

// A small clickable picture with a hint.
QToolButton *picture(const QString &objectName, const QString &hint, const QString &sign,
                     const QColor &color, QWidget *parent, int size = 22);

// A tool bar of big buttons, each buttonSize large.
BigToolBar *toolBar(const QString &objectName, const QSize &buttonSize, QWidget *parent);
// Adds a button and sizes it like the bar's others.
QAction *addButton(BigToolBar *bar, const QString &objectName, const QString &caption,
                   const QString &sign, const QColor &color, std::function<void()> slot);

// A line edit whose typed text is turned into lower case.
void makeLowerCase(QLineEdit *edit);

// A memo in which Enter (and Shift+Enter) moves the focus on, like Tab, and
// never breaks the line.
class TabbingMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace RegistryWidgets
