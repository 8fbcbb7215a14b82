#include "widgets/ProgramFace.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace ProgramFace {

namespace {

const QString kPreferred = QStringLiteral("Liberation Sans");

struct Faces
{
    QString family;
    qreal pointSize = 9;
};

Faces &faces()
{
    static Faces f = [] {
        Faces r;
        // Without an application there is no font database to ask; the
        // preferred name is all that can be given.
        if (!QGuiApplication::instance()) {
            r.family = kPreferred;
            return r;
        }
        const QFont current = QGuiApplication::font();
        if (current.pointSizeF() > 0)
            r.pointSize = current.pointSizeF();
        r.family = QFontDatabase::families().contains(kPreferred) ? kPreferred : current.family();
        return r;
    }();
    return f;
}

} // namespace

QString family()
{
    return faces().family;
}

QFont font(qreal pointSize)
{
    QFont f(family());
    f.setPointSizeF(pointSize > 0 ? pointSize : faces().pointSize);
    return f;
}

QFont pixelFont(int pixels)
{
    QFont f(family());
    f.setPixelSize(pixels);
    return f;
}

void install()
{
    const QString face = family();
    for (const char *windowsFace :
         {"Arial", "Arial Black", "Arial Narrow", "Tahoma", "MS Sans Serif", "Verdana"}) {
        const QString name = QString::fromLatin1(windowsFace);
        QFont::removeSubstitutions(name);
        QFont::insertSubstitution(name, face);
    }
    QGuiApplication::setFont(font());
}

} // namespace ProgramFace
