#include "testing/memory_streams.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace aplpatch::testing {

MemorySource::MemorySource(std::string bytes, std::size_t chunk)
    : bytes_(std::move(bytes)), chunk_(chunk) {}

std::size_t MemorySource::read(char* buffer, std::size_t size) {
  std::size_t n = std::min({size, chunk_, bytes_.size() - pos_});
  std::memcpy(buffer, bytes_.data() + pos_, n);
  pos_ += n;
  return n;
}

bool MemorySink::write(const char* data, std::size_t size) {
  bytes_.append(data, size);
  return true;
}

bool replayRewrite(ByteSource& generated, ByteSink& sink, std::string_view rewritten, std::size_t chunk) {
  std::string buffer(chunk, '\0');
  bool reading = true;
  while (reading || !rewritten.empty()) {
    if (reading) reading = generated.read(buffer.data(), buffer.size()) > 0;
    const std::size_t n = std::min(chunk, rewritten.size());
    if (n > 0 && !sink.write(rewritten.data(), n)) return false;
    rewritten.remove_prefix(n);
  }
  return true;
}

std::string withoutCr(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

}  // namespace aplpatch::testing
