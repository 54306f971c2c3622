#pragma once

#include <cstddef>
#include <sys/types.h>

// Writes all `size` bytes at `offset` of the file, going on after partial
// writes and interrupted calls. False on any other error (errno says why).
bool WriteAllAt(int fd, const char *data, std::size_t size, off_t offset = 0);

// True when both paths name one existing file (the same device and inode
// after following symbolic links): a link or a second name of a file is that file.
bool IsSameFile(const char *first, const char *second);
