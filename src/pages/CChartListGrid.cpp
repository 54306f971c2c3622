#include "CChartListGrid.h"

#include "gamedata/CDriveChartData.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace
{

constexpr COLORREF kVisitorRowColor = RGB(128, 128, 128);

} // namespace

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

void CChartListGrid::Fill(const CDriveChartData &drives)
{
    const RedrawPause pause(*this);
    DeleteAllItems();
    const int columns = static_cast<int>(columns_.size());
    for (int i = 0; i < drives.count(); ++i) {
        const CChartItem &item = drives.item(i);
        InsertItem(i, QString::fromStdString(columns_[0].value(drives, item)));
        for (int column = 1; column < columns; ++column) {
            if (ShowsColumn(column))
                SetItemText(i, column,
                            QString::fromStdString(columns_[column].value(drives, item)));
        }
        if (item.team == 0)
            SetRowColors(i, RGB(0, 0, 0), RGB(255, 255, 255));
        else
            SetRowColors(i, RGB(255, 255, 255), kVisitorRowColor);
    }
}

void CChartListGrid::announceSelection()
{
    emit chartDriveSelected(GetFirstSelectedRow());
}

void CChartListGrid::mousePressEvent(QMouseEvent *event)
{
    CStatGridCtrl::mousePressEvent(event);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        announceSelection();
}

void CChartListGrid::keyPressEvent(QKeyEvent *event)
{
    CStatGridCtrl::keyPressEvent(event);
    announceSelection();
}
