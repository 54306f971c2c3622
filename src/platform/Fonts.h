#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The fonts the windows ask for by their classic face names, mapped onto the
// families these machines have. The variable-width faces ("MS Sans Serif",
// "Tahoma", the stock variable-width and system fonts) share one stand-in
// family, the installed one whose letters come closest to the classic dialog
// font's at 8 points (see StandInDialogFace); "Lucida Console" maps to DejaVu
// Sans Mono, whose advance is the same 0.6 em. `weight` is on the 100..900
// scale (400 normal, 700 bold).
QFont CreatePointFont(const QString &face, int points, int weight = 400);

// The dialog font, "MS Sans Serif" 8, drawn by its stand-in.
QFont DialogFont();

// The font of the stock variable-width and system fonts (the dialog stand-in
// at 8 points).
QFont SystemFont();

// A stand-in face: a family and the pixel size that plays the classic
// 8-point size.
struct StandInFace {
    QString family;
    int pixelSize = 0;
};

// Of the `families` installed, in order of preference, and pixel sizes near
// 8 points, the face whose dialog base units (see DialogBaseUnits) are
// closest to kClassicDialogBaseUnits (DialogUnits.h), each axis weighed relative to its
// size; ties go to the earlier family. The default list prefers Liberation
// Sans (whose widths are those of the common Windows sans face) and falls
// back to DejaVu Sans, which every machine here has.
StandInFace StandInDialogFace(const QStringList &families = {QStringLiteral("Liberation Sans"),
                                                             QStringLiteral("DejaVu Sans")});
