#include "app/HeaderPainter.h"

#include "app/MainLayout.h"
#include "app/ResultCodeKey.h"

#include "platform/Artwork.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "platform/GdiPainting.h"
#include "platform/MaskedDraw.h"
#include "platform/QtConversions.h"
#include "views/ScoreboardDigits.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <span>

namespace
{

constexpr int kBoardLeft = 128;
constexpr int kBoardWidth = 176;
constexpr int kBoardHeight = 80;
constexpr int kDigitWidth = 11;
constexpr int kDigitHeight = 21;
constexpr int kHomeNameX = 151;
constexpr int kVisitorNameX = 282;
constexpr int kNameY = 2;
// The name plates of the scoreboard pictures, in header coordinates.
constexpr QRect kHomePlate(129, 1, 45, 12);
constexpr QRect kVisitorPlate(260, 1, 43, 12);
// The smallest pixel size a short name is shrunk to before it is cut.
constexpr int kSmallestNamePixels = 7;

constexpr std::array<int, 3> kHomeScoreX{128, 141, 154};
constexpr std::array<int, 3> kVisitorScoreX{259, 272, 285};
constexpr int kScoreY = 14;
constexpr std::array<int, 2> kMinutesX{189, 202};
constexpr std::array<int, 2> kSecondsX{219, 232};
constexpr int kClockY = 5;
constexpr int kBottomRowY = 53;
constexpr int kDownX = 144;
constexpr std::array<int, 2> kToGoX{181, 194};
constexpr std::array<int, 2> kBallOnX{227, 240};
constexpr int kQuarterX = 277;

// A scoreboard bitmap for a device of `ratio` pixels to the layout pixel.
QImage BoardBitmap(int id, int ratio)
{
    return LoadBitmapResourceForRatio(id, ratio);
}

// The pixels a painter's device has to the layout pixel: 2 from 2 on, else 1.
int RatioOf(const QPainter &painter)
{
    return painter.device() && painter.device()->devicePixelRatio() >= 2 ? 2 : 1;
}

// The scoreboard, names, digits and marker are composed on an off-screen image
// (the masked draw works on pixels) as wide as the board; the team names stay
// on their plates. On a screen of twice the pixel density the image has
// twice the pixels, at the same layout positions.
class BoardCanvas
{
public:
    BoardCanvas(int left, int right, int ratio)
        : m_left(left), m_image((right - left) * ratio, kBoardHeight * ratio, QImage::Format_RGB32)
    {
        m_image.setDevicePixelRatio(ratio);
        m_image.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
    }

    QImage &image() { return m_image; }
    int left() const { return m_left; }
    QPoint At(int x, int y) const { return QPoint(x - m_left, y); }

    // Digit `digit` of a strip made for this canvas's ratio (BoardBitmap).
    void Digit(const QImage &strip, int digit, int x, int y)
    {
        const int r = static_cast<int>(strip.devicePixelRatio());
        const int top = kDigitHeight * digit * r;
        DrawMasked(m_image, At(x, y), strip, QRect(0, top, kDigitWidth * r, kDigitHeight * r),
                   QRect(kDigitWidth * r, top, kDigitWidth * r, kDigitHeight * r));
    }

    // The last xs.size() digits of `value` at xs; with `skipLeadingZeros` a zero
    // is left out while no other digit stands to its left (the units always show).
    void Number(const QImage &strip, int value, std::span<const int> xs, int y,
                bool skipLeadingZeros)
    {
        int divisor = 1;
        for (std::size_t i = 1; i < xs.size(); ++i)
            divisor *= 10;
        bool drawn = false;
        for (std::size_t i = 0; i < xs.size(); ++i, divisor /= 10) {
            const int digit = value / divisor % 10;
            const bool units = i + 1 == xs.size();
            if (digit == 0 && skipLeadingZeros && !drawn && !units)
                continue;
            Digit(strip, digit, xs[i], y);
            drawn = true;
        }
    }

private:
    int m_left;
    QImage m_image;
};

// Where a text centred on `centreX` starts.
int CentredLeft(const QFontMetrics &metrics, const QString &text, int centreX)
{
    return centreX - metrics.horizontalAdvance(text) / 2;
}

void DrawTopLeftText(QPainter &painter, int x, int y, const QString &text, COLORREF colour)
{
    painter.setPen(ToQColor(colour));
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

// A short name as it fits its plate: the scoreboard's name face when the
// name fits, else a condensed face, else smaller sizes of it; a name that
// fits none is cut at the plate's edge.
QFont NameFontFor(const QString &name, int plateWidth)
{
    QFont font = CreatePointFont(QStringLiteral("Lucida Console"), 8, 700);
    if (QFontMetrics(font).horizontalAdvance(name) <= plateWidth)
        return font;
    QFont condensed(QStringLiteral("Liberation Sans Narrow"));
    condensed.setWeight(QFont::Bold);
    condensed.setKerning(false);
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= kSmallestNamePixels; --pixels) {
        condensed.setPixelSize(pixels);
        if (QFontMetrics(condensed).horizontalAdvance(name) <= plateWidth)
            break;
    }
    return condensed;
}

// Draws a short name centred on `centreX`, fitted to and kept inside `plate`,
// on the baseline of the scoreboard's name face.
void DrawShortName(QPainter &painter, const QString &name, int centreX, const QRect &plate)
{
    const QFont font = NameFontFor(name, plate.width());
    const QFontMetrics metrics(font);
    const int baseline =
        kNameY + QFontMetrics(CreatePointFont(QStringLiteral("Lucida Console"), 8, 700)).ascent();
    const int left = std::max(plate.left(), CentredLeft(metrics, name, centreX));
    painter.save();
    painter.setClipRect(plate);
    painter.setFont(font);
    painter.setPen(ToQColor(RGB(255, 255, 255)));
    painter.drawText(QPoint(left, baseline), name);
    painter.restore();
}

void PaintScoreboard(QPainter &painter, const HeaderState &state)
{
    const ScoreboardState values = ScoreboardForDrawing(state.scoreboard);
    const QString homeName = QString::fromStdString(state.homeShortName);
    const QString visitorName = QString::fromStdString(state.visitorShortName);

    const int ratio = RatioOf(painter);
    BoardCanvas canvas(kBoardLeft, kBoardLeft + kBoardWidth, ratio);
    {
        QPainter board(&canvas.image());
        board.drawImage(canvas.At(kBoardLeft, 0), BoardBitmap(values.final ? 152 : 143, ratio));
        board.translate(-canvas.left(), 0);
        DrawShortName(board, homeName, kHomeNameX, kHomePlate);
        DrawShortName(board, visitorName, kVisitorNameX, kVisitorPlate);
    }

    const QImage large = BoardBitmap(142, ratio);
    canvas.Number(large, values.homeScore, kHomeScoreX, kScoreY, true);
    canvas.Number(large, values.visitorScore, kVisitorScoreX, kScoreY, true);

    if (!values.final) {
        QPainter(&canvas.image())
            .drawImage(canvas.At(values.homeHasBall ? 171 : 251, 21), BoardBitmap(144, ratio));
        const QImage small = BoardBitmap(141, ratio);
        canvas.Number(small, values.minutes, kMinutesX, kClockY, false);
        canvas.Number(small, values.seconds, kSecondsX, kClockY, false);
        canvas.Digit(small, values.down % 10, kDownX, kBottomRowY);
        canvas.Number(small, values.toGo, kToGoX, kBottomRowY, true);
        canvas.Number(small, values.ballOn, kBallOnX, kBottomRowY, true);
        canvas.Digit(small, values.quarter % 10, kQuarterX, kBottomRowY);
    }
    painter.drawImage(QPoint(canvas.left(), 0), canvas.image());
}

// A masked picture on the button face, drawn at `at`.
// On a screen of twice the pixel density the picture drawn at twice the size.
void PaintMaskedPicture(QPainter &painter, int id, QPoint at)
{
    const QImage pair = LoadBitmapResourceForRatio(id, RatioOf(painter));
    const int width = pair.width() / 2;
    QImage picture(width, pair.height(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(pair.devicePixelRatio());
    picture.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
    DrawMasked(picture, QPoint(0, 0), pair, QRect(0, 0, width, pair.height()),
               QRect(width, 0, width, pair.height()));
    painter.drawImage(at, picture);
}

// A framed box from (left, 60) to (right, bottom) filled inside with `fill`.
void LegendBox(QPainter &painter, int left, int right, int bottom, COLORREF frame, COLORREF fill)
{
    FrameRect(painter, CRect(left, 60, right, bottom), frame);
    FillSolidRect(painter, CRect(left + 1, 61, right - 1, bottom - 1), fill);
}

void PaintTeamLegend(QPainter &painter, const HeaderState &state, const QFont &boldFont)
{
    painter.setFont(boldFont);
    const QFontMetrics metrics(boldFont);
    const QString home = QString::fromStdString(state.homeShortName);
    const QString visitor = QString::fromStdString(state.visitorShortName);
    const int w1 = metrics.horizontalAdvance(home);
    const int w2 = metrics.horizontalAdvance(visitor);
    const int h = metrics.height();
    const COLORREF black = RGB(0, 0, 0);

    const TeamColors homeColors = TeamColorsOf(0);
    const TeamColors visitorColors = TeamColorsOf(1);
    LegendBox(painter, 320, w1 + 324, h + 64, black, homeColors.background);
    DrawTopLeftText(painter, 322, 62, home, homeColors.text);
    LegendBox(painter, w1 + 328, w1 + w2 + 332, h + 64, black, visitorColors.background);
    DrawTopLeftText(painter, w1 + 330, 62, visitor, visitorColors.text);
    if (state.page != 64)
        return;

    const int left = w1 + w2 + 336;
    if (state.playsMode) {
        FillSolidRect(painter, CRect(left, 60, left + 4 + w2, h + 64), GetSysColor(COLOR_BTNFACE));
        return;
    }
    const QString lost = QStringLiteral("Lost Yds");
    const int w3 = metrics.horizontalAdvance(lost);
    LegendBox(painter, left, left + 4 + w3, h + 64, RGB(255, 0, 0), GetSysColor(COLOR_BTNFACE));
    DrawTopLeftText(painter, left + 2, 62, lost, black);
}

} // namespace

void PaintHeader(QPainter &painter, const HeaderState &state, const QFont &boldFont)
{
    painter.save();
    PaintScoreboard(painter, state);
    if (state.page == 2 || state.page == 4 || state.page == 8)
        PaintMaskedPicture(painter, 146, QPoint(312, 67));
    else if (state.page == 32)
        PaintResultCodeKey(painter, QPoint(320, 25), kContainerTop - 2, DialogFont());
    else if (state.page == 16 || state.page == 64)
        PaintTeamLegend(painter, state, boldFont);
    painter.restore();
}

QRect HeaderChangedRect(const HeaderState &shown, const HeaderState &next, int width)
{
    if (shown == next)
        return {};
    HeaderState boardOnly = shown;
    boardOnly.scoreboard = next.scoreboard;
    if (boardOnly == next)
        return QRect(kBoardLeft, 0, kBoardWidth, kContainerTop);
    return QRect(0, 0, width, kContainerTop);
}

QPixmap MakeButtonImage(const QString &caption, int bitmapId, qreal ratio)
{
    QImage icon = LoadBitmapResourceForRatio(bitmapId, ratio);
    const int r = static_cast<int>(icon.devicePixelRatio());
    // The masked draw works on pixels: icon and image meet at a ratio of 1.
    icon.setDevicePixelRatio(1);
    QImage image(125 * r, 21 * r, QImage::Format_RGB32);
    image.setDevicePixelRatio(r);
    {
        QPainter painter(&image);
        // The outline's right and bottom edges fall just outside the image.
        FillSolidRect(painter, CRect(0, 0, 126, 22), RGB(0, 0, 0));
        FillSolidRect(painter, CRect(1, 1, 125, 21), GetSysColor(COLOR_BTNFACE));
        painter.setFont(SystemFont());
        DrawTopLeftText(painter, 24, 4, caption, RGB(0, 0, 0));
    }
    image.setDevicePixelRatio(1);
    DrawMasked(image, QPoint(3 * r, 3 * r), icon, QRect(0, 0, 16 * r, 16 * r),
               QRect(16 * r, 0, 16 * r, 16 * r));
    image.setDevicePixelRatio(r);
    {
        QPainter painter(&image);
        const QPen shadow(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
        const QPen highlight(ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
        DrawLineTo(painter, shadow, 2, 18, 2, 2);
        DrawLineTo(painter, shadow, 2, 2, 19, 2);
        DrawLineTo(painter, highlight, 2, 19, 19, 19);
        DrawLineTo(painter, highlight, 19, 19, 19, 1);
    }
    return QPixmap::fromImage(image);
}
