#include "CPlayerStatGrid.h"

#include "gamedata/CSeasonStats.h"
#include "gamedata/TextNumbers.h"

namespace
{

QString text(std::string_view value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

} // namespace

CPlayerStatGrid::CPlayerStatGrid(const StatTableLayout &layout, QWidget *parent, int id)
    : CStatGridCtrl(parent, id), layout_(layout)
{
}

void CPlayerStatGrid::SetupColumns()
{
    SetSortable(true);
    int index = 0;
    for (const StatColumn &column : layout_.columns) {
        AddColumn(index, text(column.header), column.alignment, column.width, column.sortKind,
                  column.leaders);
        ++index;
    }
}

void CPlayerStatGrid::FillTeam(const CTeamStats &team, const CSeasonStats &season)
{
    const RedrawPause pause(*this);
    DeleteAllItems();
    SetColumnText(0, QString::fromStdString(team.GetTeamValue("Short Name")));
    const int columns = static_cast<int>(layout_.columns.size());
    int row = 0;
    for (int player = 0; player < team.playerCount(); ++player) {
        if (TextNumbers::LeadingInt(team.GetPlayerValue(player, layout_.gateLabel)) == 0)
            continue;
        InsertItem(row, QString::fromStdString(team.GetPlayerValue(player, "Name")));
        for (int column = 1; column < columns; ++column) {
            const StatColumn &definition = layout_.columns[column];
            if (definition.IsSeparator())
                SetCellBkColor(row, column, GetSysColor(COLOR_BTNFACE));
            else
                SetStatCell(row, column, team, season, player, definition.label);
        }
        SetItemData(row, player);
        ++row;
    }
    if (row == 0) {
        InsertItem(0, QStringLiteral("None"));
        SetItemData(0, -1);
    }
    MarkColumnLeaders();
}
