#pragma once

// Reading and writing file descriptors on POSIX systems, for the platform's files and its console.

#include <sys/types.h>

#include <cstddef>

namespace aplpatch::posix {

// Reads up to `size` bytes, trying again after an interrupted call; 0 at the end of the file, and
// a negative number with errno set on a read error.
ssize_t readSome(int fd, char* buffer, std::size_t size);

// Writes all bytes, however many calls that takes. Returns false with errno set on failure.
bool writeAll(int fd, const char* data, std::size_t size);

}  // namespace aplpatch::posix
