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
  // of the write before and only count their bytes here.
  void write(std::string_view text, std::uint8_t origin = LineOrigins::kAsRead) {
    if (origin != writesOrigin_) [[unlikely]] changeOrigin(origin);
    textBytes_ += text.size();
    writeText(text);
  }

  // Sends what is buffered to the sink. Returns false when any write so far has failed.
  bool flush();

  bool failed() const { return failed_; }

  // Notes the origin of every line written from now on in `origins` (nullptr: none). A line takes
  // the origin of the write that ends it, unless an earlier write of another origin than
  // LineOrigins::kAsRead began it.
  void recordOrigins(LineOrigins* origins) { origins_ = origins; }
  // Notes the origin of a last line that has no LF. Call once, after the last write.
  void endOrigins();

 private:
  // Notes the origins of the lines ended, and of the one begun, by the writes since the last call,
  // all of origin writesOrigin_.
  void settleOrigins();
  // Notes the lines of the writes before, which were all of another origin.
  void changeOrigin(std::uint8_t origin);
  void writeText(std::string_view text);
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

  // The origins, noted lazily: the writes since settledTextBytes_ are all of writesOrigin_.
  LineOrigins* origins_ = nullptr;
  std::uint8_t writesOrigin_ = LineOrigins::kAsRead;  // of the writes not yet noted
  std::size_t textBytes_ = 0;                         // bytes given to write() so far
  std::size_t settledTextBytes_ = 0;                  // of those, the ones whose lines are noted
  std::size_t notedLines_ = 0;                        // lines whose origins are noted
  std::uint8_t openOrigin_ = LineOrigins::kAsRead;    // of the line begun and not yet ended
  bool lineOpen_ = false;
};

}  // namespace aplpatch
