#include "FeedOptions.h"

#include <gtest/gtest.h>

using namespace pylonix::feed;

namespace
{

FeedParseResult parse(std::vector<std::string> arguments)
{
    return FeedOptions::parse(arguments);
}

TEST(FeedOptions, DefaultsWithOnlyTheGameFile)
{
    const FeedParseResult result = parse({"--out", "game.xml"});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->out, "game.xml");
    EXPECT_EQ(result.options->seed, 1u);
    EXPECT_EQ(result.options->writeMode, WriteMode::Replace);
    EXPECT_EQ(result.options->encoding, Encoding::Utf8);
    EXPECT_EQ(result.options->scale, 1);
    EXPECT_FALSE(result.options->until);
    EXPECT_FALSE(result.options->final);
    EXPECT_EQ(result.options->shape, FileShape::Full);
}

TEST(FeedOptions, EveryOptionIsRead)
{
    const FeedParseResult result =
        parse({"--out", "g.xml", "--seed", "42", "--interval=250", "--write", "inplace", "--until",
               "90", "--season-dir", "seasons", "--scale", "3", "--encoding", "windows-1252",
               "--shape", "real"});
    ASSERT_TRUE(result.options) << result.error;
    const FeedOptions &options = *result.options;
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.intervalMs, 250);
    EXPECT_EQ(options.writeMode, WriteMode::Inplace);
    EXPECT_EQ(options.until, 90);
    EXPECT_EQ(options.seasonDir, "seasons");
    EXPECT_EQ(options.scale, 3);
    EXPECT_EQ(options.encoding, Encoding::Windows1252);
    EXPECT_EQ(options.shape, FileShape::Real);
}

TEST(FeedOptions, HelpAndVersionNeedNoGameFile)
{
    EXPECT_TRUE(parse({"--help"}).options->help);
    EXPECT_TRUE(parse({"--version"}).options->version);
}

TEST(FeedOptions, BadArgumentsAreRejectedWithAReason)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "--out FILE is required"},
        {{"--out"}, "option --out needs a value"},
        {{"--out", "g", "--seed", "-3"}, "--seed expects a non-negative integer, not '-3'"},
        {{"--out", "g", "--seed", "12abc"}, "--seed expects a non-negative integer, not '12abc'"},
        {{"--out", "g", "--interval", "fast"},
         "--interval expects milliseconds from 0 to 3600000, not 'fast'"},
        {{"--out", "g", "--write", "append"}, "--write expects replace or inplace, not 'append'"},
        {{"--out", "g", "--scale", "0"}, "--scale expects an integer from 1 to 100, not '0'"},
        {{"--out", "g", "--encoding", "latin1"},
         "--encoding expects utf-8 or windows-1252, not 'latin1'"},
        {{"--out", "g", "--shape", "stats"}, "--shape expects full or real, not 'stats'"},
        {{"--out", "g", "--until", "5", "--final"}, "--until and --final cannot be combined"},
        {{"--out", "g", "--colour"}, "unknown option '--colour'"},
        {{"--out", "g", "stray"}, "unknown option 'stray'"},
    };
    for (const auto &[arguments, error] : cases) {
        const FeedParseResult result = parse(arguments);
        EXPECT_FALSE(result.options);
        EXPECT_EQ(result.error, error);
    }
}

} // namespace
