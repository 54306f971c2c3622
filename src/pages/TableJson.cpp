#include "TableJson.h"

#include "CStatGridCtrl.h"
#include "StatPages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <map>

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

QJsonArray columnsArray(const CZrGridListCtrl &table)
{
    QJsonArray columns;
    for (int column = 0; column < table.GetColumnCount(); ++column)
        columns.append(QJsonObject{{"header", table.GetColumnText(column)},
                                   {"width", table.GetColumnWidth(column)},
                                   {"align", alignText(table.GetColumnFormat(column))}});
    return columns;
}

QJsonObject rowObject(const CZrGridListCtrl &table, int row)
{
    QJsonArray cells;
    for (int column = 0; column < table.GetColumnCount(); ++column) {
        const QString text = table.GetItemText(row, column);
        cells.append(QJsonObject{{"text", CStatGridCtrl::ShownText(text)},
                                 {"bold", CStatGridCtrl::IsBoldText(text)},
                                 {"color", colorText(table.GetCellTextColor(row, column))},
                                 {"background", colorText(table.GetCellBkColor(row, column))}});
    }
    return QJsonObject{{"data", static_cast<qint64>(table.GetItemData(row))}, {"cells", cells}};
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

QByteArray indent(int depth)
{
    return QByteArray(4 * depth, ' ');
}

// Writes a member's value `depth` levels down.
using ValueWriter = std::function<bool(int depth)>;

// An object whose members (at least one) are written by `members`, in the
// order of their names, as a QJsonObject keeps them.
bool writeObject(const std::map<QString, ValueWriter> &members, int depth, const JsonSink &write)
{
    if (!write("{\n"))
        return false;
    for (auto member = members.begin(); member != members.end(); ++member) {
        if (member != members.begin() && !write(",\n"))
            return false;
        if (!write(indent(depth + 1) + JsonText(member->first, 0) + ": ") ||
            !member->second(depth + 1))
            return false;
    }
    return write("\n" + indent(depth) + "}");
}

// Writes `table`, then hands it to `done` (when given).
ValueWriter tableWriter(CZrGridListCtrl *table, const JsonSink &write,
                        const std::function<void(CZrGridListCtrl &table)> &done)
{
    return [table, &write, &done](int depth) {
        if (!WriteTableJson(*table, depth, write))
            return false;
        if (done)
            done(*table);
        return true;
    };
}

// The "home" and "visitor" objects of a page whose tables are named by
// `names`, home tables first.
template <typename Table, std::size_t N>
ValueWriter sidesWriter(const std::array<const char *, N> &names,
                        const std::array<Table *, 2 * N> &tables, const JsonSink &write,
                        const std::function<void(CZrGridListCtrl &table)> &done)
{
    return [&names, tables, &write, &done](int depth) {
        std::map<QString, ValueWriter> sides;
        for (int side = 0; side < 2; ++side) {
            std::map<QString, ValueWriter> named;
            for (std::size_t i = 0; i < N; ++i)
                named[QLatin1String(names[i])] = tableWriter(tables[side * N + i], write, done);
            sides[QLatin1String(side == 0 ? "home" : "visitor")] = [named = std::move(named),
                                                                    &write](int sideDepth) {
                return writeObject(named, sideDepth, write);
            };
        }
        return writeObject(sides, depth, write);
    };
}

const std::array<const char *, 3> kOffenseNames{"passing", "rushing", "receiving"};
const std::array<const char *, 1> kDefenseNames{"defense"};
const std::array<const char *, 7> kSpecialNames{"field_goals",   "punting",      "kickoffs",
                                                "kick_returns",  "punt_returns", "int_returns",
                                                "fumble_returns"};

// The offense tables, home passing, rushing and receiving, then the visitor's.
std::array<CStatGridCtrl *, 6> offenseTables(const StatPages &pages)
{
    std::array<CStatGridCtrl *, 6> offense{};
    for (int side = 0; side < 2; ++side) {
        offense[side * 3 + 0] = pages.passing[side];
        offense[side * 3 + 1] = pages.rushing[side];
        offense[side * 3 + 2] = pages.receiving[side];
    }
    return offense;
}

} // namespace

QJsonObject TableToJson(const CZrGridListCtrl &table)
{
    QJsonArray rows;
    for (int row = 0; row < table.GetItemCount(); ++row)
        rows.append(rowObject(table, row));
    return QJsonObject{{"columns", columnsArray(table)}, {"rows", rows}};
}

QJsonObject PagesToJson(const StatPages &pages)
{
    const std::array<CStatGridCtrl *, 2> defense{pages.defense[0], pages.defense[1]};
    return QJsonObject{
        {"yardage", TableToJson(*pages.yardage)},
        {"team_stats", TableToJson(*pages.teamStats)},
        {"scoring", TableToJson(*pages.scoring)},
        {"play_by_play", TableToJson(*pages.playByPlay)},
        {"drives", TableToJson(*pages.driveList)},
        {"plays", TableToJson(*pages.playList)},
        {"offense", homeAndVisitor(kOffenseNames, offenseTables(pages))},
        {"defense", homeAndVisitor(kDefenseNames, defense)},
        {"special_teams", homeAndVisitor(kSpecialNames, pages.specialTeams)},
    };
}

QByteArray JsonText(const QJsonValue &value, int depth)
{
    QByteArray json;
    if (value.isObject())
        json = QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented);
    else if (value.isArray())
        json = QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented);
    else // a lone value is formatted as the one element of an array: "[value]"
        return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
    json.chop(1); // the document's final line break
    return json.replace("\n", "\n" + indent(depth));
}

bool WriteTableJson(const CZrGridListCtrl &table, int depth, const JsonSink &write)
{
    const int rowCount = table.GetItemCount();
    if (!write("{\n" + indent(depth + 1) + "\"columns\": " +
               JsonText(columnsArray(table), depth + 1) + ",\n" + indent(depth + 1) + "\"rows\": "))
        return false;
    if (rowCount == 0) {
        if (!write("[\n" + indent(depth + 1) + "]"))
            return false;
    } else {
        if (!write("[\n"))
            return false;
        for (int row = 0; row < rowCount; ++row) {
            if ((row > 0 && !write(",\n")) ||
                !write(indent(depth + 2) + JsonText(rowObject(table, row), depth + 2)))
                return false;
        }
        if (!write("\n" + indent(depth + 1) + "]"))
            return false;
    }
    return write("\n" + indent(depth) + "}");
}

bool WritePagesJson(const StatPages &pages, int depth, const JsonSink &write,
                    const std::function<void(const char *page)> &fill,
                    const std::function<void(CZrGridListCtrl &table)> &done)
{
    const std::array<CStatGridCtrl *, 2> defense{pages.defense[0], pages.defense[1]};
    const std::map<QString, ValueWriter> tables{
        {"yardage", tableWriter(pages.yardage, write, done)},
        {"team_stats", tableWriter(pages.teamStats, write, done)},
        {"scoring", tableWriter(pages.scoring, write, done)},
        {"play_by_play", tableWriter(pages.playByPlay, write, done)},
        {"drives", tableWriter(pages.driveList, write, done)},
        {"plays", tableWriter(pages.playList, write, done)},
        {"offense", sidesWriter(kOffenseNames, offenseTables(pages), write, done)},
        {"defense", sidesWriter(kDefenseNames, defense, write, done)},
        {"special_teams", sidesWriter(kSpecialNames, pages.specialTeams, write, done)},
    };
    std::map<QString, ValueWriter> members;
    for (const auto &[name, writer] : tables) {
        members[name] = [&fill, &writer, page = name.toLatin1()](int pageDepth) {
            if (fill)
                fill(page.constData());
            return writer(pageDepth);
        };
    }
    return writeObject(members, depth, write);
}
