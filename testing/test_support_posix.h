#pragma once

// Helpers for the POSIX tests that start real programs: the environment (test_files.h has the
// working folder).

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "testing/test_files.h"

namespace aplpatch::testing {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace aplpatch::testing
