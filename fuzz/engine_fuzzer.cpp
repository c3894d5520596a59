// libFuzzer entry point: the whole engine over any bytes. Beyond not crashing (the sanitizers watch
// every access), each output must have the properties every rewrite has; a fault is printed and the
// run aborted, so that libFuzzer keeps the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "testing/rewrite_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string fault = aplpatch::testing::rewriteFault(input);
  if (!fault.empty()) {
    std::fprintf(stderr, "rewrite fault: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
