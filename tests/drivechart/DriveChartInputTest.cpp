// Layout, scrolling, read-outs, mouse and keys of the drive chart, and the
// messages it sends to the main window.
#include "DriveChartTestSupport.h"

#include "drivechart/DriveChartJson.h"
#include "platform/SystemMetrics.h"
#include "views/DriveChartReadout.h"

#include <QApplication>
#include <QJsonArray>
#include <QWheelEvent>

namespace
{

class DriveChart : public DriveChartFixture
{
protected:
    void Wheel(int delta, const QPoint &at = QPoint(5, 5))
    {
        QWheelEvent event(at, view_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view_->viewport(), &event);
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (const ReceivedMessage &m : main_->Of(Announced::RowSelected))
            rows.push_back(m.value);
        return rows;
    }
    QString LastReadout() const
    {
        const auto texts = main_->Of(Announced::DriveText);
        return texts.empty() ? QStringLiteral("<none>") : texts.back().text;
    }

    const QString drive0 = QStringLiteral("HOM drive: 3 plays, 45 yards\r\n"
                                          "Started by KO on 20 at 15:00 in quarter 1\r\n"
                                          "Ended by PUNT on V35 at 10:48 in quarter 1");
};

int PaintsDuring(QWidget *widget, const std::function<void()> &action)
{
    struct Counter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QApplication::processEvents();
    widget->installEventFilter(&counter);
    action();
    QApplication::processEvents();
    widget->removeEventFilter(&counter);
    return counter.paints;
}

} // namespace

TEST_F(DriveChart, TwentyThreeRowsScrollAtHeight250AndTwentyTwoDoNot)
{
    LoadUniform(23);
    SetClientSize(600, 250);
    EXPECT_EQ(view_->Geometry().rowArea(), 200);
    EXPECT_TRUE(view_->Geometry().scrolling()) << "200 < 9 * 23 - 3";
    EXPECT_EQ(view_->Geometry().visibleRows(), 22);
    EXPECT_TRUE(view_->verticalScrollBar()->isEnabled());
    EXPECT_EQ(view_->verticalScrollBar()->maximum(), 1);
    EXPECT_EQ(HitRectOf(22), CRect(-1, -1, -1, -1)) << "the 23rd entry is off screen";

    LoadUniform(22);
    SetClientSize(600, 250);
    EXPECT_FALSE(view_->Geometry().scrolling()) << "9 * 22 - 3 = 195 fits into 200";
    EXPECT_EQ(view_->Geometry().visibleRows(), 22);
    EXPECT_FALSE(view_->verticalScrollBar()->isEnabled());
    EXPECT_TRUE(view_->verticalScrollBar()->isVisible()) << "the bar stays, disabled";
    EXPECT_EQ(HitRectOf(21).top, 20 + 9 * 21);
}

TEST_F(DriveChart, AnEmptyListDrawsNoRowsAndHasNoReadout)
{
    Load({});
    SetClientSize(600, 250);
    EXPECT_EQ(view_->itemCount(), 0);
    EXPECT_EQ(view_->Geometry().visibleRows(), 0);
    EXPECT_FALSE(view_->verticalScrollBar()->isEnabled());
    view_->Select(4);
    EXPECT_EQ(view_->selected(), -1) << "clamped into an empty list";
    EXPECT_EQ(LastReadout(), QString());
    EXPECT_EQ(view_->Geometry().HitTest(QPoint(200, 23)), -1);
    EXPECT_EQ(Grab().pixel(210, 23), ToQRgb(RGB(0, 128, 0))) << "grass where a row would be";
}

TEST_F(DriveChart, ReadoutCarriesTheTimeOfPossessionOnlyWhenAskedFor)
{
    Load({{'H', 20, 65, 45}});
    SetClientSize(600, 400);
    view_->Select(0);
    EXPECT_EQ(LastReadout(), QStringLiteral("Selected:\r\n") + drive0);
    view_->SetShowTOP(true);
    view_->UpdateReadout();
    EXPECT_EQ(LastReadout(),
              QStringLiteral("Selected:\r\nHOM drive: 3 plays, 45 yards, TOP 04:12\r\n"
                             "Started by KO on 20 at 15:00 in quarter 1\r\n"
                             "Ended by PUNT on V35 at 10:48 in quarter 1"));
    EXPECT_EQ(DriveChartReadout::Describe(view_->Drives(), 1, true), QString())
        << "outside the list";
    EXPECT_EQ(DriveChartReadout::Describe(view_->Drives(), -1, true), QString());
}

TEST_F(DriveChart, PointingAtAnEntryAndAwayFromItSwitchesTheReadout)
{
    Load({{'H', 20, 65, 45}, {'V', 20, 30, 10}});
    SetClientSize(600, 400);
    MoveMouseTo(CentreOf(0));
    EXPECT_EQ(view_->hover(), 0);
    EXPECT_EQ(LastReadout(), QStringLiteral("Pointing at:\r\n") + drive0);
    SendMouse(QEvent::MouseButtonPress, Qt::LeftButton, CentreOf(0));
    EXPECT_EQ(view_->selected(), 0);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});

    MoveMouseTo(QPoint(300, 200));
    EXPECT_EQ(view_->hover(), -1);
    EXPECT_EQ(LastReadout(), QStringLiteral("Selected:\r\n") + drive0);

    SendMouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(300, 200));
    EXPECT_EQ(view_->selected(), -1) << "a click outside every entry clears the selection";
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, -1}));
    EXPECT_EQ(LastReadout(), QString());
}

TEST_F(DriveChart, MovingWithinTheSameEntryNeitherRepaintsNorSendsText)
{
    Load({{'H', 20, 65, 45}, {'V', 20, 30, 10}});
    SetClientSize(600, 400);
    MoveMouseTo(QPoint(200, 23));
    const std::size_t texts = main_->Of(Announced::DriveText).size();
    EXPECT_EQ(PaintsDuring(view_->viewport(), [&] { MoveMouseTo(QPoint(210, 24)); }), 0);
    EXPECT_EQ(main_->Of(Announced::DriveText).size(), texts);
    EXPECT_EQ(PaintsDuring(view_->viewport(), [&] { MoveMouseTo(QPoint(430, 32)); }), 1);
    EXPECT_EQ(main_->Of(Announced::DriveText).size(), texts + 1);
}

TEST_F(DriveChart, DoubleClickOpensADriveAndRightClickGoesBack)
{
    Load({{'H', 20, 65, 45}, {'V', 20, 30, 10}});
    SetClientSize(600, 400);
    SendMouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(300, 200));
    EXPECT_TRUE(main_->Of(Announced::ListRequested).empty())
        << "drives mode has nothing to go back to";
    MoveMouseTo(CentreOf(1));
    SendMouse(QEvent::MouseButtonDblClick, Qt::LeftButton, CentreOf(1));
    ASSERT_EQ(main_->Of(Announced::PlaysRequested).size(), 1u);
    EXPECT_EQ(main_->Of(Announced::PlaysRequested)[0].value, 2) << "the drive's index, not the row";

    ASSERT_TRUE(view_->readout().contains("drive:"));
    LoadPlaysOfDrive(1);
    EXPECT_EQ(view_->readout(), "") << "no drive read out beside its plays";
    EXPECT_EQ(main_->Of(Announced::DriveText).back().text, "");
    MoveMouseTo(CentreOf(0));
    EXPECT_TRUE(view_->readout().startsWith("Pointing at:\r\nQtr: 1"));
    SendMouse(QEvent::MouseButtonDblClick, Qt::LeftButton, CentreOf(0));
    EXPECT_EQ(main_->Of(Announced::PlaysRequested).size(), 1u) << "plays do not open";
    SendMouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(300, 200));
    EXPECT_EQ(main_->Of(Announced::ListRequested).size(), 1u);
    // The right button's menu event, as the window system sends it after the press.
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(300, 200), QPoint(300, 200));
    QCoreApplication::sendEvent(view_->viewport(), &menu);
    EXPECT_EQ(main_->contextMenus, 0) << "the window's menu stays closed";
}

TEST_F(DriveChart, TheWheelScrollsThreeRowsANotchAndKeepsTheRemainder)
{
    LoadUniform(40);
    SetClientSize(600, 250);
    view_->OnVScroll(DriveChartScroll::ThumbPosition, 10);
    ASSERT_EQ(view_->firstRow(), 10);
    Wheel(60);
    EXPECT_EQ(view_->firstRow(), 10) << "half a notch does not scroll";
    EXPECT_EQ(view_->wheelRemainder(), 60);
    Wheel(60);
    EXPECT_EQ(view_->firstRow(), 7) << "the second half completes the notch";
    EXPECT_EQ(view_->wheelRemainder(), 0);
    Wheel(-240);
    EXPECT_EQ(view_->firstRow(), 13);
    Wheel(-600);
    EXPECT_EQ(view_->firstRow(), 18) << "stops at 40 - 22";
    EXPECT_EQ(HitRectOf(18).top, 20) << "rows laid out after the wheel";
}

TEST_F(DriveChart, ScrollBarCodesMoveTheTopRowWithinTheList)
{
    LoadUniform(40);
    SetClientSize(600, 250);
    view_->OnVScroll(DriveChartScroll::PageDown, 0);
    EXPECT_EQ(view_->firstRow(), 18) << "one page of 22, stopped at 40 - 22";
    view_->OnVScroll(DriveChartScroll::LineUp, 0);
    EXPECT_EQ(view_->firstRow(), 17);
    view_->OnVScroll(DriveChartScroll::PageUp, 0);
    EXPECT_EQ(view_->firstRow(), 0);
    view_->OnVScroll(DriveChartScroll::Bottom, 0);
    EXPECT_EQ(view_->firstRow(), 18);
    view_->OnVScroll(DriveChartScroll::EndScroll, 0);
    EXPECT_EQ(view_->firstRow(), 18);
    Grab();
    EXPECT_EQ(view_->verticalScrollBar()->value(), 18) << "the bar follows at the paint";
    EXPECT_EQ(view_->verticalScrollBar()->pageStep(), 22);
}

TEST_F(DriveChart, PageDownMovesTheSelectionByTheVisibleRowsAndPassesTheKeyOn)
{
    LoadUniform(40);
    SetClientSize(600, 250);
    ASSERT_EQ(view_->Geometry().visibleRows(), 22);
    view_->Select(5);
    SendKey(Qt::Key_PageDown);
    EXPECT_EQ(view_->selected(), 27);
    EXPECT_EQ(view_->firstRow(), 6) << "entry 27 is now the bottom row";
    EXPECT_EQ(SelectedRows(), std::vector<int>{27});
    EXPECT_EQ(main_->keys, std::vector<int>{Qt::Key_PageDown}) << "the key is not swallowed";
    SendKey(Qt::Key_PageDown);
    EXPECT_EQ(view_->selected(), 39) << "clamped to the last entry";
    SendKey(Qt::Key_Home);
    EXPECT_EQ(view_->selected(), 0);
    EXPECT_EQ(view_->firstRow(), 0);
    SendKey(Qt::Key_End);
    EXPECT_EQ(view_->firstRow(), 18);
}

TEST_F(DriveChart, UpWithNothingSelectedSelectsTheFirstEntry)
{
    LoadUniform(5);
    SetClientSize(600, 250);
    view_->Select(-1);
    SendKey(Qt::Key_Up);
    EXPECT_EQ(view_->selected(), 0);
    EXPECT_EQ(LastReadout().left(11), QStringLiteral("Selected:\r\n"));
}

TEST_F(DriveChart, EnsureVisibleBeforeAnyPaintUsesTheCurrentSize)
{
    LoadUniform(40);
    SetClientSize(600, 250);
    view_->resize(view_->width(), view_->height() + 90); // ten more rows, not yet painted
    QApplication::processEvents();
    view_->Select(30);
    view_->EnsureVisible(30);
    EXPECT_EQ(view_->Geometry().visibleRows(), 32);
    EXPECT_GE(30, view_->firstRow());
    EXPECT_LT(30, view_->firstRow() + view_->Geometry().visibleRows());
}

TEST_F(DriveChart, TheExportDescriptionMatchesTheLayout)
{
    Load({{'H', 20, 65, 45}, {'H', 30, 25, -5}});
    SetClientSize(600, 400);
    MoveMouseTo(CentreOf(1));
    const QJsonObject json = DriveChartViewToJson(*view_);
    EXPECT_EQ(json["client"].toArray(), (QJsonArray{600, 400}));
    EXPECT_EQ(json["pixels_per_yard"].toInt(), 5);
    EXPECT_EQ(json["row_area"].toInt(), 350);
    EXPECT_EQ(json["hover"].toInt(), 1);
    EXPECT_EQ(json["selected"].toInt(), -1);
    EXPECT_TRUE(json["readout"].toString().startsWith("Pointing at:\r\nHOM drive: 4 plays"));
    const QJsonArray items = json["items"].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]["hit_rect"].toArray(), (QJsonArray{150, 20, 376, 27}));
    EXPECT_EQ(items[0]["arrow"].toArray().size(), 5);
    EXPECT_EQ(items[0]["arrow"].toArray()[2].toArray(), (QJsonArray{375, 23}));
    EXPECT_TRUE(items[1]["arrow"].isNull()) << "a box has no arrow";
}

TEST_F(DriveChart, TheSunkenEdgeLeavesRoomForEveryRowAtTheLayoutsSmallestHeight)
{
    LoadUniform(23);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    // The main window never makes the chart shorter than 9 x count + 2 edges + 47.
    view_->setGeometry(0, 0, 600, 9 * 23 + 2 * edge + 47);
    QApplication::processEvents();
    view_->UpdateGeometry();
    EXPECT_EQ(view_->viewport()->height(), view_->height() - 2 * edge);
    EXPECT_FALSE(view_->Geometry().scrolling()) << "every row fits inside the edge";
    view_->setGeometry(0, 0, 600, view_->height() - 1);
    QApplication::processEvents();
    view_->UpdateGeometry();
    EXPECT_TRUE(view_->Geometry().scrolling());
}

TEST_F(DriveChart, PointingRightAfterAScrollNamesTheEntryNowInThatRow)
{
    LoadUniform(40);
    SetClientSize(600, 250);
    view_->OnVScroll(DriveChartScroll::ThumbPosition, 10);
    // No repaint in between: the top row (y 20..26, x 150..200) holds entry 10 now.
    MoveMouseTo(QPoint(175, 23));
    EXPECT_EQ(view_->hover(), 10);
    EXPECT_TRUE(LastReadout().startsWith("Pointing at:\r\n"));
}
