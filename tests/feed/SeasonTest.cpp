#include "GameFileChecker.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace pylonix::feed;
using namespace pylonix::feed::testing;

namespace
{

class SeasonFiles : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const SeasonBuilder builder(1, 1);
        homeText_ = SeasonXmlWriter::write(builder.home());
        visitorText_ = SeasonXmlWriter::write(builder.visitor());
    }

    static std::string homeText_;
    static std::string visitorText_;
};

std::string SeasonFiles::homeText_;
std::string SeasonFiles::visitorText_;

TEST_F(SeasonFiles, HaveTeamPlayersAndTotalsThatAreTheirSums)
{
    for (const std::string *text : {&homeText_, &visitorText_}) {
        pugi::xml_document document;
        ASSERT_TRUE(parse(document, *text));
        const pugi::xml_node season = document.child("fbseas");
        ASSERT_TRUE(season);
        EXPECT_TRUE(season.child("team").attribute("name"));
        EXPECT_TRUE(season.child("team").attribute("id"));
        const pugi::xml_node totals = season.child("totals");
        ASSERT_TRUE(totals);
        for (const auto &[element, attribute] :
             std::vector<std::pair<const char *, const char *>>{{"rush", "att"},
                                                                {"rush", "yds"},
                                                                {"pass", "comp"},
                                                                {"pass", "yds"},
                                                                {"punt", "no"},
                                                                {"kr", "yds"}}) {
            int sum = 0;
            for (const pugi::xml_node &player : season.children("player"))
                sum += player.child(element).attribute(attribute).as_int();
            EXPECT_EQ(totals.child(element).attribute(attribute).as_int(), sum)
                << element << "/@" << attribute;
        }
        EXPECT_GT(totals.child("rush").attribute("att").as_int(), 4 * 20);
    }
}

TEST_F(SeasonFiles, GamesPlayedVaryAndSomeGamePlayersHaveNoSeasonLine)
{
    pugi::xml_document season;
    ASSERT_TRUE(parse(season, homeText_));
    std::map<int, int> byGamesPlayed;
    std::set<std::string> seasonNames;
    for (const pugi::xml_node &player : season.child("fbseas").children("player")) {
        ++byGamesPlayed[player.attribute("gp").as_int()];
        seasonNames.insert(player.attribute("checkname").value());
    }
    const int players = static_cast<int>(seasonNames.size());
    EXPECT_GT(byGamesPlayed[4] + byGamesPlayed[3], players * 3 / 4);
    EXPECT_GE(byGamesPlayed[2], 3);
    EXPECT_GE(byGamesPlayed[3], 1);

    // The game's players are matched by check name; newcomers have no season line.
    const RosterFactory rosters;
    GameSimulator simulator(1, rosters.home(), rosters.visitor());
    simulator.run({});
    pugi::xml_document game;
    ASSERT_TRUE(parse(game, GameXmlWriter::write(simulator.state())));
    int matched = 0;
    int unmatched = 0;
    const auto home = game.child("fbgame").find_child_by_attribute("team", "vh", "H");
    for (const pugi::xml_node &player : home.children("player"))
        (seasonNames.count(player.attribute("checkname").value()) ? matched : unmatched) += 1;
    EXPECT_GE(unmatched, 2);
    EXPECT_LE(unmatched, 5);
    EXPECT_GT(matched, 40);
    EXPECT_TRUE(seasonNames.count("PE\xC3\x91"
                                  "ALOSA,MATEO"));
}

TEST_F(SeasonFiles, SameSeedGivesTheSameFiles)
{
    const SeasonBuilder builder(1, 1);
    EXPECT_EQ(SeasonXmlWriter::write(builder.home()), homeText_);
    EXPECT_NE(SeasonXmlWriter::write(SeasonBuilder(2, 1).home()), homeText_);
}

} // namespace
