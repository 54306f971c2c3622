#include "platform/TemporaryCopy.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    // Names in the temporary directory other than the test's own files.
    int namesOnDisk() const
    {
        int n = 0;
        for (const auto &entry : fs::directory_iterator(dir_))
            n += entry.path().extension() != ".xml" && entry.path().extension() != ".fifo";
        return n;
    }
    // Descriptors of this process open on files of the temporary directory
    // that have no name any more.
    std::vector<fs::path> unnamedOpenFiles() const
    {
        std::vector<fs::path> found;
        for (const auto &entry : fs::directory_iterator("/proc/self/fd")) {
            std::error_code ignored;
            const std::string target = fs::read_symlink(entry.path(), ignored).string();
            if (target.rfind(dir_.string() + "/", 0) == 0 && target.ends_with(" (deleted)"))
                found.push_back(entry.path());
        }
        return found;
    }

    fs::path dir_, source_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

// Rewrites a file in place, as a writer that truncates nothing would, and
// puts its modification time back: only the bytes tell that it changed.
void rewriteKeepingTheTime(const fs::path &path, const std::string &bytes)
{
    struct stat before {
    };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// A document of four 64 KiB blocks and more, filled with one letter.
std::string versionOf(char letter)
{
    return "<fbgame>" + std::string(200000, letter) + "</fbgame>";
}

} // namespace

TEST_F(TemporaryCopyTest, CopyHoldsTheBytesInAPrivateFileWithoutAName)
{
    TemporaryCopy copy;
    std::string error, bytes;
    ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error)) << error;
    EXPECT_EQ(bytes, "<fbgame/>");
    EXPECT_TRUE(copy.HasCopy());
    EXPECT_EQ(namesOnDisk(), 0) << "the copy's name is gone while it is in use";
    const std::vector<fs::path> open = unnamedOpenFiles();
    ASSERT_EQ(open.size(), 1u) << "the copy lives in the temporary directory";
    struct stat info {
    };
    ASSERT_EQ(::stat(open[0].c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 9);
}

TEST_F(TemporaryCopyTest, KeepsOnlyTheLatestCopyAndReleasesItOnDestruction)
{
    {
        TemporaryCopy copy;
        std::string error, bytes;
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        std::ofstream(source_) << "<fbgame a='second'/>";
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        EXPECT_EQ(bytes, "<fbgame a='second'/>");
        std::ofstream(source_) << "<x/>";
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        EXPECT_EQ(bytes, "<x/>") << "a shorter file leaves nothing of the longer one";
        const std::vector<fs::path> open = unnamedOpenFiles();
        ASSERT_EQ(open.size(), 1u);
        struct stat info {
        };
        ASSERT_EQ(::stat(open[0].c_str(), &info), 0);
        EXPECT_EQ(info.st_size, 4) << "the copy holds the shorter file alone";
        EXPECT_FALSE(copy.CopyFrom((dir_ / "missing.xml").string(), bytes, error));
        ASSERT_EQ(::stat(open[0].c_str(), &info), 0);
        EXPECT_EQ(info.st_size, 0) << "a failed copy keeps nothing of the file before";
        copy.Remove();
        EXPECT_FALSE(copy.HasCopy());
        EXPECT_TRUE(unnamedOpenFiles().empty());
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error));
        EXPECT_EQ(bytes, "<x/>");
    }
    EXPECT_TRUE(unnamedOpenFiles().empty());
    EXPECT_EQ(namesOnDisk(), 0);
}

// A kill gives no chance to clean up: nothing may be left to clean.
TEST_F(TemporaryCopyTest, KilledProcessLeavesNoCopyBehind)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TemporaryCopy copy;
        std::string error, bytes;
        const char held = copy.CopyFrom(source_.string(), bytes, error) ? 'y' : 'n';
        if (::write(ready[1], &held, 1) == 1)
            ::pause();
        ::_exit(1);
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(held, 'y') << "the child holds its copy";
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(namesOnDisk(), 0);
}

TEST_F(TemporaryCopyTest, MissingSourceFailsNamingTheCause)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom((dir_ / "missing.xml").string(), bytes, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(namesOnDisk(), 0);
}

TEST_F(TemporaryCopyTest, DirectoryAsSourceFails)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom(dir_.string(), bytes, error));
    EXPECT_EQ(error, "is a directory");
}

// A FIFO would make the reader wait for a writer, and a device may never end:
// neither is copied, and a FIFO's content is left where it is.
TEST_F(TemporaryCopyTest, SourceThatIsNoRegularFileFails)
{
    TemporaryCopy copy;
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom("/dev/null", bytes, error));
    EXPECT_EQ(error, "is not a regular file");

    const fs::path fifo = dir_ / "game.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    error.clear();
    EXPECT_FALSE(copy.CopyFrom(fifo.string(), bytes, error)) << "no writer: must not wait";
    EXPECT_EQ(error, "is not a regular file");

    // Both ends opened here, the reader first so that neither open waits.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "<fbgame/>", 9), 9);
    error.clear();
    EXPECT_FALSE(copy.CopyFrom(fifo.string(), bytes, error));
    EXPECT_EQ(error, "is not a regular file");
    char waiting[16] = {};
    EXPECT_EQ(::read(reader, waiting, sizeof waiting), 9);
    EXPECT_STREQ(waiting, "<fbgame/>");
    ::close(writer);
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

    fs::resize_file(large, TemporaryCopy::MaximumSize);
    EXPECT_TRUE(copy.CopyFrom(large.string(), bytes, error)) << error;
    EXPECT_EQ(bytes.size(), TemporaryCopy::MaximumSize);
}

// A writer rewriting the file in place while it is copied, at the same size
// and with the old modification time: the copy is one whole version, never
// the start of one joined to the rest of the other.
TEST_F(TemporaryCopyTest, SourceRewrittenDuringTheCopyIsReadAgain)
{
    // Blocks read per reading: four. The change comes after the first block,
    // at the end of the first reading, and in the middle of the second.
    for (const int changeAtBlock : {1, 4, 6}) {
        SCOPED_TRACE(changeAtBlock);
        std::ofstream(source_, std::ios::binary | std::ios::trunc) << versionOf('a');
        TemporaryCopy copy;
        int block = 0;
        copy.SetReadObserver([&](size_t) {
            if (++block == changeAtBlock)
                rewriteKeepingTheTime(source_, versionOf('b'));
        });
        std::string error, bytes;
        ASSERT_TRUE(copy.CopyFrom(source_.string(), bytes, error)) << error;
        EXPECT_TRUE(bytes == versionOf('b')) << "a torn copy of " << bytes.size() << " bytes";
        EXPECT_EQ(copy.Retries(), 1);
    }
}

TEST_F(TemporaryCopyTest, SourceThatKeepsChangingFailsAfterAFewTries)
{
    std::ofstream(source_, std::ios::binary | std::ios::trunc) << versionOf('a');
    TemporaryCopy copy;
    int block = 0;
    copy.SetReadObserver([&](size_t) {
        ++block;
        rewriteKeepingTheTime(source_, versionOf(static_cast<char>('A' + block % 26)));
    });
    std::string error, bytes;
    EXPECT_FALSE(copy.CopyFrom(source_.string(), bytes, error));
    EXPECT_EQ(error, "kept changing while it was read");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(copy.Retries(), TemporaryCopy::MaximumAttempts - 1);

    copy.SetReadObserver({});
    EXPECT_TRUE(copy.CopyFrom(source_.string(), bytes, error)) << "a quiet file copies again";
}
