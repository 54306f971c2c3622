// Rows, cells, their data and colours, sorting and sizes.
#include "GridTestSupport.h"

#include "platform/Fonts.h"
#include "platform/SystemMetrics.h"

#include <QScrollBar>

namespace
{

using GridData = GridFixture;

TEST_F(GridData, NewRowsGetCellDataInTheDefaultColoursForEveryExistingColumn)
{
    Fill(2, 3);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->GetCellTextColor(1, c), GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(grid->GetCellBkColor(1, c), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(grid->GetCellSelTextColor(1, c), GetSysColor(COLOR_HIGHLIGHTTEXT));
        EXPECT_EQ(grid->GetCellSelBkColor(1, c), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(grid->GetCellImage(1, c), -1);
        EXPECT_NE(grid->GetRowData(1)->Cell(c), nullptr);
    }
    EXPECT_EQ(grid->GetItemText(1, 2), "r1c2");
}

TEST_F(GridData, ColumnZeroTakesTheImageTheRowIsInsertedWith)
{
    Fill(0, 2);
    grid->InsertItem(0, "x", 3);
    EXPECT_EQ(grid->GetCellImage(0, 0), 3);
    EXPECT_EQ(grid->GetCellImage(0, 1), -1);
}

TEST_F(GridData, CellsOfAColumnAddedLaterUseTheFallbacks)
{
    Fill(1, 1);
    grid->InsertColumn(1, "Late", LVCFMT_LEFT, 40);
    grid->SetCellTextColor(-1, -1, RGB(255, 0, 0));
    grid->SetCellBkColor(-1, -1, RGB(0, 0, 255));
    EXPECT_EQ(grid->GetCellTextColor(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(grid->GetCellBkColor(0, 0), RGB(0, 0, 255));
    // No cell data in the late column: the list's colours and the system's.
    EXPECT_EQ(grid->GetRowData(0)->Cell(1), nullptr);
    EXPECT_EQ(grid->GetCellTextColor(0, 1), grid->GetTextColor());
    EXPECT_EQ(grid->GetCellBkColor(0, 1), grid->GetBkColor());
    EXPECT_EQ(grid->GetCellSelTextColor(0, 1), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(grid->GetCellSelBkColor(0, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(grid->GetCellImage(0, 1), -1);
}

TEST_F(GridData, QueriesOnMissingRowsFallBackInsteadOfFailing)
{
    EXPECT_EQ(grid->GetCellTextColor(5, 0), grid->GetTextColor());
    EXPECT_EQ(grid->GetCellBkColor(-3, 2), grid->GetBkColor());
    EXPECT_EQ(grid->GetItemData(7), 0);
    EXPECT_FALSE(grid->SetItemData(7, 12));
    EXPECT_EQ(grid->GetItemText(7, 0), QString());
}

TEST_F(GridData, ColourSettersReachOneCellOneRowOneColumnOrAll)
{
    Fill(3, 3);
    grid->SetCellTextColor(1, 2, RGB(1, 2, 3));
    EXPECT_EQ(grid->GetCellTextColor(1, 2), RGB(1, 2, 3));
    EXPECT_EQ(grid->GetCellTextColor(1, 1), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(grid->GetCellTextColor(0, 2), GetSysColor(COLOR_BTNTEXT));

    grid->SetCellBkColor(2, -1, RGB(192, 255, 192));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(grid->GetCellBkColor(2, c), RGB(192, 255, 192));
    EXPECT_EQ(grid->GetCellBkColor(1, 0), GetSysColor(COLOR_WINDOW));

    grid->SetCellBkColor(-1, 0, RGB(9, 9, 9));
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(grid->GetCellBkColor(r, 0), RGB(9, 9, 9));
    EXPECT_EQ(grid->GetCellBkColor(1, 1), GetSysColor(COLOR_WINDOW));

    grid->SetCellImage(-1, -1, 2);
    EXPECT_EQ(grid->GetCellImage(2, 2), 2);
}

TEST_F(GridData, InsertingAColumnKeepsEveryCellWithItsColumn)
{
    Fill(2, 3);
    grid->SetCellBkColor(0, 1, RGB(10, 20, 30));
    grid->SetCellBkColor(0, 2, RGB(40, 50, 60));
    grid->InsertColumn(1, "New", LVCFMT_LEFT, 30);
    EXPECT_EQ(grid->GetColumnCount(), 4);
    EXPECT_EQ(grid->GetItemText(0, 2), "r0c1");
    EXPECT_EQ(grid->GetCellBkColor(0, 2), RGB(10, 20, 30));
    EXPECT_EQ(grid->GetCellBkColor(0, 3), RGB(40, 50, 60));
    EXPECT_EQ(grid->GetItemText(0, 1), QString());
    EXPECT_EQ(grid->GetRowData(0)->Cell(1), nullptr);

    ASSERT_TRUE(grid->DeleteColumn(1));
    EXPECT_EQ(grid->GetItemText(0, 1), "r0c1");
    EXPECT_EQ(grid->GetCellBkColor(0, 1), RGB(10, 20, 30));
    EXPECT_EQ(grid->GetCellBkColor(0, 2), RGB(40, 50, 60));
}

TEST_F(GridData, RowDataIsStoredReadAndMovesWithInsertedRows)
{
    Fill(2, 2);
    EXPECT_EQ(grid->GetItemData(0), 0);
    ASSERT_TRUE(grid->SetItemData(0, -1));
    ASSERT_TRUE(grid->SetItemData(1, 42));
    grid->InsertItem(0, "first");
    EXPECT_EQ(grid->GetItemCount(), 3);
    EXPECT_EQ(grid->GetItemData(0), 0);
    EXPECT_EQ(grid->GetItemData(1), -1);
    EXPECT_EQ(grid->GetItemData(2), 42);
    EXPECT_EQ(grid->InsertItem(99, "last"), 3);
    EXPECT_EQ(grid->InsertItem(-1, "bad"), -1);
}

TEST_F(GridData, DeletingAllRowsLeavesNoRowOrCellData)
{
    Fill(50, 6);
    grid->SetCellBkColor(-1, -1, RGB(1, 1, 1));
    for (int r = 0; r < 50; ++r)
        grid->SetItemData(r, r + 100);
    grid->SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    ASSERT_TRUE(grid->DeleteAllItems());
    EXPECT_EQ(grid->GetItemCount(), 0);
    EXPECT_EQ(grid->GetRowData(0), nullptr);
    EXPECT_EQ(grid->GetItemData(0), 0);
    EXPECT_EQ(grid->GetFirstSelectedRow(), -1);
    EXPECT_EQ(grid->GetFocusedRow(), -1);

    // A new row starts from scratch, not from what was deleted.
    grid->InsertItem(0, "again");
    EXPECT_EQ(grid->GetItemData(0), 0);
    EXPECT_EQ(grid->GetCellBkColor(0, 5), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(grid->GetItemText(0, 5), QString());
}

TEST_F(GridData, DeletingOneRowKeepsTheOthersAndTheirStates)
{
    Fill(4, 2);
    grid->SetItemData(3, 33);
    grid->SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(grid->DeleteItem(1));
    EXPECT_FALSE(grid->DeleteItem(3));
    EXPECT_EQ(grid->GetItemText(1, 0), "r2c0");
    EXPECT_EQ(grid->GetItemData(2), 33);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 2);
    EXPECT_EQ(grid->GetFocusedRow(), 2);
}

TEST_F(GridData, SortingOrdersRowsByTheCallersComparisonAndKeepsTiesInOrder)
{
    Fill(5, 2);
    const int keys[] = {30, 10, 20, 10, 5};
    for (int r = 0; r < 5; ++r)
        grid->SetItemData(r, keys[r]);
    grid->SetCellTextColor(0, -1, RGB(255, 0, 0)); // row with key 30
    grid->SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    ASSERT_TRUE(grid->SortItems([](std::int32_t a, std::int32_t b) { return a - b; }));
    const char *expected[] = {"r4c0", "r1c0", "r3c0", "r2c0", "r0c0"};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(grid->GetItemText(r, 0), expected[r]) << "row " << r;
    EXPECT_EQ(grid->GetItemText(4, 1), "r0c1");
    EXPECT_EQ(grid->GetCellTextColor(4, 1), RGB(255, 0, 0));
    EXPECT_EQ(grid->GetFirstSelectedRow(), 3);
    EXPECT_EQ(grid->GetFocusedRow(), 3);
}

TEST_F(GridData, SelectAllAndFirstSelectedRow)
{
    Fill(4, 1);
    EXPECT_EQ(grid->GetFirstSelectedRow(), -1);
    grid->SelectAll(true);
    EXPECT_EQ(grid->GetSelectedCount(), 4);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 0);
    grid->SetItemState(0, 0, LVIS_SELECTED);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 1);
    grid->SelectAll(false);
    EXPECT_EQ(grid->GetSelectedCount(), 0);
    EXPECT_EQ(grid->GetFirstSelectedRow(), -1);
}

TEST_F(GridData, SingleSelectionKeepsOneRowSelected)
{
    Fill(4, 1);
    grid->SetSingleSelection(true);
    grid->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    grid->SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
    EXPECT_EQ(grid->GetFirstSelectedRow(), 3);
    grid->SelectAll(true);
    EXPECT_EQ(grid->GetSelectedCount(), 1);
}

TEST_F(GridData, ColumnCaptionsChangeUnlessTheTextIsNull)
{
    Fill(0, 2);
    grid->SetColumnText(0, "HOME");
    EXPECT_EQ(grid->GetColumnText(0), "HOME");
    grid->SetColumnText(0, QString());
    EXPECT_EQ(grid->GetColumnText(0), "HOME");
    grid->SetColumnText(0, QStringLiteral(""));
    EXPECT_EQ(grid->GetColumnText(0), "");
}

TEST_F(GridData, TablesDrawInTheProgramsFont)
{
    EXPECT_EQ(grid->font(), DialogFont());
}

TEST_F(GridData, NaturalSizeFitsEveryColumnAndRowPlusAScrollBarHeight)
{
    Fill(7, 3, 50);
    grid->SetColumnWidth(1, 80);
    const QSize size = grid->ApproximateViewRect();
    const int header = grid->GetHeaderCtrl()->sizeHint().height();
    EXPECT_EQ(size.width(), 50 + 80 + 50);
    EXPECT_EQ(size.height(),
              header + 7 * grid->GetRowHeight() + GetSystemMetrics(SM_CYHSCROLL) + 1);

    // Sized to it less the scroll bar, the grid shows every row without scrolling.
    grid->resize(size.width(), size.height() - GetSystemMetrics(SM_CYHSCROLL) - 1);
    Show();
    EXPECT_EQ(grid->GetCountPerPage(), 7);
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
}

// A table that supplies its texts itself.
class CallbackGrid : public CZrGridListCtrl
{
public:
    using CZrGridListCtrl::CZrGridListCtrl;
    QString GetCellText(int row, int column) const override
    {
        return QStringLiteral("cb%1.%2").arg(row).arg(column);
    }
};

TEST(GridTextCallback, TextsComeFromGetCellTextOnlyWithTheFlag)
{
    CallbackGrid grid;
    grid.InsertColumn(0, "A");
    grid.InsertItem(0, "stored");
    EXPECT_EQ(grid.GetItemText(0, 0), "stored");
    grid.SetFlags(GLF_TEXTCALLBACK);
    EXPECT_EQ(grid.GetItemText(0, 0), "cb0.0");
}

TEST_F(GridData, EnsureVisibleScrollsByWholeRows)
{
    Fill(100, 2);
    Show();
    const int page = grid->GetCountPerPage();
    ASSERT_GT(page, 3);
    EXPECT_TRUE(grid->EnsureVisible(50, false));
    EXPECT_EQ(grid->GetTopIndex(), 50 - page + 1);
    EXPECT_TRUE(grid->EnsureVisible(10, false));
    EXPECT_EQ(grid->GetTopIndex(), 10);
    EXPECT_FALSE(grid->EnsureVisible(100, false));
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    EXPECT_EQ(grid->GetTopIndex(), 100 - page);
}

} // namespace

namespace
{

TEST_F(GridData, TheHeaderFollowsTheFrameOfABorderedTable)
{
    Fill(2, 2);
    grid->setFrameStyle(QFrame::Box | QFrame::Plain);
    Show();
    const QRect header = grid->GetHeaderCtrl()->geometry();
    EXPECT_EQ(header.topLeft(), QPoint(1, 1));
    EXPECT_EQ(grid->viewport()->geometry().top(), 1 + header.height());
    EXPECT_EQ(header.width(), grid->viewport()->width());
}

} // namespace

namespace
{

TEST_F(GridData, HitTestCountsColumnsFromTheScrolledRowEdge)
{
    Fill(30, 10, 90);
    Show();
    grid->horizontalScrollBar()->setValue(100);
    grid->verticalScrollBar()->setValue(5);
    const int h = grid->GetRowHeight();
    int column = -2;
    EXPECT_EQ(grid->HitTest(QPoint(0, 2 * h + 1), &column), 7);
    EXPECT_EQ(column, 1); // content x 100 lies in column 1 (90..179)
    EXPECT_EQ(grid->HitTest(QPoint(-20, 1), &column), 5);
    EXPECT_EQ(column, 0); // left of the viewport, still on the row
    EXPECT_EQ(grid->HitTest(QPoint(850, 1), &column), 5);
    EXPECT_EQ(column, -1); // right of the last column
    EXPECT_EQ(grid->HitTest(QPoint(10, 30 * h), &column), -1);
}

} // namespace

namespace
{

TEST_F(GridData, RowsAddedWithRedrawOffReachTheScrollBarsWhenItComesBack)
{
    Fill(0, 2);
    Show();
    {
        const CZrGridListCtrl::RedrawPause pause(*grid);
        for (int r = 0; r < 100; ++r)
            grid->InsertItem(r, QStringLiteral("row %1").arg(r));
        EXPECT_EQ(grid->GetItemCount(), 100);
        EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0);
    }
    // 100 rows, less those a page shows, are the rows to scroll through.
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 100 - grid->GetCountPerPage());

    grid->SetRedraw(false);
    grid->DeleteAllItems();
    EXPECT_GT(grid->verticalScrollBar()->maximum(), 0);
    grid->SetRedraw(true);
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0);
}

} // namespace
