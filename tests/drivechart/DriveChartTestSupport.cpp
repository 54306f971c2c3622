#include "DriveChartTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

std::string DriveGameXml(const std::vector<DriveRecord> &drives)
{
    std::string xml = R"(<fbgame>
  <venue><rules qtrs="4" field="100"/></venue>
  <team vh="H" name="Home Club" id="HOM" record=""><totals/></team>
  <team vh="V" name="Away Club" id="AWY" record=""><totals/></team>
  <drives>
)";
    std::string starts;
    for (std::size_t k = 0; k < drives.size(); ++k) {
        const DriveRecord &d = drives[k];
        const std::string index = std::to_string(k + 1);
        xml += "    <drive driveindex=\"" + index + "\" vh=\"" + d.vh + "\" plays=\"" +
               std::to_string(k + 3) + "\" yards=\"" + std::to_string(d.yards) +
               "\" top=\"04:12\" start=\"KO,1,15:00," + std::to_string(d.startSpot) +
               "\" end=\"PUNT,1,10:48," + std::to_string(d.endSpot) + "\"/>\n";
        starts += "      <drivestart driveindex=\"" + index + ",1\" vh=\"" + d.vh + "\"/>\n";
    }
    xml += "  </drives>\n  <plays>\n    <qtr number=\"1\">\n" + starts;
    // Plays without drive records would tell of drives of their own.
    if (!drives.empty())
        xml +=
            R"(      <play playid="1,1,1" context="H,1,10,H20" type="R" yds="5" text="Smith run for 5." clock="14:30"/>
      <play playid="1,2,2" context="H,2,5,H25" type="P" yds="0" text="Pass incomplete." clock="14:01"/>
      <play playid="1,3,3" context="H,3,5,H25" type="P" yds="12" text="Pass complete." clock="13:40"/>
)";
    xml += R"(    </qtr>
  </plays>
</fbgame>)";
    return xml;
}

void DriveChartFixture::SetUp()
{
    main_ = std::make_unique<MessageSink>();
    main_->resize(900, 700);
    view_ = new CDriveChartWnd(main_.get(), 1038);
    main_->Listen(view_);
    teams_[0].SetSide('H');
    teams_[1].SetSide('V');
    main_->show();
}

void DriveChartFixture::TearDown()
{
    main_.reset();
}

void DriveChartFixture::Load(const std::vector<DriveRecord> &drives)
{
    ASSERT_TRUE(document_.Open(dir_.Write("game.xml", DriveGameXml(drives))))
        << document_.LastError();
    teams_[0].LoadGame(document_);
    teams_[1].LoadGame(document_);
    filter_ = DriveFilter{};
    data_ = CDriveChartData::Load(document_, teams_, filter_, data_);
    ASSERT_EQ(data_.count(), static_cast<int>(drives.size()));
    view_->SetDrives(data_);
}

void DriveChartFixture::LoadPlaysOfDrive(int driveIndex)
{
    filter_.playsOfDrive = driveIndex;
    data_ = CDriveChartData::Load(document_, teams_, filter_, data_);
    view_->SetDrives(data_);
}

void DriveChartFixture::LoadUniform(int count)
{
    Load(std::vector<DriveRecord>(count, DriveRecord{}));
}

void DriveChartFixture::SetClientSize(int width, int height)
{
    const int frame = view_->width() - view_->viewport()->width();
    const int frameV = view_->height() - view_->viewport()->height();
    view_->setGeometry(0, 0, width + frame, height + frameV);
    QApplication::processEvents();
    ASSERT_EQ(view_->viewport()->size(), QSize(width, height));
    view_->UpdateGeometry();
}

QImage DriveChartFixture::Grab()
{
    return view_->viewport()->grab().toImage();
}

QPoint DriveChartFixture::CentreOf(int k)
{
    return ToQPoint(HitRectOf(k).CenterPoint());
}

CRect DriveChartFixture::HitRectOf(int k)
{
    view_->UpdateGeometry();
    return view_->Geometry().HitRect(k);
}

void DriveChartFixture::MoveMouseTo(const QPoint &point)
{
    SendMouse(QEvent::MouseMove, Qt::NoButton, point);
}

void DriveChartFixture::SendMouse(QEvent::Type type, Qt::MouseButton button, const QPoint &point)
{
    const QPointF local(point);
    const QPointF global = view_->viewport()->mapToGlobal(local);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &event);
}

void DriveChartFixture::SendKey(int key)
{
    view_->setFocus();
    QTest::keyClick(view_, static_cast<Qt::Key>(key));
}
