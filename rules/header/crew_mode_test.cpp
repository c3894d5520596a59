#include "rules/header/crew_mode.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(UpcaseLine, OnlyAsciiLettersBecomeCapitals) {
  EXPECT_EQ(rewriteLinesOnly("print \"gr\xFC\xDF\x65 aus m\xFCnchen!\"\n").text,
            "PRINT \"GR\xFC\xDF" "E AUS M\xFCNCHEN!\"\n");
}

TEST(UpcaseLine, NocrewDescriptionSwitchesCrewModeAndIsBlanked) {
  auto run = rewriteLinesOnly("description \"nocrew\"\nA\n");
  EXPECT_EQ(run.text, "\nA\n");
  EXPECT_EQ(run.state.crewMode, 1);
  EXPECT_EQ(rewriteLinesOnly("NOCREW\n").state.crewMode, 0);
}

}  // namespace
}  // namespace aplpatch
