#include "structure/scanning_streams.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace aplpatch {

namespace {
// One byte beyond what the structure reads, so that a CR ending a line that fits still counts as
// its line end.
constexpr std::size_t kKeptBytes = ScriptStructure::kMaxLineBytes + 1;
}  // namespace

LineFeeder::LineFeeder(ScriptStructure& structure) : structure_(structure) { partial_.reserve(kKeptBytes); }

void LineFeeder::keep(const char* data, std::size_t size) {
  const std::size_t room = kKeptBytes - partial_.size();
  partial_.append(data, size < room ? size : room);
}

void LineFeeder::feed(const char* data, std::size_t size) {
  if (finished_ || size == 0) return;
  const char* const end = data + size;
  const char* lineStart = data;
  if (inLine_) {
    const auto* lineFeed = static_cast<const char*>(std::memchr(data, '\n', size));
    if (lineFeed == nullptr) {
      keep(data, size);
      return;
    }
    keep(data, static_cast<std::size_t>(lineFeed - data));
    structure_.addLine(partial_);
    partial_.clear();
    inLine_ = false;
    lineStart = lineFeed + 1;
  }
  // A line whose LF lies kLinePadding bytes or more before the end of the piece is read where it
  // is; one nearer the end is copied first.
  const char* at = lineStart;
#if defined(__SSE2__)
  // Sixteen bytes at a time: most lines are short, and a library search per line costs more than
  // the line's scan.
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  for (; end - at >= static_cast<std::ptrdiff_t>(kLinePadding); at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    for (auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeeds))); found != 0;
         found &= found - 1) {
      const char* lineFeed = at + std::countr_zero(found);
      const std::string_view line(lineStart, static_cast<std::size_t>(lineFeed - lineStart));
      if (end - lineFeed >= static_cast<std::ptrdiff_t>(kLinePadding)) {
        structure_.addPaddedLine(line);
      } else {
        structure_.addLine(line);
      }
      lineStart = lineFeed + 1;
    }
  }
#endif
  for (; at < end; ++at) {
    if (*at != '\n') continue;
    const std::string_view line(lineStart, static_cast<std::size_t>(at - lineStart));
    if (end - at >= static_cast<std::ptrdiff_t>(kLinePadding)) {
      structure_.addPaddedLine(line);
    } else {
      structure_.addLine(line);
    }
    lineStart = at + 1;
  }
  if (lineStart != end) {
    keep(lineStart, static_cast<std::size_t>(end - lineStart));
    inLine_ = true;
  }
}

void LineFeeder::finish() {
  if (finished_) return;
  finished_ = true;
  if (inLine_) structure_.addLine(partial_);
  partial_.clear();
  inLine_ = false;
  structure_.finish();
}

ScanningSource::ScanningSource(ByteSource& inner, ScriptStructure& structure)
    : inner_(inner), feeder_(structure) {}

std::size_t ScanningSource::read(char* buffer, std::size_t size) {
  const std::size_t got = inner_.read(buffer, size);
  if (got == 0 && size > 0) {
    feeder_.finish();
  } else {
    feeder_.feed(buffer, got);
  }
  return got;
}

void ScanningSource::finish() { feeder_.finish(); }

ScanningSink::ScanningSink(ByteSink& inner, ScriptStructure& structure)
    : inner_(inner), feeder_(structure) {}

bool ScanningSink::write(const char* data, std::size_t size) {
  const bool written = inner_.write(data, size);
  feeder_.feed(data, size);
  return written;
}

void ScanningSink::finish() { feeder_.finish(); }

ScriptStructure scanScript(std::string_view bytes) {
  ScriptStructure structure;
  LineFeeder feeder(structure);
  feeder.feed(bytes.data(), bytes.size());
  feeder.finish();
  return structure;
}

}  // namespace aplpatch
