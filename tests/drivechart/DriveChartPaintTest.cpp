// What the drive chart draws, checked on the client area's pixels. At client
// width 600 a yard is 5 pixels and the picture starts at x 0, so a position of
// y yards is at x = 5 (y + 10); row r spans y 20 + 9r .. 26 + 9r.
#include "DriveChartTestSupport.h"

#include <QImage>

namespace
{

const QRgb kGrass = ToQRgb(RGB(0, 128, 0));
const QRgb kWhite = ToQRgb(RGB(255, 255, 255));
const QRgb kBlack = ToQRgb(RGB(0, 0, 0));
const QRgb kRed = ToQRgb(RGB(255, 0, 0));
const QRgb kGrey = ToQRgb(RGB(128, 128, 128));
const QRgb kNavy = ToQRgb(RGB(0, 0, 128));
const QRgb kSelectedOutline = ToQRgb(RGB(128, 128, 255));
const QRgb kYellow = ToQRgb(RGB(255, 255, 0));

// Pixels in [x0, x1] x [y0, y1] that are near white (text is smoothed).
int Whitish(const QImage &image, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += qRed(image.pixel(x, y)) > 160 && qGreen(image.pixel(x, y)) > 160;
    return n;
}

// Row 0: a home drive 20 -> 65, an arrow to the right from x 150 to 375.
// Row 1: a visitor drive from its 20 to its 30 (home-relative 80 -> 70), an
//        arrow to the left from x 450 to 400.
// Row 2: a home drive 30 -> 25, lost ground: a box from x 175 to 200, red outline.
// Row 3: a home drive 42 -> 42 with no yards: an arrow one pixel wide at x 260.
// Row 4: a visitor drive 53 -> 53 (home-relative 47): a box one pixel wide at x 285.
const std::vector<DriveRecord> kShapes = {
    {'H', 20, 65, 45}, {'V', 20, 30, 10}, {'H', 30, 25, -5}, {'H', 42, 42, 0}, {'V', 53, 53, 0},
};

class DriveChartPaint : public DriveChartFixture
{
};

} // namespace

TEST_F(DriveChartPaint, AtWidth600TheFieldFillsTheClientAtFivePixelsAYard)
{
    Load(kShapes);
    SetClientSize(600, 400);
    EXPECT_EQ(view_->pixelsPerYard(), 5);
    EXPECT_EQ(view_->leftMargin(), 0);
    EXPECT_EQ(view_->YardToX(0), 50);
    EXPECT_EQ(view_->YardToX(100), 550);

    const QImage image = Grab();
    ASSERT_EQ(image.size(), QSize(600, 400));
    EXPECT_EQ(image.pixel(50, 200), kWhite) << "home goal line, full height";
    EXPECT_EQ(image.pixel(550, 200), kWhite) << "visitor goal line";
    EXPECT_EQ(image.pixel(75, 200), kWhite) << "the 5-yard line";
    EXPECT_EQ(image.pixel(49, 200), kGrass) << "the home end zone is grass too";
    EXPECT_EQ(image.pixel(51, 200), kGrass);
    EXPECT_EQ(image.pixel(2, 5), kGrass) << "the picture starts at x 0";
    EXPECT_EQ(image.pixel(599, 395), kGrass) << "and reaches the right edge";
    // The 1-yard tick covers y 0..9 at the top and the last 10 rows at the bottom.
    EXPECT_EQ(image.pixel(55, 0), kWhite);
    EXPECT_EQ(image.pixel(55, 9), kWhite);
    EXPECT_EQ(image.pixel(55, 10), kGrass);
    EXPECT_EQ(image.pixel(55, 389), kGrass);
    EXPECT_EQ(image.pixel(55, 390), kWhite);
    EXPECT_EQ(image.pixel(55, 399), kWhite);
    // "1" left of the 10-yard line (x 100), "0" right of it, above the bottom ticks.
    EXPECT_GT(Whitish(image, 88, 365, 98, 389), 5);
    EXPECT_GT(Whitish(image, 102, 365, 112, 389), 5);
    EXPECT_EQ(Whitish(image, 88, 300, 98, 360), 0) << "nothing above the numbers";
    // The home short name stands in the left end zone, the visitor's in the right.
    EXPECT_GT(Whitish(image, 5, 150, 34, 250), 20);
    EXPECT_GT(Whitish(image, 566, 150, 595, 250), 20);
}

TEST_F(DriveChartPaint, AtWidth200TheScaleIsRaisedToTwoAndTheFieldOverhangsBothSides)
{
    Load(kShapes);
    SetClientSize(200, 300);
    EXPECT_EQ(view_->pixelsPerYard(), 2) << "200 / 120 is 1, raised to 2";
    EXPECT_EQ(view_->leftMargin(), -20) << "(200 - 240) / 2";
    EXPECT_EQ(view_->YardToX(0), 0);
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(0, 150), kWhite) << "the home goal line lands on the left edge";
    EXPECT_EQ(image.pixel(1, 150), kGrass);
    EXPECT_EQ(image.pixel(190, 150), kWhite) << "the 95-yard line";
}

TEST_F(DriveChartPaint, ArrowsPointTheWayTheDriveWent)
{
    Load(kShapes);
    SetClientSize(600, 400);
    EXPECT_EQ(data_.item(0).hitRect, CRect(150, 20, 376, 27));
    EXPECT_EQ(*view_->ArrowPoints(0),
              QPolygon({{150, 20}, {370, 20}, {375, 23}, {370, 26}, {150, 26}}));
    EXPECT_EQ(data_.item(1).hitRect, CRect(400, 29, 451, 36));
    EXPECT_EQ(*view_->ArrowPoints(1),
              QPolygon({{450, 29}, {405, 29}, {400, 32}, {405, 35}, {450, 35}}));

    const QImage image = Grab();
    EXPECT_EQ(image.pixel(210, 23), kWhite) << "home drives are filled white";
    EXPECT_EQ(image.pixel(210, 20), kBlack) << "outlined black for a gain";
    EXPECT_EQ(image.pixel(375, 23), kBlack) << "the tip of the right-pointing head";
    EXPECT_EQ(image.pixel(374, 20), kGrass) << "no corner beside the head";
    EXPECT_EQ(image.pixel(376, 23), kGrass);
    EXPECT_EQ(image.pixel(430, 32), kGrey) << "visitor drives are filled grey";
    EXPECT_EQ(image.pixel(400, 32), kBlack) << "the tip of the left-pointing head";
    EXPECT_EQ(image.pixel(401, 29), kGrass);
    EXPECT_EQ(image.pixel(450, 29), kBlack) << "the square tail on the right";
}

TEST_F(DriveChartPaint, LostGroundIsABoxAndEqualYardsAOnePixelMark)
{
    Load(kShapes);
    SetClientSize(600, 400);
    EXPECT_FALSE(view_->ArrowPoints(2)) << "lost ground is drawn as a box";
    EXPECT_EQ(data_.item(2).hitRect, CRect(175, 38, 201, 45));
    EXPECT_EQ(data_.item(3).hitRect, CRect(260, 47, 261, 54)) << "one pixel wide";
    EXPECT_EQ(data_.item(4).hitRect, CRect(285, 56, 286, 63));

    const QImage image = Grab();
    for (const QPoint &edge : {QPoint(175, 41), QPoint(200, 41), QPoint(185, 38), QPoint(185, 44)})
        EXPECT_EQ(image.pixel(edge), kRed) << "box edge at " << edge.x() << "," << edge.y();
    EXPECT_EQ(image.pixel(185, 41), kWhite) << "box inside";
    EXPECT_EQ(image.pixel(185, 45), kGrass) << "the bottom edge is excluded";
    for (int y = 47; y <= 53; ++y)
        EXPECT_EQ(image.pixel(260, y), kRed) << "mark of the no-gain arrow at y " << y;
    EXPECT_EQ(image.pixel(259, 50), kGrass);
    EXPECT_EQ(image.pixel(261, 50), kGrass);
    for (int y = 56; y <= 62; ++y)
        EXPECT_EQ(image.pixel(285, y), kRed) << "mark of the no-gain box at y " << y;
    EXPECT_EQ(image.pixel(284, 59), kGrass);
    EXPECT_EQ(image.pixel(286, 59), kGrass);
}

TEST_F(DriveChartPaint, SelectionIsNavyAndTheHoveredEntryYellowOutlined)
{
    Load(kShapes);
    SetClientSize(600, 400);
    view_->Select(0);
    QImage image = Grab();
    EXPECT_EQ(image.pixel(210, 23), kNavy);
    EXPECT_EQ(image.pixel(210, 20), kSelectedOutline);

    MoveMouseTo(CentreOf(1));
    image = Grab();
    EXPECT_EQ(image.pixel(430, 32), kGrey) << "a hovered entry keeps its fill";
    EXPECT_EQ(image.pixel(430, 29), kYellow);
    EXPECT_EQ(image.pixel(210, 20), kSelectedOutline);

    MoveMouseTo(CentreOf(0));
    image = Grab();
    EXPECT_EQ(image.pixel(210, 23), kNavy) << "hovering the selected entry";
    EXPECT_EQ(image.pixel(210, 20), kYellow);
    EXPECT_EQ(image.pixel(430, 29), kBlack) << "the entry left behind loses the yellow";
}

TEST_F(DriveChartPaint, WhileScrollingNothingIsDrawnBelowTheRowArea)
{
    LoadUniform(30);
    SetClientSize(600, 250);
    ASSERT_TRUE(view_->scrolling());
    const QImage image = Grab();
    // 22 rows: the last spans y 209..215; the rows start at 20 + 9r.
    EXPECT_EQ(image.pixel(170, 212), kWhite) << "the last visible row";
    EXPECT_EQ(image.pixel(170, 221), kGrass) << "no 23rd row";
}

// Spots at the ends of the int range are placed at the farthest yard a
// position may lie at: every pixel computed from them stays in range (the
// sanitizer build runs this), and the entry lies off the picture.
TEST_F(DriveChartPaint, ExtremeSpotsAreDrawnAtTheFarthestYard)
{
    Load({{'H', 2147483647, 2147483647, 2147483647}, {'V', -2147483647, 2147483647, 0}});
    SetClientSize(600, 400);
    const QImage image = Grab();
    const int farthestX = 5 * (CDriveChartData::farthestYard + 10);
    EXPECT_EQ(data_.item(0).hitRect.left, farthestX);
    EXPECT_EQ(data_.item(1).hitRect.left, 5 * (-CDriveChartData::farthestYard + 10));
    EXPECT_EQ(data_.item(1).hitRect.right, farthestX + 1);
    EXPECT_EQ(image.pixel(302, 23), kGrass) << "nothing of the first entry on the field";
}
