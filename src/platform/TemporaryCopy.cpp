#include "TemporaryCopy.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

std::string errnoText()
{
    return std::strerror(errno);
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// Reads the block at `offset`; the number of bytes read, or -1.
ssize_t readBlockAt(int fd, char *buffer, size_t size, off_t offset)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, size, offset);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// The same file with the same size and times.
bool sameState(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

} // namespace

TemporaryCopy::~TemporaryCopy()
{
    Remove();
}

std::string TemporaryCopy::TemporaryDirectory()
{
    const char *dir = std::getenv("TMPDIR");
    if (dir != nullptr && *dir != '\0')
        return dir;
    return "/tmp";
}

void TemporaryCopy::Remove()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    copySize_ = 0;
}

bool TemporaryCopy::prepareCopy(std::string &error)
{
    if (fd_ >= 0)
        return true;
    copySize_ = 0;

    const std::string directory = TemporaryDirectory();
    fd_ = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ >= 0)
        return true;

    // The file system cannot make a file without a name: make one with a
    // name and remove the name at once.
    std::string pattern = directory;
    if (pattern.back() != '/')
        pattern += '/';
    pattern += "PLX";
    pattern += "XXXXXX"; // mkostemp replaces the six X's after the prefix
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC); // mode 0600
    if (fd_ < 0) {
        error = "cannot create a temporary file in " + directory + ": " + errnoText();
        return false;
    }
    ::unlink(name.data());
    return true;
}

// A writer that rewrites the file in place can change it between two blocks of
// one read, which would give a file it never wrote: the start of one state
// joined to the rest of the next. File times cannot tell on their own: they
// move in clock ticks of milliseconds, and a rewrite within the tick of the
// previous one keeps size and times. So the source is read twice and the two
// readings must be equal, and its identity, size and times must be the same
// before the first reading and after the second, with as many bytes read as
// the size says. A change during the copy then shows, unless the writer put
// back, block by block and within one tick, exactly what the first reading saw
// before the second reached it: no program writing new states of a file does
// that. A source that keeps changing is read again a few times, then the copy
// fails like an unreadable file.
bool TemporaryCopy::readSource(int input, std::string &contents, std::string &error)
{
    const std::string tooLarge =
        "is larger than " + std::to_string(MaximumSize / (1024 * 1024)) + " MiB";
    if (!compared_)
        compared_ = std::make_unique_for_overwrite<char[]>(BlockSize);
    for (int attempt = 1; attempt <= MaximumAttempts; ++attempt) {
        if (attempt > 1)
            ++retries_;
        struct stat before {
        };
        if (::fstat(input, &before) != 0) {
            error = errnoText();
            return false;
        }
        if (!S_ISREG(before.st_mode)) {
            error = S_ISDIR(before.st_mode) ? "is a directory" : "is not a regular file";
            return false;
        }
        if (before.st_size > static_cast<off_t>(MaximumSize)) {
            error = tooLarge;
            return false;
        }

        // The first reading goes straight into `contents`, sized from the file
        // with a byte to spare so that its end shows without growing.
        size_t length = 0;
        contents.resize(static_cast<size_t>(before.st_size) + 1);
        for (;;) {
            if (length == contents.size())
                contents.resize(std::min(2 * length, MaximumSize + 1));
            const size_t space = std::min(BlockSize, contents.size() - length);
            const ssize_t got =
                readBlockAt(input, contents.data() + length, space, static_cast<off_t>(length));
            if (got < 0) {
                contents.clear();
                error = errnoText();
                return false;
            }
            if (got == 0)
                break;
            length += static_cast<size_t>(got);
            if (length > MaximumSize) { // it grew while being read
                contents.clear();
                error = tooLarge;
                return false;
            }
            if (readObserver_)
                readObserver_(length);
        }
        contents.resize(length);

        // The second reading, compared block by block with the first.
        bool same = false;
        for (size_t offset = 0;;) {
            const ssize_t got =
                readBlockAt(input, compared_.get(), BlockSize, static_cast<off_t>(offset));
            if (got < 0) {
                contents.clear();
                error = errnoText();
                return false;
            }
            const auto block = static_cast<size_t>(got);
            if (block == 0) {
                same = offset == length;
                break;
            }
            if (block > length - offset ||
                std::memcmp(compared_.get(), contents.data() + offset, block) != 0)
                break;
            offset += block;
            if (readObserver_)
                readObserver_(offset);
        }

        struct stat after {
        };
        if (::fstat(input, &after) != 0) {
            contents.clear();
            error = errnoText();
            return false;
        }
        if (same && sameState(before, after) && length == static_cast<size_t>(after.st_size))
            return true;
    }
    contents.clear();
    error = "kept changing while it was read";
    return false;
}

bool TemporaryCopy::CopyFrom(const std::string &source, std::string &contents, std::string &error)
{
    contents.clear();
    if (!prepareCopy(error))
        return false;
    bool copied = false;
    {
        // Without O_NONBLOCK, opening a FIFO would wait for a writer; reading
        // a device such as /dev/zero would never end.
        const FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!input.valid())
            error = errnoText();
        else
            copied = readSource(input.get(), contents, error);
    }
    // The copy is written over the previous one and cut to the new size: a
    // game file keeps about its size from one version to the next, and
    // rewriting pages the copy already has costs far less than giving them
    // back and taking new ones. What was read is what the copy now holds, so
    // it is not read back.
    const size_t size = copied ? contents.size() : 0;
    if (!WriteAllAt(fd_, contents.data(), size) ||
        (size != copySize_ && ::ftruncate(fd_, static_cast<off_t>(size)) != 0)) {
        const std::string cause = errnoText();
        Remove();
        contents.clear();
        error = "cannot write the temporary copy: " + cause;
        return false;
    }
    copySize_ = size;
    return copied;
}
