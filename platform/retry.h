#pragma once

#include <functional>

namespace aplpatch {

// How to go on with an operation that fails for a moment (another program holds the file).
struct RetryPolicy {
  int attempts;  // calls in all, the first included
  std::function<bool(unsigned long error)> passes;  // whether the failure may go away by itself
  std::function<void()> pause;                      // waits between two calls
};

// Calls `attempt` until it returns 0 (success) or an error that does not pass, or until it has
// been called `policy.attempts` times. Returns the last result.
unsigned long retry(const std::function<unsigned long()>& attempt, const RetryPolicy& policy);

}  // namespace aplpatch
