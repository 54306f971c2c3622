#include "FileOutput.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

using namespace pylonix::feed;
namespace fs = std::filesystem;

namespace
{

// Lowers the largest file size this process may write while it lives; a write
// past it then fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &old_) != 0)
            return;
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (active_)
            ::setrlimit(RLIMIT_FSIZE, &old_);
        if (oldHandler_ != SIG_ERR)
            std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool Active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_ERR;
    bool active_ = false;
};

// Up to `limit` bytes from the descriptor's current offset, unbuffered.
std::string ReadSome(int fd, std::size_t limit)
{
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, limit - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

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

TEST_F(FileOutputTest, InplaceWriteCutShortLeavesTheStartOfTheNewDocument)
{
    const fs::path path = dir_ / "game.xml";
    FileOutput output(path, WriteMode::Inplace, std::chrono::milliseconds(0));
    ASSERT_TRUE(output.write(std::string(30000, 'p')));
    const std::string document = "<fbgame>" + std::string(40000, 'c') + "</fbgame>\n";
    {
        FileSizeLimit limit(12000);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(output.write(document));
    }
    EXPECT_NE(output.error().find("game.xml"), std::string::npos) << output.error();
    // The previous document is gone and the new one only begun: what a reader
    // arriving during an in-place write finds.
    EXPECT_EQ(ReadFile(path), document.substr(0, 12000));
}

TEST_F(FileOutputTest, InplaceWriteErrorIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    FileOutput output("/dev/full", WriteMode::Inplace, std::chrono::milliseconds(0));
    EXPECT_FALSE(output.write(std::string(100000, 'x')));
    EXPECT_NE(output.error().find("/dev/full"), std::string::npos);
}

TEST_F(FileOutputTest, AReaderHalfwayThroughKeepsTheOldDocumentOnlyInReplaceMode)
{
    const fs::path path = dir_ / "game.xml";
    const std::string first = "<fbgame>" + std::string(1000, 'a') + "</fbgame>\n";
    const std::string second = "<fbgame>" + std::string(5000, 'b') + "</fbgame>\n";
    for (const WriteMode mode : {WriteMode::Replace, WriteMode::Inplace}) {
        SCOPED_TRACE(mode == WriteMode::Replace ? "replace" : "in place");
        FileOutput output(path, mode, std::chrono::milliseconds(0));
        ASSERT_TRUE(output.write(first)) << output.error();
        // A reader has read the start of the file when the next write comes.
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        std::string seen = ReadSome(fd, 8);
        ASSERT_TRUE(output.write(second)) << output.error();
        seen += ReadSome(fd, 100000);
        ::close(fd);
        if (mode == WriteMode::Replace)
            EXPECT_EQ(seen, first); // the old file is never written into
        else
            EXPECT_EQ(seen, first.substr(0, 8) + second.substr(8));
        EXPECT_EQ(ReadFile(path), second);
    }
}

} // namespace
