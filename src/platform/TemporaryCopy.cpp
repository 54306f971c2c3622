#include "TemporaryCopy.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Appends everything that can be read from `fd` to `bytes`, but stops (with
// more than `limit` bytes read) once the text grows past `limit`.
bool readAll(int fd, std::string &bytes, size_t limit = SIZE_MAX)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0 || bytes.size() > limit)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
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
    if (!path_.empty())
        ::unlink(path_.c_str());
    path_.clear();
}

bool TemporaryCopy::prepareEmptyCopy(std::string &error)
{
    // Reuse the file while it is still there under its name.
    struct stat info {
    };
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && info.st_nlink > 0 && ::ftruncate(fd_, 0) == 0 &&
        ::lseek(fd_, 0, SEEK_SET) == 0)
        return true;
    Remove();

    std::string pattern = TemporaryDirectory();
    if (pattern.back() != '/')
        pattern += '/';
    pattern += "PLX";
    pattern += "XXXXXX"; // mkstemp replaces the six X's after the prefix
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data()); // mode 0600
    if (fd_ < 0) {
        error = "cannot create a temporary file in " + TemporaryDirectory() + ": " + errnoText();
        return false;
    }
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    path_ = name.data();
    return true;
}

bool TemporaryCopy::CopyFrom(const std::string &source, std::string &contents, std::string &error)
{
    contents.clear();
    if (!prepareEmptyCopy(error))
        return false;
    {
        // Without O_NONBLOCK, opening a FIFO would wait for a writer; reading
        // a device such as /dev/zero would never end.
        const FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!input.valid()) {
            error = errnoText();
            return false;
        }
        struct stat info {
        };
        if (::fstat(input.get(), &info) != 0) {
            error = errnoText();
            return false;
        }
        if (!S_ISREG(info.st_mode)) {
            error = S_ISDIR(info.st_mode) ? "is a directory" : "is not a regular file";
            return false;
        }
        const std::string tooLarge =
            "is larger than " + std::to_string(MaximumSize / (1024 * 1024)) + " MiB";
        if (info.st_size > static_cast<off_t>(MaximumSize)) {
            error = tooLarge;
            return false;
        }
        if (!readAll(input.get(), contents, MaximumSize)) {
            error = errnoText();
            return false;
        }
        if (contents.size() > MaximumSize) { // it grew while being read
            error = tooLarge;
            return false;
        }
        if (!writeAll(fd_, contents.data(), contents.size())) {
            error = "cannot write the temporary copy: " + errnoText();
            return false;
        }
    }
    // Read what the copy holds through its own descriptor.
    contents.clear();
    if (::lseek(fd_, 0, SEEK_SET) != 0 || !readAll(fd_, contents)) {
        error = "cannot read the temporary copy: " + errnoText();
        return false;
    }
    return true;
}
