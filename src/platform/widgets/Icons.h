#pragma once
// The pictures of the big buttons: a coloured tile with a short sign, drawn
// here so the program ships no image files.

#include <QColor>
#include <QIcon>
#include <QString>

namespace Icons {

QIcon tile(const QString &sign, const QColor &color, int size = 48);

} // namespace Icons
