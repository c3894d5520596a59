#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace aplpatch {

// What kind of failure a Status is, as the system's error tells it, so that a caller decides on it
// without asking the file system again. `other` is any failure none of the rest describes.
enum class StatusCode : std::uint8_t {
  ok,
  notFound,        // no file or folder at the path, or a folder on the way is missing
  alreadyExists,   // something is at the path that the call must not replace
  notRegularFile,  // a folder, device, pipe or socket where a file was expected
  accessRefused,   // the system does not allow it (permissions, a read-only file or disk)
  noSpace,         // the disk or the user's quota is full
  interrupted,     // a signal or a cancellation stopped the call
  other,
};

// The outcome of one platform operation: success, or failure with its code and the system's reason
// in words ("No such file or directory"). The run sequence decides what the user sees.
class Status {
 public:
  static Status success() { return Status(); }
  // A failure of no particular kind.
  static Status failure(std::string reason) { return Status(StatusCode::other, std::move(reason)); }
  static Status failure(StatusCode code, std::string reason) {
    return Status(code == StatusCode::ok ? StatusCode::other : code, std::move(reason));
  }

  bool ok() const { return code_ == StatusCode::ok; }
  // StatusCode::ok on success.
  StatusCode code() const { return code_; }
  bool is(StatusCode code) const { return code_ == code; }
  // Empty on success.
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}

  StatusCode code_ = StatusCode::ok;
  std::string reason_;
};

}  // namespace aplpatch
