#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/byte_stream.h"
#include "base/console.h"

namespace aplpatch::testing {

// Serves a fixed text, at most `chunk` bytes per read, so tests can cut the input anywhere.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes, std::size_t chunk = 1 << 16);
  std::size_t read(char* buffer, std::size_t size) override;

 private:
  std::string bytes_;
  std::size_t pos_ = 0;
  std::size_t chunk_;
};

// Collects what the engine writes.
class MemorySink : public ByteSink {
 public:
  bool write(const char* data, std::size_t size) override;
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Collects the console messages in order.
class RecordingConsole : public Console {
 public:
  void print(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Stands in for a rewrite whose result is known: reads `generated` to its end and writes
// `rewritten` to `sink`, the two interleaved in pieces of `chunk` bytes as a rewrite interleaves
// them. False when a write failed; whatever a read throws goes on to the caller.
bool replayRewrite(ByteSource& generated, ByteSink& sink, std::string_view rewritten, std::size_t chunk = 4096);

// Turns every CR LF into LF.
std::string withoutCr(std::string_view bytes);

}  // namespace aplpatch::testing
