#include "widgets/Icons.h"

#include "widgets/ProgramFace.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Icons {

QIcon tile(const QString &sign, const QColor &color, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, color.lighter(130));
    g.setColorAt(1, color.darker(115));
    p.fillPath(path, g);
    p.setPen(QPen(color.darker(150), 1));
    p.drawPath(path);
    QFont f = ProgramFace::pixelFont(sign.size() > 2 ? size / 3 : size / 2);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, sign);
    return QIcon(pm);
}

} // namespace Icons
