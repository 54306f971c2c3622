// The scoreboard family: digit strips, the live and final boards and the
// possession marker. The boards carry dim "unlit" segments exactly where the
// header draws its digits, so that a digit the header leaves out (a leading
// zero) shows as a dark LED position, as on a stadium board.

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

QImage DigitStrip(const SegmentStyle &style, QColor lit)
{
    QImage strip(2 * kCellWidth, 10 * kCellHeight, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter(&strip).fillRect(QRect(kCellWidth, 0, kCellWidth, strip.height()), Qt::white);
    for (int d = 0; d < 10; ++d) {
        const int y = d * kCellHeight;
        PaintSegments(strip, QPoint(0, y), style, SegmentsOfDigit(d), lit);
        PaintSegments(strip, QPoint(kCellWidth, y), style, SegmentsOfDigit(d), Qt::black);
    }
    return strip;
}

// A dark recessed panel with a lighter lower-right edge.
void Panel(QImage &board, const QRect &rect)
{
    QPainter painter(&board);
    painter.fillRect(rect, kPanel);
    painter.setPen(kBevelDark);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(kPanelEdgeLight);
    painter.drawLine(rect.bottomLeft() + QPoint(1, 0), rect.bottomRight());
    painter.drawLine(rect.topRight() + QPoint(0, 1), rect.bottomRight());
}

void Marker(QImage &image, QPoint origin, QColor leather, QColor laces)
{
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) {
            const char c = kMarkerShape[static_cast<std::size_t>(y)][x];
            if (c == '#')
                image.setPixelColor(origin.x() + x, origin.y() + y, leather);
            else if (c == 'o')
                image.setPixelColor(origin.x() + x, origin.y() + y, laces);
        }
    }
}

// Frame, name plates, score panels and team labels: what both boards share.
QImage BoardBase()
{
    QImage board(176, 80, QImage::Format_RGB32);
    board.fill(kBody);
    {
        QPainter painter(&board);
        painter.setPen(kBevelLight);
        painter.drawLine(0, 0, 175, 0);
        painter.drawLine(0, 0, 0, 79);
        painter.setPen(kBevelDark);
        painter.drawLine(1, 79, 175, 79);
        painter.drawLine(175, 1, 175, 79);
        painter.fillRect(QRect(1, 1, 45, 12), kHomePlate);
        painter.fillRect(QRect(132, 1, 43, 12), kVisitorPlate);
    }
    Panel(board, QRect(0, 13, 55, 23));
    Panel(board, QRect(121, 13, 55, 23));
    for (const int x : kHomeScoreX)
        PaintSegments(board, QPoint(x, kScoreY), kLargeStyle, SegmentsOfDigit(8), kLargeUnlit);
    for (const int x : kVisitorScoreX)
        PaintSegments(board, QPoint(x, kScoreY), kLargeStyle, SegmentsOfDigit(8), kLargeUnlit);
    PaintLetteringCentred(board, 27, 38, QStringLiteral("HOME"), kHomeLabel);
    PaintLetteringCentred(board, 148, 38, QStringLiteral("VISITOR"), kVisitorLabel);
    return board;
}

void UnlitSmallDigit(QImage &board, int x, int y)
{
    PaintSegments(board, QPoint(x, y), kSmallStyle, SegmentsOfDigit(8), kSmallUnlit);
}

} // namespace

QImage SmallDigits()
{
    return DigitStrip(kSmallStyle, kSmallLit);
}

QImage LargeDigits()
{
    return DigitStrip(kLargeStyle, kLargeLit);
}

QImage PossessionMarker()
{
    QImage marker(10, 7, QImage::Format_RGB32);
    marker.fill(kPanel);
    Marker(marker, QPoint(0, 0), QColor(236, 128, 36), QColor(255, 250, 235));
    return marker;
}

QImage LiveScoreboard()
{
    QImage board = BoardBase();
    Marker(board, kHomeMarker, QColor(50, 28, 10), QColor(60, 52, 40));
    Marker(board, kVisitorMarker, QColor(50, 28, 10), QColor(60, 52, 40));

    Panel(board, QRect(58, 2, 61, 27));
    for (const int x : kClockX)
        UnlitSmallDigit(board, x, kClockY);
    {
        QPainter painter(&board);
        painter.fillRect(QRect(87, 12, 2, 2), kSmallLit);
        painter.fillRect(QRect(87, 19, 2, 2), kSmallLit);
    }
    PaintLetteringCentred(board, 88, 31, QStringLiteral("CLOCK"), kLabel);

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
        Panel(board, field.panel);
        PaintLetteringCentred(board, field.centre, 45, field.label, kLabel);
    }
    UnlitSmallDigit(board, kDownX, kBottomY);
    for (const int x : kToGoX)
        UnlitSmallDigit(board, x, kBottomY);
    for (const int x : kBallOnX)
        UnlitSmallDigit(board, x, kBottomY);
    UnlitSmallDigit(board, kQuarterX, kBottomY);
    return board;
}

QImage FinalScoreboard()
{
    QImage board = BoardBase();
    Panel(board, QRect(58, 2, 61, 27));
    PaintLetteringCentred(board, 88, 11, QStringLiteral("FINAL"), kLargeLit, 2, 2);
    Panel(board, QRect(13, 51, 150, 25));
    PaintLetteringCentred(board, 88, 57, QStringLiteral("GAME OVER"), kSmallLit, 2, 3);
    return board;
}

} // namespace pylonix::artwork
