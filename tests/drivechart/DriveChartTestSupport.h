#pragma once

#include "drivechart/CDriveChartWnd.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "platform/Messages.h"
#include "platform/QtConversions.h"

#include "../support/ScratchDirectory.h"

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

// One private message as the main window received it; the text of
// UM_SETDRIVETEXT is copied while it is valid.
struct ReceivedMessage {
    unsigned message;
    WPARAM wParam;
    QString text;
};

// Stands in for the main window: records every private message and every key
// that reaches it.
class MessageSink : public QWidget
{
public:
    std::vector<ReceivedMessage> messages;
    std::vector<int> keys;

    std::vector<ReceivedMessage> Of(unsigned message) const
    {
        std::vector<ReceivedMessage> found;
        for (const ReceivedMessage &m : messages)
            if (m.message == message)
                found.push_back(m);
        return found;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == CMessageEvent::EventType()) {
            auto *m = static_cast<CMessageEvent *>(event);
            QString text;
            if (m->Message() == UM_SETDRIVETEXT)
                text = QString::fromUtf8(reinterpret_cast<const char *>(m->WParam()));
            messages.push_back({m->Message(), m->WParam(), text});
            return true;
        }
        return QWidget::event(event);
    }
    void keyPressEvent(QKeyEvent *event) override { keys.push_back(event->key()); }
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

    // Loads the drives into the list and gives the view its client size.
    void Load(const std::vector<DriveRecord> &drives);
    void LoadPlaysOfDrive(int driveIndex);
    // `count` home drives from spot 20 to 30.
    void LoadUniform(int count);
    void SetClientSize(int width, int height);
    // The client area as painted now.
    QImage Grab();
    // The centre of entry k's hit rectangle after a layout.
    QPoint CentreOf(int k);
    void MoveMouseTo(const QPoint &point);
    void SendMouse(QEvent::Type type, Qt::MouseButton button, const QPoint &point);
    // A key press and release with the view focused.
    void SendKey(int key);

    ScratchDirectory dir_;
    CGameDocument document_;
    std::array<CTeamStats, 2> teams_;
    CDriveChartData data_;
    std::unique_ptr<MessageSink> main_;
    CDriveChartWnd *view_ = nullptr;
};
