// The bundled samples are the tool's own output for fixed seeds; when the
// simulation changes, regenerate them (see the README's command).

#include "GameFileChecker.h"

#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace pylonix::feed;
using namespace pylonix::feed::testing;

namespace
{

constexpr std::uint64_t sampleSeed = 14;
constexpr int livePlay = 110;

std::string sample(const char *name)
{
    std::ifstream file(std::string(PYLONIX_SAMPLES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(SampleFiles, GamesAreTheToolsOutputForTheirSeed)
{
    const std::vector<std::string> states = renderAllStates(sampleSeed);
    EXPECT_EQ(sample("game-final.xml"), states.back());
    ASSERT_GT(states.size(), static_cast<std::size_t>(livePlay));
    EXPECT_EQ(sample("game-live.xml"), states[livePlay]);
}

TEST(SampleFiles, LiveGameIsInTheThirdQuarter)
{
    pugi::xml_document document;
    ASSERT_TRUE(parse(document, sample("game-live.xml")));
    EXPECT_STREQ(document.child("fbgame").child("plays").child("downtogo").attribute("qtr").value(),
                 "3");
    EXPECT_THAT(checkGameState(document, false), ::testing::IsEmpty());
}

TEST(SampleFiles, SeasonsAreTheToolsOutputForTheSameSeed)
{
    const SeasonBuilder builder(sampleSeed, 1);
    EXPECT_EQ(sample("season-home.xml"), SeasonXmlWriter::write(builder.home()));
    EXPECT_EQ(sample("season-visitor.xml"), SeasonXmlWriter::write(builder.visitor()));
}

} // namespace
