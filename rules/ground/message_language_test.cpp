#include "rules/ground/message_language.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(MessageLanguage, TheLastTransponderMessageDecides) {
  struct Case {
    const char* input;
    int language;
  };
  const Case cases[] = {
      {" PRINT\"WELCOME\"\n", 0},
      {" PRINT\"Squawk 4711\"\n", 1},
      {" PRINT\"Transponder code 4711\"\n", 2},
      {" PRINT\"TRANSPONDER CODE 4711\"\n PRINT\"SQUAWK 4711\"\n", 1},
      {" PRINT\"SQUAWK 4711\"\n PRINT\"TRANSPONDER CODE 4711\"\n", 2},
      {" PRINT\"SQUAWK - TRANSPONDER CODE 4711\"\n", 2},
      // Only messages count.
      {" PRINT\"SQUAWK 4711\"\n VSQUAWK = 1 ; TRANSPONDER CODE\n", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input).state.messageLanguage, c.language) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
