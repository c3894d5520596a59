#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "base/byte_stream.h"
#include "engine/line_origins.h"

namespace aplpatch {

// Writes script text the way a text-mode stream does on the script's home platform, identically on
// every platform: every LF becomes CR LF; all other bytes are written as they are. Output is buffered;
// after the first failed write to the sink nothing more is sent to it.
class LineWriter {
 public:
  explicit LineWriter(ByteSink& sink);

  // Writes `text`, whose lines come from `origin` (see recordOrigins()). Most writes keep the origin
  // of the write before and only count their bytes here; an empty one has no lines to note.
  void write(std::string_view text, std::uint8_t origin = LineOrigins::kAsRead) {
    if (text.empty()) return;
    if (origin != writesOrigin_) [[unlikely]] changeOrigin(origin);
    textBytes_ += text.size();
    writeText(text);
  }

  // Sends what is buffered to the sink. Returns false when any write so far has failed.
  bool flush();

  bool failed() const { return failed_; }

  // Notes the origin of every line written from now on in `origins` (nullptr: none): the first
  // origin other than LineOrigins::kAsRead among the writes that put bytes in it, or kAsRead.
  void recordOrigins(LineOrigins* origins) { origins_ = origins; }
  // Notes the origins of the last writes and the number of lines. Call once, after the last write.
  void endOrigins();

 private:
  // Notes the lines of the writes before, which were all of another origin, and starts the writes
  // of `origin`.
  void changeOrigin(std::uint8_t origin);
  // Notes the lines of the writes of `origin` that began in line `firstLine` and have just ended.
  void markLines(std::size_t firstLine, std::uint8_t origin);
  // The last byte written, an LF before the first.
  char lastByte() const { return used_ > 0 ? buffer_[used_ - 1] : lastDrained_; }
  // Each LF written became CR LF: the bytes written beyond those given are the lines ended.
  std::size_t linesEnded() const { return drained_ + used_ - textBytes_; }
  void writeText(std::string_view text);  // `text` is not empty
  void drain();
  // Appends `size` bytes as they are, draining the buffer whenever it is full.
  void put(const char* data, std::size_t size);
  // Writes `text` translated to `to`, which has room for twice its size and 16 bytes more;
  // returns the end of what it wrote.
  static char* translate(std::string_view text, char* to);

  ByteSink& sink_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::size_t drained_ = 0;  // bytes sent to the sink, or lost to a failed write
  char lastDrained_ = '\n';   // the last of them

  // The origins, noted when they change: the writes since the last change are all of
  // writesOrigin_, put bytes in the output, and began in line writesFirstLine_.
  LineOrigins* origins_ = nullptr;
  std::uint8_t writesOrigin_ = LineOrigins::kAsRead;
  std::size_t textBytes_ = 0;       // bytes given to write() so far
  std::size_t writesFirstLine_ = 1;
  std::size_t markedLines_ = 0;  // the last line given the origin of a rule
};

}  // namespace aplpatch
