#include "rules/approach/holding_texts.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

struct TextCase {
  const char* input;
  const char* output;
};

constexpr TextCase kHoldingTexts[] = {
    // Only the first span goes; text before it and from the end text on stays.
    {"SAY \"HOLD EAST, STANDING PROCEDURE TURN, MAINTAIN 5000 UNTIL FIX, MAINTAIN 4000 FIX\"\n",
     "SAY \"HOLD EAST, STANDING PROCEDURE TURN, FIX, MAINTAIN 4000 FIX\"\n"},
    {"say \"standing procedure turn, maintain 5000 until fix\"\n",
     "SAY \"STANDING PROCEDURE TURN, FIX\"\n"},
    // The end text is searched for after the start text only.
    {"SAY \"FIX STANDING PROCEDURE TURN, MAINTAIN 5000\"\n",
     "SAY \"FIX STANDING PROCEDURE TURN, MAINTAIN 5000\"\n"},
    {"SAY \"STANDING PROCEDURE TURN UNTIL FIX\"\n", "SAY \"STANDING PROCEDURE TURN UNTIL FIX\"\n"},
    {"SAY \"MAINTAIN 5000 UNTIL FIX\"\n", "SAY \"MAINTAIN 5000 UNTIL FIX\"\n"},

    {"SAY \"WARTESCHLEIFE, GEHEN SIE AUF 5000 FUSS, KURS 270, GEHEN SIE AUF 4000 KURS 90\"\n",
     "SAY \"WARTESCHLEIFE, KURS 270, GEHEN SIE AUF 4000 KURS 90\"\n"},
    {"SAY \"WARTESCHLEIFE \xDC" "BER DEM FEUER, GEHEN SIE AUF 5000 KURS 270\"\n",
     "SAY \"WARTESCHLEIFE \xDC" "BER DEM FEUER, KURS 270\"\n"},
    // "KURS" without its blank is not the end text.
    {"SAY \"WARTESCHLEIFE, GEHEN SIE AUF KURS\"\n", "SAY \"WARTESCHLEIFE, GEHEN SIE AUF KURS\"\n"},
    {"SAY \"WARTESCHLEIFE, KURS 270\"\n", "SAY \"WARTESCHLEIFE, KURS 270\"\n"},
};

TEST(HoldingTexts, LoseTheSpanFromTheAltitudeToTheFixOrCourse) {
  for (const TextCase& c : kHoldingTexts) {
    EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
