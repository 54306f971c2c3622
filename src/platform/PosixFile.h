#pragma once

#include <cstddef>
#include <sys/types.h>

// Writes all `size` bytes at `offset` of the file, going on after partial
// writes and interrupted calls. False on any other error (errno says why).
bool WriteAllAt(int fd, const char *data, std::size_t size, off_t offset = 0);
