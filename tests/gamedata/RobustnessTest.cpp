// Every cut and corruption of a game file must load or fail cleanly. The
// sanitizer build runs these to catch out-of-bounds reads and leaks.
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

#include <array>
#include <gtest/gtest.h>
#include <random>
#include <string_view>
#include <vector>

namespace
{

// What loadEverything found.
struct Loaded {
    bool opened = false; // the game document opened
    int drives = 0;      // drives listed
    int plays = 0;       // plays listed, over the plays of every drive
};

// Opens `bytes` as a game and a season file and runs every loader on them,
// the plays of each drive included.
Loaded loadEverything(const ScratchDirectory &dir, const std::string &bytes)
{
    const std::string path = dir.Write("game.xml", bytes);
    Loaded loaded;
    CGameDocument game;
    loaded.opened = game.Open(path);
    const std::array<CTeamStats, 2> teams = TeamsOf(game);
    CXmlDocument seasonDocument;
    seasonDocument.Open(path);
    CSeasonStats season;
    season.LoadSeason(seasonDocument);

    CDriveChartData list = CDriveChartData::Load(game, teams, DriveFilter{});
    loaded.drives = list.count();
    std::vector<int> driveIndexes;
    for (int i = 0; i < list.count(); ++i)
        driveIndexes.push_back(list.item(i).driveIndex);
    for (const int drive : driveIndexes) {
        list = CDriveChartData::Load(game, teams, DriveFilter{.playsOfDrive = drive}, list);
        EXPECT_EQ(list.playsMode(), drive >= 0);
        for (int i = 0; i < list.count(); ++i)
            loaded.plays += !list.item(i).startHow.empty() || !list.item(i).top.empty();
    }
    list = CDriveChartData::Load(game, teams, DriveFilter{}, list);
    EXPECT_EQ(list.count(), loaded.drives);
    game.GetText("/fbgame/plays/downtogo/@context");
    return loaded;
}

} // namespace

// Cuts of a hand-written game, of a full game from the feed tool and of a
// season file: none is well-formed, and every one loads or fails cleanly.
TEST(Robustness, EveryPrefixOfTheSampleFilesLoadsOrFailsCleanly)
{
    ScratchDirectory dir;
    for (const char *name : {"/small/game.xml", "/game-final.xml", "/season-home.xml"}) {
        const std::string file = ReadFile(std::string(PYLONIX_SAMPLES_DIR) + name);
        ASSERT_GT(file.size(), 1000u) << name;
        int opened = 0;
        const size_t stride = std::max<size_t>(1, file.size() / 300);
        for (size_t length = 0; length < file.size(); length += stride)
            opened += loadEverything(dir, file.substr(0, length)).opened;
        EXPECT_EQ(opened, 0) << name << ": a cut file is never well-formed";
        const Loaded whole = loadEverything(dir, file);
        EXPECT_TRUE(whole.opened) << name;
        // A whole game lists its drives and, drive by drive, at least one play each.
        if (std::string_view(name) != "/season-home.xml") {
            EXPECT_GT(whole.drives, 0) << name;
            EXPECT_GE(whole.plays, whole.drives) << name;
        }
    }
    EXPECT_EQ(dir.TemporaryCopies(), 0);
}

TEST(Robustness, RandomByteMutationsNeverCrash)
{
    ScratchDirectory dir;
    const std::string game = ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> position(0, game.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255), edits(1, 8), kind(0, 2);
    int opened = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string mutated = game;
        for (int e = edits(random); e > 0 && !mutated.empty(); --e) {
            const size_t at = position(random) % mutated.size();
            switch (kind(random)) {
            case 0:
                mutated[at] = static_cast<char>(byte(random));
                break;
            case 1:
                mutated.erase(at, 1);
                break;
            default:
                mutated.insert(at, 1, "<>\"'&=/,\xC3\x00"[byte(random) % 10]);
            }
        }
        opened += loadEverything(dir, mutated).opened;
    }
    // Some mutations land in text and keep the file well-formed; most break it.
    EXPECT_GT(opened, 0);
    EXPECT_LT(opened, 2000);
}
