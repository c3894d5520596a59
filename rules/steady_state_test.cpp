#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>

#include "rules/rewrite_script.h"
#include "testing/allocation_counter.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

class CountingSink : public ByteSink {
 public:
  bool write(const char*, std::size_t size) override {
    written += size;
    return true;
  }
  std::size_t written = 0;
};

class SilentConsole : public Console {
 public:
  void print(std::string_view) override {}
};

long allocationsToRewrite(const std::string& script) {
  testing::MemorySource source(script);
  CountingSink sink;
  SilentConsole console;
  const long before = allocationsSoFar();
  testing::rewriteScript(source, sink, console);
  return allocationsSoFar() - before;
}

// Once its buffers and tables have grown to what the script needs, the engine allocates nothing
// more, however many lines follow. The one exception is the table of line origins, a byte a line,
// which doubles as it fills: five times the lines cost it at most three more allocations.
TEST(SteadyState, MoreLinesCostNoMoreAllocations) {
  std::ifstream in(APLPATCH_EXAMPLE_SCRIPT, std::ios::binary);
  const std::string flight((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(flight.empty());
  std::string twice = flight + flight;
  std::string tenTimes;
  for (int i = 0; i < 10; ++i) tenTimes += flight;
  const long forTwo = allocationsToRewrite(twice);
  const long forTen = allocationsToRewrite(tenTimes);
  EXPECT_GE(forTen, forTwo);
  EXPECT_LE(forTen, forTwo + 3);
  // The counter must see the engine at all, or the comparison above proves nothing.
  EXPECT_GT(forTwo, 0);
}

}  // namespace
}  // namespace aplpatch
