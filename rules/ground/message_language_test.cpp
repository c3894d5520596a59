#include "rules/ground/message_language.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(MessageLanguage, TheLastTransponderMessageDecides) {
  struct Case {
    const char* input;
    MessageLanguage language;
  };
  const Case cases[] = {
      {" PRINT\"WELCOME\"\n", MessageLanguage::none},
      {" PRINT\"Squawk 4711\"\n", MessageLanguage::english},
      {" PRINT\"Transponder code 4711\"\n", MessageLanguage::german},
      {" PRINT\"TRANSPONDER CODE 4711\"\n PRINT\"SQUAWK 4711\"\n", MessageLanguage::english},
      {" PRINT\"SQUAWK 4711\"\n PRINT\"TRANSPONDER CODE 4711\"\n", MessageLanguage::german},
      {" PRINT\"SQUAWK - TRANSPONDER CODE 4711\"\n", MessageLanguage::german},
      // Only messages count.
      {" PRINT\"SQUAWK 4711\"\n VSQUAWK = 1 ; TRANSPONDER CODE\n", MessageLanguage::english},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input).state.messageLanguage, c.language) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
