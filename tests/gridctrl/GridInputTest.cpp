// Mouse and keyboard: selection, the current cell's moves, editing starts,
// and the notifications the parent receives.
#include "GridTestSupport.h"
#include "platform/QtConversions.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

namespace
{

using GridKeys = GridFixture;
using GridMouse = GridFixture;
using GridHeader = GridFixture;

TEST_F(GridKeys, TabInTheMiddleMovesToTheNextColumnAndSelectsThatCellsRow)
{
    Fill(4, 5);
    Show();
    ClickCell(2, 2);
    grid->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED); // another selected row
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusColumn(), 3);
    EXPECT_EQ(grid->GetSelectedColumn(), 3);
    EXPECT_EQ(grid->GetFocusedRow(), 2);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 2);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
    EXPECT_TRUE(grid->hasFocus()); // Tab did not move the focus to another window
}

TEST_F(GridKeys, LeftRightTabAndShiftTabMoveOneColumn)
{
    Fill(3, 5);
    Show();
    ClickCell(1, 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->GetFocusColumn(), 3);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusColumn(), 1);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusColumn(), 0);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(grid->GetFocusColumn(), 0);
    EXPECT_EQ(grid->GetFocusedRow(), 1);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
}

TEST_F(GridKeys, RightInTheLastColumnAndLeftInTheFirstDoNothing)
{
    Fill(3, 4);
    Show();
    ClickCell(1, 3);
    Key(Qt::Key_Right);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusColumn(), 3);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1); // the row stays selected
    ClickCell(1, 0);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusColumn(), 0);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
}

TEST_F(GridKeys, AMoveThatWouldLandOutsideEveryEnterableCellChangesNothing)
{
    // A hidden (zero-width) last column: Right from the column before it
    // finds no cell to land on.
    Fill(3, 4);
    grid->SetColumnWidth(3, 0);
    Show();
    ClickCell(1, 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->GetFocusColumn(), 2);
    EXPECT_EQ(grid->GetSelectedColumn(), 2);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
    EXPECT_EQ(grid->GetSelectedCount(), 1);

    // With a row header and a hidden column 1, Left from column 2 would land
    // in the row header, which keys never enter.
    grid->SetColumnWidth(3, 60);
    grid->SetColumnWidth(1, 0);
    grid->SetFlags(GLF_ROWHEADER);
    ClickCell(1, 2);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusColumn(), 2);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
}

TEST_F(GridKeys, WithARowHeaderTheFirstColumnIsNeverEnteredByKeys)
{
    Fill(3, 4);
    grid->SetFlags(GLF_ROWHEADER);
    Show();
    ClickCell(1, 2);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusColumn(), 1);
    Key(Qt::Key_Left);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(grid->GetFocusColumn(), 1);
}

TEST_F(GridKeys, AMoveToAColumnOutOfViewScrollsAndLandsOnThatColumn)
{
    Fill(3, 10, 90); // 900 pixels of columns in a 400-pixel window
    Show();
    ClickCell(1, 3);
    for (int expected = 4; expected < 10; ++expected) {
        Key(Qt::Key_Right);
        ASSERT_EQ(grid->GetFocusColumn(), expected);
        const CRect cell = grid->GetCellRect(1, expected);
        EXPECT_GE(cell.left, 0);
        EXPECT_LE(cell.right, grid->viewport()->width());
    }
    EXPECT_GT(grid->horizontalScrollBar()->value(), 0);
    for (int expected = 8; expected >= 0; --expected) {
        Key(Qt::Key_Left);
        ASSERT_EQ(grid->GetFocusColumn(), expected);
        EXPECT_GE(grid->GetCellRect(1, expected).left, 0);
    }
    // Column 0's label starts at the icon edge, which is scrolled to the left edge.
    EXPECT_EQ(grid->GetCellRect(1, 0).left, 0);
}

TEST_F(GridKeys, AMoveFromARowScrolledOutOfViewStaysInThatRow)
{
    Fill(60, 4);
    Show();
    ClickCell(1, 1);
    grid->verticalScrollBar()->setValue(30);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->GetFocusedRow(), 1);
    EXPECT_EQ(grid->GetFocusColumn(), 2);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
}

TEST_F(GridKeys, KeyboardMovesNeverStartAnEditorButClicksDo)
{
    Fill(3, 4);
    grid->SetFlags(GLF_EDITABLE | GLF_EDITONCLICK);
    Show();
    ClickCell(1, 1);
    ASSERT_EQ(grid->edited.size(), 1u);
    EXPECT_EQ(grid->edited[0], std::make_pair(1, 1));
    Key(Qt::Key_Right);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusColumn(), 3);
    EXPECT_EQ(grid->edited.size(), 1u);
    ClickCell(2, 2);
    EXPECT_EQ(grid->edited.size(), 2u);
}

TEST_F(GridMouse, WithoutEditOnClickOnlyASecondClickOnTheSelectedCellEdits)
{
    Fill(3, 4);
    grid->SetFlags(GLF_EDITABLE);
    Show();
    ClickCell(1, 1);
    EXPECT_TRUE(grid->edited.empty());
    ClickCell(1, 2);
    EXPECT_TRUE(grid->edited.empty());
    ClickCell(1, 2);
    ASSERT_EQ(grid->edited.size(), 1u);
    EXPECT_EQ(grid->edited[0], std::make_pair(1, 2));
}

TEST_F(GridMouse, WithoutTheEditableFlagClicksNeverEdit)
{
    Fill(3, 4);
    grid->SetFlags(GLF_EDITONCLICK);
    Show();
    ClickCell(1, 1);
    ClickCell(1, 1);
    EXPECT_TRUE(grid->edited.empty());
}

TEST_F(GridKeys, EnterEditsTheCurrentCellOnlyWhenTheControlTakesEnter)
{
    Fill(3, 4);
    Show();
    ClickCell(2, 3);
    Key(Qt::Key_Return);
    EXPECT_TRUE(grid->edited.empty());
    grid->SetFlags(GLF_ENTEREDITS);
    Key(Qt::Key_Return);
    ASSERT_EQ(grid->edited.size(), 1u);
    EXPECT_EQ(grid->edited[0], std::make_pair(2, 3));
}

TEST_F(GridKeys, EscapeDeselectsEveryRow)
{
    Fill(4, 2);
    Show();
    grid->SelectAll(true);
    Key(Qt::Key_Escape);
    EXPECT_EQ(grid->GetSelectedCount(), 0);
}

TEST_F(GridKeys, UpAndDownMoveTheSelectedRow)
{
    Fill(5, 2);
    Show();
    ClickCell(2, 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusedRow(), 3);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 3);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
    EXPECT_EQ(grid->GetSelectedColumn(), 1);
    Key(Qt::Key_End);
    EXPECT_EQ(grid->GetFocusedRow(), 4);
    Key(Qt::Key_Home);
    Key(Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusedRow(), 0);
}

TEST_F(GridMouse, FullRowClicksSelectRowsAndKeepNoCurrentCell)
{
    Fill(4, 3);
    grid->SetFlags(GLF_FULLROWSELECT);
    Show();
    ClickCell(1, 2);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
    EXPECT_EQ(grid->GetFocusColumn(), -1);
    EXPECT_EQ(grid->GetSelectedColumn(), -1);
    ClickCell(3, 0, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCount(), 2);
    ClickCell(2, 0);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 2);
    // A click below the rows deselects everything.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 200));
    EXPECT_EQ(grid->GetSelectedCount(), 0);
}

TEST_F(GridMouse, AClickInAnotherColumnFirstDeselectsTheOtherRows)
{
    Fill(4, 3);
    Show();
    ClickCell(0, 1);
    ClickCell(2, 1, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCount(), 2);
    ClickCell(3, 2, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 3);
}

TEST_F(GridMouse, RightClickOnAnotherCellMakesItCurrent)
{
    Fill(3, 3);
    Show();
    ClickCell(1, 1);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(2, 2));
    EXPECT_EQ(grid->GetFirstSelectedRow(), 2);
    EXPECT_EQ(grid->GetFocusColumn(), 2);
    EXPECT_EQ(grid->GetSelectedColumn(), 2);
}

TEST_F(GridMouse, ARightClickThatMovesTheHighlightedColumnRepaintsEverySelectedRow)
{
    Fill(4, 4);
    Show();
    ClickCell(2, 1);
    ClickCell(0, 1, Qt::ControlModifier);
    ASSERT_EQ(grid->GetSelectedCount(), 2);
    ASSERT_EQ(grid->GetFocusedRow(), 0);
    RepaintRecorder recorder;
    grid->viewport()->installEventFilter(&recorder);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(0, 3));
    QApplication::processEvents();
    EXPECT_EQ(grid->GetSelectedColumn(), 3);
    EXPECT_EQ(grid->GetSelectedCount(), 2);
    // Row 2 stays selected: its highlight moves from column 1 to column 3 on screen.
    EXPECT_TRUE(recorder.repainted.contains(CellCentre(2, 1)));
    EXPECT_TRUE(recorder.repainted.contains(CellCentre(2, 3)));
}

TEST_F(GridMouse, DoubleClickTellsTheParentTheRowAndColumn)
{
    Fill(3, 3);
    Show();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(2, 1));
    ASSERT_EQ(window->Count(NM_DBLCLK), 1);
    const ReceivedNotification &n = window->received.back();
    EXPECT_EQ(n.idFrom, kGridId);
    EXPECT_EQ(n.row, 2);
    EXPECT_EQ(n.column, 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 200));
    EXPECT_EQ(window->received.back().row, -1);
    // Right of the last column is outside every cell: a click there selects no
    // row, and a double click names none.
    const QPoint besideRow1(390, CellCentre(1, 0).y());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, besideRow1);
    ASSERT_EQ(window->Count(NM_DBLCLK), 3);
    EXPECT_EQ(window->received.back().row, -1);
    EXPECT_EQ(window->received.back().column, -1);
    EXPECT_EQ(grid->GetSelectedCount(), 0);
}

TEST_F(GridMouse, WheelScrollsByRowsAndTakesTheFocus)
{
    Fill(60, 2);
    Show();
    window->setFocus();
    QWheelEvent wheel(QPointF(20, 20), grid->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->GetTopIndex(), 3);
}

TEST_F(GridHeader, AClickReachesTheParentAsAColumnClickAfterTheHook)
{
    Fill(2, 3);
    Show();
    CFlatHdrCtrl *header = grid->GetHeaderCtrl();
    const QPoint item = ToQPoint(header->GetItemRect(1).CenterPoint());
    QTest::mousePress(header, Qt::LeftButton, {}, item);
    EXPECT_TRUE(header->IsItemPressed(1));
    // A pressed item is drawn in the pressed colours.
    EXPECT_EQ(header->grab().toImage().pixel(item.x() + 20, 3), Px(RGB(60, 60, 60)));
    EXPECT_EQ(window->Count(LVN_COLUMNCLICK), 0);
    QTest::mouseRelease(header, Qt::LeftButton, {}, item);
    EXPECT_FALSE(header->IsItemPressed(1));
    EXPECT_EQ(header->grab().toImage().pixel(item.x() + 20, 3), Px(GetSysColor(COLOR_BTNFACE)));

    ASSERT_EQ(window->Count(LVN_COLUMNCLICK), 1);
    const ReceivedNotification &n = window->received.back();
    EXPECT_EQ(n.idFrom, kGridId);
    EXPECT_EQ(n.column, 1);
    ASSERT_EQ(grid->columnClicks, std::vector<int>{1});
    EXPECT_EQ(grid->parentNotificationsAtColumnClick, 0);
}

TEST_F(GridHeader, ADividerDragResizesTheColumnAndEndsInOneEndOfTrack)
{
    Fill(2, 3);
    Show();
    CFlatHdrCtrl *header = grid->GetHeaderCtrl();
    const int y = header->height() / 2;
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(120, y)); // divider of column 1
    for (int x = 125; x <= 150; x += 5)
        QTest::mouseMove(header, QPoint(x, y));
    // No full drag: the column keeps its width until the button is released.
    EXPECT_EQ(grid->GetColumnWidth(1), 60);
    EXPECT_EQ(header->TrackPosition(), 150);
    EXPECT_EQ(window->Count(HDN_ENDTRACK), 0);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(150, y));

    EXPECT_EQ(grid->GetColumnWidth(1), 90);
    EXPECT_EQ(header->TrackPosition(), -1);
    ASSERT_EQ(window->Count(HDN_ENDTRACK), 1);
    EXPECT_EQ(window->received.back().column, 1);
    EXPECT_EQ(window->Count(LVN_COLUMNCLICK), 0);
    EXPECT_EQ(grid->GetCellRect(0, 2).left, 150);
}

TEST_F(GridHeader, AHiddenLastColumnOpensOnlyFromTheRightOfItsDivider)
{
    // Column 3 has no width: its divider is column 2's, at x 180.
    Fill(2, 4);
    grid->SetColumnWidth(3, 0);
    Show();
    CFlatHdrCtrl *header = grid->GetHeaderCtrl();
    const int y = header->height() / 2;
    auto drag = [&](int from, int to) {
        QTest::mousePress(header, Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(header, QPoint(to, y));
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(to, y));
    };
    // On or left of the divider the visible column resizes.
    drag(178, 198);
    EXPECT_EQ(grid->GetColumnWidth(2), 80);
    EXPECT_EQ(grid->GetColumnWidth(3), 0);
    drag(200, 180);
    EXPECT_EQ(grid->GetColumnWidth(2), 60);
    EXPECT_EQ(grid->GetColumnWidth(3), 0);
    // Right of it the hidden column is pulled open.
    drag(182, 222);
    EXPECT_EQ(grid->GetColumnWidth(2), 60);
    EXPECT_EQ(grid->GetColumnWidth(3), 40);
}

TEST_F(GridHeader, DoubleClickOnADividerFitsTheColumnToItsTexts)
{
    Fill(2, 3);
    grid->SetItemText(1, 1, "A much longer text than the others");
    Show();
    CFlatHdrCtrl *header = grid->GetHeaderCtrl();
    QTest::mouseDClick(header, Qt::LeftButton, {}, QPoint(119, header->height() / 2));
    ASSERT_EQ(window->Count(HDN_DIVIDERDBLCLICK), 1);
    EXPECT_EQ(window->received.back().column, 1);
    EXPECT_GT(grid->GetColumnWidth(1), 60);
    EXPECT_EQ(grid->CellToolTip(CellCentre(1, 1)), QString()); // now it fits
}

TEST_F(GridHeader, CaptionsThatDoNotFitGetATooltip)
{
    grid->InsertColumn(0, "Yds", LVCFMT_RIGHT, 60);
    grid->InsertColumn(1, "Longest Touchdown Reception", LVCFMT_LEFT, 60);
    Show();
    CFlatHdrCtrl *header = grid->GetHeaderCtrl();
    const QPoint fits = ToQPoint(header->GetItemRect(0).CenterPoint());
    QHelpEvent none(QEvent::ToolTip, fits, header->mapToGlobal(fits));
    QApplication::sendEvent(header, &none);
    EXPECT_FALSE(QToolTip::isVisible());
    const QPoint cut = ToQPoint(header->GetItemRect(1).CenterPoint());
    QHelpEvent help(QEvent::ToolTip, cut, header->mapToGlobal(cut));
    QApplication::sendEvent(header, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Longest Touchdown Reception");
    QToolTip::hideText();

    // A caption taken from the game file that looks like markup shows as it stands.
    const QString marked = "<u>State</u> <b>University</b>";
    grid->SetColumnText(1, marked);
    QApplication::sendEvent(header, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(ShownToolTipText().toStdString(), marked.toStdString());
    QToolTip::hideText();
}

} // namespace
