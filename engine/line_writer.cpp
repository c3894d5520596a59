#include "engine/line_writer.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace aplpatch {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
constexpr std::uint64_t kOnes = 0x0101010101010101;

// Bit 7 set in the byte of every newline among the eight bytes of `word`, and possibly in bytes
// after the first newline; clear everywhere when there is none.
std::uint64_t newlinesIn(std::uint64_t word) {
  const std::uint64_t x = word ^ ('\n' * kOnes);
  return (x - kOnes) & ~x & (0x80 * kOnes);
}

}  // namespace

LineWriter::LineWriter(ByteSink& sink) : sink_(sink), buffer_(kBufferBytes) {}

void LineWriter::drain() {
  if (used_ == 0) return;
  if (!failed_ && !sink_.write(buffer_.data(), used_)) failed_ = true;
  drained_ += used_;
  lastDrained_ = buffer_[used_ - 1];
  used_ = 0;
}

void LineWriter::put(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ == buffer_.size()) drain();
    const std::size_t n = std::min(size, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, data, n);
    used_ += n;
    data += n;
    size -= n;
  }
}

void LineWriter::endOrigins() {
  if (origins_ == nullptr) return;
  changeOrigin(LineOrigins::kAsRead);
  origins_->setLines(lastByte() == '\n' ? linesEnded() : linesEnded() + 1);
}

// The lines written since the origin last changed are noted when it changes again: when they are a
// rule's (lines written as read need nothing noted). The writes of the new origin are started
// first, so that noting the lines before is the last thing done: a jump, with nothing to save
// around it.
void LineWriter::changeOrigin(std::uint8_t origin) {
  const std::uint8_t ending = writesOrigin_;
  const std::size_t firstLine = writesFirstLine_;
  writesFirstLine_ = linesEnded() + 1;
  writesOrigin_ = origin;
  if (ending != LineOrigins::kAsRead && origins_ != nullptr) markLines(firstLine, ending);
}

// Gives the lines of the writes that just ended, of `origin`, their origin: from the line the first
// of them went into, unless an earlier write of a rule began it, to the line of the last.
void LineWriter::markLines(std::size_t firstLine, std::uint8_t origin) {
  const std::size_t last = lastByte() == '\n' ? linesEnded() : linesEnded() + 1;
  const std::size_t first = std::max(firstLine, markedLines_ + 1);
  markedLines_ = last;
  origins_->mark(first, last, origin);
}

void LineWriter::writeText(std::string_view text) {
  // Room for every byte doubled, and for a whole register stored past the last one.
  if (text.size() * 2 + 16 <= buffer_.size() - used_) {
    used_ = static_cast<std::size_t>(translate(text, buffer_.data() + used_) - buffer_.data());
    return;
  }
  while (!text.empty()) {
    const auto* newline = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    const std::size_t run =
        newline == nullptr ? text.size() : static_cast<std::size_t>(newline - text.data());
    put(text.data(), run);
    if (newline == nullptr) break;
    put("\r\n", 2);
    text.remove_prefix(run + 1);
  }
}

char* LineWriter::translate(std::string_view text, char* to) {
  const char* from = text.data();
  std::size_t left = text.size();
#if defined(__SSE2__)
  // Sixteen bytes at a time in the same way where the processor has 16-byte registers.
  const __m128i newline = _mm_set1_epi8('\n');
  while (left >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const unsigned newlines =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
    if (newlines == 0) {
      to += 16;
      from += 16;
      left -= 16;
      continue;
    }
    const std::size_t at = static_cast<std::size_t>(std::countr_zero(newlines));
    to += at;
    *to++ = '\r';
    *to++ = '\n';
    from += at + 1;
    left -= at + 1;
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    // Eight bytes at a time, as one word with the first byte lowest: the word is stored whole and
    // the output's end moved up to its first newline, where CR LF follows, or past all its bytes.
    // The last bytes of a text of eight or more are read with the bytes before them, shifted down.
    while (left > 0 && text.size() >= 8) {
      std::uint64_t word;
      std::uint64_t newlines;
      std::size_t count = 8;
      if (left >= 8) {
        std::memcpy(&word, from, 8);
        newlines = newlinesIn(word);
      } else {
        std::memcpy(&word, from + left - 8, 8);
        word >>= 8 * (8 - left);
        count = left;
        newlines = newlinesIn(word) & ((std::uint64_t{1} << (8 * left)) - 1);
      }
      std::memcpy(to, &word, 8);
      if (newlines == 0) {
        to += count;
        from += count;
        left -= count;
        continue;
      }
      const std::size_t at = static_cast<std::size_t>(std::countr_zero(newlines)) / 8;
      to += at;
      *to++ = '\r';
      *to++ = '\n';
      from += at + 1;
      left -= at + 1;
    }
  }
  for (; left > 0; --left) {
    if (*from == '\n') *to++ = '\r';
    *to++ = *from++;
  }
  return to;
}

bool LineWriter::flush() {
  drain();
  return !failed_;
}

}  // namespace aplpatch
