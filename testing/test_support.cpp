#include "testing/test_support.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "rules/rule_engine.h"
#include "rules/rule_table.h"

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

std::string withoutCr(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

namespace {

Rewritten run(std::string_view input, bool appendSubroutines, Start start) {
  MemorySource source{std::string(input)};
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, lineRules(), appendedSteps(), std::move(start.state),
                start.passesDone);
  engine.rewriteLines();
  if (appendSubroutines) engine.appendSubroutines();
  engine.finish();
  return Rewritten{sink.bytes(), withoutCr(sink.bytes()), console.text(), engine.state(),
                   engine.passes()};
}

}  // namespace

Rewritten rewriteLinesOnly(std::string_view input, Start start) {
  return run(input, false, std::move(start));
}

Rewritten rewriteWhole(std::string_view input) { return run(input, true, {}); }

Start pastHeader(RewriteState state) { return {std::move(state), 3}; }

std::string appendedText(void (*step)(Pass&), RewriteState state) {
  MemorySource source{std::string()};
  MemorySink sink;
  RecordingConsole console;
  LineReader reader(source);
  LineWriter writer(sink);
  std::string line;
  std::string scratch;
  Pass pass(line, scratch, state, reader, writer, console);
  step(pass);
  writer.flush();
  return withoutCr(sink.bytes());
}

}  // namespace aplpatch::testing
