#include "views/PlayerContent.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/PlayContext.h"
#include "gamedata/TextNumbers.h"

namespace
{

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
                                   const CGameDocument &game, int team, int player)
{
    PlayerContent content;
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
    bool grey = false;
    for (const CXmlNode node : *nodes) {
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
        play.typeMark = PlayTypeMark(text(game.GetNodeText(node, "@type", "")),
                                     text(game.GetNodeText(node, "@first", "")),
                                     text(game.GetNodeText(node, "@yds", "")));
        play.grey = grey;
        grey = !grey;
        content.plays.push_back(std::move(play));
    }
    return content;
}
