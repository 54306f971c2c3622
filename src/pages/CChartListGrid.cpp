#include "CChartListGrid.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Messages.h"

#include <QKeyEvent>
#include <QMouseEvent>

std::string ChartListValues::TeamName(const CDriveChartData &drives, const CChartItem &item)
{
    return drives.GetShortName(item.team);
}

std::string ChartListValues::Nothing(const CDriveChartData &, const CChartItem &)
{
    return {};
}

std::string ChartListValues::PlaysAndYards(const CDriveChartData &, const CChartItem &item)
{
    return std::string(item.plays) + " - " + std::string(item.yards);
}

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
    const RedrawPause pause(*this);
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
        const TeamColors colors = TeamColorsOf(item.team == 0 ? 0 : 1);
        SetRowColors(i, colors.text, colors.background);
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
