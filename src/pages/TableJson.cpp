#include "TableJson.h"

#include "CStatGridCtrl.h"
#include "StatPages.h"

#include <QJsonArray>

namespace
{

QString colorText(COLORREF color)
{
    return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

QString alignText(int format)
{
    switch (format) {
    case LVCFMT_RIGHT:
        return QStringLiteral("right");
    case LVCFMT_CENTER:
        return QStringLiteral("center");
    default:
        return QStringLiteral("left");
    }
}

// The tables of one side, by name.
template <typename Table, std::size_t N>
QJsonObject sideTables(const std::array<const char *, N> &names,
                       const std::array<Table *, 2 * N> &tables, int side)
{
    QJsonObject object;
    for (std::size_t i = 0; i < N; ++i)
        object.insert(QLatin1String(names[i]), TableToJson(*tables[side * N + i]));
    return object;
}

template <typename Table, std::size_t N>
QJsonObject homeAndVisitor(const std::array<const char *, N> &names,
                           const std::array<Table *, 2 * N> &tables)
{
    return QJsonObject{{"home", sideTables(names, tables, 0)},
                       {"visitor", sideTables(names, tables, 1)}};
}

} // namespace

QJsonObject TableToJson(const CZrGridListCtrl &table)
{
    const int columnCount = table.GetColumnCount();
    QJsonArray columns;
    for (int column = 0; column < columnCount; ++column)
        columns.append(QJsonObject{{"header", table.GetColumnText(column)},
                                   {"width", table.GetColumnWidth(column)},
                                   {"align", alignText(table.GetColumnFormat(column))}});
    QJsonArray rows;
    for (int row = 0; row < table.GetItemCount(); ++row) {
        QJsonArray cells;
        for (int column = 0; column < columnCount; ++column) {
            const QString text = table.GetItemText(row, column);
            cells.append(QJsonObject{{"text", CStatGridCtrl::ShownText(text)},
                                     {"bold", CStatGridCtrl::IsBoldText(text)},
                                     {"color", colorText(table.GetCellTextColor(row, column))},
                                     {"background", colorText(table.GetCellBkColor(row, column))}});
        }
        rows.append(
            QJsonObject{{"data", static_cast<qint64>(table.GetItemData(row))}, {"cells", cells}});
    }
    return QJsonObject{{"columns", columns}, {"rows", rows}};
}

QJsonObject PagesToJson(const StatPages &pages)
{
    static const std::array<const char *, 3> offenseNames{"passing", "rushing", "receiving"};
    static const std::array<const char *, 1> defenseNames{"defense"};
    static const std::array<const char *, 7> specialNames{
        "field_goals",  "punting",     "kickoffs",      "kick_returns",
        "punt_returns", "int_returns", "fumble_returns"};

    std::array<CStatGridCtrl *, 6> offense{};
    for (int side = 0; side < 2; ++side) {
        offense[side * 3 + 0] = pages.passing[side];
        offense[side * 3 + 1] = pages.rushing[side];
        offense[side * 3 + 2] = pages.receiving[side];
    }
    const std::array<CStatGridCtrl *, 2> defense{pages.defense[0], pages.defense[1]};

    return QJsonObject{
        {"yardage", TableToJson(*pages.yardage)},
        {"team_stats", TableToJson(*pages.teamStats)},
        {"scoring", TableToJson(*pages.scoring)},
        {"play_by_play", TableToJson(*pages.playByPlay)},
        {"drives", TableToJson(*pages.driveList)},
        {"plays", TableToJson(*pages.playList)},
        {"offense", homeAndVisitor(offenseNames, offense)},
        {"defense", homeAndVisitor(defenseNames, defense)},
        {"special_teams", homeAndVisitor(specialNames, pages.specialTeams)},
    };
}
