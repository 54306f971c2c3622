#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>

// Pixel-exact drawing helpers for the program's bitmaps: seven-segment digits,
// a five-pixel lettering for scoreboard labels, and the image-and-mask pairs
// that the masked draw expects.
namespace pylonix::artwork
{

// Where the seven segments of a digit lie inside its cell.
struct SegmentStyle {
    QSize cell;       // nothing is drawn outside it
    QRectF box;       // the outer edges of the segments, in cell pixels
    double thickness; // of each segment
    double gap;       // between neighbouring segments
    double slant;     // horizontal shift per pixel upwards (italic lean)
};

// Segment bits a..g (a = top, then clockwise, g = middle) lit for digit 0..9.
unsigned SegmentsOfDigit(int digit);

// Sets every pixel of the cell at `origin` whose centre lies inside one of the
// segments in `segments` (bits a..g) to `colour`. Pixels are either set or
// left alone, so the same call makes the image and the mask of a digit.
void PaintSegments(QImage &image, QPoint origin, const SegmentStyle &style, unsigned segments,
                   QColor colour);

// Width in pixels of `text` in the five-pixel lettering (one pixel between letters).
int LetteringWidth(const QString &text);

// Draws `text` (capitals, digits, space, colon) in the five-pixel lettering with
// its top-left corner at `origin`, each lettering pixel a `dot` x `dot` square
// spaced `pitch` pixels apart.
void PaintLettering(QImage &image, QPoint origin, const QString &text, QColor colour, int dot = 1,
                    int pitch = 1);

// The same, centred horizontally on `centreX`.
void PaintLetteringCentred(QImage &image, int centreX, int top, const QString &text, QColor colour,
                           int dot = 1, int pitch = 1);

// A picture drawn on `background` turned into the pair the masked draw uses:
// the image on the left (black where the picture leaves the background) and
// its mask on the right (black where the picture is, white elsewhere). Drawn
// masked on that background colour, the pair gives back the picture exactly.
QImage ImageAndMask(const QImage &picture, QColor background);

} // namespace pylonix::artwork
