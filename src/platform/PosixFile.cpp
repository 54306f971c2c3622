#include "platform/PosixFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool WriteAllAt(int fd, const char *data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        offset += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool IsSameFile(const char *first, const char *second)
{
    struct stat a {
    };
    struct stat b {
    };
    return ::stat(first, &a) == 0 && ::stat(second, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}
