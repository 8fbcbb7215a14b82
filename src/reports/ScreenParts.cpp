#include "reports/ScreenParts.h"

#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/TitleBand.h"

#include <QLabel>
#include <QSizePolicy>

namespace ScreenParts {

TitleBand *band(const QString &caption, QWidget *parent)
{
    auto *panel = new TitleBand(caption, parent);
    panel->setFontPixelSize(16);
    panel->captionLabel()->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return panel;
}

std::pair<DateEdit *, DateEdit *> period(QWidget *parent)
{
    auto *from = new DateEdit(parent);
    from->setObjectName(QStringLiteral("DataI"));
    auto *to = new DateEdit(parent);
    to->setObjectName(QStringLiteral("DataF"));
    from->setDate(Clock::today());
    to->setDate(Clock::today());
    return {from, to};
}

void keepRoomWhenHidden(QWidget *widget)
{
    QSizePolicy p = widget->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(p);
}

} // namespace ScreenParts
