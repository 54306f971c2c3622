#include "views/PlayerContent.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/PlayContext.h"
#include "gamedata/PlayRecords.h"
#include "gamedata/PlayYards.h"
#include "gamedata/TextNumbers.h"
#include "views/TextWrapper.h"

#include <optional>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhiteShade = RGB(255, 255, 255);
constexpr COLORREF kGreyShade = RGB(224, 224, 224);
// Room the grid keeps beside a cell's text.
constexpr int kCellMargins = 6;

// A cell from its text as composed: a leading "&" makes it bold and is not
// drawn, in any cell of the window's tables.
TableCell composedCell(const QString &composed)
{
    TableCell cell;
    cell.bold = composed.startsWith(u'&');
    cell.text = cell.bold ? composed.mid(1) : composed;
    return cell;
}

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

// Whether `text` (UTF-8) in upper case contains `key` (upper case, UTF-8).
// Texts of plain ASCII, nearly all of them, are upper-cased byte by byte
// into `buffer`; others go through the full Unicode rules.
bool upperCaseContains(const std::string &text, const std::string &key, std::string &buffer)
{
    buffer.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return QString::fromStdString(text).toUpper().contains(QString::fromStdString(key));
        buffer[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
    }
    return buffer.find(key) != std::string::npos;
}

} // namespace

QString PlayerContent::SurnameKey(const QString &shortName)
{
    return shortName.mid(shortName.lastIndexOf(u' ') + 1).toUpper();
}

QString PlayerContent::PlayTypeMark(const QString &type, const QString &first, const QString &yards)
{
    QString mark = QStringLiteral(" ");
    if (type == u"R")
        mark = QStringLiteral("r");
    else if (type == u"P")
        mark = QStringLiteral("p");
    if (first == u"R")
        mark = QStringLiteral("&R");
    else if (first == u"P")
        mark = QStringLiteral("&P");
    else if (first == u"E")
        mark = QStringLiteral("&X");
    return mark + yards;
}

PlayerContent PlayerContent::Build(std::span<const CTeamStats, 2> gameTeams,
                                   std::span<const CSeasonStats, 2> seasonTeams,
                                   const CGameDocument &game, int team, int player,
                                   const TextWrapper &wrapper, int playColumnWidth)
{
    PlayerContent content;
    content.playColumnWidth = playColumnWidth;
    const CTeamStats &players = gameTeams[team == 1 ? 1 : 0];
    const CSeasonStats &season = seasonTeams[team == 1 ? 1 : 0];
    content.title = QStringLiteral("#") + text(players.GetPlayerValue(player, "No")) +
                    QStringLiteral(" ") + text(players.GetPlayerValue(player, "Name"));
    content.playsLabel =
        QStringLiteral("Plays involving ") + text(players.GetPlayerValue(player, "Name"));

    const std::string &checkName = players.GetPlayerValue(player, "Check Name");
    // A player without a check name has no season line: an empty name would
    // match any season player who lacks one too.
    const int seasonPlayer = checkName.empty() ? -1 : season.FindPlayerByCheckName(checkName);
    const auto &categories = PlayerCategories();
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        Category &category = content.categories[static_cast<std::size_t>(c)];
        category.shown =
            TextNumbers::LeadingInt(players.GetPlayerValue(player, categories[c].testLabel)) != 0;
        if (!category.shown)
            continue;
        for (const PlayerColumn &column : categories[c].columns) {
            if (column.label.empty()) {
                category.game.emplace_back();
                category.season.emplace_back();
                continue;
            }
            category.game.push_back(text(players.GetPlayerValue(player, column.label)));
            category.season.push_back(
                seasonPlayer < 0 ? QString()
                                 : text(season.GetPlayerValue(seasonPlayer, column.label)));
        }
    }

    // Every "play" child of the quarters, in document order.
    const auto nodes = game.SelectNodes("/fbgame/plays/qtr/play");
    if (!nodes)
        return content;
    const std::string key =
        SurnameKey(text(players.GetPlayerValue(player, "Short Name"))).toStdString();
    std::string upperBuffer;
    // Worked out for every play at once, the first time a play of his lacks
    // yards; the plays come in the same order.
    std::optional<std::vector<PlayYards>> workedYards;
    const int wrapWidth = playColumnWidth - kCellMargins;
    bool grey = false;
    for (std::size_t ordinal = 0; ordinal < nodes->size(); ++ordinal) {
        const CXmlNode node = (*nodes)[ordinal];
        const std::string playText = game.GetNodeText(node, "@text", "0");
        // A plain substring test: a play involves the player when its text
        // mentions his surname anywhere, in any letter case.
        if (!upperCaseContains(playText, key, upperBuffer))
            continue;
        const PlayContext context = PlayContext::Parse(game.GetNodeText(node, "@context", "0"));
        Play play;
        play.down = QStringLiteral("%1-%2").arg(context.down).arg(context.toGo);
        // Without a ball position in the context there is nothing to show.
        if (context.fieldsRead >= 5)
            play.ballOn = text(gameTeams[context.side == 'H' ? 0 : 1].GetTeamValue("Short Name")) +
                          QString::number(context.yard);
        play.text = text(playText);
        play.lines = wrapper.Wrap(play.text, wrapWidth);
        QString yards;
        if (game.HasNode(node, "@yds")) {
            yards = text(game.GetNodeText(node, "@yds", ""));
        } else {
            if (!workedYards)
                workedYards = DerivePlayYards(ReadGamePlays(game));
            if (ordinal < workedYards->size()) {
                const PlayYards &worked = (*workedYards)[ordinal];
                yards = text(worked.Text());
                play.yardsDerived = worked.derived && worked.yards.has_value();
            }
        }
        play.typeMark = PlayTypeMark(text(game.GetNodeText(node, "@type", "")),
                                     text(game.GetNodeText(node, "@first", "")), yards);
        play.grey = grey;
        grey = !grey;
        content.plays.push_back(std::move(play));
    }
    return content;
}

QString PlayerContent::Heading()
{
    return QStringLiteral("Game and Season Stats");
}

std::vector<TableColumn> PlayerContent::CategoryColumns(int category)
{
    std::vector<TableColumn> columns{{QString(), kCaptionColumnWidth, TableAlignment::Left}};
    for (const PlayerColumn &column : PlayerCategories().at(category).columns)
        columns.push_back({QString::fromLatin1(column.caption), column.width,
                           column.label.empty() ? TableAlignment::Center : TableAlignment::Right});
    return columns;
}

std::vector<TableColumn> PlayerContent::PlaysColumns(int playColumnWidth)
{
    return {
        {QStringLiteral("Down"), 40, TableAlignment::Left},
        {QStringLiteral("Ball On"), 40, TableAlignment::Center},
        {QStringLiteral("Play"), playColumnWidth, TableAlignment::Left},
        {QString(), 40, TableAlignment::Center},
    };
}

StatTable PlayerContent::CategoryTable(int category) const
{
    StatTable table;
    table.columns = CategoryColumns(category);
    const Category &values = categories.at(category);
    const auto &columns = PlayerCategories()[category].columns;
    for (const auto &[caption, line] :
         {std::pair{QStringLiteral("GM"), &values.game}, {QStringLiteral("SEA"), &values.season}}) {
        TableRow row;
        row.cells.push_back(TableCell::Text(caption));
        for (std::size_t k = 0; k < columns.size(); ++k) {
            TableCell cell = composedCell(k < line->size() ? (*line)[k] : QString());
            if (columns[k].label.empty())
                cell.background = GetSysColor(COLOR_BTNFACE);
            row.cells.push_back(std::move(cell));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

StatTable PlayerContent::PlaysTable() const
{
    StatTable table;
    table.columns = PlaysColumns(playColumnWidth);
    for (const Play &play : plays) {
        for (qsizetype k = 0; k < play.lines.size(); ++k) {
            TableRow row;
            row.cells.resize(4);
            if (k == 0) {
                row.cells[0] = composedCell(play.down);
                row.cells[1] = composedCell(play.ballOn);
                row.cells[3] = composedCell(play.typeMark);
            }
            row.cells[kPlayColumn] = composedCell(play.lines[k]);
            row.textColor = kBlack;
            row.background = play.grey ? kGreyShade : kWhiteShade;
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

std::vector<int> PlayerContent::PlayFirstRows() const
{
    std::vector<int> first;
    first.reserve(plays.size());
    int row = 0;
    for (const Play &play : plays) {
        first.push_back(row);
        row += static_cast<int>(play.lines.size());
    }
    return first;
}
