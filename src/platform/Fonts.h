#pragma once

#include <QFont>
#include <QString>

// The fonts the windows ask for by their classic face names, mapped onto the
// families these machines have: "MS Sans Serif" -> DejaVu Sans, "Lucida
// Console" -> DejaVu Sans Mono, "Tahoma" -> DejaVu Sans; any other face
// (the stock variable-width and system fonts) -> DejaVu Sans. `weight` is on
// the 100..900 scale (400 normal, 700 bold).
QFont CreatePointFont(const QString &face, int points, int weight = 400);

// The dialog font, "MS Sans Serif" 8.
QFont DialogFont();

// The font of the stock variable-width and system fonts (DejaVu Sans 8).
QFont SystemFont();
