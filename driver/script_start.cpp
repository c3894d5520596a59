#include "driver/script_start.h"

#include <utility>
#include <vector>

#include "driver/patch_line_finder.h"

namespace aplpatch {

ScriptStart::ScriptStart(std::unique_ptr<ReadFile> script) : script_(std::move(script)) {
  PatchLineFinder finder;
  std::vector<char> buffer(64 * 1024);
  while (!finder.found()) {
    std::size_t n = script_->read(buffer.data(), buffer.size());
    if (n == 0) break;
    finder.feed(buffer.data(), n);
  }
  patched_ = finder.found();
  looked_ = script_->status();
  if (looked_.ok()) looked_ = script_->rewind();
}

std::size_t ScriptStart::read(char* buffer, std::size_t size) {
  if (!looked_.ok()) return 0;
  return script_->read(buffer, size);
}

}  // namespace aplpatch
