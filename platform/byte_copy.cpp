#include "platform/byte_copy.h"

#include <vector>

namespace aplpatch {

bool copyAll(ByteSource& from, ByteSink& to) {
  std::vector<char> buffer(64 * 1024);
  for (std::size_t n; (n = from.read(buffer.data(), buffer.size())) > 0;) {
    if (!to.write(buffer.data(), n)) return false;
  }
  return true;
}

}  // namespace aplpatch
