#include "GameFileChecker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace pylonix::feed::testing;
using ::testing::IsEmpty;

namespace
{

// Context of every play in document order, with its quarter.
std::vector<std::pair<int, std::string>> playContexts(const pugi::xml_document &document)
{
    std::vector<std::pair<int, std::string>> result;
    for (const pugi::xml_node &quarter : document.child("fbgame").child("plays").children("qtr")) {
        for (const pugi::xml_node &play : quarter.children("play"))
            result.emplace_back(quarter.attribute("number").as_int(),
                                play.attribute("context").value());
    }
    return result;
}

class GameStates : public ::testing::TestWithParam<std::uint64_t>
{
};

TEST_P(GameStates, EveryWrittenStateIsWellFormedAndConsistent)
{
    const std::vector<std::string> states = renderAllStates(GetParam());
    ASSERT_GE(states.size(), 151u);
    ASSERT_LE(states.size(), 251u);
    pugi::xml_document finalGame;
    ASSERT_TRUE(parse(finalGame, states.back()));
    const auto contexts = playContexts(finalGame);
    ASSERT_EQ(contexts.size() + 1, states.size());

    for (std::size_t n = 0; n < states.size(); ++n) {
        SCOPED_TRACE("state after play " + std::to_string(n));
        pugi::xml_document document;
        ASSERT_TRUE(parse(document, states[n]));
        const bool isFinal = n + 1 == states.size();
        EXPECT_THAT(checkGameState(document, isFinal), IsEmpty());
        EXPECT_EQ(playContexts(document).size(), n);

        // The scoreboard line describes the play about to be run.
        const pugi::xml_node downToGo = document.child("fbgame").child("plays").child("downtogo");
        if (isFinal) {
            EXPECT_EQ(downToGo.attribute("qtr").as_int(), document.child("fbgame")
                                                              .child("plays")
                                                              .last_child()
                                                              .previous_sibling()
                                                              .attribute("number")
                                                              .as_int());
            EXPECT_GE(downToGo.attribute("qtr").as_int(), 4);
            EXPECT_STREQ(downToGo.attribute("clock").value(), "00:00");
        } else {
            EXPECT_EQ(downToGo.attribute("qtr").as_int(), contexts[n].first);
            EXPECT_EQ(downToGo.attribute("context").value(), contexts[n].second);
        }
    }
}

TEST_P(GameStates, FinishedGameValuesMatchTheirPatterns)
{
    const std::vector<std::string> states = renderAllStates(GetParam());
    pugi::xml_document document;
    ASSERT_TRUE(parse(document, states.back()));
    EXPECT_THAT(checkValuePatterns(document), IsEmpty());
}

TEST_P(GameStates, EachStateExtendsThePlayByPlayOfThePreviousOne)
{
    const std::vector<std::string> states = renderAllStates(GetParam());
    const auto playsOf = [](const std::string &text) {
        const std::size_t begin = text.find("<plays>");
        const std::size_t end = text.find("<downtogo");
        return text.substr(begin, end - begin);
    };
    for (std::size_t n = 1; n < states.size(); ++n) {
        std::string before = playsOf(states[n - 1]);
        const std::string after = playsOf(states[n]);
        // The open quarter is closed in the earlier state; compare without it.
        before = before.substr(0, before.rfind("  </qtr>"));
        ASSERT_EQ(after.compare(0, before.size(), before), 0)
            << "state " << n << " rewrote the past";
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GameStates, ::testing::Values(1u, 2u, 3u, 7u, 11u, 2026u));

TEST(GameStates, SameSeedGivesByteIdenticalStates)
{
    EXPECT_EQ(renderAllStates(5), renderAllStates(5));
    EXPECT_NE(renderAllStates(5).back(), renderAllStates(6).back());
}

TEST(GameStates, ScaleMultipliesPlaysAndRosters)
{
    const std::vector<std::string> normal = renderAllStates(3);
    const std::vector<std::string> stress = renderAllStates(3, 3);
    EXPECT_GT(stress.size(), 2 * normal.size());
    pugi::xml_document small;
    pugi::xml_document large;
    ASSERT_TRUE(parse(small, normal.back()));
    ASSERT_TRUE(parse(large, stress.back()));
    const auto players = [](const pugi::xml_document &document) {
        const auto team = document.child("fbgame").find_child_by_attribute("team", "vh", "H");
        return std::distance(team.children("player").begin(), team.children("player").end());
    };
    EXPECT_EQ(players(large) - 1, 3 * (players(small) - 1));
    EXPECT_THAT(checkGameState(large, true), IsEmpty());
    EXPECT_THAT(checkValuePatterns(large), IsEmpty());
}

} // namespace
