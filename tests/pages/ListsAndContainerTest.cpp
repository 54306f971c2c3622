// The drive chart lists and the page container.
#include "PagesTestSupport.h"

#include "gamedata/CDriveChartData.h"
#include "pages/CDriveListGrid.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CPlayListGrid.h"
#include "platform/ControlIds.h"
#include "platform/NotifyEvent.h"
#include "views/ChartListTables.h"

#include <QLabel>
#include <QScrollBar>
#include <array>

namespace
{

// The drives of the small sample game.
class DriveListsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(game.Open(PYLONIX_SAMPLES_DIR "/small/game.xml"));
        teams[0].SetSide('H');
        teams[1].SetSide('V');
        for (CTeamStats &team : teams)
            team.LoadGame(game);
        drives = CDriveChartData::Load(game, teams, DriveFilter{});
        ASSERT_GE(drives.count(), 3);
    }

    CGameDocument game;
    std::array<CTeamStats, 2> teams;
    CDriveChartData drives;
};

} // namespace

TEST_F(DriveListsTest, DriveRowsColoursAndPossessionColumn)
{
    CDriveListGrid list;
    list.SetupColumns();
    list.ShowDrives(BuildDriveListTable(drives, false));
    ASSERT_EQ(list.GetItemCount(), drives.count());
    EXPECT_EQ(list.GetColumnWidth(12), 0);
    EXPECT_EQ(list.GetColumnText(12), "");
    for (int i = 0; i < drives.count(); ++i) {
        const CChartItem &item = drives.item(i);
        EXPECT_EQ(list.GetItemText(i, 0).toStdString(), drives.GetShortName(item.team));
        EXPECT_EQ(list.GetItemText(i, 3).toStdString(), std::string(item.startSpot));
        EXPECT_EQ(list.GetItemText(i, 9).toStdString(), std::string(item.endHow));
        EXPECT_EQ(list.GetItemText(i, 11).toStdString(),
                  std::string(item.plays) + " - " + std::string(item.yards));
        EXPECT_EQ(list.GetItemText(i, 12), "");
        EXPECT_EQ(list.GetCellBkColor(i, 5),
                  item.team == 0 ? RGB(255, 255, 255) : RGB(128, 128, 128));
        EXPECT_EQ(list.GetCellTextColor(i, 5), item.team == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
    list.ShowDrives(BuildDriveListTable(drives, true));
    EXPECT_EQ(list.GetColumnWidth(12), 40);
    EXPECT_EQ(list.GetColumnText(12), "TOP");
    EXPECT_EQ(list.GetItemText(0, 12).toStdString(), std::string(drives.item(0).top));
}

TEST_F(DriveListsTest, PlayRowsShowThePlaysOfADrive)
{
    drives = CDriveChartData::Load(game, teams, DriveFilter{.playsOfDrive = 1});
    ASSERT_GT(drives.count(), 0);
    CPlayListGrid list;
    list.SetupColumns();
    list.ShowTable(BuildPlayListTable(drives));
    ASSERT_EQ(list.GetItemCount(), drives.count());
    EXPECT_EQ(list.GetColumnText(6), "Play");
    EXPECT_EQ(list.GetItemText(0, 3).toStdString(), std::string(drives.item(0).top));
    EXPECT_EQ(list.GetItemText(0, 6).toStdString(), std::string(drives.item(0).startHow));
    EXPECT_EQ(list.GetItemText(0, 7).toStdString(), std::string(drives.item(0).yards));
}

TEST_F(DriveListsTest, ClicksAndKeysAnnounceTheSelectedRow)
{
    QWidget mainWindow;
    mainWindow.resize(600, 300);
    QWidget page(&mainWindow); // the list is not a direct child of the main window
    page.setGeometry(0, 0, 600, 300);
    CDriveListGrid list(&page, IDC_DRIVE_LISTS);
    list.SetupColumns();
    list.SetFlags(GLF_FULLROWSELECT);
    list.SetSingleSelection(true);
    list.setGeometry(0, 0, 600, 300);
    list.ShowDrives(BuildDriveListTable(drives, false));
    std::vector<int> announced;
    QObject::connect(&list, &CChartListGrid::chartDriveSelected,
                     [&announced](int row) { announced.push_back(row); });
    ShowAndWait(mainWindow);
    list.setFocus();

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      ToQPoint(list.GetCellRect(1, 3).CenterPoint()));
    EXPECT_EQ(announced, std::vector<int>{1});

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(announced, (std::vector<int>{1, 2}));

    QTest::mouseClick(list.viewport(), Qt::RightButton, {},
                      ToQPoint(list.GetCellRect(0, 3).CenterPoint()));
    EXPECT_EQ(announced, (std::vector<int>{1, 2, 0}));

    QTest::keyClick(&list, Qt::Key_Escape); // deselects: no row
    EXPECT_EQ(announced, (std::vector<int>{1, 2, 0, -1}));
}

namespace
{

// A dialog that records scroll messages and notifications its container sends on.
class ContainerParent : public MessageSink
{
public:
    std::vector<int> notifications;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == CNotifyEvent::EventType()) {
            notifications.push_back(static_cast<CNotifyEvent *>(event)->Code());
            return true;
        }
        return MessageSink::event(event);
    }
};

} // namespace

TEST(PageContainer, ScrollingStepsClampsAndTellsTheParent)
{
    ContainerParent dialog;
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    // 200 x 100 inside both 16-pixel scroll bars.
    container.setGeometry(0, 0, 216, 116);
    container.SetPageSize(200, 100);
    container.SetContentSize(500, 110);
    ASSERT_EQ(container.PageSize(), QSize(200, 100));
    container.OnVScroll(SB_LINEDOWN);
    EXPECT_EQ(container.VertPosition(), 10); // 10 pixels of content below the page, not 24
    EXPECT_EQ(dialog.Count(WM_VSCROLL), 1);
    container.OnVScroll(SB_LINEUP);
    EXPECT_EQ(container.VertPosition(), 0);

    container.OnHScroll(SB_LINERIGHT);
    EXPECT_EQ(container.HorzPosition(), CPageContainerWnd::kLineStep);
    container.OnHScroll(SB_PAGERIGHT);
    EXPECT_EQ(container.HorzPosition(), 224);
    container.OnHScroll(SB_RIGHT);
    EXPECT_EQ(container.HorzPosition(), 300);
    container.OnHScroll(SB_THUMBTRACK, 120);
    EXPECT_EQ(container.HorzPosition(), 120);
    container.OnHScroll(SB_ENDSCROLL);
    EXPECT_EQ(container.HorzPosition(), 120);
    container.OnHScroll(SB_PAGELEFT);
    EXPECT_EQ(container.HorzPosition(), 0);
    container.OnHScroll(SB_THUMBPOSITION, 9999);
    EXPECT_EQ(container.HorzPosition(), 300);
    EXPECT_EQ(dialog.Count(WM_HSCROLL), 7);

    // A page wider than the content shows it from the start; an empty content resets both.
    container.SetPageSize(400, 100);
    EXPECT_EQ(container.HorzPosition(), 100);
    container.OnVScroll(SB_BOTTOM);
    EXPECT_EQ(container.VertPosition(), 10);
    container.SetContentSize(0, 0);
    EXPECT_EQ(container.HorzPosition(), 0);
    EXPECT_EQ(container.VertPosition(), 0);
}

TEST(PageContainer, BarsFollowTheContentAndTheWindowSize)
{
    ContainerParent dialog;
    dialog.resize(400, 300);
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    container.setGeometry(0, 0, 300, 200);
    ShowAndWait(dialog);
    EXPECT_EQ(container.PageSize(), QSize(300, 200));
    EXPECT_TRUE(container.VerticalBar()->isHidden());

    container.SetContentSize(250, 500);
    // The vertical bar takes its width from the page, as a window's client area shrinks.
    EXPECT_FALSE(container.VerticalBar()->isHidden());
    EXPECT_TRUE(container.HorizontalBar()->isHidden());
    EXPECT_EQ(container.PageSize(), QSize(300 - 16, 200));
    EXPECT_EQ(container.VerticalBar()->maximum(), 300);

    // Clicking below the thumb pages down, and the parent hears of it.
    const QRect bar = container.VerticalBar()->geometry();
    QTest::mouseClick(container.VerticalBar(), Qt::LeftButton, {},
                      QPoint(bar.width() / 2, bar.height() - 20));
    EXPECT_EQ(container.VertPosition(), 200);
    EXPECT_EQ(dialog.Count(WM_VSCROLL), 1);
}

TEST(PageContainer, TheCornerBetweenTheBarsIsPaintedOverThePage)
{
    ContainerParent dialog;
    dialog.resize(400, 300);
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    container.setGeometry(0, 0, 300, 200);
    // A red table under the whole page, as a long table reaches under the bars.
    QWidget table(&container);
    table.setGeometry(0, 0, 600, 400);
    table.setAutoFillBackground(true);
    QPalette red;
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    table.setPalette(red);
    container.SetContentSize(600, 400);
    ShowAndWait(dialog);
    const QImage image = container.grab().toImage();
    for (const QPoint corner : {QPoint(300 - 16, 200 - 16), QPoint(300 - 1, 200 - 1)})
        EXPECT_EQ(image.pixel(corner), ToQRgb(GetSysColor(COLOR_BTNFACE)));
}

TEST(PageContainer, ForwardsNotificationsAndPaintsItsBackground)
{
    ContainerParent dialog;
    dialog.resize(300, 200);
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    container.setGeometry(0, 0, 300, 200);
    CStatGridCtrl table(&container, IDC_PASSING);
    table.setGeometry(10, 10, 100, 50);
    QLabel title(QStringLiteral("Passing"), &container);
    SetDlgCtrlID(&title, IDC_STATIC_TEXT);
    title.setGeometry(150, 10, 100, 15);

    CNotifyEvent click(&table, IDC_PASSING, NM_DBLCLK, 0, 0);
    EXPECT_TRUE(SendNotify(&container, click));
    EXPECT_EQ(dialog.notifications, std::vector<int>{NM_DBLCLK});

    container.SetBackgroundColor(RGB(255, 255, 255));
    ShowAndWait(dialog);
    const QImage image = container.grab().toImage();
    // White RGB(255, 255, 255) where no child covers the container, and behind the title.
    EXPECT_EQ(image.pixel(200, 150), ToQRgb(RGB(255, 255, 255)));
    EXPECT_EQ(image.pixel(249, 23), ToQRgb(RGB(255, 255, 255)));
    container.SetBackgroundColor(RGB(10, 20, 30));
    EXPECT_EQ(container.grab().toImage().pixel(200, 150), ToQRgb(RGB(10, 20, 30)));
}
