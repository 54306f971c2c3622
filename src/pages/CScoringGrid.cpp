#include "CScoringGrid.h"

#include "gamedata/CGameDocument.h"

#include <array>
#include <string_view>

namespace
{

struct Phrase {
    std::string_view key;
    const char *text;
};

// The try after a touchdown: who tried, and how it ended.
constexpr std::array<Phrase, 4> kTryKinds{{
    {"KICK", "(%1 kick"},
    {"RUSH", "(%1 rush"},
    {"PASS", "(%1 reception"},
    {"DROPKICK", "(%1 drop kick"},
}};

constexpr std::array<Phrase, 5> kTryResults{{
    {"GOOD", ")"},
    {"FAIL", " failed)"},
    {"BLKD", " blocked)"},
    {"INT", " intercepted)"},
    {"FUMB", " fumbled)"},
}};

// How a touchdown was scored; %1 scorer, %2 yards, %3 the try.
constexpr std::array<Phrase, 7> kTouchdownKinds{{
    {"RUSH", "%1 %2 yard run %3"},
    {"INT", "%1 %2 yard interception return %3"},
    {"KO", "%1 %2 yard kickoff return %3"},
    {"PUNT", "%1 %2 yard punt return %3"},
    {"FUMB", "%1 %2 yard fumble return %3"},
    {"FGA", "%1 %2 yard field goal return %3"},
    {"NETR", "%1 %2 yard net recovery return %3"},
}};

template <std::size_t N>
const char *lookup(const std::array<Phrase, N> &phrases, std::string_view key)
{
    for (const Phrase &phrase : phrases) {
        if (phrase.key == key)
            return phrase.text;
    }
    return nullptr;
}

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

} // namespace

void CScoringGrid::SetupColumns()
{
    AddColumn(0, QStringLiteral("Team"), LVCFMT_LEFT, 44, kSortText, false);
    AddColumn(1, QStringLiteral("Qtr"), LVCFMT_LEFT, 40, kSortText, false);
    AddColumn(2, QStringLiteral("Time"), LVCFMT_RIGHT, 40, kSortText, false);
    AddColumn(3, QStringLiteral("Play"), LVCFMT_LEFT, 200, kSortText, false);
    AddColumn(4, QStringLiteral("Drive"), LVCFMT_RIGHT, 40, kSortText, false);
    AddColumn(5, QStringLiteral("TOP"), LVCFMT_RIGHT, 40, kSortText, false);
    AddColumn(6, QStringLiteral("Score"), LVCFMT_RIGHT, 40, kSortText, false);
}

QString CScoringGrid::Describe(const ScoreFacts &score)
{
    if (score.type == "FG")
        return QStringLiteral("Field Goal MADE by %1 %2 yds")
            .arg(text(score.scorer), text(score.yards));
    if (score.type != "TD")
        return QString();

    QString pat;
    if (const char *kind = lookup(kTryKinds, score.patType)) {
        const char *result = lookup(kTryResults, score.patResult);
        pat = QString::fromLatin1(kind).arg(text(score.patBy)) +
              QString::fromLatin1(result ? result : ")");
    }
    if (score.how == "PASS")
        return QStringLiteral("%1 %2 yard pass from %3 %4")
            .arg(text(score.scorer), text(score.yards), text(score.passer), pat);
    if (const char *format = lookup(kTouchdownKinds, score.how))
        return QString::fromLatin1(format).arg(text(score.scorer), text(score.yards), pat);
    return QString();
}

void CScoringGrid::Fill(const CGameDocument &document)
{
    const RedrawPause pause(*this);
    DeleteAllItems();
    SetColumnWidth(kTopColumn, showTOP_ ? 40 : 0);
    SetColumnText(kTopColumn, showTOP_ ? QStringLiteral("TOP") : QString(""));
    const auto nodes = document.SelectNodes("/fbgame/scores/score");
    if (!nodes)
        return;
    int row = 0;
    for (const CXmlNode node : *nodes) {
        auto attribute = [&](const char *name) { return document.GetNodeText(node, name, "0"); };
        ScoreFacts facts{attribute("@type"),  attribute("@how"),    attribute("@scorer"),
                         attribute("@yds"),   attribute("@passer"), attribute("@pattype"),
                         attribute("@patby"), attribute("@patres")};
        const std::string side = attribute("@vh");
        // A side holding a quote would end the XPath's literal early and could
        // name another team; no team has such a side.
        const std::string team = side.find('\'') == std::string::npos
                                     ? document.GetText("/fbgame/team[@vh='" + side + "']/@id", "")
                                     : std::string();
        InsertItem(row, text(team));
        SetItemText(row, 1, text(attribute("@qtr")));
        SetItemText(row, 2, text(attribute("@clock")));
        SetItemText(row, 3, Describe(facts));
        SetItemText(row, 4, text(attribute("@plays") + "-" + attribute("@drive")));
        if (showTOP_)
            SetItemText(row, kTopColumn, text(attribute("@top")));
        SetItemText(row, 6, text(attribute("@hscore") + "-" + attribute("@vscore")));
        const TeamColors colors = TeamColorsOf(side == "H" ? 0 : 1);
        SetRowColors(row, colors.text, colors.background);
        ++row;
    }
}
