#pragma once

#include "drivechart/CDriveChartWnd.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "platform/QtConversions.h"

#include "../support/ScratchDirectory.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWidget>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// What the drive chart announces.
enum class Announced { DriveText, RowSelected, PlaysRequested, ListRequested };

// One announcement as the page received it: its number argument, or its text.
struct ReceivedMessage {
    Announced signal;
    int value;
    QString text;
};

// Stands in for the main window: records every announcement of the widgets
// it listens to and every key that reaches it.
class MessageSink : public QWidget
{
public:
    std::vector<ReceivedMessage> messages;
    std::vector<int> keys;
    int contextMenus = 0; // context menu events that reached the window

    // Records the chart's signals.
    void Listen(CDriveChartWnd *chart)
    {
        connect(chart, &CDriveChartWnd::driveTextChanged, this, [this](const QString &text) {
            messages.push_back({Announced::DriveText, 0, text});
        });
        connect(chart, &CDriveChartWnd::driveRowSelected, this, [this](int row) {
            messages.push_back({Announced::RowSelected, row, {}});
        });
        connect(chart, &CDriveChartWnd::drivePlaysRequested, this, [this](int drive) {
            messages.push_back({Announced::PlaysRequested, drive, {}});
        });
        connect(chart, &CDriveChartWnd::driveListRequested, this, [this] {
            messages.push_back({Announced::ListRequested, 0, {}});
        });
    }

    std::vector<ReceivedMessage> Of(Announced signal) const
    {
        std::vector<ReceivedMessage> found;
        for (const ReceivedMessage &m : messages)
            if (m.signal == signal)
                found.push_back(m);
        return found;
    }

protected:
    void keyPressEvent(QKeyEvent *event) override { keys.push_back(event->key()); }
    void contextMenuEvent(QContextMenuEvent *) override { ++contextMenus; }
};

// A drive as the game file gives it: spots count from the driving team's own
// goal line.
struct DriveRecord {
    char vh = 'H';
    int startSpot = 20;
    int endSpot = 30;
    int yards = 10;
};

// A game file with the given drives (drive k has driveindex k + 1), all in
// quarter 1, and three plays of drive 1.
std::string DriveGameXml(const std::vector<DriveRecord> &drives);

// A main window holding a drive chart view whose client area has an exact size.
class DriveChartFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the drives into the list and gives it to the view.
    void Load(const std::vector<DriveRecord> &drives);
    void LoadPlaysOfDrive(int driveIndex);
    // `count` home drives from spot 20 to 30.
    void LoadUniform(int count);
    void SetClientSize(int width, int height);
    // The client area as painted now.
    QImage Grab();
    // The centre of entry k's hit rectangle after a layout.
    QPoint CentreOf(int k);
    // Where entry k is drawn now.
    CRect HitRectOf(int k);
    void MoveMouseTo(const QPoint &point);
    void SendMouse(QEvent::Type type, Qt::MouseButton button, const QPoint &point);
    // A key press and release with the view focused.
    void SendKey(int key);

    ScratchDirectory dir_;
    CGameDocument document_;
    std::array<CTeamStats, 2> teams_;
    DriveFilter filter_;
    CDriveChartData data_;
    std::unique_ptr<MessageSink> main_;
    CDriveChartWnd *view_ = nullptr;
};
