#include "gridctrl/CItemData.h"

void CItemData::SetCell(int column, const CSubItemData &cell)
{
    if (column < 0)
        return;
    if (column >= static_cast<int>(cells_.size()))
        cells_.resize(column + 1);
    cells_[column] = cell;
}

void CItemData::InsertColumn(int column)
{
    if (column >= 0 && column < static_cast<int>(cells_.size()))
        cells_.insert(cells_.begin() + column, std::nullopt);
}

void CItemData::DeleteColumn(int column)
{
    if (column >= 0 && column < static_cast<int>(cells_.size()))
        cells_.erase(cells_.begin() + column);
}
