#include "platform/TemporaryCopy.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// Points TMPDIR at a fresh directory for the duration of a test.
class TemporaryCopyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("plx-copy-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        const char *old = std::getenv("TMPDIR");
        oldTmp_ = old ? old : "";
        hadTmp_ = old != nullptr;
        ::setenv("TMPDIR", dir_.c_str(), 1);
        source_ = dir_ / "source.xml";
        std::ofstream(source_) << "<fbgame/>";
    }
    void TearDown() override
    {
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(dir_);
    }
    int copiesOnDisk() const
    {
        int n = 0;
        for (const auto &entry : fs::directory_iterator(dir_))
            n += entry.path().filename().string().rfind("PLX", 0) == 0;
        return n;
    }

    fs::path dir_, source_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

} // namespace

TEST_F(TemporaryCopyTest, CopyIsPrivateAndHoldsTheBytes)
{
    TemporaryCopy copy;
    std::string error, bytes;
    ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error)) << error;
    EXPECT_EQ(fs::path(copy.Path()).parent_path(), dir_);
    EXPECT_EQ(fs::path(copy.Path()).filename().string().substr(0, 3), "PLX");
    struct stat info {
    };
    ASSERT_EQ(::stat(copy.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(bytes, "<fbgame/>");
    EXPECT_EQ(fs::file_size(copy.Path()), bytes.size());
}

TEST_F(TemporaryCopyTest, KeepsOnlyTheLatestCopyAndDeletesItOnDestruction)
{
    {
        TemporaryCopy copy;
        std::string error, bytes;
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        std::ofstream(source_) << "<fbgame a='second'/>";
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        EXPECT_EQ(bytes, "<fbgame a='second'/>");
        EXPECT_EQ(copiesOnDisk(), 1);
        std::ofstream(source_) << "<x/>";
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        EXPECT_EQ(bytes, "<x/>") << "a shorter file leaves nothing of the longer one";
        EXPECT_EQ(fs::file_size(copy.Path()), 4u);
    }
    EXPECT_EQ(copiesOnDisk(), 0);
}

TEST_F(TemporaryCopyTest, CopyDeletedBySomethingElseIsMadeAgain)
{
    TemporaryCopy copy;
    std::string error, bytes;
    ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
    fs::remove(copy.Path());
    ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
    EXPECT_TRUE(fs::exists(copy.Path()));
    EXPECT_EQ(copiesOnDisk(), 1);
    EXPECT_EQ(bytes, "<fbgame/>");
}

TEST_F(TemporaryCopyTest, MissingSourceFailsButLeavesTheEmptyCopyUntilNextCall)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom((dir_ / "missing.xml").string(), bytes, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_EQ(copiesOnDisk(), 1);
    EXPECT_EQ(fs::file_size(copy.Path()), 0u);
    copy.Remove();
    EXPECT_EQ(copiesOnDisk(), 0);
}

TEST_F(TemporaryCopyTest, DirectoryAsSourceFails)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom(dir_.string(), bytes, error));
    EXPECT_EQ(error, "is a directory");
}

// A FIFO would make the reader wait for a writer, and a device may never end:
// neither is copied.
TEST_F(TemporaryCopyTest, SourceThatIsNoRegularFileFails)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom("/dev/null", bytes, error));
    EXPECT_EQ(error, "is not a regular file");

    const fs::path fifo = dir_ / "game.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&fifo] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        if (fd >= 0) {
            EXPECT_EQ(::write(fd, "<fbgame/>", 9), 9);
            ::close(fd);
        }
    });
    error.clear();
    EXPECT_FALSE(copy.CopyFrom(fifo.string(), bytes, error));
    EXPECT_EQ(error, "is not a regular file");
    // Release the writer, which waits for a reader to open the FIFO.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    writer.join();
    ::close(reader);
}

TEST_F(TemporaryCopyTest, SourceLargerThanTheLimitFails)
{
    const fs::path large = dir_ / "large.xml";
    std::ofstream(large) << "<fbgame/>";
    fs::resize_file(large, TemporaryCopy::MaximumSize + 1); // sparse: costs no disk
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom(large.string(), bytes, error));
    EXPECT_EQ(error, "is larger than 64 MiB");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(fs::file_size(copy.Path()), 0u) << "nothing was copied";

    fs::resize_file(large, TemporaryCopy::MaximumSize);
    EXPECT_TRUE(copy.CopyFrom(large.string(), bytes, error)) << error;
    EXPECT_EQ(bytes.size(), TemporaryCopy::MaximumSize);
}
