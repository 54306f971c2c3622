#include "ScoringTable.h"

#include "PlaysAndYards.h"
#include "ReferencedText.h"
#include "gamedata/DerivedDrives.h"
#include "gamedata/GameSession.h"
#include "gamedata/TextNumbers.h"

#include <array>
#include <map>
#include <optional>
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

// A cell from its text as composed: a leading "&" makes it bold and is not drawn.
TableCell composedCell(const QString &composed)
{
    TableCell cell;
    cell.bold = composed.startsWith(u'&');
    cell.text = cell.bold ? composed.mid(1) : composed;
    return cell;
}

// Plays, yards and time of possession of a drive.
struct DriveTotals {
    std::string plays, yards, top;
};

// The totals of every drive by its number: the file's drive records, or the
// drives worked out from its plays when it has none.
std::map<int, DriveTotals> driveTotals(const CGameDocument &document)
{
    std::map<int, DriveTotals> totals;
    const GameDrives derived = DrivesWithoutRecords(document);
    if (derived.derived) {
        for (const DriveRecordFields &drive : derived.drives)
            totals.try_emplace(drive.driveIndex, DriveTotals{drive.plays, drive.yards, drive.top});
        return totals;
    }
    if (const auto drives = document.SelectNodes("/fbgame/drives/drive")) {
        for (const CXmlNode drive : *drives) {
            if (!document.HasNode(drive, "@driveindex"))
                continue;
            totals.try_emplace(
                TextNumbers::LeadingInt(document.GetNodeText(drive, "@driveindex", "")),
                DriveTotals{document.GetNodeText(drive, "@plays", ""),
                            document.GetNodeText(drive, "@yards", ""),
                            document.GetNodeText(drive, "@top", "")});
        }
    }
    return totals;
}

} // namespace

std::vector<TableColumn> ScoringTable::Columns(bool showTOP)
{
    const auto column = [](const char *caption, TableAlignment alignment, int width) {
        return TableColumn{QString::fromLatin1(caption), width, alignment, TableSortKind::Text,
                           false};
    };
    return {
        column("Team", TableAlignment::Left, 44),
        column("Qtr", TableAlignment::Left, 40),
        column("Time", TableAlignment::Right, 40),
        column("Play", TableAlignment::Left, 200),
        column("Drive", TableAlignment::Right, 40),
        column(showTOP ? "TOP" : "", TableAlignment::Right, showTOP ? 40 : 0),
        column("Score", TableAlignment::Right, 40),
    };
}

QString ScoringTable::Describe(const ScoreFacts &score)
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

StatTable ScoringTable::Build(const GameSession &session, bool showTOP)
{
    return Build(session.game(), showTOP);
}

StatTable ScoringTable::Build(const CGameDocument &document, bool showTOP)
{
    StatTable table;
    table.columns = Columns(showTOP);
    const auto nodes = document.SelectNodes("/fbgame/scores/score");
    if (!nodes)
        return table;
    // Each side's team id, looked up once; a side holding a quote would end
    // the XPath's literal early and could name another team, and no team has such a side.
    std::map<std::string, QString> teamIds;
    auto teamOf = [&](const std::string &side) -> const QString & {
        auto known = teamIds.find(side);
        if (known == teamIds.end()) {
            const std::string id =
                side.find('\'') == std::string::npos
                    ? document.GetText("/fbgame/team[@vh='" + side + "']/@id", "")
                    : std::string();
            known = teamIds.emplace(side, text(ReferencedText(id))).first;
        }
        return known->second;
    };
    // Read once, and only when a score leaves its drive's data out.
    std::optional<std::map<int, DriveTotals>> drives;
    for (const CXmlNode node : *nodes) {
        auto attribute = [&](const char *name) { return document.GetNodeText(node, name, "0"); };
        // What the score does not say of its drive, the drive it names does;
        // what neither says stays empty.
        const auto driveValue = [&](const char *name, std::string DriveTotals::*member) {
            if (document.HasNode(node, name))
                return attribute(name);
            if (!document.HasNode(node, "@driveindex"))
                return std::string();
            if (!drives)
                drives = driveTotals(document);
            const auto drive = drives->find(
                TextNumbers::LeadingInt(document.GetNodeText(node, "@driveindex", "")));
            return drive == drives->end() ? std::string() : drive->second.*member;
        };
        const std::string plays = driveValue("@plays", &DriveTotals::plays);
        const std::string yards = driveValue("@drive", &DriveTotals::yards);
        const ScoreFacts facts{attribute("@type"),  attribute("@how"),    attribute("@scorer"),
                               attribute("@yds"),   attribute("@passer"), attribute("@pattype"),
                               attribute("@patby"), attribute("@patres")};
        const std::string side = attribute("@vh");
        TableRow row;
        row.cells = {
            composedCell(teamOf(side)),
            composedCell(text(attribute("@qtr"))),
            composedCell(text(attribute("@clock"))),
            composedCell(Describe(facts)),
            composedCell(plays.empty() && yards.empty() ? QString()
                                                        : PlaysAndYardsText(plays, yards)),
            composedCell(showTOP ? text(driveValue("@top", &DriveTotals::top)) : QString()),
            composedCell(text(attribute("@hscore") + "-" + attribute("@vscore"))),
        };
        const TeamColors colors = TeamColorsOf(side == "H" ? 0 : 1);
        row.textColor = colors.text;
        row.background = colors.background;
        table.rows.push_back(std::move(row));
    }
    return table;
}
