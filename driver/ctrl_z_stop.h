#pragma once

#include <cstddef>
#include <cstdint>

#include "base/byte_stream.h"

namespace aplpatch {

// Passes the bytes of `inner` on up to the first Ctrl-Z (0x1A), where text-mode reading on Windows
// ends a file: a compiler reading the script that way would never see what follows it. On finding
// it, reads `inner` to its end to count the bytes left out; a read error stays with `inner`.
class StopAtCtrlZ : public ByteSource {
 public:
  static constexpr char kCtrlZ = '\x1A';

  explicit StopAtCtrlZ(ByteSource& inner) : inner_(inner) {}

  std::size_t read(char* buffer, std::size_t size) override;

  bool found() const { return found_; }
  // Bytes passed on before the Ctrl-Z, and bytes after it (the Ctrl-Z itself in neither).
  std::uint64_t bytesBefore() const { return before_; }
  std::uint64_t bytesAfter() const { return after_; }

 private:
  void countTheRest();

  ByteSource& inner_;
  bool found_ = false;
  std::uint64_t before_ = 0;
  std::uint64_t after_ = 0;
};

}  // namespace aplpatch
