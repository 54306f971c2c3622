// What the rows look like: selection, colours, grid lines, texts, check
// boxes, row header and focus arrow. Positions are in viewport pixels; every
// column is 60 pixels wide, so column c spans x 60c .. 60c + 59 and its grid
// line is at x 60c + 59; row r spans y rH .. rH + H - 1 (H = row height).
#include "GridTestSupport.h"

#include "platform/GdiPainting.h"
#include "platform/SystemMetrics.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

namespace
{

const QRgb kWhite = Px(GetSysColor(COLOR_WINDOW));
const QRgb kHighlight = Px(GetSysColor(COLOR_HIGHLIGHT));
const QRgb kShadow = Px(GetSysColor(COLOR_BTNSHADOW));
const QRgb kFace = Px(GetSysColor(COLOR_BTNFACE));
const QRgb kBlack = Px(RGB(0, 0, 0));
// The dotted focus frame inverts the highlight colour.
const QRgb kFocusDotOnHighlight = Px(RGB(255 - 10, 255 - 36, 255 - 106));

// Number of pixels of one colour inside a rectangle.
int CountPixels(const QImage &image, const QRect &rect, QRgb colour)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Number of dark (text-like) pixels inside a rectangle.
int CountDark(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += qGray(image.pixel(x, y)) < 100;
    return n;
}

class GridPaint : public GridFixture
{
protected:
    int H() const { return grid->GetRowHeight(); }
    int Mid(int row) const { return row * H() + H() / 2; }
};

TEST_F(GridPaint, FullRowSelectionHighlightsTheWholeRowAndNoSingleCell)
{
    Fill(3, 4);
    for (int c = 1; c < 4; ++c)
        grid->SetItemText(1, c, QString());
    grid->SetFlags(GLF_FULLROWSELECT);
    Show();
    ClickCell(1, 2);
    ASSERT_EQ(grid->GetFirstSelectedRow(), 1);
    EXPECT_EQ(grid->GetFocusColumn(), -1);
    const QImage image = Rows();

    // Every column of row 1 is highlighted, rows 0 and 2 are not.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(image.pixel(60 * c + 50, Mid(1)), kHighlight) << "column " << c;
        EXPECT_EQ(image.pixel(60 * c + 50, Mid(0)), kWhite) << "column " << c;
        EXPECT_EQ(image.pixel(60 * c + 50, Mid(2)), kWhite) << "column " << c;
    }
    // Where a frame round the clicked cell would run (2 pixels inside its
    // left edge) there is only highlight, on both dot phases.
    const int cellLeft = grid->GetCellRect(1, 2).left;
    EXPECT_EQ(image.pixel(cellLeft + 2, Mid(1)), kHighlight);
    EXPECT_EQ(image.pixel(cellLeft + 2, Mid(1) + 1), kHighlight);
    // The focus frame runs along the whole row, 2 pixels inside its top edge.
    EXPECT_GT(CountPixels(image, QRect(0, H() + 2, 240, 1), kFocusDotOnHighlight), 100);
}

TEST_F(GridPaint, SingleCellSelectionHighlightsTheClickedCellWithAFocusFrame)
{
    Fill(3, 4);
    grid->SetItemText(1, 2, QString());
    Show();
    ClickCell(1, 2);
    EXPECT_EQ(grid->GetFocusColumn(), 2);
    EXPECT_EQ(grid->GetSelectedColumn(), 2);
    const QImage image = Rows();
    EXPECT_EQ(image.pixel(170, Mid(1)), kHighlight);
    EXPECT_EQ(image.pixel(110, Mid(1)), kWhite); // column 1 of the same row
    EXPECT_EQ(image.pixel(230, Mid(1)), kWhite); // column 3
    // The frame 2 pixels inside the cell's left edge: one of two neighbours is a dot.
    const QRgb a = image.pixel(122, Mid(1));
    const QRgb b = image.pixel(122, Mid(1) + 1);
    EXPECT_TRUE(a == kFocusDotOnHighlight || b == kFocusDotOnHighlight);
}

TEST_F(GridPaint, SelectionIsHiddenWithoutFocusUnlessAlwaysShown)
{
    Fill(3, 2);
    grid->SetFlags(GLF_FULLROWSELECT);
    auto *other = new QLineEdit(window.get());
    other->setGeometry(0, 0, 10, 10);
    other->lower();
    Show();
    ClickCell(1, 1);
    other->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(grid->hasFocus());
    EXPECT_EQ(Rows().pixel(110, Mid(1)), kWhite);
    grid->SetShowSelectionAlways(true);
    EXPECT_EQ(Rows().pixel(110, Mid(1)), kHighlight);
}

TEST_F(GridPaint, CellsShowTheirOwnTextAndBackgroundColours)
{
    Fill(3, 3);
    grid->SetItemText(1, 1, "MMMM");
    grid->SetCellBkColor(1, 1, RGB(192, 255, 192));
    grid->SetCellTextColor(1, 1, RGB(255, 0, 0));
    Show();
    const QImage image = Rows();
    // Background right of the left-aligned text, and only in that cell.
    EXPECT_EQ(image.pixel(114, Mid(1)), Px(RGB(192, 255, 192)));
    EXPECT_EQ(image.pixel(54, Mid(1)), kWhite);
    EXPECT_EQ(image.pixel(114, Mid(0)), kWhite);
    // The text's pixels are red (at least mostly, where smoothed into the
    // background); none is black.
    const QRect text(63, H(), 40, H() - 1);
    int reddish = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            reddish += qRed(image.pixel(x, y)) - qGreen(image.pixel(x, y)) > 80;
    EXPECT_GT(reddish, 5);
    EXPECT_EQ(CountPixels(image, text, kBlack), 0);
}

TEST_F(GridPaint, GridLinesAndTheirOuterEdges)
{
    Fill(3, 3);
    Show();
    const int lastBottom = 3 * H() - 1;
    auto lines = [&](std::uint32_t flags) {
        grid->SetFlags(flags);
        const QImage image = Rows();
        return std::array<QRgb, 4>{image.pixel(59, Mid(1)),      // between columns 0 and 1
                                   image.pixel(179, Mid(1)),     // right of the last column
                                   image.pixel(55, H() - 1),     // between rows 0 and 1
                                   image.pixel(55, lastBottom)}; // below the last row
    };
    using Px4 = std::array<QRgb, 4>;
    EXPECT_EQ(lines(0), (Px4{kShadow, kShadow, kShadow, kShadow}));
    // Without horizontal lines the last row still has its bottom line.
    EXPECT_EQ(lines(GLF_NOHORZLINES), (Px4{kShadow, kShadow, kWhite, kShadow}));
    // Without vertical lines the last column still has its right line.
    EXPECT_EQ(lines(GLF_NOVERTLINES), (Px4{kWhite, kShadow, kShadow, kShadow}));
    EXPECT_EQ(lines(GLF_NOHORZLINES | GLF_NOVERTLINES), (Px4{kWhite, kWhite, kWhite, kWhite}));

    grid->SetGridPen(Qt::SolidLine, 1, RGB(0, 0, 0));
    EXPECT_EQ(lines(0), (Px4{kBlack, kBlack, kBlack, kBlack}));
}

TEST_F(GridPaint, TooltipOnlyForTextsThatDoNotFit)
{
    Fill(2, 3);
    const QFontMetrics metrics(grid->font());
    const int space = metrics.horizontalAdvance(QLatin1Char(' '));
    const QString text = "Touchdown";
    grid->SetItemText(0, 1, text);
    grid->SetItemText(0, 0, text);
    // Column 1 exactly as wide as the text with its margins; column 0 has the
    // icon edge on top.
    grid->SetColumnWidth(1, metrics.horizontalAdvance(text) + 2 * space);
    grid->SetColumnWidth(0, metrics.horizontalAdvance(text) + 2 * space + SM_CXEDGE + 2);
    Show();
    EXPECT_EQ(grid->CellToolTip(CellCentre(0, 1)), QString());
    EXPECT_EQ(grid->CellToolTip(CellCentre(0, 0)), QString());

    grid->SetColumnWidth(1, grid->GetColumnWidth(1) - 1);
    EXPECT_EQ(grid->CellToolTip(CellCentre(0, 1)), text);
    grid->SetColumnWidth(0, grid->GetColumnWidth(0) - 1);
    EXPECT_EQ(grid->CellToolTip(CellCentre(0, 0)), text);

    // Long texts are offered up to 80 characters.
    grid->SetItemText(1, 2, QString(120, QLatin1Char('x')));
    EXPECT_EQ(grid->CellToolTip(CellCentre(1, 2)), QString(80, QLatin1Char('x')));
    // No tooltip outside the cells.
    EXPECT_EQ(grid->CellToolTip(QPoint(390, 5)), QString());
}

TEST_F(GridPaint, TooltipEventShowsTheFullTextOfACutCell)
{
    Fill(2, 2);
    grid->SetItemText(0, 1, "A pass to the far sideline");
    Show();
    const QPoint fits = CellCentre(1, 1);
    QHelpEvent none(QEvent::ToolTip, fits, grid->viewport()->mapToGlobal(fits));
    QApplication::sendEvent(grid->viewport(), &none);
    EXPECT_FALSE(QToolTip::isVisible());

    const QPoint cut = CellCentre(0, 1);
    QHelpEvent help(QEvent::ToolTip, cut, grid->viewport()->mapToGlobal(cut));
    QApplication::sendEvent(grid->viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "A pass to the far sideline");
    QToolTip::hideText();
}

TEST_F(GridPaint, TooltipShowsTextsThatLookLikeMarkupAsTheyStand)
{
    // Texts come from the game file; none of them is markup to interpret.
    const QString text = "<b>Smith</b> pass to <i>Jones</i> for 12 yards";
    Fill(1, 2);
    grid->SetItemText(0, 1, text);
    Show();
    const QPoint cut = CellCentre(0, 1);
    QHelpEvent help(QEvent::ToolTip, cut, grid->viewport()->mapToGlobal(cut));
    QApplication::sendEvent(grid->viewport(), &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(ShownToolTipText().toStdString(), text.toStdString());
    QToolTip::hideText();
}

TEST_F(GridPaint, CutTextEndsInsideItsMarginWithAnEllipsis)
{
    Fill(1, 3);
    grid->SetItemText(0, 1, "WWWWWWWWWWWWWWWWWWWW");
    grid->SetItemText(0, 2, QString());
    Show();
    const QImage image = Rows();
    const int space = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char(' '));
    // Nothing in the right margin of the cell, and nothing spills into column 2.
    EXPECT_EQ(CountPixels(image, QRect(119 - space, 0, space, H() - 1), kWhite), space * (H() - 1));
    EXPECT_EQ(CountDark(image, QRect(120, 0, 59, H() - 1)), 0);
    // The text itself runs up to the margin.
    EXPECT_GT(CountDark(image, QRect(100, 0, 19 - space, H() - 1)), 0);
    // What is drawn is the longest start that fits with an ellipsis after it:
    // the cell looks exactly as it does when it holds that shortened text.
    const QFontMetrics metrics(grid->font());
    const QString shown =
        metrics.elidedText("WWWWWWWWWWWWWWWWWWWW", Qt::ElideRight, 60 - 2 * space);
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    grid->SetItemText(0, 1, shown);
    const QRect cell(60, 0, 59, H() - 1);
    EXPECT_EQ(Rows().copy(cell), image.copy(cell));
}

TEST_F(GridPaint, TrueAndFalseInAnyCaseAreCheckBoxesOnlyWithTheFlag)
{
    Fill(3, 2);
    grid->SetColumnWidth(1, 100);
    grid->SetItemText(0, 1, "tRuE");
    grid->SetItemText(1, 1, "FALSE");
    grid->SetItemText(2, 1, "TRUEX");
    grid->SetFlags(GLF_CHECKBOXES);
    Show();
    QImage image = Rows();
    const QPoint t = CellCentre(0, 1);
    // Black 1-pixel frame from (cx-6, cy-6) to (cx+4, cy+4), white inside.
    EXPECT_EQ(image.pixel(t.x() - 6, t.y() - 6), kBlack);
    EXPECT_EQ(image.pixel(t.x() + 4, t.y() + 4), kBlack);
    EXPECT_EQ(image.pixel(t.x() + 5, t.y() + 5), kWhite);
    EXPECT_EQ(image.pixel(t.x() - 5, t.y() + 3), kWhite);
    // The tick: first stroke at cx-5 from cy-3, lowest at cx-3 (to cy+1),
    // last stroke at cx+1 from cy-5.
    EXPECT_EQ(image.pixel(t.x() - 5, t.y() - 3), kBlack);
    EXPECT_EQ(image.pixel(t.x() - 3, t.y() + 1), kBlack);
    EXPECT_EQ(image.pixel(t.x() + 1, t.y() - 5), kBlack);
    EXPECT_EQ(image.pixel(t.x() + 2, t.y() - 3), kWhite);

    const QPoint f = CellCentre(1, 1);
    EXPECT_EQ(image.pixel(f.x() - 6, f.y() - 6), kBlack);
    EXPECT_EQ(image.pixel(f.x() - 5, f.y() - 3), kWhite); // no tick
    const QPoint x = CellCentre(2, 1);
    EXPECT_EQ(image.pixel(x.x() - 6, x.y() - 6), kWhite); // a word, not a box

    grid->SetFlags(0);
    image = Rows();
    EXPECT_EQ(image.pixel(t.x() - 6, t.y() - 6), kWhite);
    EXPECT_EQ(image.pixel(t.x() + 4, t.y() + 4), kWhite);
    EXPECT_GT(CountDark(image, QRect(63, 0, 30, H() - 1)), 5); // "tRuE" as text
}

TEST_F(GridPaint, RowHeaderIsARaisedButtonAndTheFocusArrowPointsAtTheFocusedRow)
{
    Fill(3, 3);
    grid->SetFlags(GLF_ROWHEADER | GLF_FOCUSARROW);
    Show();
    ClickCell(1, 2);
    ASSERT_EQ(grid->GetFocusedRow(), 1);
    const QImage image = Rows();
    // Row 0: face inside, shadow at x 58 and y H-2, highlight outside them.
    EXPECT_EQ(image.pixel(50, Mid(0)), kFace);
    EXPECT_EQ(image.pixel(58, Mid(0)), kShadow);
    EXPECT_EQ(image.pixel(59, Mid(0)), kWhite);
    EXPECT_EQ(image.pixel(50, H() - 2), kShadow);
    EXPECT_EQ(image.pixel(50, H() - 1), kWhite);
    // The row header's text is button text even in the selected row.
    EXPECT_EQ(CountPixels(image, QRect(3, H(), 30, H() - 1), kHighlight), 0);

    // The arrow of row 1: cell shrunk to x 1..57, y H+1 .. 2H-3; g = height / 4.
    const int h = H() - 3;
    const int g = h / 4;
    const int x = 58 - g - 5;
    EXPECT_EQ(image.pixel(x, H() + 1 + g), kBlack);             // top of the base
    EXPECT_EQ(image.pixel(x, H() + 1 + h / 2 + g - 1), kBlack); // bottom of the base
    EXPECT_EQ(image.pixel(x, H() + 1 + h / 2 + g), kFace);      // end excluded
    EXPECT_EQ(image.pixel(x + 1, H() + 1 + g), kFace);          // shorter next column
    EXPECT_EQ(image.pixel(x + 1, H() + 2 + g), kBlack);
    EXPECT_EQ(image.pixel(x, 1 + g), kFace); // no arrow in row 0
}

TEST_F(GridPaint, CellImagesShiftTheTextRight)
{
    Fill(1, 2);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    grid->SetSmallImageList({red});
    grid->SetCellImage(0, 1, 0);
    Show();
    const QImage image = Rows();
    const QPoint c = CellCentre(0, 1);
    // The 8-pixel image at the cell's left edge, x 60..67.
    EXPECT_EQ(image.pixel(60, c.y()), Px(RGB(255, 0, 0)));
    EXPECT_EQ(image.pixel(67, c.y()), Px(RGB(255, 0, 0)));
    EXPECT_NE(image.pixel(68, c.y()), Px(RGB(255, 0, 0)));
    // The text starts a margin right of the image.
    EXPECT_EQ(CountDark(image, QRect(68, 0, 2, H() - 1)), 0);
    EXPECT_GT(CountDark(image, QRect(69, 0, 30, H() - 1)), 5);
}

} // namespace

namespace
{

TEST_F(GridPaint, FirstColumnRowHighlightsTheWholeRowOnlyWhileColumnZeroIsSelected)
{
    Fill(3, 3);
    for (int c = 0; c < 3; ++c)
        grid->SetItemText(1, c, QString());
    grid->SetFlags(GLF_FIRSTCOLROW);
    Show();
    ClickCell(1, 0);
    QImage image = Rows();
    EXPECT_EQ(image.pixel(30, Mid(1)), kHighlight);
    EXPECT_EQ(image.pixel(150, Mid(1)), kHighlight);
    ClickCell(1, 2);
    image = Rows();
    EXPECT_EQ(image.pixel(30, Mid(1)), kWhite);
    EXPECT_EQ(image.pixel(150, Mid(1)), kHighlight);
}

TEST_F(GridPaint, RedrawItemsRepaintsExactlyTheRowsAsked)
{
    Fill(5, 3);
    grid->SetItemText(2, 2, QString());
    Show();
    RepaintRecorder recorder;
    grid->viewport()->installEventFilter(&recorder);
    grid->SetCellBkColor(2, 2, RGB(192, 255, 192));
    grid->RedrawItems(1, 2);
    QApplication::processEvents();
    // Rows 1 and 2, across the whole width; rows 0 and 3 keep what they show.
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(recorder.repainted.contains(CellCentre(1, c))) << "column " << c;
        EXPECT_TRUE(recorder.repainted.contains(CellCentre(2, c))) << "column " << c;
        EXPECT_FALSE(recorder.repainted.contains(CellCentre(0, c))) << "column " << c;
        EXPECT_FALSE(recorder.repainted.contains(CellCentre(3, c))) << "column " << c;
    }
    // And what is repainted shows the new colour.
    EXPECT_EQ(Rows().pixel(150, Mid(2)), Px(RGB(192, 255, 192)));
}

TEST_F(GridPaint, RowSpacingMovesTheRowsApartAndWithoutItTextsStayWhole)
{
    Fill(2, 2);
    // Tall and deep glyphs: an accent above the capitals, descenders below.
    grid->SetItemText(0, 1, QString::fromUtf8("\xc3\x85gjy|"));
    Show();
    const int spaced = H();
    const QRect text(61, 0, 40, spaced - 2);
    const int whole = CountDark(Rows(), text);
    ASSERT_GT(whole, 10);

    // Six more pixels of spacing: the line under row 0 moves down by six, and
    // clicks follow it.
    grid->SetRowSpacing(10);
    ASSERT_EQ(H(), spaced + 6);
    QImage image = Rows();
    EXPECT_EQ(image.pixel(110, spaced - 1), kWhite);
    EXPECT_EQ(image.pixel(110, spaced + 5), kShadow);
    EXPECT_EQ(grid->HitTest(QPoint(90, spaced + 5)), 0);
    EXPECT_EQ(grid->HitTest(QPoint(90, spaced + 6)), 1);

    // No spacing: the rows close up, but neither the row's edge nor the grid
    // line (the row's last pixel row) cuts into the text.
    grid->SetRowSpacing(0);
    ASSERT_EQ(H(), spaced - 4);
    image = Rows();
    EXPECT_EQ(image.pixel(110, spaced - 5), kShadow);
    EXPECT_EQ(CountDark(image, QRect(61, 0, 40, H() - 1)), whole);
}

// A table that draws column 1 its own way, as the statistics tables do.
class OwnTextGrid : public CZrGridListCtrl
{
public:
    using CZrGridListCtrl::CZrGridListCtrl;

protected:
    void DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc) override
    {
        if (column == 1) {
            rect.DeflateRect(2, 2);
            FillSolidRect(dc, rect, RGB(255, 0, 0));
            return;
        }
        CZrGridListCtrl::DrawCellText(row, column, rect, selected, dc);
    }
};

TEST(GridSubclass, AnOverriddenDrawCellTextDrawsItsCellsAndTheBaseTheRest)
{
    QWidget window;
    window.resize(300, 120);
    auto *grid = new OwnTextGrid(&window);
    grid->setGeometry(0, 0, 300, 120);
    for (int c = 0; c < 3; ++c)
        grid->InsertColumn(c, QStringLiteral("Col %1").arg(c), LVCFMT_LEFT, 60);
    grid->InsertItem(0, "MMMM");
    grid->SetItemText(0, 1, "MMMM");
    grid->SetItemText(0, 2, "MMMM");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage image = grid->viewport()->grab().toImage();
    const int mid = grid->GetRowHeight() / 2;
    // Column 1: the subclass's red block inside the background, no text.
    EXPECT_EQ(image.pixel(90, mid), Px(RGB(255, 0, 0)));
    EXPECT_EQ(image.pixel(61, mid), kWhite);
    EXPECT_EQ(CountPixels(image, QRect(60, 0, 59, grid->GetRowHeight() - 1), kBlack), 0);
    // Columns 0 and 2: the base's text.
    EXPECT_GT(CountDark(image, QRect(4, 0, 40, grid->GetRowHeight() - 1)), 5);
    EXPECT_GT(CountDark(image, QRect(123, 0, 40, grid->GetRowHeight() - 1)), 5);
}

} // namespace
