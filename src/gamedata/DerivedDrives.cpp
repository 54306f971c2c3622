#include "DerivedDrives.h"

#include "CGameDocument.h"
#include "ScoreboardState.h"
#include "TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

using TextNumbers::LeadingInt;

namespace
{

constexpr int quarterSeconds = 15 * 60;
// A file may number its periods as it likes; more than this is not a game.
constexpr int mostPeriods = 40;

// The plays of one drive number, by their place in the game's list.
struct DrivePlays {
    int driveIndex = 0;
    std::vector<std::size_t> plays;
};

// The drive numbers in the order they first appear.
std::vector<DrivePlays> groupByDrive(const GamePlays &game)
{
    std::vector<DrivePlays> drives;
    std::map<int, std::size_t> slotOf;
    for (std::size_t i = 0; i < game.plays.size(); ++i) {
        const std::optional<int> drive = game.plays[i].drive;
        if (!drive)
            continue;
        const auto [slot, added] = slotOf.try_emplace(*drive, drives.size());
        if (added)
            drives.push_back(DrivePlays{*drive, {}});
        drives[slot->second].plays.push_back(i);
    }
    return drives;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Where `lower` (lower case) starts in `text` in any case at or after
// `from`; npos when nowhere. With `wordStart`, only at the start of a word.
std::size_t findNoCase(std::string_view text, std::string_view lower, std::size_t from = 0,
                       bool wordStart = false)
{
    for (std::size_t at = from; at + lower.size() <= text.size(); ++at) {
        if (wordStart && at > 0 && isLetter(text[at - 1]))
            continue;
        std::size_t k = 0;
        while (k < lower.size() && lowerAscii(text[at + k]) == lower[k])
            ++k;
        if (k == lower.size())
            return at;
    }
    return std::string_view::npos;
}

bool has(std::string_view text, std::string_view lower)
{
    return findNoCase(text, lower) != std::string_view::npos;
}

bool hasWordStarting(std::string_view text, std::string_view lower)
{
    return findNoCase(text, lower, 0, true) != std::string_view::npos;
}

// What a play that is neither a rush nor a pass was.
enum class Kind { Other, Kickoff, Punt, FieldGoal, Try };

Kind kindOf(const PlayRecord &play, bool rushOrPass)
{
    if (rushOrPass)
        return Kind::Other;
    const char type = play.type.empty() ? '\0' : static_cast<char>(std::toupper(play.type[0]));
    const std::string_view text = play.text;
    if (type == 'E' || (type != 'K' && hasWordStarting(text, "penalty")))
        return Kind::Other;
    if (type == 'K' || has(text, "kickoff") || has(text, "kick off") || has(text, "free kick") ||
        has(text, "onside kick"))
        return Kind::Kickoff;
    if (type == 'X')
        return Kind::Try;
    if (type == 'F' || has(text, "field goal"))
        return Kind::FieldGoal;
    if (type == 'U' || hasWordStarting(text, "punt"))
        return Kind::Punt;
    if (hasWordStarting(text, "attempt"))
        return Kind::Try;
    return Kind::Other;
}

// The yards of the last "return N yards" of a play's text; none without one.
std::optional<int> returnYards(std::string_view text)
{
    std::optional<int> yards;
    for (std::size_t at = findNoCase(text, "return ", 0, true); at != std::string_view::npos;
         at = findNoCase(text, "return ", at + 1, true)) {
        std::string_view rest = text.substr(at + 7);
        if (rest.empty() || rest.front() < '0' || rest.front() > '9')
            continue;
        const int number = LeadingInt(rest);
        while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9')
            rest.remove_prefix(1);
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        if (findNoCase(rest.substr(0, 4), "yard") == 0 || findNoCase(rest.substr(0, 2), "yd") == 0)
            yards = number;
    }
    return yards;
}

// Seconds of a "MM:SS" clock left in its quarter; none for another text.
std::optional<int> clockSeconds(std::string_view clock)
{
    const auto colon = clock.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 >= clock.size())
        return std::nullopt;
    const std::string_view minutes = clock.substr(0, colon);
    const std::string_view seconds = clock.substr(colon + 1);
    auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(minutes) || !digits(seconds) || minutes.size() > 3 || seconds.size() != 2)
        return std::nullopt;
    return LeadingInt(minutes) * 60 + LeadingInt(seconds);
}

std::string clockText(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60 % 1000, seconds % 60);
    return text;
}

// One drive as it is worked out, with the places of the plays that decide it.
struct Drive {
    int index = 0;
    char team = 0;
    std::vector<std::size_t> plays;      // the plays of groups without plays of their own first
    std::optional<std::size_t> firstOwn; // the team's first line of scrimmage
    std::optional<std::size_t> lastOwn;  // and its last
    std::optional<std::size_t> lastPlay; // its last snap or try
    bool ownTry = false;
    bool kickoffFirst = false; // a kickoff gave it the ball
    int startQuarter = 0;
    int endQuarter = 0;
    DriveRecordFields record;
};

class Derivation
{
public:
    Derivation(const GamePlays &game, std::span<const PlayYards> yards, const DriveGame &facts)
        : game_(game), yards_(yards), facts_(facts)
    {
        rushOrPass_.reserve(game.plays.size());
        kinds_.reserve(game.plays.size());
        for (const PlayRecord &play : game.plays) {
            rushOrPass_.push_back(IsRushOrPass(play.type, play.text));
            kinds_.push_back(kindOf(play, rushOrPass_.back()));
        }
    }

    std::vector<DriveRecordFields> Run()
    {
        group();
        for (std::size_t k = 0; k < drives_.size(); ++k)
            begin(k);
        for (std::size_t k = 0; k < drives_.size(); ++k)
            end(k);
        for (std::size_t k = 0; k < drives_.size(); ++k)
            times(k);
        std::vector<DriveRecordFields> records;
        records.reserve(drives_.size());
        for (Drive &drive : drives_)
            records.push_back(std::move(drive.record));
        return records;
    }

private:
    const PlayRecord &play(std::size_t i) const { return game_.plays[i]; }
    std::optional<int> spot(std::size_t i) const
    {
        return OffenseSpot(play(i).context, game_.fieldLength);
    }
    // Wide: a file's yards may be any number.
    long long gain(std::size_t i) const { return yards_[i].yards.value_or(0); }
    int spotAfter(std::size_t i) const
    {
        return static_cast<int>(
            std::clamp<long long>(spot(i).value_or(0) + gain(i), 0, game_.fieldLength));
    }
    bool hasTeam(char offense) const { return offense == 'H' || offense == 'V'; }
    // A snap, a penalty or a timeout of the team with the ball: a line of
    // scrimmage with its spot.
    bool lineOf(std::size_t i, char team) const
    {
        const Kind kind = kinds_[i];
        return play(i).context.offense == team && play(i).context.down >= 1 &&
               kind != Kind::Kickoff && kind != Kind::Try && spot(i).has_value();
    }
    int halfOf(int quarter) const
    {
        quarter = std::clamp(quarter, 0, mostPeriods + 1);
        const int quarters = facts_.quarters;
        if (quarter <= quarters)
            return (quarter - 1) / std::max(1, quarters / 2);
        return 2 + (quarter - quarters - 1);
    }

    // The drives, in order; a group of plays none of which is the team's
    // own opens the next drive.
    void group()
    {
        std::vector<std::size_t> pending;
        for (const DrivePlays &numbered : groupByDrive(game_)) {
            Drive drive;
            drive.index = numbered.driveIndex;
            for (const std::size_t i : numbered.plays) {
                const PlayContext &context = play(i).context;
                if (context.down >= 1 && hasTeam(context.offense) && kinds_[i] != Kind::Kickoff &&
                    kinds_[i] != Kind::Try) {
                    drive.team = context.offense;
                    break;
                }
            }
            for (const std::size_t i : numbered.plays) {
                if (!drive.team && kinds_[i] == Kind::Try && hasTeam(play(i).context.offense))
                    drive.team = play(i).context.offense;
            }
            bool own = false;
            for (const std::size_t i : numbered.plays) {
                if (drive.team &&
                    (lineOf(i, drive.team) ||
                     (kinds_[i] == Kind::Try && play(i).context.offense == drive.team)))
                    own = true;
            }
            if (!own) {
                pending.insert(pending.end(), numbered.plays.begin(), numbered.plays.end());
                continue;
            }
            // A kickoff the half ran out on opens nothing in the next half.
            const int half = halfOf(LeadingInt(play(numbered.plays.front()).quarter));
            std::erase_if(pending, [&](std::size_t i) {
                return halfOf(LeadingInt(play(i).quarter)) != half;
            });
            pending.insert(pending.end(), numbered.plays.begin(), numbered.plays.end());
            drive.plays = std::move(pending);
            pending.clear();
            drives_.push_back(std::move(drive));
        }
    }

    // Who, where and when: everything but the end and the start's how.
    void begin(std::size_t k)
    {
        Drive &drive = drives_[k];
        DriveRecordFields &record = drive.record;
        record.driveIndex = drive.index;
        record.vh = std::string(1, drive.team);
        int plays = 0;
        bool scored = false; // a snap reached a goal line: the lines after it are not the drive's
        for (const std::size_t i : drive.plays) {
            const bool ownTry = kinds_[i] == Kind::Try && play(i).context.offense == drive.team;
            if (lineOf(i, drive.team) && !scored) {
                if (!drive.firstOwn)
                    drive.firstOwn = i;
                drive.lastOwn = i;
                drive.lastPlay = i;
                const long long reached = *spot(i) + gain(i);
                scored = has(play(i).text, "safety") ||
                         (rushOrPass_[i] && (reached >= game_.fieldLength || reached <= 0));
            } else if (ownTry) {
                drive.ownTry = true;
                drive.lastPlay = i;
            } else if (kinds_[i] == Kind::Kickoff && !drive.firstOwn && !drive.ownTry) {
                drive.kickoffFirst = true;
            }
            if (play(i).context.offense == drive.team && rushOrPass_[i])
                ++plays;
        }
        record.plays = std::to_string(plays);

        // A kickoff the previous drive's group ends with gives this drive the ball.
        if (k > 0) {
            const Drive &previous = drives_[k - 1];
            for (const std::size_t i : previous.plays) {
                if (previous.lastPlay && i > *previous.lastPlay && kinds_[i] == Kind::Kickoff)
                    drive.kickoffFirst = true;
            }
        }

        const std::size_t first = drive.plays.front();
        drive.startQuarter = LeadingInt(play(first).quarter);
        record.start.quarter = play(first).quarter;
        for (const std::size_t i : drive.plays) {
            if (!play(i).clock.empty()) {
                record.start.time = play(i).clock;
                drive.startQuarter = LeadingInt(play(i).quarter);
                record.start.quarter = play(i).quarter;
                break;
            }
        }
        const std::size_t last = drive.lastPlay.value_or(drive.plays.back());
        drive.endQuarter = LeadingInt(play(last).quarter);
        record.end.quarter = play(last).quarter;

        if (drive.firstOwn) {
            record.start.spot = std::to_string(*spot(*drive.firstOwn));
        } else if (drive.ownTry) {
            // Only the try of its own: a kick or a turnover returned for the
            // touchdown gave the ball where the return began.
            std::optional<int> returned;
            for (const std::size_t i : drive.plays) {
                if (kinds_[i] == Kind::Kickoff && has(play(i).text, "touchdown"))
                    returned = returnYards(play(i).text);
            }
            if (!returned && k > 0 && drives_[k - 1].lastOwn) {
                const std::string &text = play(*drives_[k - 1].lastOwn).text;
                if (has(text, "touchdown"))
                    returned = returnYards(text);
            }
            if (returned)
                record.start.spot =
                    std::to_string(std::clamp(game_.fieldLength - *returned, 0, game_.fieldLength));
        }
    }

    bool lostFumble(std::size_t i, char team, const Drive *next) const
    {
        const std::string_view text = play(i).text;
        if (!has(text, "fumble"))
            return false;
        const bool ballChanged = next && next->team != team && !next->kickoffFirst;
        std::size_t recovered = std::string_view::npos;
        for (std::size_t at = findNoCase(text, "recovered by "); at != std::string_view::npos;
             at = findNoCase(text, "recovered by ", at + 1))
            recovered = at;
        if (recovered == std::string_view::npos)
            return ballChanged;
        const std::string_view by = text.substr(recovered + 13);
        const std::string &offenseId = facts_.teamIds[team == 'H' ? 0 : 1];
        const std::string &defenseId = facts_.teamIds[team == 'H' ? 1 : 0];
        if (!defenseId.empty() && by.starts_with(defenseId))
            return true;
        if (!offenseId.empty() && by.starts_with(offenseId))
            return false;
        return ballChanged;
    }

    // How and where the drive ended.
    void end(std::size_t k)
    {
        Drive &drive = drives_[k];
        DriveRecordFields &record = drive.record;
        const Drive *next = k + 1 < drives_.size() ? &drives_[k + 1] : nullptr;
        const std::optional<std::size_t> last = drive.lastOwn;
        const int field = game_.fieldLength;
        // Where the ball was when the drive ended; none without a line of its own.
        bool ended = last.has_value();
        int endSpot = last ? spotAfter(*last) : 0;
        std::string how;
        const bool reached = last && rushOrPass_[*last] && spot(*last);
        if (last &&
            (has(play(*last).text, "safety") || (reached && *spot(*last) + gain(*last) <= 0))) {
            how = "SAF";
            endSpot = 0;
            ended = true;
        } else if (drive.ownTry || (reached && *spot(*last) + gain(*last) >= field)) {
            how = "TD";
            endSpot = field;
            ended = true;
        } else if (last && kinds_[*last] == Kind::FieldGoal) {
            const std::string_view text = play(*last).text;
            const bool good = has(text, "good") && !has(text, "no good") && !has(text, "blocked");
            how = good ? "FG" : "FGA";
            endSpot = *spot(*last);
        } else if (last && kinds_[*last] == Kind::Punt) {
            how = "PUNT";
            endSpot = *spot(*last);
        } else if (last && rushOrPass_[*last] && has(play(*last).text, "intercepted")) {
            how = "INT";
            endSpot = *spot(*last);
        } else if (last && lostFumble(*last, drive.team, next)) {
            how = "FUMB";
        } else if (next) {
            if (last && next->team != drive.team && !next->kickoffFirst &&
                play(*last).context.down == 4)
                how = "DOWNS";
            else if (halfOf(next->startQuarter) > halfOf(drive.endQuarter))
                how = "HALF";
            else
                how = "POSS";
        } else if (facts_.gameOver) {
            how = "HALF";
        }
        record.end.how = how;
        if (ended)
            record.end.spot = std::to_string(endSpot);
        if (!record.start.spot.empty() && ended)
            record.yards = std::to_string(endSpot - LeadingInt(record.start.spot));
    }

    // How it started, when it ended and how long the team had the ball.
    void times(std::size_t k)
    {
        Drive &drive = drives_[k];
        DriveRecordFields &record = drive.record;
        if (drive.kickoffFirst) {
            record.start.how = "KO";
        } else if (drive.startQuarter > facts_.quarters) {
            record.start.how = "POSS"; // an overtime possession
        } else {
            const std::string &before = k > 0 ? drives_[k - 1].record.end.how : std::string();
            const bool handedOver = before == "PUNT" || before == "INT" || before == "FUMB" ||
                                    before == "DOWNS" || before == "FGA";
            record.start.how = handedOver ? before : "POSS";
        }

        // The drive ended when the next play that gives a clock began (the
        // next drive's, or a kickoff the half ran out on), or with its quarter.
        std::optional<std::size_t> after;
        for (std::size_t j = drive.plays.back() + 1; j < game_.plays.size() && !after; ++j) {
            if (!play(j).clock.empty())
                after = j;
        }
        if (after) {
            record.end.time = LeadingInt(play(*after).quarter) > drive.endQuarter
                                  ? clockText(0)
                                  : play(*after).clock;
        } else if (facts_.gameOver) {
            record.end.time = clockText(0);
        } else {
            for (const std::size_t i : drive.plays) {
                if (!play(i).clock.empty())
                    record.end.time = play(i).clock;
            }
        }

        const std::optional<int> from = clockSeconds(record.start.time);
        const std::optional<int> to = clockSeconds(record.end.time);
        if (from && to && drive.startQuarter >= 1 && drive.endQuarter >= drive.startQuarter &&
            drive.endQuarter <= mostPeriods) {
            const int seconds =
                (drive.endQuarter - drive.startQuarter) * quarterSeconds + *from - *to;
            if (seconds >= 0)
                record.top = clockText(seconds);
        }
    }

    const GamePlays &game_;
    std::span<const PlayYards> yards_;
    const DriveGame &facts_;
    std::vector<bool> rushOrPass_;
    std::vector<Kind> kinds_;
    std::vector<Drive> drives_;
};

} // namespace

std::vector<DriveRecordFields> DeriveDrives(const GamePlays &game, std::span<const PlayYards> yards,
                                            const DriveGame &facts)
{
    if (yards.size() != game.plays.size())
        return {};
    return Derivation(game, yards, facts).Run();
}

DriveGame DriveGameOf(const CGameDocument &document)
{
    DriveGame facts;
    const int quarters = LeadingInt(document.GetText("/fbgame/venue/rules/@qtrs"));
    if (quarters >= 1 && quarters <= mostPeriods)
        facts.quarters = quarters;
    facts.gameOver = ScoreboardState::IsFinal(document);
    facts.teamIds = {document.GetText("/fbgame/team[@vh='H']/@id"),
                     document.GetText("/fbgame/team[@vh='V']/@id")};
    return facts;
}

GameDrives DrivesWithoutRecords(const CGameDocument &document)
{
    GameDrives result;
    if (document.SelectSingleNode("/fbgame/drives/drive"))
        return result;
    const GamePlays game = ReadGamePlays(document);
    if (game.plays.empty())
        return result;
    const std::vector<PlayYards> yards = DerivePlayYards(game);
    result.drives = DeriveDrives(game, yards, DriveGameOf(document));
    result.derived = true;
    return result;
}
