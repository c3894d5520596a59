#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/byte_stream.h"

namespace aplpatch {

// Reads script lines the way a text-mode stream does on the script's home platform, identically on
// every platform: a CR immediately followed by LF becomes one LF, any other CR stays, and every other
// byte (NUL and 0x1A included) is an ordinary byte.
class LineReader {
 public:
  // The most bytes one read takes, counted after the CR LF translation.
  static constexpr std::size_t kMaxLineBytes = 254;

  explicit LineReader(ByteSource& source);

  // Replaces `line` with the next line: up to and including its LF, or its first kMaxLineBytes bytes
  // when it is longer (the rest comes with the next read). A last line that ends without LF is given
  // one, so text appended after the script never runs into it. Returns false, with `line` empty, when
  // the input is at its end.
  bool readLine(std::string& line);

  // The script line that the last read took (or took a piece of), counted from 1 by the LFs before
  // it; 0 before the first read.
  int lineNumber() const { return lineNumber_; }

 private:
  // Refills the buffer when it is used up; false when the source has nothing more.
  bool refill();
  // Counts a read that ends a line, or with `piece` one that stops inside a long line.
  void countLine(bool piece);

  ByteSource& source_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool sourceEnded_ = false;
  int lineNumber_ = 0;
  bool midLine_ = false;  // the last read was a piece of a long line: the next goes on with it
};

}  // namespace aplpatch
