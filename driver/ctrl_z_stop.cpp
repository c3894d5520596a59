#include "driver/ctrl_z_stop.h"

#include <cstring>
#include <vector>

namespace aplpatch {

std::size_t StopAtCtrlZ::read(char* buffer, std::size_t size) {
  if (found_) return 0;
  std::size_t n = inner_.read(buffer, size);
  const void* stop = std::memchr(buffer, kCtrlZ, n);
  if (stop == nullptr) {
    before_ += n;
    return n;
  }
  std::size_t kept = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer);
  found_ = true;
  before_ += kept;
  after_ = n - kept - 1;
  countTheRest();
  return kept;
}

void StopAtCtrlZ::countTheRest() {
  std::vector<char> scratch(64 * 1024);
  for (std::size_t n; (n = inner_.read(scratch.data(), scratch.size())) > 0;) after_ += n;
}

}  // namespace aplpatch
