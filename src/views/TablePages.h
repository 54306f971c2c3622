#pragma once

#include "StatColumnSets.h"
#include "StatTable.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class CDriveChartData;
class GameSession;
class TextWrapper;
struct ViewOptions;

// The pages of statistics tables, as "pages" of the export names them.
enum class TablePage {
    Yardage,
    TeamStats,
    Offense,
    Defense,
    SpecialTeams,
    Scoring,
    PlayByPlay,
    Drives,
    Plays,
};

// One table of the statistics pages: its page and, on the pages of player
// tables, the side (0 home, 1 visitor) and which of the page's tables.
struct TableKey {
    TablePage page = TablePage::Yardage;
    int side = -1;
    const NamedStatTable *table = nullptr;

    // The table's key in "pages": the names of its objects joined by '/'
    // ("team_stats", "offense/home/passing").
    std::string Path() const;
};

// What a table is built from: the session, the drive chart list the options
// ask for, the options and the wrapper of the play-by-play's texts.
struct TableInput {
    const GameSession &session;
    const CDriveChartData &drives;
    const ViewOptions &options;
    const TextWrapper &wrapper;
};

// One page of tables: its key in "pages", its tables (the player pages'
// tables by side and name; none for a page of one table), how many of them
// stand side by side, the width its table has of its own (0: it shares the
// page's width) and what builds a table of it.
struct TablePageInfo {
    TablePage page;
    std::string_view key;
    std::span<const NamedStatTable> tables;
    int across;
    int ownWidth;
    StatTable (*build)(const TableInput &input, const TableKey &key);
};

// Every page of tables, in the order the window fills them.
extern const std::array<TablePageInfo, 9> kTablePages;

// The entry of a page.
const TablePageInfo &TablePageOf(TablePage page);
// The page whose key is `key`, or none.
std::optional<TablePage> TablePageOfKey(std::string_view key);
// Every table of every page, in the order of kTablePages, sides home first.
std::vector<TableKey> AllTableKeys();

// Gives a table of the statistics pages when asked for.
using TableSource = std::function<StatTable(const TableKey &key)>;

// Builds a table as the window fills it and fits its columns to the page as
// the window does at the options' client width.
StatTable BuildPageTable(const TableInput &input, const TableKey &key);
