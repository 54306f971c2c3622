#pragma once

#include "JsonStreamWriter.h"
#include "StatTable.h"

#include <QJsonObject>
#include <functional>
#include <string_view>

// Gives one table of the statistics pages. `page` is its member in "pages"
// ("yardage", "team_stats", "scoring", "play_by_play", "drives", "plays",
// "offense", "defense", "special_teams"); the tables of the last three are
// asked for by side (0 home, 1 visitor) and name ("passing", "field_goals"...),
// the others with side -1 and no name.
using PageTableSource =
    std::function<StatTable(std::string_view page, int side, std::string_view name)>;

// Every table of the statistics pages: the tables of one-table pages under the
// page's name; "offense", "defense" and "special_teams" with "home" and
// "visitor" objects holding their tables by name.
QJsonObject PagesToJson(const PageTableSource &source);

// Calls `visit` with every table of the statistics pages and its key in
// "pages", the names of its objects joined by '/' ("team_stats",
// "offense/home/passing"), asking for each table only when it is visited.
void ForEachPageTable(const PageTableSource &source,
                      const std::function<void(const QString &key, const StatTable &table)> &visit);

// Writes PagesToJson(source) `depth` levels down, table by table and row by
// row, asking for each table only when it is written. `fill`, when given, is
// called with a page's name just before its tables are asked for.
bool WritePagesJson(const PageTableSource &source, int depth, const JsonStreamWriter &writer,
                    const std::function<void(std::string_view page)> &fill = {});
