#include "engine/line_writer.h"

#include <cstring>

namespace aplpatch {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}  // namespace

LineWriter::LineWriter(ByteSink& sink) : sink_(sink), buffer_(kBufferBytes) {}

void LineWriter::drain() {
  if (used_ > 0 && !failed_ && !sink_.write(buffer_.data(), used_)) failed_ = true;
  used_ = 0;
}

void LineWriter::write(std::string_view text) {
  while (!text.empty()) {
    // Room for the worst case of a piece: every byte a LF that doubles.
    if (buffer_.size() - used_ < 2) drain();
    std::size_t room = (buffer_.size() - used_) / 2;
    std::size_t n = text.size() < room ? text.size() : room;
    const char* from = text.data();
    char* to = buffer_.data() + used_;
    for (std::size_t i = 0; i < n; ++i) {
      if (from[i] == '\n') *to++ = '\r';
      *to++ = from[i];
    }
    used_ = static_cast<std::size_t>(to - buffer_.data());
    text.remove_prefix(n);
  }
}

bool LineWriter::flush() {
  drain();
  return !failed_;
}

}  // namespace aplpatch
