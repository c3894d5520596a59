#include "platform/retry.h"

namespace aplpatch {

unsigned long retry(const std::function<unsigned long()>& attempt, const RetryPolicy& policy) {
  unsigned long result = attempt();
  for (int made = 1; result != 0 && made < policy.attempts && policy.passes(result); ++made) {
    policy.pause();
    result = attempt();
  }
  return result;
}

}  // namespace aplpatch
