#pragma once

#include "gridctrl/CSubItemData.h"

#include <cstdint>
#include <optional>
#include <vector>

// The data of one row: the caller's row data and the row's cells by column.
// A column inserted after the row was has no cell data; its cells are drawn
// with the control's fallback colours.
class CItemData
{
public:
    CItemData() = default;

    std::int32_t data = 0; // the caller's row data

    // The cell data of a column, or null when the row has none for it.
    CSubItemData *Cell(int column);
    const CSubItemData *Cell(int column) const;

    // Gives the column cell data (replacing any).
    void SetCell(int column, const CSubItemData &cell);

    // Keeps the cells attached to their columns when a column is inserted
    // before them (the new column has no cell data) or deleted.
    void InsertColumn(int column);
    void DeleteColumn(int column);

private:
    std::vector<std::optional<CSubItemData>> cells_;
};

inline CSubItemData *CItemData::Cell(int column)
{
    if (column < 0 || column >= static_cast<int>(cells_.size()) || !cells_[column])
        return nullptr;
    return &*cells_[column];
}

inline const CSubItemData *CItemData::Cell(int column) const
{
    return const_cast<CItemData *>(this)->Cell(column);
}
