#include "GameLeaders.h"

#include "gamedata/GameSession.h"
#include "gamedata/TextNumbers.h"

#include <algorithm>
#include <string_view>

namespace
{

// One category: who counts (a non-zero `gate`), the values that rank
// (`rank`, then `tieBreak`) and the columns shown, each a label or, for
// "C/A", two labels joined by '/'.
struct CategoryRule {
    const char *key;
    const char *title;
    std::string_view gate;
    std::string_view rank;
    std::string_view tieBreak;
    std::vector<std::pair<const char *, std::string_view>> columns;
};

const std::array<CategoryRule, 4> &rules()
{
    static const std::array<CategoryRule, 4> kRules{{
        {"passing",
         "Passing",
         "Pass Att",
         "Pass Yds",
         "Pass Att",
         {{"C/A", "Pass Cmp/Pass Att"},
          {"YDS", "Pass Yds"},
          {"TD", "Pass TD"},
          {"INT", "Pass Int"}}},
        {"rushing",
         "Rushing",
         "Rush Att",
         "Rush Yds",
         "Rush Att",
         {{"ATT", "Rush Att"}, {"YDS", "Rush Yds"}, {"TD", "Rush TD"}, {"LNG", "Rush Lng"}}},
        {"receiving",
         "Receiving",
         "Rcv No",
         "Rcv Yds",
         "Rcv No",
         {{"REC", "Rcv No"}, {"YDS", "Rcv Yds"}, {"TD", "Rcv TD"}, {"LNG", "Rcv Lng"}}},
        {"tackles",
         "Tackles",
         "Def TTack",
         "Def TTack",
         "Def UTack",
         {{"UT", "Def UTack"}, {"AT", "Def ATack"}, {"TOT", "Def TTack"}, {"SCK", "Def Sck"}}},
    }};
    return kRules;
}

// A player's value as a table shows it: "0" where the file gives none.
QString shown(const CTeamStats &team, int player, std::string_view label)
{
    const std::string &value = team.GetPlayerValue(player, label);
    return value.empty() ? QStringLiteral("0") : QString::fromStdString(value);
}

QString column(const CTeamStats &team, int player, std::string_view labels)
{
    const std::size_t slash = labels.find('/');
    if (slash == std::string_view::npos)
        return shown(team, player, labels);
    return shown(team, player, labels.substr(0, slash)) + u'/' +
           shown(team, player, labels.substr(slash + 1));
}

bool isTeamLine(const std::string &name)
{
    return QString::fromStdString(name).trimmed().compare(u"TEAM", Qt::CaseInsensitive) == 0;
}

std::vector<GameLeaders::Leader> leadersOf(const CTeamStats &team, const CategoryRule &rule)
{
    struct Ranked {
        int player;
        int rank;
        int tieBreak;
    };
    std::vector<Ranked> ranked;
    for (int player = 0; player < team.playerCount(); ++player) {
        if (TextNumbers::LeadingInt(team.GetPlayerValue(player, rule.gate)) == 0 ||
            isTeamLine(team.GetPlayerValue(player, "Name")))
            continue;
        ranked.push_back({player, TextNumbers::LeadingInt(team.GetPlayerValue(player, rule.rank)),
                          TextNumbers::LeadingInt(team.GetPlayerValue(player, rule.tieBreak))});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        return a.rank != b.rank ? a.rank > b.rank : a.tieBreak > b.tieBreak;
    });
    std::vector<GameLeaders::Leader> leaders;
    for (const Ranked &entry : ranked) {
        if (leaders.size() == GameLeaders::kMost)
            break;
        GameLeaders::Leader leader;
        leader.name = QString::fromStdString(team.GetPlayerValue(entry.player, "Name"));
        for (const auto &[caption, labels] : rule.columns)
            leader.values.push_back(column(team, entry.player, labels));
        leaders.push_back(std::move(leader));
    }
    return leaders;
}

} // namespace

GameLeaders GameLeaders::Build(const GameSession &session)
{
    GameLeaders leaders;
    for (const CategoryRule &rule : rules()) {
        Category category;
        category.key = QString::fromLatin1(rule.key);
        category.title = QString::fromLatin1(rule.title);
        for (const auto &[caption, labels] : rule.columns)
            category.columns.push_back(QString::fromLatin1(caption));
        for (int side = 0; side < 2; ++side)
            category.teams[static_cast<std::size_t>(side)] = leadersOf(session.team(side), rule);
        leaders.categories.push_back(std::move(category));
    }
    return leaders;
}
