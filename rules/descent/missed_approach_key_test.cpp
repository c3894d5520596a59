#include "rules/descent/missed_approach_key.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(MissedApproachKeyText, StartsOneByteAfterTheTestAndEndsBeforeTheNextBracket) {
  struct Case {
    const char* line;
    std::optional<std::string_view> key;
  } cases[] = {
      {" IF KEY = KV(65) THEN\n", "65"},
      {"IF KEY = KV() THEN\n", ""},
      {"IF KEY = KV[77) THEN\n", "77"},
      {"IF KEY = KV(A) OR KEY = KV(B)\n", "A"},
      {"IF KEY = KV(65 THEN\n", std::nullopt},
      {"IF KEY = KV\n", std::nullopt},
      {"IF KEY = KV", std::nullopt},
      {"IF KEY = KV)\n", std::nullopt},
      {"IF KEY=KV(65)\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(missedApproachKeyText(c.line), c.key) << c.line;
}

TEST(MissedApproachKey, KeyTestBecomesABindingAndAFlagTest) {
  auto run = rewriteLinesOnly(
      " WHILE ON_GROUND = 0\n"
      "  IF KEY = KV(65) THEN\n"
      "   GOTO MISSED_APP\n"
      "  ENDIF\n"
      " ENDWHILE\n");
  EXPECT_EQ(run.text,
            "ONKEY KV(65) GOSUB MISSED_APP_KEY\n"
            "VMISSEDAPP = 0\n"
            " WHILE ON_GROUND = 0\n"
            " IF (VMISSEDAPP = 1) THEN\n"
            "   GOTO MISSED_APP\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "  ENDIF\n"
            " ENDWHILE\n");
  EXPECT_EQ(run.state.missedAppKey, "65");
  // The key test line was consumed by the binding and is not a pass of its own.
  EXPECT_EQ(run.passes, 4);
}

TEST(MissedApproachKey, OtherNextLineGoesOnAsReadThroughTheLaterRules) {
  RewriteState keyBound;
  keyBound.missedAppKey = "65";
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      // Not upper-cased, and not seen again by the loop trigger.
      {"WHILE ON_GROUND = 0\n wait 2\n", "WHILE ON_GROUND = 0\n wait 2\n"},
      {"WHILE ON_GROUND = 0\nWHILE ON_GROUND = 0\n if key = kv(66) then\n",
       "WHILE ON_GROUND = 0\nWHILE ON_GROUND = 0\n IF KEY = KV(66) THEN\n"},
      // The later speed-loop guard still acts on it.
      {"WHILE ON_GROUND = 0\nWHILE VELOCITY > 30\n",
       "WHILE ON_GROUND = 0\nWHILE VELOCITY > 30\n IF (VMISSEDAPP = 1) THEN\n  GOTO MISSED_APP\n ENDIF\n"},
      // No bracket after the key: no key test, and the bound key stays.
      {"WHILE ON_GROUND = 0\n IF KEY = KV(66 THEN\n", "WHILE ON_GROUND = 0\n IF KEY = KV(66 THEN\n"},
      // The last line of the script goes on unchanged.
      {"WHILE ON_GROUND = 0", "WHILE ON_GROUND = 0\n"},
  };
  for (const Case& c : cases) {
    auto run = rewriteLinesOnly(c.input, keyBound);
    EXPECT_EQ(run.text, c.expected) << c.input;
    EXPECT_EQ(run.state.missedAppKey, "65") << c.input;
  }
}

TEST(MissedApproachKey, LaterCaptureReplacesTheKeyWithoutLengthLimit) {
  const std::string longKey(150, '7');
  auto run = rewriteLinesOnly("WHILE ON_GROUND = 0\nIF KEY = KV(65)\nWHILE ON_GROUND = 0\nIF KEY = KV(" +
                              longKey + ")\n");
  EXPECT_EQ(run.state.missedAppKey, longKey);
  EXPECT_EQ(run.text,
            "ONKEY KV(65) GOSUB MISSED_APP_KEY\n"
            "VMISSEDAPP = 0\n"
            "WHILE ON_GROUND = 0\n"
            " IF (VMISSEDAPP = 1) THEN\n"
            "ONKEY KV(" + longKey + ") GOSUB MISSED_APP_KEY\n"
            "VMISSEDAPP = 0\n"
            "WHILE ON_GROUND = 0\n"
            " IF (VMISSEDAPP = 1) THEN\n");
}

TEST(MissedApproachKey, EmptyKeyTextIsBoundButArmsNoSpeedLoopGuard) {
  RewriteState keyBound;
  keyBound.missedAppKey = "65";
  auto run = rewriteLinesOnly("WHILE ON_GROUND = 0\nIF KEY = KV()\nWHILE VELOCITY > 30\n", keyBound);
  EXPECT_EQ(run.text,
            "ONKEY KV() GOSUB MISSED_APP_KEY\n"
            "VMISSEDAPP = 0\n"
            "WHILE ON_GROUND = 0\n"
            " IF (VMISSEDAPP = 1) THEN\n"
            "WHILE VELOCITY > 30\n");
  EXPECT_EQ(run.state.missedAppKey, "");
}

TEST(SpeedLoopGuard, OnlyAfterAKeyIsBound) {
  EXPECT_EQ(rewriteLinesOnly("WHILE VELOCITY > 30\n").text, "WHILE VELOCITY > 30\n");
  RewriteState keyBound;
  keyBound.missedAppKey = "65";
  EXPECT_EQ(rewriteLinesOnly("  WHILE VELOCITY > 50 ' ROLL\nWHILE VELOCITY > 40\n", keyBound).text,
            "  WHILE VELOCITY > 50 ' ROLL\n"
            " IF (VMISSEDAPP = 1) THEN\n"
            "  GOTO MISSED_APP\n"
            " ENDIF\n"
            "WHILE VELOCITY > 40\n");
}

}  // namespace
}  // namespace aplpatch
