#include "views/ChartListTables.h"

#include "gamedata/CDriveChartData.h"
#include "views/PlaysAndYards.h"

#include <array>
#include <string>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

constexpr int kDriveTopColumn = 12;

using Value = std::string (*)(const CDriveChartData &drives, const CChartItem &item);

// One column of a list: caption, width, and what it shows of an entry.
struct ListColumn {
    const char *caption;
    int width;
    Value value;
};

std::string teamName(const CDriveChartData &drives, const CChartItem &item)
{
    return drives.GetShortName(item.team);
}

std::string nothing(const CDriveChartData &, const CChartItem &)
{
    return {};
}

std::string playsAndYards(const CDriveChartData &, const CChartItem &item)
{
    return PlaysAndYardsText(item.plays.str(), item.yards.str()).toStdString();
}

template <auto Field> std::string text(const CDriveChartData &, const CChartItem &item)
{
    return (item.*Field).str();
}

constexpr std::array<ListColumn, 13> kDriveColumns{{
    {"Team", 44, teamName},
    {"Qtr", 33, text<&CChartItem::startQtr>},
    {"", 6, nothing},
    {"Spot", 33, text<&CChartItem::startSpot>},
    {"Time", 40, text<&CChartItem::startTime>},
    {"Start", 50, text<&CChartItem::startHow>},
    {"", 6, nothing},
    {"Spot", 33, text<&CChartItem::endSpot>},
    {"Time", 40, text<&CChartItem::endTime>},
    {"End", 50, text<&CChartItem::endHow>},
    {"", 6, nothing},
    {"Plays-Yds", 55, playsAndYards},
    {"TOP", 40, text<&CChartItem::top>},
}};

constexpr std::array<ListColumn, 8> kPlayColumns{{
    {"Team", 44, teamName},
    {"Qtr", 33, text<&CChartItem::startQtr>},
    {"", 6, nothing},
    {"Down", 40, text<&CChartItem::top>},
    {"Spot", 55, text<&CChartItem::startSpot>},
    {"Time", 40, text<&CChartItem::startTime>},
    {"Play", 300, text<&CChartItem::startHow>},
    {"Yds", 33, text<&CChartItem::yards>},
}};

template <std::size_t N> std::vector<TableColumn> columnsOf(const std::array<ListColumn, N> &list)
{
    std::vector<TableColumn> columns;
    for (const ListColumn &column : list)
        columns.push_back({QString::fromLatin1(column.caption), column.width, TableAlignment::Left,
                           TableSortKind::Text, false});
    return columns;
}

// A cell as the lists draw it: a text that starts with "&" is bold, without the "&".
TableCell cellOf(const std::string &value)
{
    TableCell cell = TableCell::Text(QString::fromStdString(value));
    if (cell.text.startsWith(u'&')) {
        cell.text.remove(0, 1);
        cell.bold = true;
    }
    return cell;
}

// One row per entry; the columns `shown` says no to stay empty.
template <std::size_t N, typename Shown>
StatTable tableOf(const CDriveChartData &drives, const std::array<ListColumn, N> &list,
                  std::vector<TableColumn> columns, Shown shown)
{
    StatTable table;
    table.columns = std::move(columns);
    table.rows.reserve(drives.items().size());
    for (const CChartItem &item : drives.items()) {
        TableRow row;
        const TeamColors colors = TeamColorsOf(item.team == 0 ? 0 : 1);
        row.textColor = colors.text;
        row.background = colors.background;
        row.cells.reserve(N);
        for (std::size_t column = 0; column < N; ++column)
            row.cells.push_back(shown(column) ? cellOf(list[column].value(drives, item))
                                              : TableCell());
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

std::vector<TableColumn> DriveListColumns(bool showTOP)
{
    std::vector<TableColumn> columns = columnsOf(kDriveColumns);
    if (!showTOP) {
        // Empty, not null: a null caption would leave the header's text as it was.
        columns[kDriveTopColumn].caption = QStringLiteral("");
        columns[kDriveTopColumn].width = 0;
    }
    return columns;
}

StatTable BuildDriveListTable(const CDriveChartData &drives, bool showTOP)
{
    return tableOf(drives, kDriveColumns, DriveListColumns(showTOP),
                   [showTOP](std::size_t column) { return showTOP || column != kDriveTopColumn; });
}

std::vector<TableColumn> PlayListColumns()
{
    return columnsOf(kPlayColumns);
}

StatTable BuildPlayListTable(const CDriveChartData &drives)
{
    return tableOf(drives, kPlayColumns, PlayListColumns(), [](std::size_t) { return true; });
}
