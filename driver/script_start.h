#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace aplpatch {

// A script whose first lines have been read ahead to see whether it is patched already. Reading it
// gives the lines read ahead and then the rest of the script, so the rewrite sees every byte.
class ScriptStart : public ReadFile {
 public:
  explicit ScriptStart(std::unique_ptr<ReadFile> script);

  // Whether one of the first ten lines is the patch description line, ended by CR LF or LF. No
  // more than 64 KiB are read ahead: the description of a patched script comes well before.
  bool isAlreadyPatched() const { return patched_; }

  std::size_t read(char* buffer, std::size_t size) override;
  Status status() const override { return script_->status(); }
  unsigned permissions() const override { return script_->permissions(); }
  // Starts again from the script's first byte; what was read ahead is dropped.
  Status rewind() override {
    ahead_.clear();
    served_ = 0;
    return script_->rewind();
  }

 private:
  std::unique_ptr<ReadFile> script_;
  std::string ahead_;
  std::size_t served_ = 0;
  bool patched_ = false;
};

}  // namespace aplpatch
