#include "BoxScoreContent.h"

#include "SituationView.h"
#include "StatColumnSets.h"
#include "TablePages.h"
#include "ViewOptions.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/ScoreboardState.h"
#include "gamedata/TextNumbers.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace
{

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

// A player table of the box score: the page that shows it and its name there.
struct PlayerTable {
    TablePage page;
    int index; // in the page's tables
};

// The order box scores list a team's individual statistics in.
constexpr std::array<PlayerTable, 11> kPlayerTables{{
    {TablePage::Offense, 1},      // rushing
    {TablePage::Offense, 0},      // passing
    {TablePage::Offense, 2},      // receiving
    {TablePage::SpecialTeams, 1}, // punting
    {TablePage::SpecialTeams, 4}, // punt returns
    {TablePage::SpecialTeams, 3}, // kick returns
    {TablePage::SpecialTeams, 5}, // interception returns
    {TablePage::SpecialTeams, 6}, // fumble returns
    {TablePage::SpecialTeams, 0}, // field goals
    {TablePage::SpecialTeams, 2}, // kickoffs
    {TablePage::Defense, 0},
}};

// The table of a page.
const NamedStatTable &namedTable(const PlayerTable &wanted)
{
    return TablePageOf(wanted.page).tables[static_cast<std::size_t>(wanted.index)];
}

// `table` without the columns for which `drop` holds, and without colours:
// paper shows the texts in black.
StatTable withoutColumns(const StatTable &table, const std::function<bool(int)> &drop)
{
    StatTable kept;
    std::vector<int> columns;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        if (!drop(c)) {
            columns.push_back(c);
            kept.columns.push_back(table.columns[static_cast<std::size_t>(c)]);
        }
    }
    for (const TableRow &source : table.rows) {
        TableRow row;
        row.itemData = source.itemData;
        for (const int c : columns) {
            if (c >= static_cast<int>(source.cells.size()))
                break;
            TableCell cell = source.cells[static_cast<std::size_t>(c)];
            cell.textColor.reset();
            cell.background.reset();
            cell.cut = false;
            row.cells.push_back(std::move(cell));
        }
        kept.rows.push_back(std::move(row));
    }
    return kept;
}

// The columns a table shows nothing in: those the window gives no width.
StatTable shownColumns(const StatTable &table)
{
    return withoutColumns(
        table, [&table](int c) { return table.columns[static_cast<std::size_t>(c)].width == 0; });
}

// The highest period the file's plays reach, 0 without plays.
int lastPlayedPeriod(const GameSession &session)
{
    int last = 0;
    if (const auto periods = session.game().SelectNodes("/fbgame/plays/qtr")) {
        for (const CXmlNode &period : *periods)
            last = std::max(
                last, TextNumbers::LeadingInt(session.game().GetNodeText(period, "@number", "")));
    }
    return last;
}

std::vector<std::pair<QString, QString>> venueFacts(const GameSession &session)
{
    static constexpr std::array<std::pair<const char *, const char *>, 9> kFacts{{
        {"Date", "/fbgame/venue/@date"},
        {"Site", "/fbgame/venue/@location"},
        {"Stadium", "/fbgame/venue/@stadium"},
        {"Attendance", "/fbgame/venue/@attend"},
        {"Weather", "/fbgame/venue/@weather"},
        {"Temperature", "/fbgame/venue/@temp"},
        {"Wind", "/fbgame/venue/@wind"},
        {"Kickoff", "/fbgame/venue/@start"},
        {"End", "/fbgame/venue/@end"},
    }};
    std::vector<std::pair<QString, QString>> facts;
    for (const auto &[caption, xpath] : kFacts) {
        const QString value = text(session.game().GetText(xpath)).trimmed();
        if (!value.isEmpty())
            facts.emplace_back(QString::fromLatin1(caption), value);
    }
    return facts;
}

// The line score as the window's glance shows it, each team by its name.
StatTable lineScoreTable(const SituationView &view, std::span<const CTeamStats, 2> teams)
{
    StatTable table;
    if (view.lineScore.empty())
        return table;
    const QStringList &heading = view.lineScore.front();
    for (qsizetype c = 0; c < heading.size(); ++c)
        table.columns.push_back({heading[c], 0,
                                 c == 0 ? TableAlignment::Left : TableAlignment::Right,
                                 TableSortKind::Text, false});
    for (std::size_t side = 0; side < 2 && side + 1 < view.lineScore.size(); ++side) {
        TableRow row;
        const QStringList &values = view.lineScore[side + 1];
        for (qsizetype c = 0; c < values.size(); ++c)
            row.cells.push_back(
                TableCell::Text(c == 0 ? text(teams[side].GetTeamValue("Name")) : values[c]));
        row.cells.back().bold = true; // the total
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

QString BoxScoreContent::Status(const GameSituation &situation, const ScoreboardState &scoreboard,
                                int lastPlayedPeriod)
{
    if (scoreboard.final)
        return text(situation.period_label);
    int ended = 0;
    if (situation.period >= 1 && scoreboard.minutes == 0 && scoreboard.seconds == 0)
        ended = situation.period;
    else if (lastPlayedPeriod >= 1 && lastPlayedPeriod < situation.period)
        ended = lastPlayedPeriod;
    if (ended == 0)
        return QStringLiteral("In progress");
    const int quarters = scoreboard.quarters > 0 ? scoreboard.quarters : 4;
    if (quarters % 2 == 0 && ended == quarters / 2)
        return QStringLiteral("Halftime");
    return "End of " + text(GameSituation::PeriodLabel(ended, quarters, false));
}

BoxScoreContent BoxScoreContent::Build(const GameSession &session, bool showTop,
                                       const TextWrapper &wrapper)
{
    const std::span<const CTeamStats, 2> teams = session.teams();
    const GameSituation situation =
        GameSituation::Read(session.game(), teams, session.scoreboard());

    BoxScoreContent content;
    const std::array<QString, 2> names{text(teams[0].GetTeamValue("Name")),
                                       text(teams[1].GetTeamValue("Name"))};
    content.title = names[1] + " at " + names[0];
    content.status = Status(situation, session.scoreboard(), lastPlayedPeriod(session));
    content.facts = venueFacts(session);
    content.lineScore = {QString(), lineScoreTable(SituationView::Build(situation, teams), teams)};

    // The whole game's drives, as the Drive Charts page lists them unfiltered.
    ViewOptions options;
    options.showTop = showTop;
    const CDriveChartData drives = CDriveChartData::Load(session.game(), teams, options.drives);
    const TableInput input{session, drives, options, wrapper};
    const auto tables = [&input](TablePage page, int side = -1,
                                 const NamedStatTable *named = nullptr) {
        return BuildPageTable(input, {page, side, named});
    };

    content.scoring = {QStringLiteral("Scoring Summary"), shownColumns(tables(TablePage::Scoring))};
    content.teamStats = {QStringLiteral("Team Statistics"),
                         shownColumns(tables(TablePage::TeamStats))};
    for (int side = 0; side < 2; ++side) {
        BoxScoreTeam &team = content.teams[static_cast<std::size_t>(side)];
        team.name = names[static_cast<std::size_t>(side)];
        for (const PlayerTable &wanted : kPlayerTables) {
            const NamedStatTable &named = namedTable(wanted);
            const StatTable table = tables(wanted.page, side, &named);
            // "None" rows (item -1) stand for a table nobody qualifies for.
            if (std::none_of(table.rows.begin(), table.rows.end(),
                             [](const TableRow &row) { return row.itemData >= 0; }))
                continue;
            // Separators are uncaptioned columns after the name.
            team.tables.push_back(
                {QString::fromLatin1(named.title.data(),
                                     static_cast<qsizetype>(named.title.size())),
                 withoutColumns(table, [&table](int c) {
                     return c > 0 && table.columns[static_cast<std::size_t>(c)].caption.isEmpty();
                 })});
        }
    }
    content.drives = {QStringLiteral("Drive Summary"), shownColumns(tables(TablePage::Drives))};
    return content;
}
