#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

TEST(CommandLine, QuotesWhatTheRuntimeWouldSplitOrStrip) {
  struct Case {
    std::string argument;
    std::string written;
  };
  const std::vector<Case> cases = {
      {"-e", "-e"},
      {"F.APL", "F.APL"},
      // Backslashes mean themselves unless a quote follows them.
      {"C:\\FLY\\F.APL", "C:\\FLY\\F.APL"},
      {"C:\\FLY\\", "C:\\FLY\\"},
      {"\\\\server\\share\\F.APL", "\\\\server\\share\\F.APL"},
      {"F&1;%PATH%^|<>.APL", "F&1;%PATH%^|<>.APL"},
      {"", "\"\""},
      {"C:\\my flights\\F.APL", "\"C:\\my flights\\F.APL\""},
      {"tab\there", "\"tab\there\""},
      {"line\nend", "\"line\nend\""},
      // Before the closing quote and before an escaped quote, backslashes are doubled.
      {"C:\\my flights\\", "\"C:\\my flights\\\\\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},
      {"\"", "\"\\\"\""},
      {"x \\\\", "\"x \\\\\\\\\""},
      {"\\\"x\\ y\\", "\"\\\\\\\"x\\ y\\\\\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(quoteArgument(c.argument), c.written);
  }
}

TEST(CommandLine, PutsTheProgramFirstAndSeparatesArgumentsWithOneBlank) {
  EXPECT_EQ(buildCommandLine("aplc2.exe", {"-e", "C:\\my flights\\F.APL"}),
            "aplc2.exe -e \"C:\\my flights\\F.APL\"");
  EXPECT_EQ(buildCommandLine("aplc2.exe", {}), "aplc2.exe");
  EXPECT_EQ(buildCommandLine("C:\\Program Files\\aplc2.exe", {"", "x"}),
            "\"C:\\Program Files\\aplc2.exe\" \"\" x");
}

}  // namespace
}  // namespace aplpatch
