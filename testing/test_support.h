#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "base/byte_stream.h"
#include "base/console.h"
#include "rules/rewrite_state.h"
#include "rules/rule_pass.h"

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

struct Rewritten {
  std::string bytes;    // the output exactly as written (CR LF line ends)
  std::string text;     // the output with every CR LF turned back into LF, for readable expectations
  std::string console;  // the rules' console messages
  RewriteState state;   // the shared state after the run
  int passes = 0;       // the line passes the engine made, those counted before the run included
};

// Where a run starts: a prepared state (for instance with a sound root or a message language) and
// the passes counted as made already.
struct Start {
  Start(RewriteState initial = {}, int passes = 0) : state(std::move(initial)), passesDone(passes) {}
  RewriteState state;
  int passesDone;
};

// Runs the line pass of the standard rules over `input` (raw bytes; LF line ends read as they are),
// without the appended subroutines.
Rewritten rewriteLinesOnly(std::string_view input, Start start = {});

// Runs the whole engine over `input`: the line pass and the appended subroutines.
Rewritten rewriteWhole(std::string_view input);

// `state` as it stands once the script's first lines are through, so that the patch description
// line does not appear among a test's lines.
Start pastHeader(RewriteState state = {});

// Runs one appended-subroutine step on `state` and returns what it writes (LF line ends).
std::string appendedText(void (*step)(Pass&), RewriteState state);

// Turns every CR LF into LF.
std::string withoutCr(std::string_view bytes);

}  // namespace aplpatch::testing
