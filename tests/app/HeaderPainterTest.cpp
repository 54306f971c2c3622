// The header of the main window and the page-button images, checked pixel by
// pixel against the bitmaps they are made of.
#include "app/HeaderPainter.h"

#include "../support/ScratchDirectory.h"
#include "gamedata/CGameDocument.h"

#include "platform/Artwork.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "platform/MaskedDraw.h"
#include "platform/QtConversions.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <array>
#include <gtest/gtest.h>
#include <optional>

namespace
{

constexpr int kBoardLeft = 128;
const QRgb kFace = ToQRgb(GetSysColor(COLOR_BTNFACE));

QFont LegendFont()
{
    return CreatePointFont(QStringLiteral("MS Sans Serif"), 8, 700);
}

// The header painted on a button-face background wide enough for the legends.
QImage Paint(const HeaderState &state)
{
    QImage header(700, 100, QImage::Format_RGB32);
    header.fill(kFace);
    QPainter painter(&header);
    PaintHeader(painter, state, LegendFont());
    return header;
}

// A live game with nothing but zeros, no names and the home team on offence.
HeaderState LiveState()
{
    HeaderState state;
    state.page = 1;
    return state;
}

// The 11x21 cell at header (x, y) as it must look: the scoreboard's own pixels,
// with `digit` of `strip` drawn masked over them when given.
QImage ExpectedCell(int boardId, std::optional<int> digit, int stripId, int x, int y)
{
    QImage cell = LoadBitmapResource(boardId).copy(x - kBoardLeft, y, 11, 21);
    if (digit)
        DrawMasked(cell, QPoint(0, 0), LoadBitmapResource(stripId), QRect(0, 21 * *digit, 11, 21),
                   QRect(11, 21 * *digit, 11, 21));
    return cell;
}

// Checks the cell at (x, y): `digit` drawn there, or nothing (std::nullopt).
void ExpectCell(const QImage &header, int boardId, int stripId, int x, int y,
                std::optional<int> digit)
{
    const QImage expected = ExpectedCell(boardId, digit, stripId, x, y);
    EXPECT_EQ(header.copy(x, y, 11, 21), expected)
        << "cell at (" << x << ", " << y << ") should show "
        << (digit ? std::to_string(*digit) : std::string("no digit"));
}

void ExpectLarge(const QImage &header, int x, std::optional<int> digit, int board = 143)
{
    ExpectCell(header, board, 142, x, 14, digit);
}

void ExpectSmall(const QImage &header, int x, int y, std::optional<int> digit)
{
    ExpectCell(header, 143, 141, x, y, digit);
}

constexpr std::nullopt_t kNone = std::nullopt;

TEST(HeaderScores, AreDrawnInLargeDigitsWithoutLeadingZeros)
{
    HeaderState state = LiveState();
    state.scoreboard.homeScore = 0;
    state.scoreboard.visitorScore = 7;
    QImage header = Paint(state);
    ExpectLarge(header, 128, kNone);
    ExpectLarge(header, 141, kNone);
    ExpectLarge(header, 154, 0); // the units digit always shows
    ExpectLarge(header, 259, kNone);
    ExpectLarge(header, 272, kNone);
    ExpectLarge(header, 285, 7);

    state.scoreboard.homeScore = 105;
    state.scoreboard.visitorScore = 30;
    header = Paint(state);
    ExpectLarge(header, 128, 1);
    ExpectLarge(header, 141, 0); // a zero after a drawn digit is drawn
    ExpectLarge(header, 154, 5);
    ExpectLarge(header, 259, kNone);
    ExpectLarge(header, 272, 3);
    ExpectLarge(header, 285, 0);
}

TEST(HeaderClock, AlwaysShowsBothDigitsOfMinutesAndSeconds)
{
    // A "9:05" clock is not five characters long: the loader leaves it at 0.
    HeaderState state = LiveState();
    QImage header = Paint(state);
    for (const int x : {189, 202, 219, 232})
        ExpectSmall(header, x, 5, 0);

    state.scoreboard.minutes = 9;
    state.scoreboard.seconds = 5;
    header = Paint(state);
    ExpectSmall(header, 189, 5, 0);
    ExpectSmall(header, 202, 5, 9);
    ExpectSmall(header, 219, 5, 0);
    ExpectSmall(header, 232, 5, 5);
}

// The scoreboard as the loader reads it from a game file with these plays.
ScoreboardState ReadScoreboard(const std::string &plays)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_TRUE(document.Open(dir.Write("game.xml", R"(<fbgame><venue><rules qtrs="4"/></venue>
        <team vh="H"><linescore score="7"/></team><team vh="V"><linescore score="0"/></team>
        <plays>)" + plays + "</plays></fbgame>")));
    ScoreboardState scoreboard;
    scoreboard.Read(document);
    return scoreboard;
}

TEST(HeaderFromGameFile, ShortClockShowsZerosAndTheFinalFlagHidesIt)
{
    HeaderState state = LiveState();
    state.scoreboard = ReadScoreboard(R"(<qtr number="2"><score V="0" H="7"/></qtr>
        <downtogo qtr="2" clock="9:05" context="V,1,10,V25"/>)");
    QImage header = Paint(state);
    for (const int x : {189, 202, 219, 232})
        ExpectSmall(header, x, 5, 0);
    ExpectLarge(header, 154, 7);
    ExpectSmall(header, 277, 53, 2);
    EXPECT_EQ(header.copy(251, 21, 10, 7), LoadBitmapResource(144));

    state.scoreboard = ReadScoreboard(R"(<qtr number="4"><score V="0" H="7" final="Y"/></qtr>
        <downtogo qtr="4" clock="00:00" context="V,1,10,V25"/>)");
    header = Paint(state);
    ExpectLarge(header, 154, 7, 152);
    for (const int x : {189, 202, 219, 232})
        ExpectCell(header, 152, 141, x, 5, kNone);
    ExpectCell(header, 152, 141, 277, 53, kNone);
}

TEST(HeaderDownAndDistance, DigitsAndLeadingZeroRules)
{
    HeaderState state = LiveState();
    state.scoreboard.down = 3;
    state.scoreboard.toGo = 0;
    state.scoreboard.ballOn = 35;
    state.scoreboard.quarter = 4;
    QImage header = Paint(state);
    ExpectSmall(header, 144, 53, 3);
    ExpectSmall(header, 181, 53, kNone);
    ExpectSmall(header, 194, 53, 0); // yards to go 0 shows as 0
    ExpectSmall(header, 227, 53, 3);
    ExpectSmall(header, 240, 53, 5);
    ExpectSmall(header, 277, 53, 4);

    state.scoreboard.toGo = 10;
    state.scoreboard.ballOn = 5;
    header = Paint(state);
    ExpectSmall(header, 181, 53, 1);
    ExpectSmall(header, 194, 53, 0);
    ExpectSmall(header, 227, 53, kNone);
    ExpectSmall(header, 240, 53, 5);
}

TEST(HeaderDigits, ValuesBeyondTheCellsStayInsideTheDigitStrips)
{
    HeaderState state = LiveState();
    state.scoreboard.homeScore = 1000;  // more than three cells hold: the largest they can
    state.scoreboard.visitorScore = -5; // below zero: 0
    state.scoreboard.minutes = -9;
    state.scoreboard.seconds = -9;
    state.scoreboard.down = -1;
    state.scoreboard.toGo = 250;
    state.scoreboard.quarter = 12;
    const QImage header = Paint(state);
    ExpectLarge(header, 128, 9);
    ExpectLarge(header, 141, 9);
    ExpectLarge(header, 154, 9);
    ExpectLarge(header, 272, kNone);
    ExpectLarge(header, 285, 0);
    for (const int x : {189, 202, 219, 232})
        ExpectSmall(header, x, 5, 0);
    ExpectSmall(header, 144, 53, 0);
    ExpectSmall(header, 181, 53, 9);
    ExpectSmall(header, 194, 53, 9);
    ExpectSmall(header, 277, 53, 9);
}

TEST(HeaderPossession, MarkerSitsBesideTheTeamWithTheBall)
{
    const QImage marker = LoadBitmapResource(144);
    const QImage board = LoadBitmapResource(143);
    HeaderState state = LiveState();
    state.scoreboard.homeHasBall = 1;
    QImage header = Paint(state);
    EXPECT_EQ(header.copy(171, 21, 10, 7), marker);
    EXPECT_EQ(header.copy(251, 21, 10, 7), board.copy(251 - kBoardLeft, 21, 10, 7));

    state.scoreboard.homeHasBall = 0;
    header = Paint(state);
    EXPECT_EQ(header.copy(251, 21, 10, 7), marker);
    EXPECT_EQ(header.copy(171, 21, 10, 7), board.copy(171 - kBoardLeft, 21, 10, 7));
}

TEST(HeaderFinal, ShowsTheFinalBoardWithScoresOnly)
{
    HeaderState state = LiveState();
    state.scoreboard.final = 1;
    state.scoreboard.homeScore = 21;
    state.scoreboard.visitorScore = 3;
    state.scoreboard.minutes = 12;
    state.scoreboard.seconds = 34;
    state.scoreboard.down = 2;
    state.scoreboard.toGo = 7;
    state.scoreboard.ballOn = 45;
    state.scoreboard.quarter = 4;
    const QImage header = Paint(state);

    // Exactly the final board with the two scores: no clock, down, distance,
    // ball-on line, quarter or possession marker anywhere on it.
    QImage expected = LoadBitmapResource(152);
    const QImage large = LoadBitmapResource(142);
    const auto digit = [&](int d, int x) {
        DrawMasked(expected, QPoint(x - kBoardLeft, 14), large, QRect(0, 21 * d, 11, 21),
                   QRect(11, 21 * d, 11, 21));
    };
    digit(2, 141);
    digit(1, 154);
    digit(3, 285);
    EXPECT_EQ(header.copy(kBoardLeft, 0, 176, 80), expected);
}

// The bounding box of the pure white pixels in the rectangle.
QRect WhitePixels(const QImage &image, const QRect &area)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                found |= QRect(x, y, 1, 1);
    return found;
}

TEST(HeaderNames, AreWhiteAndCentredAboveTheScores)
{
    HeaderState state = LiveState();
    state.homeShortName = "HAWKS";
    state.visitorShortName = "OWLS";
    const QImage header = Paint(state);
    const QRect home = WhitePixels(header, QRect(110, 0, 90, 14));
    const QRect visitor = WhitePixels(header, QRect(240, 0, 90, 14));
    ASSERT_FALSE(home.isEmpty());
    ASSERT_FALSE(visitor.isEmpty());
    EXPECT_GE(home.top(), 2);
    EXPECT_NEAR(home.center().x(), 151, 2);
    EXPECT_NEAR(visitor.center().x(), 282, 2);
    // The live board itself has no pure white: without names there is none.
    EXPECT_TRUE(WhitePixels(Paint(LiveState()), QRect(110, 0, 220, 14)).isEmpty());
}

TEST(HeaderNames, LongNamesAreFittedToTheirPlatesAndNeverPass)
{
    const QRect homePlate(129, 1, 45, 12);
    const QRect visitorPlate(260, 1, 43, 12);
    const QImage bare = Paint(LiveState());
    for (const char *name : {"BLUEHAWKS", "NORTHWESTERN STATE"}) {
        HeaderState state = LiveState();
        state.homeShortName = name;
        state.visitorShortName = name;
        const QImage header = Paint(state);
        // Every pixel the names change lies on the plate of its side.
        std::array<QRect, 2> changed;
        for (int y = 0; y < 30; ++y)
            for (int x = 100; x < 340; ++x)
                if (header.pixel(x, y) != bare.pixel(x, y))
                    changed[x < 217 ? 0 : 1] |= QRect(x, y, 1, 1);
        EXPECT_TRUE(homePlate.contains(changed[0])) << name;
        EXPECT_TRUE(visitorPlate.contains(changed[1])) << name;
        // Shrunk, not left out: each name spans most of its plate.
        EXPECT_GE(changed[0].width(), homePlate.width() / 2) << name;
        EXPECT_GE(changed[1].width(), visitorPlate.width() / 2) << name;
    }
}

TEST(HeaderScoreboard, OnADoubleDensityScreenIsDrawnFromTheDoubleSizeArtwork)
{
    QImage header(1400, 200, QImage::Format_RGB32);
    header.setDevicePixelRatio(2);
    header.fill(kFace);
    {
        QPainter painter(&header);
        PaintHeader(painter, LiveState(), LegendFont());
    }
    const QImage board = LoadDoubleSizeBitmapResource(143);
    ASSERT_EQ(board.size(), QSize(352, 160));
    // The unlit first "to go" digit at layout (181, 53), 11 x 21, left as the
    // board draws it: the double-size board's pixels, at twice the position.
    const QRect cell(2 * (181 - kBoardLeft), 2 * 53, 22, 42);
    QImage shown = header.copy(cell.translated(2 * kBoardLeft, 0));
    shown.setDevicePixelRatio(1);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              board.copy(cell).convertToFormat(QImage::Format_RGB32));
    // Which is finer than the small board enlarged.
    const QImage enlarged =
        LoadBitmapResource(143).copy(181 - kBoardLeft, 53, 11, 21).scaled(22, 42);
    EXPECT_NE(board.copy(cell).convertToFormat(QImage::Format_RGB32),
              enlarged.convertToFormat(QImage::Format_RGB32));
}

// `id` drawn masked on the button face, as the header must show it.
QImage MaskedOnFace(int id)
{
    const QImage pair = LoadBitmapResource(id);
    const int w = pair.width() / 2;
    QImage picture(w, pair.height(), QImage::Format_RGB32);
    picture.fill(kFace);
    DrawMasked(picture, QPoint(0, 0), pair, QRect(0, 0, w, pair.height()),
               QRect(w, 0, w, pair.height()));
    return picture;
}

bool AllFace(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kFace)
                return false;
    return true;
}

TEST(HeaderPictures, LegendOnStatisticsPagesAndKeyOnPlayByPlay)
{
    HeaderState state = LiveState();
    for (const int page : {2, 4, 8}) {
        state.page = page;
        const QImage header = Paint(state);
        EXPECT_EQ(header.copy(312, 67, 213, 11), MaskedOnFace(146)) << "page " << page;
        EXPECT_TRUE(AllFace(header.copy(320, 25, 94, 42))) << "page " << page;
    }
    state.page = 32;
    QImage header = Paint(state);
    // The key to the result codes is readable: its text is as tall as the
    // dialog font's, and all of it stays in the header.
    int tallestInk = 0;
    for (int y = 0, run = 0; y < 80; ++y) {
        int dark = 0;
        for (int x = 323; x < 420; ++x)
            dark += qGray(header.pixel(x, y)) < 100 ? 1 : 0;
        run = dark > 0 && dark < 420 - 323 ? run + 1 : 0; // not the frame's lines
        tallestInk = std::max(tallestInk, run);
    }
    EXPECT_GE(tallestInk, QFontMetrics(DialogFont()).height() * 2 / 3);
    EXPECT_TRUE(AllFace(header.copy(304, 80, 396, 20))) << "nothing below the header";

    state.page = 1;
    header = Paint(state);
    EXPECT_TRUE(AllFace(header.copy(304, 0, 396, 100)));
}

TEST(HeaderTeamLegend, BoxesForBothTeamsAndLostYardsOnDriveCharts)
{
    HeaderState state = LiveState();
    state.homeShortName = "HAWKS";
    state.visitorShortName = "OWLS";
    const QFontMetrics metrics(LegendFont());
    const int w1 = metrics.horizontalAdvance(QStringLiteral("HAWKS"));
    const int w2 = metrics.horizontalAdvance(QStringLiteral("OWLS"));
    const int h = metrics.height();
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb red = qRgb(255, 0, 0);
    const int left = w1 + w2 + 336;

    state.page = 16;
    QImage header = Paint(state);
    // Home: black frame (320, 60)-(w1 + 324, h + 64), white inside.
    EXPECT_EQ(header.pixel(320, 60), black);
    EXPECT_EQ(header.pixel(w1 + 323, h + 63), black);
    EXPECT_EQ(header.pixel(w1 + 324, 60), kFace);
    EXPECT_EQ(header.pixel(321, 61), white);
    EXPECT_EQ(header.pixel(w1 + 322, h + 62), white);
    // Visitor: black frame, grey inside, its name in white.
    EXPECT_EQ(header.pixel(w1 + 328, 60), black);
    EXPECT_EQ(header.pixel(w1 + w2 + 331, h + 63), black);
    EXPECT_EQ(header.pixel(w1 + 329, 61), grey);
    EXPECT_FALSE(WhitePixels(header, QRect(w1 + 330, 62, w2, h)).isEmpty());
    // The home name is black on white.
    int dark = 0;
    for (int x = 322; x < 322 + w1; ++x)
        for (int y = 62; y < 62 + h; ++y)
            dark += qGray(header.pixel(x, y)) < 64;
    EXPECT_GT(dark, 10);
    // No third box on the Scoring page.
    EXPECT_TRUE(AllFace(header.copy(left, 55, 80, 30)));

    state.page = 64;
    header = Paint(state);
    const int w3 = metrics.horizontalAdvance(QStringLiteral("Lost Yds"));
    EXPECT_EQ(header.pixel(left, 60), red);
    EXPECT_EQ(header.pixel(left + 3 + w3, h + 63), red);
    EXPECT_EQ(header.pixel(left + 1, 61), kFace);

    state.playsMode = true;
    header = Paint(state);
    EXPECT_TRUE(AllFace(header.copy(left, 55, 80, 30)));
    EXPECT_EQ(header.pixel(w1 + 328, 60), black); // the team boxes stay
}

TEST(ButtonImage, FrameIconAndCaptionInPlace)
{
    const QImage image = MakeButtonImage(QStringLiteral("Offense"), 136)
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(125, 21));
    const QRgb black = qRgb(0, 0, 0);
    const QRgb shadow = ToQRgb(GetSysColor(COLOR_BTNSHADOW));
    const QRgb highlight = ToQRgb(GetSysColor(COLOR_BTNHIGHLIGHT));

    // The outline's top and left edges are inside the image, the others outside.
    EXPECT_EQ(image.pixel(0, 0), black);
    EXPECT_EQ(image.pixel(124, 0), black);
    EXPECT_EQ(image.pixel(0, 20), black);
    EXPECT_EQ(image.pixel(124, 20), kFace);
    EXPECT_EQ(image.pixel(124, 10), kFace);

    // The sunken frame round the icon: shadow left and top, highlight right and bottom.
    for (int i = 2; i <= 18; ++i) {
        EXPECT_EQ(image.pixel(2, i), shadow) << "left edge at y " << i;
        EXPECT_EQ(image.pixel(i, 2), shadow) << "top edge at x " << i;
        EXPECT_EQ(image.pixel(19, i + 1), highlight) << "right edge at y " << i + 1;
        EXPECT_EQ(image.pixel(i, 19), highlight) << "bottom edge at x " << i;
    }
    EXPECT_EQ(image.pixel(19, 1), kFace); // the last line stops short of its end point

    // The icon at (3, 3), drawn masked on the button face.
    EXPECT_EQ(image.copy(3, 3, 16, 16), MaskedOnFace(136));

    // The caption in black from (24, 4): dark pixels start there and not before.
    QRect text;
    for (int y = 1; y < 21; ++y)
        for (int x = 21; x < 124; ++x)
            if (qGray(image.pixel(x, y)) < 100)
                text |= QRect(x, y, 1, 1);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 24);
    EXPECT_LE(text.left(), 26);
    EXPECT_GE(text.top(), 4);
    EXPECT_LE(text.bottom(), 20);
    EXPECT_GT(text.width(), 25);
}

} // namespace

TEST(ButtonImage, AtTwiceThePixelDensityTheIconComesFromItsDoubleSizeBitmap)
{
    const QPixmap pixmap = MakeButtonImage(QStringLiteral("Offense"), 136, 2);
    EXPECT_EQ(pixmap.devicePixelRatio(), 2);
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(250, 42));
    image.setDevicePixelRatio(1);

    // The icon's place, (3, 3) in layout pixels, holds the double-size icon
    // drawn masked on the button face, pixel for pixel.
    const QImage pair = LoadDoubleSizeBitmapResource(136);
    ASSERT_EQ(pair.size(), QSize(64, 32));
    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(kFace);
    DrawMasked(expected, QPoint(0, 0), pair, QRect(0, 0, 32, 32), QRect(32, 0, 32, 32));
    int differing = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            differing += image.pixel(6 + x, 6 + y) != expected.pixel(x, y);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(LoadDoubleSizeBitmapResource(136).devicePixelRatio(), 1);
}
