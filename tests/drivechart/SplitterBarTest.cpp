// The splitter bar: its cursor and grip, the tracker it draws over the parent while
// dragged, and the offset it reports on release.
#include "DriveChartTestSupport.h"

#include "drivechart/CSplitterBar.h"

#include <QApplication>
#include <QMouseEvent>

namespace
{

const QRgb kRed = ToQRgb(RGB(255, 0, 0));
const QRgb kInvertedRed = ToQRgb(RGB(0, 255, 255));

class SplitterBar : public testing::Test
{
protected:
    void SetUp() override
    {
        main_.resize(300, 300);
        // A red child under the bar: the tracker must show over children too.
        auto *below = new QWidget(&main_);
        below->setGeometry(0, 0, 300, 300);
        below->setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(255, 0, 0));
        below->setPalette(palette);
        bar_ = new CSplitterBar(&main_, 1047);
        bar_->setGeometry(0, 100, 300, 4);
        QObject::connect(bar_, &CSplitterBar::splitterMoved, &main_,
                         [this](int y) { offsets_.push_back(y); });
        main_.show();
        QApplication::processEvents();
    }
    void Send(QEvent::Type type, int y)
    {
        const QPointF local(10, y);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, bar_->mapToGlobal(local), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(bar_, &event);
    }
    std::vector<int> Offsets() const { return offsets_; }

    MessageSink main_;
    std::vector<int> offsets_;
    CSplitterBar *bar_ = nullptr;
};

} // namespace

TEST_F(SplitterBar, ShowsTheUpAndDownCursorAndAVisibleGrip)
{
    EXPECT_EQ(bar_->cursor().shape(), Qt::SplitVCursor);
    const QImage image = main_.grab().toImage();
    int gripDots = 0;
    for (int x = 0; x < 300; ++x) {
        EXPECT_NE(image.pixel(x, 101), kRed) << "the bar is drawn all along, at x " << x;
        gripDots += qGray(image.pixel(x, 101)) < 64 ? 1 : 0;
    }
    EXPECT_GE(gripDots, 8) << "dark dots in the middle of the bar";
}

TEST_F(SplitterBar, ReleasingThirtyPixelsLowerReportsThirtyTwo)
{
    Send(QEvent::MouseButtonPress, 2);
    EXPECT_TRUE(bar_->Dragging());
    Send(QEvent::MouseMove, 20);
    Send(QEvent::MouseMove, 32);
    EXPECT_EQ(bar_->LastTracker(), CRect(0, 130, 300, 134)) << "around y 32, in the parent";
    Send(QEvent::MouseButtonRelease, 32);
    EXPECT_FALSE(bar_->Dragging());
    EXPECT_EQ(Offsets(), std::vector<int>{32});
}

TEST_F(SplitterBar, ReleasingAboveTheBarReportsANegativeOffset)
{
    Send(QEvent::MouseButtonPress, 1);
    Send(QEvent::MouseMove, -10);
    Send(QEvent::MouseButtonRelease, -10);
    EXPECT_EQ(Offsets(), std::vector<int>{-10});
}

TEST_F(SplitterBar, TheTrackerInvertsAHalftoneBandAndLeavesNothingBehind)
{
    Send(QEvent::MouseButtonPress, 2);
    Send(QEvent::MouseMove, 52); // tracker over the parent's y 150 .. 153
    QImage image = main_.grab().toImage();
    EXPECT_EQ(image.pixel(150, 150), kInvertedRed) << "(150, 150) is a dot of the halftone";
    EXPECT_EQ(image.pixel(151, 150), kRed) << "its neighbour is not";
    EXPECT_EQ(image.pixel(151, 151), kInvertedRed);
    EXPECT_EQ(image.pixel(150, 154), kRed) << "the band is 4 pixels high";
    EXPECT_EQ(image.pixel(151, 149), kRed);

    Send(QEvent::MouseButtonRelease, 52);
    EXPECT_TRUE(bar_->LastTracker().IsRectEmpty());
    image = main_.grab().toImage();
    EXPECT_EQ(image.pixel(150, 150), kRed);
    EXPECT_EQ(image.pixel(151, 151), kRed);
}
