#include "platform/PosixFile.h"

#include <cerrno>
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
