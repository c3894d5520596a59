#pragma once

#include <cstddef>
#include <string>

#include "base/byte_stream.h"

namespace aplpatch {

// Watches bytes go by for a line that is exactly the patch description line, ended by CR LF or LF.
// The bytes may come in pieces of any size; only the line being read is kept, and only as far as it
// could still be that line, so any script is looked at in fixed memory.
class PatchLineFinder {
 public:
  void feed(const char* data, std::size_t size);
  // Whether a complete description line has gone by.
  bool found() const { return found_; }

 private:
  std::string line_;        // the line so far, while it could still be the description
  bool tooLong_ = false;    // the line so far is longer than the description and its CR
  bool found_ = false;
};

// Passes every byte on to `next` and watches them with a PatchLineFinder.
class PatchLineWatch : public ByteSink {
 public:
  explicit PatchLineWatch(ByteSink& next) : next_(next) {}
  bool write(const char* data, std::size_t size) override {
    finder_.feed(data, size);
    return next_.write(data, size);
  }
  bool found() const { return finder_.found(); }

 private:
  ByteSink& next_;
  PatchLineFinder finder_;
};

}  // namespace aplpatch
