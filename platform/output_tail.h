#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace aplpatch {

// The last bytes of a program's output stream, as much as a run log keeps of it.
class OutputTail {
 public:
  static constexpr std::size_t kKept = 64 * 1024;

  void append(std::string_view bytes) {
    bytes_.append(bytes);
    // Cut back only now and then, so that a chatty program costs no copy per read.
    if (bytes_.size() > 2 * kKept) bytes_.erase(0, bytes_.size() - kKept);
  }
  // At most the last kKept bytes.
  std::string take() {
    if (bytes_.size() > kKept) bytes_.erase(0, bytes_.size() - kKept);
    return std::move(bytes_);
  }

 private:
  std::string bytes_;
};

}  // namespace aplpatch
