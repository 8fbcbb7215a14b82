#pragma once
// The program's one typeface. The pixel widths of the lists, bands and
// reports were laid out for Arial, so the program draws with Liberation Sans
// (Arial's metrics, from fonts-liberation2) wherever it is installed, and
// with the face the application had before when it is not. Windows and
// reports name this face explicitly: what else a machine has installed (URW
// fonts pulled in by Ghostscript, say) must not change how wide a text is.
//
// install() makes it the application's font and also resolves the Windows
// faces that layouts and report definitions name ("Arial", "Tahoma", "MS Sans
// Serif", "Arial Black", "Arial Narrow", "Verdana") to it, so such a name
// never falls to whatever the system's font configuration offers instead.

#include <QFont>
#include <QString>

namespace ProgramFace {

// "Liberation Sans" when the font database has it, else the fallback.
QString family();
// The face at a size in points (default: the application's point size).
QFont font(qreal pointSize = -1);
// The face at a size in pixels.
QFont pixelFont(int pixels);
// Call once the QGuiApplication exists (Application::setUp does).
void install();

} // namespace ProgramFace
