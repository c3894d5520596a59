#pragma once

#include <string>
#include <utility>

namespace aplpatch {

// The outcome of one platform operation: success, or failure with the system's reason in words
// ("No such file or directory"). The run sequence decides what the user sees.
class Status {
 public:
  static Status success() { return Status(); }
  static Status failure(std::string reason) { return Status(std::move(reason)); }

  bool ok() const { return ok_; }
  // Empty on success.
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  explicit Status(std::string reason) : ok_(false), reason_(std::move(reason)) {}

  bool ok_ = true;
  std::string reason_;
};

}  // namespace aplpatch
