#include "CChartListGrid.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Messages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <array>

namespace
{

constexpr COLORREF kVisitorRowColor = RGB(128, 128, 128);
constexpr int kDriveTopColumn = 12;

std::string teamName(const CDriveChartData &drives, const CChartItem &item)
{
    return drives.GetShortName(item.team);
}

std::string nothing(const CDriveChartData &, const CChartItem &)
{
    return {};
}

template <auto Field> std::string field(const CDriveChartData &, const CChartItem &item)
{
    return std::string(item.*Field);
}

std::string playsAndYards(const CDriveChartData &, const CChartItem &item)
{
    return std::string(item.plays) + " - " + std::string(item.yards);
}

constexpr std::array<ChartListColumn, 13> kDriveColumns{{
    {"Team", 44, teamName},
    {"Qtr", 33, field<&CChartItem::startQtr>},
    {"", 6, nothing},
    {"Spot", 33, field<&CChartItem::startSpot>},
    {"Time", 40, field<&CChartItem::startTime>},
    {"Start", 50, field<&CChartItem::startHow>},
    {"", 6, nothing},
    {"Spot", 33, field<&CChartItem::endSpot>},
    {"Time", 40, field<&CChartItem::endTime>},
    {"End", 50, field<&CChartItem::endHow>},
    {"", 6, nothing},
    {"Plays-Yds", 55, playsAndYards},
    {"TOP", 40, field<&CChartItem::top>},
}};

constexpr std::array<ChartListColumn, 8> kPlayColumns{{
    {"Team", 44, teamName},
    {"Qtr", 33, field<&CChartItem::startQtr>},
    {"", 6, nothing},
    {"Down", 40, field<&CChartItem::top>},
    {"Spot", 55, field<&CChartItem::startSpot>},
    {"Time", 40, field<&CChartItem::startTime>},
    {"Play", 300, field<&CChartItem::startHow>},
    {"Yds", 33, field<&CChartItem::yards>},
}};

} // namespace

CChartListGrid::CChartListGrid(std::span<const ChartListColumn> columns, QWidget *parent, int id)
    : CStatGridCtrl(parent, id), columns_(columns)
{
}

void CChartListGrid::SetupColumns()
{
    int index = 0;
    for (const ChartListColumn &column : columns_) {
        AddColumn(index, QString::fromLatin1(column.header), LVCFMT_LEFT, column.width, kSortText,
                  false);
        ++index;
    }
}

bool CChartListGrid::ShowsColumn(int) const
{
    return true;
}

void CChartListGrid::Fill()
{
    DeleteAllItems();
    if (!drives_)
        return;
    const int columns = static_cast<int>(columns_.size());
    for (int i = 0; i < drives_->count(); ++i) {
        const CChartItem &item = drives_->item(i);
        InsertItem(i, QString::fromStdString(columns_[0].value(*drives_, item)));
        for (int column = 1; column < columns; ++column) {
            if (ShowsColumn(column))
                SetItemText(i, column,
                            QString::fromStdString(columns_[column].value(*drives_, item)));
        }
        if (item.team == 0)
            SetRowColors(i, RGB(0, 0, 0), RGB(255, 255, 255));
        else
            SetRowColors(i, RGB(255, 255, 255), kVisitorRowColor);
    }
}

void CChartListGrid::TellMainWindow()
{
    SendMessage(window(), UM_SELECTCHARTDRIVE, GetFirstSelectedRow(), 0);
}

void CChartListGrid::mousePressEvent(QMouseEvent *event)
{
    CStatGridCtrl::mousePressEvent(event);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        TellMainWindow();
}

void CChartListGrid::keyPressEvent(QKeyEvent *event)
{
    CStatGridCtrl::keyPressEvent(event);
    TellMainWindow();
}

CDriveListGrid::CDriveListGrid(QWidget *parent, int id) : CChartListGrid(kDriveColumns, parent, id)
{
}

bool CDriveListGrid::ShowsColumn(int column) const
{
    return column != kDriveTopColumn || showTOP_;
}

void CDriveListGrid::Fill()
{
    SetColumnWidth(kDriveTopColumn, showTOP_ ? 40 : 0);
    SetColumnText(kDriveTopColumn, showTOP_ ? QStringLiteral("TOP") : QString(""));
    CChartListGrid::Fill();
}

CPlayListGrid::CPlayListGrid(QWidget *parent, int id) : CChartListGrid(kPlayColumns, parent, id) {}
