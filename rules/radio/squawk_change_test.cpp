#include "rules/radio/squawk_change.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

const std::string kSquawkChange =
    "  IF VFLYMISSEDAPP = 0 THEN\n"
    "   VRANDOM = RANDOM * 100\n"
    "   IF VRANDOM > 60 THEN\n"
    "     VSQUAWKNEU = VSQUAWK\n"
    "     WHILE VSQUAWKNEU = VSQUAWK\n"
    "       VSQUAWKNEU = INT(RANDOM * 10)\n"
    "     ENDWHILE\n"
    "     VSQUAWK = VSQUAWKNEU\n"
    "     VCALL = 0\n"
    "     GOSUB TEST_XPNDR_EXT\n"
    "     VCALL = 1\n"
    "     VSQUAWKCNG = 1\n"
    "   ENDIF\n"
    "  ENDIF\n";

TEST(SquawkChange, StandsBeforeTheReturnOfEachCentreResponse) {
  EXPECT_EQ(rewriteLinesOnly("RETURN\nCENTER_RESPOND:\n A\n B\nRETURN\nRETURN\ncenter_respond:\nreturn\n").text,
            "RETURN\nCENTER_RESPOND:\nDESCRIPTION \"PATCHED BY JM\"\n A\n B\n" + kSquawkChange +
                "RETURN\nRETURN\nCENTER_RESPOND:\n" + kSquawkChange + "RETURN\n");
}

TEST(TransponderSetting, IsNotedOnceTheScriptSetsTheTransponder) {
  EXPECT_TRUE(rewriteLinesOnly("TRANS_FREQ = 1200\n").state.hasTransFreq);
  EXPECT_FALSE(rewriteLinesOnly("TRANS_FREQ=1200\nIF TRANS_FREQ != 1200 THEN\n").state.hasTransFreq);
}

}  // namespace
}  // namespace aplpatch
