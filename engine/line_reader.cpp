#include "engine/line_reader.h"

#include <cstring>

namespace aplpatch {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}  // namespace

LineReader::LineReader(ByteSource& source) : source_(source), buffer_(kBufferBytes) {}

bool LineReader::refill() {
  if (pos_ < end_) return true;
  if (sourceEnded_) return false;
  pos_ = 0;
  end_ = source_.read(buffer_.data(), buffer_.size());
  if (end_ == 0) sourceEnded_ = true;
  return end_ > 0;
}

void LineReader::countLine(bool piece) {
  if (!midLine_) ++lineNumber_;
  midLine_ = piece;
}

bool LineReader::readLine(std::string& line) {
  line.clear();
  while (line.size() < kMaxLineBytes && refill()) {
    // Take the run of ordinary bytes up to the next CR or LF in one piece.
    const char* start = buffer_.data() + pos_;
    std::size_t want = kMaxLineBytes - line.size();
    std::size_t avail = end_ - pos_;
    std::size_t n = want < avail ? want : avail;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', n));
    std::size_t run = newline == nullptr ? n : static_cast<std::size_t>(newline - start);
    if (const auto* cr = static_cast<const char*>(std::memchr(start, '\r', run))) {
      run = static_cast<std::size_t>(cr - start);
    }
    line.append(start, run);
    pos_ += run;
    if (run == n) continue;

    char c = buffer_[pos_++];
    if (c == '\r' && refill() && buffer_[pos_] == '\n') {
      ++pos_;
      c = '\n';
    }
    line.push_back(c);
    if (c == '\n') {
      countLine(false);
      return true;
    }
  }
  if (line.empty()) return false;
  // No LF: a piece of a long line, or the script's last line. Only the last line gets a LF.
  if (line.size() < kMaxLineBytes || !refill()) line.push_back('\n');
  countLine(line.back() != '\n');
  return true;
}

}  // namespace aplpatch
