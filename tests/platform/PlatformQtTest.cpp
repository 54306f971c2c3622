// The window-system stand-ins: colours, rectangles and drawing, messages,
// notifications, control ids and fonts.
#include "platform/CRect.h"
#include "platform/Colors.h"
#include "platform/ControlIds.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"
#include "platform/GdiPainting.h"
#include "platform/Messages.h"
#include "platform/NotifyEvent.h"
#include "platform/QtConversions.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

namespace
{

TEST(Colours, RgbKeepsRedInTheLowByte)
{
    constexpr COLORREF c = RGB(1, 2, 3);
    static_assert(c == 0x030201);
    EXPECT_EQ(GetRValue(c), 1);
    EXPECT_EQ(GetGValue(c), 2);
    EXPECT_EQ(GetBValue(c), 3);
    EXPECT_EQ(ToQColor(RGB(10, 36, 106)), QColor(10, 36, 106));
    EXPECT_EQ(ToQRgb(RGB(10, 36, 106)), qRgb(10, 36, 106));
}

// A 6x6 white image to draw on.
QImage Canvas()
{
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

std::vector<QPoint> Coloured(const QImage &image)
{
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                points.emplace_back(x, y);
    return points;
}

TEST(Rectangles, RightAndBottomEdgesAreExcluded)
{
    const CRect one(2, 3, 3, 4);
    EXPECT_EQ(one.Width(), 1);
    EXPECT_EQ(ToQRect(one), QRect(2, 3, 1, 1));
    EXPECT_EQ(FromQRect(QRect(2, 3, 1, 1)), one);
    EXPECT_TRUE(one.PtInRect(FromQPoint(QPoint(2, 3))));
    EXPECT_FALSE(one.PtInRect(FromQPoint(QPoint(3, 3))));
    EXPECT_EQ(ToQPoint(CRect(0, 0, 10, 5).CenterPoint()), QPoint(5, 2));
    EXPECT_TRUE(CRect(2, 3, 2, 9).IsRectEmpty());

    QImage image = Canvas();
    {
        QPainter painter(&image);
        FillSolidRect(painter, one, RGB(0, 0, 0));
        FillSolidRect(painter, CRect(4, 4, 4, 6), RGB(0, 0, 0)); // empty: nothing
    }
    EXPECT_EQ(Coloured(image), std::vector<QPoint>{QPoint(2, 3)});
}

TEST(Rectangles, LinesLeaveOutTheirEndPoint)
{
    QImage image = Canvas();
    {
        QPainter painter(&image);
        const QPen pen(Qt::black, 1);
        DrawLineTo(painter, pen, 1, 1, 4, 1); // x 1..3
        DrawLineTo(painter, pen, 5, 4, 5, 1); // y 4..2, drawn upwards
    }
    EXPECT_EQ(Coloured(image), (std::vector<QPoint>{QPoint(1, 1), QPoint(2, 1), QPoint(3, 1),
                                                    QPoint(5, 2), QPoint(5, 3), QPoint(5, 4)}));
}

TEST(Rectangles, ThreeDimensionalFrameHasTwoColours)
{
    QImage image = Canvas();
    {
        QPainter painter(&image);
        Draw3dRect(painter, CRect(1, 1, 5, 5), RGB(255, 0, 0), RGB(0, 0, 255));
    }
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 255)); // top-right corner belongs to the right edge
    EXPECT_EQ(image.pixel(1, 4), qRgb(0, 0, 255)); // bottom-left corner to the bottom edge
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(Rectangles, FocusFrameIsDottedAndDrawingItTwiceErasesIt)
{
    QImage image = Canvas();
    const QImage before = image;
    {
        QPainter painter(&image);
        DrawFocusRect(painter, CRect(0, 0, 6, 6));
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255)); // inside untouched
    {
        QPainter painter(&image);
        DrawFocusRect(painter, CRect(0, 0, 6, 6));
    }
    EXPECT_EQ(image, before);
}

// Records the private messages it receives and answers with wParam + lParam.
class MessageWindow : public QWidget
{
public:
    struct Received {
        unsigned message;
        WPARAM wParam;
        LPARAM lParam;
        bool onOwnThread;
    };
    std::vector<Received> received;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == CMessageEvent::EventType()) {
            auto *m = static_cast<CMessageEvent *>(event);
            received.push_back(
                {m->Message(), m->WParam(), m->LParam(), QThread::currentThread() == thread()});
            m->SetResult(m->WParam() + m->LParam());
            return true;
        }
        if (event->type() == CNotifyEvent::EventType()) {
            auto *n = static_cast<CNotifyEvent *>(event);
            notifications.push_back({n->IdFrom(), n->Code(), n->Row(), n->Column()});
            n->SetHandled();
            return true;
        }
        return QWidget::event(event);
    }

public:
    struct Notified {
        int id, code, row, column;
        bool operator==(const Notified &) const = default;
    };
    std::vector<Notified> notifications;
};

// Sample message numbers of two private messages.
constexpr unsigned kFirstMessage = WM_USER + 2;
constexpr unsigned kSecondMessage = WM_USER + 5;

TEST(Messages, SendDeliversAtOnceAndReturnsTheAnswer)
{
    MessageWindow window;
    EXPECT_EQ(SendMessage(&window, WM_USER + 6, -7, 3), -4);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, 0x406u);
    EXPECT_EQ(window.received[0].wParam, -7);
    EXPECT_EQ(SendMessage(nullptr, kSecondMessage), 0);
}

TEST(Messages, PostIsDeliveredLaterOnTheWindowsThread)
{
    MessageWindow window;
    PostMessage(&window, kFirstMessage);
    std::thread watcher([&window] { PostMessage(&window, kSecondMessage, 1); });
    watcher.join();
    EXPECT_TRUE(window.received.empty());
    QApplication::processEvents();
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[0].message, kFirstMessage);
    EXPECT_EQ(window.received[1].message, kSecondMessage);
    EXPECT_TRUE(window.received[1].onOwnThread);
}

TEST(Messages, APostToAWindowDestroyedBeforeDeliveryIsDropped)
{
    auto window = std::make_unique<MessageWindow>();
    MessageWindow survivor;
    PostMessage(window.get(), kSecondMessage);
    PostMessage(&survivor, kFirstMessage);
    window.reset();
    QApplication::processEvents(); // must not touch the destroyed window
    ASSERT_EQ(survivor.received.size(), 1u);
    EXPECT_EQ(survivor.received[0].message, kFirstMessage);
}

TEST(Notifications, TravelFromAControlToItsParentWithItsId)
{
    MessageWindow parent;
    auto *control = new QWidget(&parent);
    SetDlgCtrlID(control, 1031);
    EXPECT_TRUE(NotifyParent(control, NM_DBLCLK, 4, 2));
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0], (MessageWindow::Notified{1031, NM_DBLCLK, 4, 2}));

    QWidget orphan;
    EXPECT_FALSE(NotifyParent(&orphan, LVN_COLUMNCLICK, 0, 1));
}

TEST(ControlIds, FindChildrenByTheirId)
{
    QWidget parent;
    auto *a = new QWidget(&parent);
    auto *b = new QWidget(&parent);
    SetDlgCtrlID(a, IDC_PASSING);
    SetDlgCtrlID(b, IDC_RUSHING);
    EXPECT_EQ(GetDlgCtrlID(b), 1031);
    EXPECT_EQ(GetDlgItem(&parent, IDC_PASSING), a);
    EXPECT_EQ(GetDlgItem(&parent, IDC_RECEIVING), nullptr);
    EXPECT_EQ(GetDlgCtrlID(&parent), 0);
}

TEST(Fonts, ClassicFacesMapToTheInstalledStandIns)
{
    const QFont dialog = DialogFont();
    ASSERT_TRUE(QFontDatabase::hasFamily("Liberation Sans")) << "fonts-liberation is not installed";
    EXPECT_EQ(QFontInfo(dialog).family(), "Liberation Sans");
    EXPECT_EQ(dialog.weight(), QFont::Normal);
    // As wide as the classic dialog font's letters, and at most a pixel
    // lower.
    const QSize base = DialogBaseUnits(dialog);
    EXPECT_EQ(base.width(), kClassicDialogBaseUnits.width());
    EXPECT_LE(std::abs(base.height() - kClassicDialogBaseUnits.height()), 1);

    const QFont console = CreatePointFont("Lucida Console", 8, 700);
    EXPECT_EQ(QFontInfo(console).family(), "DejaVu Sans Mono");
    EXPECT_TRUE(QFontInfo(console).bold());

    // Bigger sizes keep the stand-in's proportions.
    const QFont tahoma = CreatePointFont("tahoma", 18, 700);
    EXPECT_EQ(QFontInfo(tahoma).family(), "Liberation Sans");
    EXPECT_EQ(tahoma.pixelSize(), (dialog.pixelSize() * 18 + 4) / 8);
    EXPECT_EQ(QFontInfo(SystemFont()).family(), "Liberation Sans");
}

TEST(Fonts, WithoutThePreferredFamilyTheFallbackIsSizedByItsMeasuredLetters)
{
    const StandInFace fallback = StandInDialogFace({"No Such Family Anywhere", "DejaVu Sans"});
    EXPECT_EQ(fallback.family, "DejaVu Sans");
    QFont font(fallback.family);
    font.setPixelSize(fallback.pixelSize);
    // At 8 points (11 pixels) DejaVu Sans letters average 7 pixels; the
    // fallback takes the size whose letters are 6 wide like the classic ones.
    EXPECT_EQ(DialogBaseUnits(font).width(), kClassicDialogBaseUnits.width());

    const StandInFace none = StandInDialogFace({"No Such Family Anywhere"});
    EXPECT_EQ(none.family, "DejaVu Sans");
    EXPECT_GT(none.pixelSize, 0);
}

} // namespace
