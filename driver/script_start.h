#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace aplpatch {

// A script that has been read through once to see whether it is patched already, and set back to
// its first byte: reading it then gives every byte of the script.
class ScriptStart : public ReadFile {
 public:
  explicit ScriptStart(std::unique_ptr<ReadFile> script);

  // Whether any line of the script is the patch description line, ended by CR LF or LF. The rewrite
  // puts that line after the declarations it inserts, so it may come late in a script.
  bool isAlreadyPatched() const { return patched_; }

  std::size_t read(char* buffer, std::size_t size) override;
  // The first failure of the look or of a later read; a script that could not be looked at whole
  // stays failed, so that nothing is decided on half of it.
  Status status() const override { return looked_.ok() ? script_->status() : looked_; }
  unsigned permissions() const override { return script_->permissions(); }
  Status rewind() override { return looked_.ok() ? script_->rewind() : looked_; }

 private:
  std::unique_ptr<ReadFile> script_;
  Status looked_ = Status::success();
  bool patched_ = false;
};

}  // namespace aplpatch
