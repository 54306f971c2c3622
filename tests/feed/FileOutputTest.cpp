#include "FileOutput.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace pylonix::feed;
namespace fs = std::filesystem;

namespace
{

class FileOutputTest : public ::testing::Test
{
protected:
    ScratchDirectory scratch_;
    const fs::path dir_ = scratch_.Path();
};

TEST_F(FileOutputTest, ReplaceWritesTheWholeDocumentAndLeavesNoTemporaryFile)
{
    FileOutput output(dir_ / "game.xml", WriteMode::Replace);
    ASSERT_TRUE(output.write("<fbgame>first</fbgame>\n")) << output.error();
    ASSERT_TRUE(output.write("<fbgame>second</fbgame>\n")) << output.error();
    EXPECT_EQ(ReadFile(dir_ / "game.xml"), "<fbgame>second</fbgame>\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileOutputTest, ReplaceThatCannotWriteKeepsThePreviousFile)
{
    FileOutput output(dir_ / "game.xml", WriteMode::Replace);
    ASSERT_TRUE(output.write("<fbgame>kept</fbgame>\n"));
    // The temporary file's place is taken by a directory, so it cannot be created.
    fs::create_directory(output.temporaryPath());
    EXPECT_FALSE(output.write("<fbgame>lost</fbgame>\n"));
    EXPECT_NE(output.error().find("game.xml"), std::string::npos) << output.error();
    EXPECT_EQ(ReadFile(dir_ / "game.xml"), "<fbgame>kept</fbgame>\n");
}

TEST_F(FileOutputTest, ReplaceOverADirectoryFailsAndRemovesItsTemporaryFile)
{
    fs::create_directory(dir_ / "game.xml");
    FileOutput output(dir_ / "game.xml", WriteMode::Replace);
    EXPECT_FALSE(output.write("<fbgame/>"));
    EXPECT_FALSE(fs::exists(output.temporaryPath()));
    EXPECT_TRUE(fs::is_directory(dir_ / "game.xml"));
}

TEST_F(FileOutputTest, MissingDirectoryIsReportedWithTheReason)
{
    for (const WriteMode mode : {WriteMode::Replace, WriteMode::Inplace}) {
        FileOutput output(dir_ / "missing" / "game.xml", mode);
        EXPECT_FALSE(output.write("<fbgame/>"));
        EXPECT_NE(output.error().find("No such file or directory"), std::string::npos)
            << output.error();
        EXPECT_FALSE(fs::exists(dir_ / "missing"));
    }
}

TEST_F(FileOutputTest, InplaceRewritesTheSameFileInChunks)
{
    const fs::path path = dir_ / "game.xml";
    FileOutput output(path, WriteMode::Inplace, std::chrono::milliseconds(0));
    const std::string longer(10000, 'x');
    ASSERT_TRUE(output.write(longer));
    ASSERT_TRUE(output.write("short"));
    EXPECT_EQ(ReadFile(path), "short");
}

TEST_F(FileOutputTest, InplaceLetsAReaderSeeAHalfWrittenFile)
{
    const fs::path path = dir_ / "game.xml";
    const std::string document = "<fbgame>" + std::string(40000, 'c') + "</fbgame>\n";
    FileOutput output(path, WriteMode::Inplace, std::chrono::milliseconds(60));
    std::thread writer([&] { EXPECT_TRUE(output.write(document)); });
    bool sawPart = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!sawPart && std::chrono::steady_clock::now() < deadline) {
        const std::string text = ReadFile(path);
        sawPart = !text.empty() && text.size() < document.size() && document.rfind(text, 0) == 0;
    }
    writer.join();
    EXPECT_TRUE(sawPart);
    EXPECT_EQ(ReadFile(path), document);
}

TEST_F(FileOutputTest, InplaceWriteErrorIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    FileOutput output("/dev/full", WriteMode::Inplace, std::chrono::milliseconds(0));
    EXPECT_FALSE(output.write(std::string(100000, 'x')));
    EXPECT_NE(output.error().find("/dev/full"), std::string::npos);
}

TEST_F(FileOutputTest, ReaderNeverSeesAPartialFileInReplaceMode)
{
    const fs::path path = dir_ / "game.xml";
    FileOutput output(path, WriteMode::Replace);
    ASSERT_TRUE(output.write("<fbgame>" + std::string(1000, 'a') + "</fbgame>\n"));
    std::atomic<bool> done = false;
    int partial = 0;
    int reads = 0;
    std::thread reader([&] {
        while (!done) {
            const std::string text = ReadFile(path);
            ++reads;
            if (text.rfind("<fbgame>", 0) != 0 || text.size() < 20 ||
                text.compare(text.size() - 10, 10, "</fbgame>\n") != 0)
                ++partial;
        }
    });
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(output.write("<fbgame>" +
                                 std::string(static_cast<std::size_t>(1000 + i * 300), 'b') +
                                 "</fbgame>\n"));
    done = true;
    reader.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(partial, 0);
}

} // namespace
