#pragma once

#include <cstddef>

namespace aplpatch {

// Where the engine reads script bytes from. The implementation keeps its own error state: the engine
// only needs to know that no more bytes will come.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes into `buffer`. Returns how many were read; 0 means the end of the input
  // (or a read error, which the implementation remembers for its owner).
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// Where the engine writes the rewritten script to.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all `size` bytes. Returns false when they could not all be written; the implementation
  // remembers why for its owner.
  virtual bool write(const char* data, std::size_t size) = 0;
};

}  // namespace aplpatch
