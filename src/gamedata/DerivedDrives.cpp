#include "DerivedDrives.h"

#include "CGameDocument.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace
{

// The plays of one drive, by their place in the game's list.
struct DrivePlays {
    int driveIndex = 0;
    std::vector<std::size_t> plays;
};

// The drives in the order their numbers first appear.
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

// True when a play's text scores a safety.
bool saysSafety(std::string_view text)
{
    for (std::size_t at = 0; at + 6 <= text.size(); ++at) {
        bool match = true;
        for (std::size_t k = 0; k < 6 && match; ++k)
            match = std::toupper(static_cast<unsigned char>(text[at + k])) == "SAFETY"[k];
        if (match)
            return true;
    }
    return false;
}

bool hasBall(char offense)
{
    return offense == 'H' || offense == 'V';
}

DriveRecordFields deriveDrive(const GamePlays &game, std::span<const PlayYards> yards,
                              const std::vector<bool> &rushesAndPasses, const DrivePlays &drive)
{
    const int field = game.fieldLength;
    auto playAt = [&](std::size_t i) -> const PlayRecord & { return game.plays[i]; };
    auto rushOrPass = [&](std::size_t i) { return rushesAndPasses[i]; };

    // A kickoff or a quarter's opening line may carry the kicking team's
    // context; the team whose drive it is runs and passes.
    char team = 0;
    for (const std::size_t i : drive.plays) {
        if (rushOrPass(i) && hasBall(playAt(i).context.offense)) {
            team = playAt(i).context.offense;
            break;
        }
    }
    if (!team) {
        for (const std::size_t i : drive.plays) {
            if (hasBall(playAt(i).context.offense)) {
                team = playAt(i).context.offense;
                break;
            }
        }
    }

    DriveRecordFields record;
    record.driveIndex = drive.driveIndex;
    record.vh = team ? std::string(1, team) : std::string();

    int plays = 0;
    for (const std::size_t i : drive.plays)
        plays += rushOrPass(i) ? 1 : 0;

    // The drive runs from the team's first snap to the one that ended it.
    // Kickoffs and free kicks (down 0) count only in a drive without a snap.
    std::optional<std::size_t> first;
    std::optional<std::size_t> last;
    bool safety = false; // the team with the ball was downed in its own end zone
    for (const bool snapsOnly : {true, false}) {
        bool scored = false;
        for (const std::size_t i : drive.plays) {
            const PlayContext &context = playAt(i).context;
            const std::optional<int> spot = OffenseSpot(context, field);
            if (scored || context.offense != team || !spot || (snapsOnly && context.down < 1))
                continue;
            if (!first)
                first = i;
            last = i;
            // A snap that reaches a goal line ends the drive there; the try
            // after a touchdown is snapped from elsewhere.
            const std::optional<int> gain = yards[i].yards;
            scored = rushOrPass(i) && gain && (*spot + *gain >= field || *spot + *gain <= 0);
            safety = saysSafety(playAt(i).text);
            scored = scored || safety;
        }
        if (first)
            break;
    }
    record.plays = std::to_string(plays);

    const PlayRecord &opening = playAt(first.value_or(drive.plays.front()));
    const PlayRecord &closing = playAt(last.value_or(drive.plays.back()));
    record.start.quarter = opening.quarter;
    record.end.quarter = closing.quarter;
    // Not every play carries the clock: the drive's first and latest ones do.
    for (const std::size_t i : drive.plays) {
        if (playAt(i).clock.empty())
            continue;
        if (record.start.time.empty())
            record.start.time = playAt(i).clock;
        record.end.time = playAt(i).clock;
    }

    if (first) {
        const int startSpot = *OffenseSpot(playAt(*first).context, field);
        int endSpot = *OffenseSpot(playAt(*last).context, field);
        // The last snap's gain counts when it was a rush or a pass; a punt or
        // a field goal try ends the drive where it was kicked from.
        if (safety)
            endSpot = 0;
        else if (rushOrPass(*last) && yards[*last].yards)
            endSpot = std::clamp(endSpot + *yards[*last].yards, 0, field);
        record.start.spot = std::to_string(startSpot);
        record.end.spot = std::to_string(endSpot);
        record.yards = std::to_string(endSpot - startSpot);
    }
    return record;
}

} // namespace

std::vector<DriveRecordFields> DeriveDrives(const GamePlays &game, std::span<const PlayYards> yards)
{
    std::vector<DriveRecordFields> records;
    if (yards.size() != game.plays.size())
        return records;
    std::vector<bool> rushesAndPasses;
    rushesAndPasses.reserve(game.plays.size());
    for (const PlayRecord &play : game.plays)
        rushesAndPasses.push_back(IsRushOrPass(play.type, play.text));
    const std::vector<DrivePlays> drives = groupByDrive(game);
    records.reserve(drives.size());
    for (const DrivePlays &drive : drives)
        records.push_back(deriveDrive(game, yards, rushesAndPasses, drive));
    return records;
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
    result.drives = DeriveDrives(game, yards);
    result.derived = true;
    return result;
}
