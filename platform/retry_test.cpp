#include "platform/retry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

constexpr unsigned long kHeld = 32;
constexpr unsigned long kBusy = 5;
constexpr unsigned long kMissing = 2;

TEST(Retry, TriesAgainOnlyWhileTheFailurePassesAndAttemptsAreLeft) {
  struct Case {
    const char* what;
    std::vector<unsigned long> results;  // what the attempts return, in turn
    int attempts;
    int calls;
    unsigned long result;
  };
  const std::vector<Case> cases = {
      {"success at once", {0}, 5, 1, 0},
      {"success after the file is let go", {kHeld, kBusy, 0}, 5, 3, 0},
      {"a failure that does not pass", {kMissing, 0}, 5, 1, kMissing},
      {"a passing failure, then one that does not", {kHeld, kMissing, 0}, 5, 2, kMissing},
      {"held for longer than the attempts", {kHeld, kHeld, kHeld, 0}, 3, 3, kHeld},
      {"a single attempt", {kHeld, 0}, 1, 1, kHeld},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> events;
    std::size_t next = 0;
    RetryPolicy policy{c.attempts, [](unsigned long error) { return error == kHeld || error == kBusy; },
                       [&] { events.push_back("pause"); }};
    unsigned long result = retry(
        [&] {
          events.push_back("attempt");
          return c.results.at(next++);
        },
        policy);
    EXPECT_EQ(result, c.result);
    // Every two attempts have exactly one pause between them, and none follows the last.
    std::vector<std::string> expected;
    for (int i = 0; i < c.calls; ++i) {
      if (i > 0) expected.push_back("pause");
      expected.push_back("attempt");
    }
    EXPECT_EQ(events, expected);
  }
}

}  // namespace
}  // namespace aplpatch
