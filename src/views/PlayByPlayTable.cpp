#include "PlayByPlayTable.h"

#include "ReferencedText.h"
#include "TextWrapper.h"
#include "gamedata/GameSession.h"
#include "gamedata/PlayRecords.h"
#include "gamedata/PlayYards.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Room the grid keeps beside a cell's text.
constexpr int kCellMargins = 6;

// Reads the fields of texts such as "H,1,10,V35" the way scanf reads them:
// a conversion that does not match stops the reading, and what was not read
// stays unset. Numbers beyond the int range are clamped.
class FieldReader
{
public:
    // Keeps its own copy: readers are often made from a temporary text.
    explicit FieldReader(std::string text) : text_(std::move(text)) {}

    std::optional<char> Char()
    {
        if (failed_ || pos_ >= text_.size())
            return fail<char>();
        return text_[pos_++];
    }

    bool Literal(char c)
    {
        if (failed_ || pos_ >= text_.size() || text_[pos_] != c) {
            failed_ = true;
            return false;
        }
        ++pos_;
        return true;
    }

    std::optional<int> Int()
    {
        if (failed_)
            return std::nullopt;
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        std::size_t at = pos_;
        const bool negative = at < text_.size() && text_[at] == '-';
        if (at < text_.size() && (text_[at] == '-' || text_[at] == '+'))
            ++at;
        if (at >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at])))
            return fail<int>();
        long long value = 0;
        for (; at < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at])); ++at)
            value = std::min<long long>(value * 10 + (text_[at] - '0'), 1LL << 32);
        pos_ = at;
        value = negative ? -value : value;
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }

private:
    template <typename T> std::optional<T> fail()
    {
        failed_ = true;
        return std::nullopt;
    }

    const std::string text_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

int teamOfSide(std::optional<char> side)
{
    return side == 'H' ? 0 : 1;
}

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

// A text a team's rows share, cut short.
QString teamText(const CTeamStats &team, std::string_view label)
{
    return text(ReferencedText(team.GetTeamValue(label)));
}

// A cell from its text as composed: a leading "&" makes it bold and is not drawn.
TableCell composedCell(const QString &composed)
{
    TableCell cell;
    cell.bold = composed.startsWith(u'&');
    cell.text = cell.bold ? composed.mid(1) : composed;
    return cell;
}

// A row of four cells with the Play column's text.
TableRow lineRow(const QString &play, COLORREF textColor, COLORREF background)
{
    TableRow row;
    row.cells.resize(4);
    row.cells[PlayByPlayTable::kPlayColumn] = composedCell(play);
    row.textColor = textColor;
    row.background = background;
    return row;
}

// A play's text in lines of `width`; a text marked bold ("&") is measured in
// the bold face it is drawn in, and its first line keeps the mark.
QStringList wrappedPlay(const TextWrapper &wrapper, const QString &play, int width)
{
    if (!play.startsWith(u'&'))
        return wrapper.Wrap(play, width);
    QStringList lines = wrapper.Wrap(play.mid(1), width, TextWrapper::Face::Bold);
    if (!lines.isEmpty())
        lines.front().prepend(u'&');
    return lines;
}

} // namespace

std::vector<TableColumn> PlayByPlayTable::Columns(int playColumnWidth)
{
    return {
        {QStringLiteral("Down"), 40, TableAlignment::Left, TableSortKind::Text, false},
        {QStringLiteral("Ball On"), 55, TableAlignment::Center, TableSortKind::Text, false},
        {QStringLiteral("Play"), playColumnWidth, TableAlignment::Left, TableSortKind::Text, false},
        {QString(), 40, TableAlignment::Center, TableSortKind::Text, false},
    };
}

namespace
{

// Hands out the yards of all plays of the game, in file order.
using PlayYardsSource = std::function<const std::vector<PlayYards> &()>;

// The page, the yards of rushes and passes without any of their own taken
// from `yardsOfAllPlays`, asked at most once.
StatTable buildTable(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                     const PlayByPlayOptions &options, const TextWrapper &wrapper,
                     const PlayYardsSource &yardsOfAllPlays)
{
    StatTable table;
    table.columns = PlayByPlayTable::Columns(options.playColumnWidth);
    const std::string predicate =
        options.period <= 0 ? std::string() : "[@number='" + std::to_string(options.period) + "']";
    const auto nodes = document.SelectNodes("/fbgame/plays/qtr" + predicate + "/*");
    if (!nodes)
        return table;
    // Attributes are read directly: the page is built from every element
    // of the game on every reload.
    auto attribute = [&document](CXmlNode node, const char *name) {
        return document.Attribute(node, name, "0");
    };
    const QString shortNames[2] = {teamText(teams[0], "Short Name"),
                                   teamText(teams[1], "Short Name")};
    const QString names[2] = {teamText(teams[0], "Name"), teamText(teams[1], "Name")};
    auto shortName = [&shortNames](std::optional<char> side) {
        return shortNames[teamOfSide(side)];
    };
    const int playWidth = options.playColumnWidth - kCellMargins;

    // A rush or a pass without yards of its own shows what its text or the
    // next spot tells, nothing when neither does; other plays (kicks,
    // timeouts, penalties) keep the "0" they always showed. The yards are
    // worked out for every play at once, the first time one is needed; the
    // shown plays come in the order of all of them.
    const std::vector<PlayYards> *workedYards = nullptr;
    std::vector<CXmlNode> allPlays;
    std::size_t place = 0;
    auto yardsText = [&](CXmlNode node, const std::string &type) -> QString {
        if (document.HasAttribute(node, "yds") ||
            !IsRushOrPass(type, document.Attribute(node, "text", "")))
            return text(attribute(node, "yds"));
        if (!workedYards) {
            workedYards = &yardsOfAllPlays();
            allPlays = document.SelectNodes("/fbgame/plays/qtr/play").value_or(allPlays);
        }
        while (place < allPlays.size() && allPlays[place] != node)
            ++place;
        if (place >= allPlays.size() || place >= workedYards->size())
            return QString();
        return text((*workedYards)[place].Text());
    };

    bool white = true;
    for (const CXmlNode node : *nodes) {
        const std::string_view element = document.ElementName(node);
        if (element == "play") {
            const std::string context = attribute(node, "context");
            FieldReader reader(context);
            reader.Char();
            reader.Literal(',');
            const std::optional<int> down = reader.Int();
            reader.Literal(',');
            const std::optional<int> distance = reader.Int();
            reader.Literal(',');
            const std::optional<char> side = reader.Char();
            const std::optional<int> yard = reader.Int();

            const std::string type = attribute(node, "type");
            const std::string first = attribute(node, "first");
            QString code = type == "R"   ? QStringLiteral("r")
                           : type == "P" ? QStringLiteral("p")
                                         : QStringLiteral(" ");
            if (first == "R")
                code = QStringLiteral("&R");
            else if (first == "P")
                code = QStringLiteral("&P");
            else if (first == "E")
                code = QStringLiteral("&X");

            const COLORREF shade = white ? kWhite : kShadedPlayColor;
            const QStringList parts =
                wrappedPlay(wrapper, text(attribute(node, "text")), playWidth);
            for (qsizetype k = 0; k < parts.size(); ++k) {
                TableRow row = lineRow(parts[k], kBlack, shade);
                if (k == 0) {
                    row.cells[0] = composedCell(
                        QStringLiteral("%1-%2").arg(down.value_or(0)).arg(distance.value_or(0)));
                    // Without a ball position there is nothing to show in its column.
                    if (side && yard)
                        row.cells[1] = composedCell(shortName(side) + QString::number(*yard));
                    row.cells[3] = composedCell(code + yardsText(node, type));
                }
                table.rows.push_back(std::move(row));
            }
            white = !white;
        } else if (element == "drivestart") {
            FieldReader reader(attribute(node, "spot"));
            const std::optional<char> side = reader.Char();
            const std::optional<int> yard = reader.Int();
            const int driving = attribute(node, "vh") == "H" ? 0 : 1;
            table.rows.push_back(
                lineRow(QStringLiteral("&%1 drive start on %2%3 at %4")
                            .arg(names[driving], shortName(side), QString::number(yard.value_or(0)),
                                 text(attribute(node, "clock"))),
                        kWhite, kBlack));
            white = true;
        } else if (element == "drivesum") {
            const QString top = options.showTOP
                                    ? QStringLiteral(", TOP: %1").arg(text(attribute(node, "top")))
                                    : QString();
            table.rows.push_back(lineRow(
                QStringLiteral("Drive summary: %1 plays, %2 yards%3")
                    .arg(text(attribute(node, "plays")), text(attribute(node, "yards")), top),
                kWhite, kGrey));
        } else if (element == "comment") {
            table.rows.push_back(lineRow(text(attribute(node, "text")), kWhite, kGrey));
        } else if (element == "score") {
            table.rows.push_back(lineRow(QStringLiteral("%1 %2 - %3 %4")
                                             .arg(names[0], text(attribute(node, "H")), names[1],
                                                  text(attribute(node, "V"))),
                                         kBlack, kScoreLineColor));
        } else if (element == "endqtr") {
            table.rows.push_back(lineRow(QStringLiteral("&End of quarter"), kWhite, kGrey));
        }
    }
    return table;
}

} // namespace

StatTable PlayByPlayTable::Build(const GameSession &session, const PlayByPlayOptions &options,
                                 const TextWrapper &wrapper)
{
    return buildTable(
        session.game(), session.teams(), options, wrapper,
        [&session]() -> const std::vector<PlayYards> & { return session.playYards(); });
}

StatTable PlayByPlayTable::Build(const CGameDocument &document,
                                 std::span<const CTeamStats, 2> teams,
                                 const PlayByPlayOptions &options, const TextWrapper &wrapper)
{
    std::vector<PlayYards> worked;
    return buildTable(document, teams, options, wrapper,
                      [&document, &worked]() -> const std::vector<PlayYards> & {
                          worked = DerivePlayYards(ReadGamePlays(document));
                          return worked;
                      });
}
