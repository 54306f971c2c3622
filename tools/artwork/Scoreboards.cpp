// The scoreboard family: digit strips, the live and final boards and the
// possession marker. The boards carry dim "unlit" segments exactly where the
// header draws its digits, so that a digit the header leaves out (a leading
// zero) shows as a dark LED position, as on a stadium board. Each is drawn at
// a scale of 1, and at 2 for screens of twice the pixel density: the same
// shapes with every length doubled, not the small picture enlarged.

#include "ArtworkPieces.h"
#include "PixelArt.h"

#include <QPainter>
#include <array>

namespace pylonix::artwork
{

namespace
{

constexpr int kCellWidth = 11;
constexpr int kCellHeight = 21;

const SegmentStyle kLargeStyle{QSize(11, 21), QRectF(2.0, 1.0, 9.0, 19.0), 3.0, 0.45, 0.06};
const SegmentStyle kSmallStyle{QSize(11, 21), QRectF(2.0, 3.0, 8.0, 16.0), 2.0, 0.35, 0.06};

const QColor kLargeLit(255, 52, 36);
const QColor kLargeUnlit(58, 16, 14);
const QColor kSmallLit(255, 186, 40);
const QColor kSmallUnlit(56, 40, 10);

const QColor kBody(34, 36, 42);
const QColor kBevelLight(104, 108, 120);
const QColor kBevelDark(10, 10, 12);
const QColor kPanel(6, 6, 8);
const QColor kPanelEdgeLight(84, 88, 98);
const QColor kLabel(238, 236, 226);
const QColor kHomeLabel(150, 186, 255);
const QColor kVisitorLabel(255, 150, 140);
const QColor kHomePlate(18, 44, 104);
const QColor kVisitorPlate(110, 20, 20);

// Header positions minus the board's left edge (128): where the digits land.
constexpr std::array<int, 3> kHomeScoreX{0, 13, 26};
constexpr std::array<int, 3> kVisitorScoreX{131, 144, 157};
constexpr int kScoreY = 14;
constexpr std::array<int, 4> kClockX{61, 74, 91, 104};
constexpr int kClockY = 5;
constexpr int kBottomY = 53;
constexpr int kDownX = 16;
constexpr std::array<int, 2> kToGoX{53, 66};
constexpr std::array<int, 2> kBallOnX{99, 112};
constexpr int kQuarterX = 149;
constexpr QPoint kHomeMarker(43, 21);
constexpr QPoint kVisitorMarker(123, 21);

// The football of the possession marker, '#' leather, 'o' laces.
constexpr std::array<const char *, 7> kMarkerShape{
    "...####...", ".########.", "###oooo###", "####oo####",
    "###oooo###", ".########.", "...####...",
};

// A style with every length `scale` times as long.
SegmentStyle Scaled(const SegmentStyle &style, int scale)
{
    const QRectF box = style.box;
    return SegmentStyle{
        style.cell * scale,
        QRectF(box.x() * scale, box.y() * scale, box.width() * scale, box.height() * scale),
        style.thickness * scale, style.gap * scale, style.slant};
}

// A painter on `image` whose units are `scale` pixels.
class ScaledPainter : public QPainter
{
public:
    ScaledPainter(QImage &image, int scale) : QPainter(&image) { QPainter::scale(scale, scale); }

    // The pixels from `from` to `to` on one row or column, both included.
    void Line(QPoint from, QPoint to, QColor colour) { fillRect(QRect(from, to), colour); }
};

void Segments(QImage &image, QPoint origin, const SegmentStyle &style, unsigned segments,
              QColor colour, int scale)
{
    PaintSegments(image, origin * scale, Scaled(style, scale), segments, colour);
}

void Lettering(QImage &image, int centreX, int top, const QString &text, QColor colour, int scale,
               int dot = 1, int pitch = 1)
{
    PaintLetteringCentred(image, centreX * scale, top * scale, text, colour, dot * scale,
                          pitch * scale);
}

QImage DigitStrip(const SegmentStyle &style, QColor lit, int scale)
{
    QImage strip(2 * kCellWidth * scale, 10 * kCellHeight * scale, QImage::Format_RGB32);
    strip.fill(Qt::black);
    ScaledPainter(strip, scale)
        .fillRect(QRect(kCellWidth, 0, kCellWidth, 10 * kCellHeight), Qt::white);
    for (int d = 0; d < 10; ++d) {
        const int y = d * kCellHeight;
        Segments(strip, QPoint(0, y), style, SegmentsOfDigit(d), lit, scale);
        Segments(strip, QPoint(kCellWidth, y), style, SegmentsOfDigit(d), Qt::black, scale);
    }
    return strip;
}

// A dark recessed panel with a lighter lower-right edge.
void Panel(QImage &board, const QRect &rect, int scale)
{
    ScaledPainter painter(board, scale);
    painter.fillRect(rect, kPanel);
    painter.Line(rect.topLeft(), rect.topRight(), kBevelDark);
    painter.Line(rect.topLeft(), rect.bottomLeft(), kBevelDark);
    painter.Line(rect.bottomLeft() + QPoint(1, 0), rect.bottomRight(), kPanelEdgeLight);
    painter.Line(rect.topRight() + QPoint(0, 1), rect.bottomRight(), kPanelEdgeLight);
}

void Marker(QImage &image, QPoint origin, QColor leather, QColor laces, int scale)
{
    ScaledPainter painter(image, scale);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) {
            const char c = kMarkerShape[static_cast<std::size_t>(y)][x];
            if (c == '#')
                painter.fillRect(QRect(origin.x() + x, origin.y() + y, 1, 1), leather);
            else if (c == 'o')
                painter.fillRect(QRect(origin.x() + x, origin.y() + y, 1, 1), laces);
        }
    }
}

// Frame, name plates, score panels and team labels: what both boards share.
QImage BoardBase(int scale)
{
    QImage board(176 * scale, 80 * scale, QImage::Format_RGB32);
    board.fill(kBody);
    {
        ScaledPainter painter(board, scale);
        painter.Line(QPoint(0, 0), QPoint(175, 0), kBevelLight);
        painter.Line(QPoint(0, 0), QPoint(0, 79), kBevelLight);
        painter.Line(QPoint(1, 79), QPoint(175, 79), kBevelDark);
        painter.Line(QPoint(175, 1), QPoint(175, 79), kBevelDark);
        painter.fillRect(QRect(1, 1, 45, 12), kHomePlate);
        painter.fillRect(QRect(132, 1, 43, 12), kVisitorPlate);
    }
    Panel(board, QRect(0, 13, 55, 23), scale);
    Panel(board, QRect(121, 13, 55, 23), scale);
    for (const int x : kHomeScoreX)
        Segments(board, QPoint(x, kScoreY), kLargeStyle, SegmentsOfDigit(8), kLargeUnlit, scale);
    for (const int x : kVisitorScoreX)
        Segments(board, QPoint(x, kScoreY), kLargeStyle, SegmentsOfDigit(8), kLargeUnlit, scale);
    Lettering(board, 27, 38, QStringLiteral("HOME"), kHomeLabel, scale);
    Lettering(board, 148, 38, QStringLiteral("VISITOR"), kVisitorLabel, scale);
    return board;
}

void UnlitSmallDigit(QImage &board, int x, int y, int scale)
{
    Segments(board, QPoint(x, y), kSmallStyle, SegmentsOfDigit(8), kSmallUnlit, scale);
}

} // namespace

QImage SmallDigits(int scale)
{
    return DigitStrip(kSmallStyle, kSmallLit, scale);
}

QImage LargeDigits(int scale)
{
    return DigitStrip(kLargeStyle, kLargeLit, scale);
}

QImage PossessionMarker(int scale)
{
    QImage marker(10 * scale, 7 * scale, QImage::Format_RGB32);
    marker.fill(kPanel);
    Marker(marker, QPoint(0, 0), QColor(236, 128, 36), QColor(255, 250, 235), scale);
    return marker;
}

QImage LiveScoreboard(int scale)
{
    QImage board = BoardBase(scale);
    Marker(board, kHomeMarker, QColor(50, 28, 10), QColor(60, 52, 40), scale);
    Marker(board, kVisitorMarker, QColor(50, 28, 10), QColor(60, 52, 40), scale);

    Panel(board, QRect(58, 2, 61, 27), scale);
    for (const int x : kClockX)
        UnlitSmallDigit(board, x, kClockY, scale);
    {
        ScaledPainter painter(board, scale);
        painter.fillRect(QRect(87, 12, 2, 2), kSmallLit);
        painter.fillRect(QRect(87, 19, 2, 2), kSmallLit);
    }
    Lettering(board, 88, 31, QStringLiteral("CLOCK"), kLabel, scale);

    struct Field {
        QString label;
        int centre;
        QRect panel;
    };
    const std::array<Field, 4> fields{{
        {QStringLiteral("DOWN"), 21, QRect(13, 51, 17, 25)},
        {QStringLiteral("TO GO"), 65, QRect(50, 51, 30, 25)},
        {QStringLiteral("BALL ON"), 111, QRect(96, 51, 30, 25)},
        {QStringLiteral("QTR"), 154, QRect(146, 51, 17, 25)},
    }};
    for (const Field &field : fields) {
        Panel(board, field.panel, scale);
        Lettering(board, field.centre, 45, field.label, kLabel, scale);
    }
    UnlitSmallDigit(board, kDownX, kBottomY, scale);
    for (const int x : kToGoX)
        UnlitSmallDigit(board, x, kBottomY, scale);
    for (const int x : kBallOnX)
        UnlitSmallDigit(board, x, kBottomY, scale);
    UnlitSmallDigit(board, kQuarterX, kBottomY, scale);
    return board;
}

QImage FinalScoreboard(int scale)
{
    QImage board = BoardBase(scale);
    Panel(board, QRect(58, 2, 61, 27), scale);
    Lettering(board, 88, 11, QStringLiteral("FINAL"), kLargeLit, scale, 2, 2);
    Panel(board, QRect(13, 51, 150, 25), scale);
    Lettering(board, 88, 57, QStringLiteral("GAME OVER"), kSmallLit, scale, 2, 3);
    return board;
}

} // namespace pylonix::artwork
