#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

#include "engine/engine.h"
#include "rules/rewrite_script.h"
#include "testing/test_support.h"

// Counts every allocation of the test program, so that a test can see how many a run makes.
namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

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
  const long before = allocations;
  rewriteScript(source, sink, console);
  return allocations - before;
}

// Once its buffers and tables have grown to what the script needs, the engine allocates nothing
// more, however many lines follow: twice the flight costs no more allocations than once.
TEST(SteadyState, MoreLinesCostNoMoreAllocations) {
  std::ifstream in(APLPATCH_EXAMPLE_SCRIPT, std::ios::binary);
  const std::string flight((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(flight.empty());
  std::string twice = flight + flight;
  std::string tenTimes;
  for (int i = 0; i < 10; ++i) tenTimes += flight;
  const long forTwo = allocationsToRewrite(twice);
  EXPECT_EQ(allocationsToRewrite(tenTimes), forTwo);
}

}  // namespace
}  // namespace aplpatch
