#include "GameFileChecker.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace pylonix::feed;
using namespace pylonix::feed::testing;

namespace
{

std::string finishedGame(std::uint64_t seed)
{
    const RosterFactory rosters;
    GameSimulator simulator(seed, rosters.home(), rosters.visitor());
    simulator.run({});
    return GameXmlWriter::write(simulator.state());
}

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// What a handful of games show between them.
struct Seen {
    std::set<std::string> tries;       // "KICK GOOD", "PASS FAIL", ...
    std::set<std::string> scoreKinds;  // "TD RUSH", "FG", "SAF", ...
    std::set<std::string> driveEnds;   // "PUNT", "DOWNS", ...
    std::set<std::string> driveStarts; // "KO", "INT", ...
    std::set<std::string> playTypes;
    std::set<std::string> firstDowns;
    std::set<std::string> textMarks; // phrases found in play texts
};

const std::vector<std::string> phrases = {"touchback",
                                          "downed",
                                          "fair catch",
                                          "out of bounds",
                                          "return",
                                          "NO GOOD",
                                          " GOOD,",
                                          "BLOCKED",
                                          "intercepted",
                                          "sacked",
                                          "PENALTY",
                                          "Timeout",
                                          "TOUCHDOWN",
                                          "SAFETY",
                                          "punt blocked",
                                          "broken up by",
                                          "fumble forced",
                                          "kick attempt failed",
                                          "Start of 3rd quarter"};

class GameCoverage : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        seen_ = Seen{};
        for (std::uint64_t seed = 1; seed <= 30; ++seed) {
            pugi::xml_document document;
            ASSERT_TRUE(parse(document, finishedGame(seed)));
            collect(document);
        }
    }

    static void collect(const pugi::xml_document &document)
    {
        const pugi::xml_node game = document.child("fbgame");
        for (const pugi::xml_node &score : game.child("scores").children("score")) {
            const std::string type = score.attribute("type").value();
            seen_.scoreKinds.insert(
                type + (type == "TD" ? " " + std::string(score.attribute("how").value()) : ""));
            if (type == "TD")
                seen_.tries.insert(std::string(score.attribute("pattype").value()) + " " +
                                   score.attribute("patres").value());
            if (type == "SAF" && std::string(score.attribute("scorer").value()) == "TEAM")
                seen_.scoreKinds.insert("SAF TEAM");
        }
        for (const pugi::xml_node &drive : game.child("drives").children("drive")) {
            const std::string start = drive.attribute("start").value();
            const std::string end = drive.attribute("end").value();
            seen_.driveStarts.insert(start.substr(0, start.find(',')));
            seen_.driveEnds.insert(end.substr(0, end.find(',')));
        }
        for (const pugi::xml_node &quarter : game.child("plays").children("qtr")) {
            for (const pugi::xml_node &play : quarter.children("play")) {
                seen_.playTypes.insert(play.attribute("type").value());
                if (play.attribute("first"))
                    seen_.firstDowns.insert(play.attribute("first").value());
                const std::string text = play.attribute("text").value();
                for (const std::string &phrase : phrases) {
                    if (text.find(phrase) != std::string::npos)
                        seen_.textMarks.insert(phrase);
                }
                if (text.find("recovered by") != std::string::npos) {
                    const std::string offense = play.attribute("context").value();
                    const std::string recovering = text.substr(text.find("recovered by") + 13, 3);
                    const auto team =
                        game.find_child_by_attribute("team", "vh", offense.substr(0, 1).c_str());
                    seen_.textMarks.insert(
                        recovering == team.attribute("id").value() ? "fumble kept" : "fumble lost");
                }
            }
        }
    }

    static Seen seen_;
};

Seen GameCoverage::seen_;

TEST_F(GameCoverage, EveryTryKindIsBothMadeAndMissed)
{
    for (const char *kind : {"KICK", "RUSH", "PASS"}) {
        EXPECT_TRUE(seen_.tries.count(std::string(kind) + " GOOD")) << kind;
        EXPECT_TRUE(seen_.tries.count(std::string(kind) + " FAIL")) << kind;
    }
}

TEST_F(GameCoverage, ScoresOfEveryKindOccur)
{
    for (const char *kind : {"TD RUSH", "TD PASS", "FG", "SAF"})
        EXPECT_TRUE(seen_.scoreKinds.count(kind)) << kind;
    // Returns for touchdowns are rare; at least one kind shows up.
    EXPECT_TRUE(seen_.scoreKinds.count("TD INT") || seen_.scoreKinds.count("TD KO") ||
                seen_.scoreKinds.count("TD PUNT") || seen_.scoreKinds.count("TD FUMB"));
}

TEST_F(GameCoverage, DrivesStartAndEndInEveryWay)
{
    for (const char *how : {"KO", "PUNT", "INT", "FUMB", "DOWNS", "FGA"})
        EXPECT_TRUE(seen_.driveStarts.count(how)) << how;
    for (const char *how :
         {"PUNT", "TD", "FG", "FGA", "DOWNS", "INT", "FUMB", "SAF", "HALF", "GAME"})
        EXPECT_TRUE(seen_.driveEnds.count(how)) << how;
}

TEST_F(GameCoverage, PlayTypesFirstDownsAndPhrasesOccur)
{
    EXPECT_EQ(seen_.playTypes, (std::set<std::string>{"R", "P", "K", "U", "F", "X", "E", "#"}));
    EXPECT_EQ(seen_.firstDowns, (std::set<std::string>{"R", "P", "E"}));
    for (const std::string &phrase : phrases)
        EXPECT_TRUE(seen_.textMarks.count(phrase)) << phrase;
    EXPECT_TRUE(seen_.textMarks.count("fumble lost"));
    EXPECT_TRUE(seen_.textMarks.count("fumble kept"));
}

TEST(GamePlayTexts, EveryBallCarrierPasserAndReceiverIsNamedByHisSurname)
{
    pugi::xml_document document;
    ASSERT_TRUE(parse(document, finishedGame(4)));
    std::string texts;
    for (const pugi::xml_node &quarter : document.child("fbgame").child("plays").children("qtr")) {
        for (const pugi::xml_node &play : quarter.children("play"))
            texts += upper(play.attribute("text").value()) + "\n";
    }
    int checked = 0;
    for (const pugi::xml_node &team : document.child("fbgame").children("team")) {
        for (const pugi::xml_node &player : team.children("player")) {
            if (!player.child("rush") && !player.child("rcv") && !player.child("pass") &&
                !player.child("defense"))
                continue;
            const std::string shortName = player.attribute("shortname").value();
            const std::string key = upper(shortName.substr(shortName.rfind(' ') + 1));
            EXPECT_NE(texts.find(key), std::string::npos) << shortName;
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
}

TEST(GamePlayTexts, ReadLikeThePressBox)
{
    pugi::xml_document document;
    ASSERT_TRUE(parse(document, finishedGame(1)));
    const std::regex rush(
        R"(^[A-Z]\. [A-Za-z\x80-\xff]+ rush for (\d+ yards?|no gain|loss of \d+ yards?) to the (KBM|AMW)?\d+.*\.$)");
    int rushes = 0;
    for (const pugi::xml_node &quarter : document.child("fbgame").child("plays").children("qtr")) {
        for (const pugi::xml_node &play : quarter.children("play")) {
            const std::string text = play.attribute("text").value();
            if (text.find(" rush for ") == std::string::npos || text.rfind("TEAM", 0) == 0)
                continue;
            ++rushes;
            EXPECT_TRUE(std::regex_match(text, rush)) << text;
        }
    }
    EXPECT_GT(rushes, 20);
}

} // namespace

namespace
{

TEST(GameOvertime, TiedGamesGoToOvertimeUntilOnePeriodIsWon)
{
    int overtimeGames = 0;
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        pugi::xml_document document;
        ASSERT_TRUE(parse(document, finishedGame(seed)));
        const pugi::xml_node game = document.child("fbgame");
        const auto home = game.find_child_by_attribute("team", "vh", "H");
        const auto visitor = game.find_child_by_attribute("team", "vh", "V");
        EXPECT_NE(home.child("linescore").attribute("score").as_int(),
                  visitor.child("linescore").attribute("score").as_int())
            << "seed " << seed;
        for (const pugi::xml_node &period : game.child("plays").children("qtr")) {
            if (period.attribute("number").as_int() <= 4)
                continue;
            std::vector<std::string> sides;
            for (const pugi::xml_node &start : period.children("drivestart"))
                sides.push_back(start.attribute("vh").value());
            // One possession each from the opponent's 25, no kicks but tries and field goals.
            ASSERT_EQ(sides.size(), 2u) << "seed " << seed;
            EXPECT_NE(sides[0], sides[1]);
            for (const pugi::xml_node &start : period.children("drivestart"))
                EXPECT_EQ(std::string(start.attribute("spot").value()).substr(1), "25");
            for (const pugi::xml_node &play : period.children("play")) {
                const std::string type = play.attribute("type").value();
                EXPECT_TRUE(type != "K" && type != "U") << play.attribute("text").value();
            }
            ++overtimeGames;
        }
    }
    EXPECT_GE(overtimeGames, 1);
}

} // namespace
