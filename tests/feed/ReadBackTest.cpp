// The files the feed writes, read back through the viewer's own loaders.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"
#include "StatElements.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

using namespace pylonix::feed;
namespace fs = std::filesystem;

namespace
{

class ReadBack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        teams_[0].SetSide('H');
        teams_[1].SetSide('V');
    }

    std::string save(const std::string &name, const std::string &bytes)
    {
        return scratch_.Write(name, bytes);
    }

    // Plays the game up to play `until` (the whole game when negative).
    GameState play(std::uint64_t seed, int until = -1)
    {
        const RosterFactory rosters;
        GameSimulator simulator(seed, rosters.home(), rosters.visitor());
        std::optional<GameState> wanted;
        simulator.run([&](const GameState &state, int n) {
            if (n == until)
                wanted = state;
        });
        return wanted ? *wanted : simulator.state();
    }

    bool load(const GameState &state, Encoding encoding = Encoding::Utf8)
    {
        if (!document_.Open(save("game.xml", GameXmlWriter::write(state, encoding))))
            return false;
        return teams_[0].LoadGame(document_) && teams_[1].LoadGame(document_);
    }

    ScratchDirectory scratch_;
    CGameDocument document_;
    std::array<CTeamStats, 2> teams_;
};

void expectTeam(const CTeamStats &loaded, const Team &team)
{
    const TeamTotals totals = team.totals(1);
    EXPECT_EQ(loaded.GetTeamValue("Name"), team.name());
    EXPECT_EQ(loaded.GetTeamValue("Short Name"), team.id());
    EXPECT_EQ(loaded.GetTeamValue("FD"), std::to_string(totals.firstDowns()));
    EXPECT_EQ(loaded.GetTeamValue("Rush Yds"), std::to_string(totals.rushYds));
    EXPECT_EQ(loaded.GetTeamValue("Pass Att-Comp-Int"), std::to_string(totals.passAtt) + " - " +
                                                            std::to_string(totals.passComp) +
                                                            " - " + std::to_string(totals.passInt));
    EXPECT_EQ(loaded.GetTeamValue("Penalties-Yds"),
              std::to_string(totals.penalties) + " - " + std::to_string(totals.penaltyYds));
    EXPECT_EQ(loaded.GetTeamValue("Possession Time"),
              StatElements::minutesText(totals.possessionSeconds));

    ASSERT_EQ(loaded.playerCount(), static_cast<int>(team.players().size()));
    for (int i = 0; i < loaded.playerCount(); ++i) {
        const Player &player = team.player(i);
        EXPECT_EQ(loaded.GetPlayerValue(i, "Check Name"), player.checkName);
        EXPECT_EQ(loaded.GetPlayerValue(i, "Short Name"), player.shortName);
        EXPECT_EQ(loaded.GetPlayerValue(i, "Rush Yds"),
                  player.stats.hasRush() ? std::to_string(player.stats.rushYds) : "");
        EXPECT_EQ(loaded.GetPlayerValue(i, "Def Has"), player.stats.hasDefense() ? "1" : "");
        EXPECT_EQ(loaded.GetPlayerValue(i, "KR Yds"),
                  player.stats.kr.no > 0 ? std::to_string(player.stats.kr.yds) : "");
        if (player.stats.hasPat()) {
            EXPECT_EQ(loaded.GetPlayerValue(i, "FG PAT"),
                      std::to_string(player.stats.patKickMade) + "/" +
                          std::to_string(player.stats.patKickAtt));
        }
    }
}

TEST_F(ReadBack, LoadGameGivesTheTeamsAndPlayersTheFeedMeant)
{
    const GameState state = play(1);
    ASSERT_TRUE(load(state)) << document_.LastError();
    expectTeam(teams_[0], state.home);
    expectTeam(teams_[1], state.visitor);
    EXPECT_EQ(document_.GetText("/fbgame/plays/qtr/score/@final"), "Y");
    EXPECT_EQ(document_.GetText("/fbgame/team[@vh='H']/linescore/@score"),
              std::to_string(state.home.score()));
}

TEST_F(ReadBack, Windows1252FileLoadsTheSameNames)
{
    const GameState state = play(1);
    ASSERT_TRUE(load(state, Encoding::Windows1252)) << document_.LastError();
    EXPECT_GE(teams_[0].FindPlayerByCheckName("PE\xC3\x91"
                                              "ALOSA,MATEO"),
              0);
    EXPECT_EQ(teams_[1].GetTeamValue("Name"), "Aldric & Mercy Wardens");
}

TEST_F(ReadBack, LoadDrivesListsEveryFinishedDriveWithItsSpots)
{
    const GameState state = play(2);
    ASSERT_TRUE(load(state));
    const CDriveChartData chart = CDriveChartData::Load(document_, teams_, DriveFilter{});
    ASSERT_EQ(chart.count(), static_cast<int>(state.drives.size()));
    EXPECT_EQ(chart.fieldLength(), 100);
    for (int i = 0; i < chart.count(); ++i) {
        const DriveRecord &drive = state.drives[static_cast<std::size_t>(i)];
        const CChartItem &item = chart.item(i);
        EXPECT_EQ(item.driveIndex, drive.index);
        EXPECT_EQ(item.team, drive.side == 'H' ? 0 : 1);
        EXPECT_EQ(item.startHow, drive.start.how);
        EXPECT_EQ(item.endHow, drive.end.how);
        EXPECT_EQ(item.plays, std::to_string(drive.plays));
        const int start = drive.side == 'H' ? drive.start.spot : 100 - drive.start.spot;
        const int end = drive.side == 'H' ? drive.end.spot : 100 - drive.end.spot;
        EXPECT_EQ(item.lowYard, std::min(start, end));
        EXPECT_EQ(item.highYard, std::max(start, end));
    }
}

TEST_F(ReadBack, LoadDrivesInPlaysModeListsTheScrimmagePlaysOfADrive)
{
    const GameState state = play(2);
    ASSERT_TRUE(load(state));
    CDriveChartData chart;
    for (const DriveRecord &drive : state.drives) {
        int expected = 0;
        for (const LogElement &element : state.log) {
            if (!element.isPlay() ||
                element.attribute("playid").rfind(std::to_string(drive.index) + ",", 0) != 0)
                continue;
            const std::string &type = element.attribute("type");
            expected += type == "R" || type == "P" || type == "E" ? 1 : 0;
        }
        chart = CDriveChartData::Load(document_, teams_, DriveFilter{.playsOfDrive = drive.index});
        EXPECT_EQ(chart.count(), expected) << "drive " << drive.index;
    }
}

TEST_F(ReadBack, InProgressGameShowsOnlyFinishedDrivesAndTheCurrentSituation)
{
    const GameState state = play(3, 100);
    ASSERT_TRUE(load(state));
    const CDriveChartData chart = CDriveChartData::Load(document_, teams_, DriveFilter{});
    EXPECT_EQ(chart.count(), static_cast<int>(state.drives.size()));
    EXPECT_EQ(document_.GetText("/fbgame/plays/downtogo/@context"), state.downToGo.context);
    EXPECT_EQ(document_.GetText("/fbgame/plays/qtr/score/@final"), "");
}

TEST_F(ReadBack, LoadSeasonGivesThePlayersAndTotalsOfTheEarlierGames)
{
    const SeasonTeam season = SeasonBuilder(1, 1).home();
    CGameDocument document;
    ASSERT_TRUE(document.Open(save("home.xml", SeasonXmlWriter::write(season))));
    CSeasonStats stats;
    stats.SetSide('H');
    ASSERT_TRUE(stats.LoadSeason(document));
    EXPECT_EQ(stats.GetTeamValue("Name"), season.name);
    EXPECT_EQ(stats.GetTeamValue("Rush Yds"), std::to_string(season.totals.rushYds));
    ASSERT_EQ(stats.playerCount(), static_cast<int>(season.players.size()));
    for (const SeasonPlayer &line : season.players) {
        const int index = stats.FindPlayerByCheckName(line.player.checkName);
        ASSERT_GE(index, 0) << line.player.checkName;
        EXPECT_EQ(stats.GetPlayerValue(index, "Played"), std::to_string(line.gamesPlayed));
        EXPECT_EQ(stats.GetPlayerValue(index, "Pass Yds"),
                  line.player.stats.hasPass() ? std::to_string(line.player.stats.passYds) : "");
    }
}

} // namespace
