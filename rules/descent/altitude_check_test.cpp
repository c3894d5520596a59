#include "rules/descent/altitude_check.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;


constexpr const char* kAfterCall =
    "IF VSQUAWKCNG = 1 THEN\n"
    "  GOSUB TEST_XPNDR_EXT\n"
    "ENDIF\n"
    "VTIMER = ELAPSED_TIME\n";

TEST(AltitudeCheckCall, EveryCallIsFollowedByTheTransponderTestAndTheTimer) {
  auto run = rewriteLinesOnly("  gosub check_altitude\n"
                              "WHILE VGROUNDDIST > 3\n"
                              "  IF X THEN GOSUB CHECK_ALTITUDE\n"
                              "ENDWHILE\n",
                              pastHeader());
  EXPECT_EQ(run.text, std::string("  GOSUB CHECK_ALTITUDE\n") + kAfterCall +
                          "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
                          "  IF X THEN GOSUB CHECK_ALTITUDE\n" + kAfterCall + "ENDWHILE\n");
}

struct RadialCase {
  const char* what;
  const char* input;
  std::string output;
};

TEST(RadialCheckWatch, TheFirstGroundDistanceLoopChecksTheAltitudeOnce) {
  const RadialCase cases[] = {
      {"the first radial check gets the call, later ones in that loop or others do not",
       "WHILE VGROUNDDIST > 3\n"
       "  GOSUB RADIAL_CHECK\n"
       "  GOSUB RADIAL_CHECK\n"
       "ENDWHILE\n"
       "WHILE VGROUNDDIST > 3\n"
       "  GOSUB RADIAL_CHECK\n",
       "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
       "GOSUB CHECK_ALTITUDE\n"
       "  GOSUB RADIAL_CHECK\n"
       "  GOSUB RADIAL_CHECK\n"
       "ENDWHILE\n"
       "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
       "  GOSUB RADIAL_CHECK\n"},
      {"a loop that checks the altitude before its radial check gets no call",
       "WHILE VGROUNDDIST > 3\n"
       "  GOSUB CHECK_ALTITUDE\n"
       "  GOSUB RADIAL_CHECK\n",
       std::string("VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
                   "  GOSUB CHECK_ALTITUDE\n") +
           kAfterCall + "  GOSUB RADIAL_CHECK\n"},
      {"a loop that ends before any radial check gets no call anywhere",
       "WHILE VGROUNDDIST > 3\n"
       "ENDWHILE\n"
       "GOSUB RADIAL_CHECK\n",
       "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
       "ENDWHILE\n"
       "GOSUB RADIAL_CHECK\n"},
      {"any other line naming the altitude check ends the watch",
       "WHILE VGROUNDDIST > 3\n"
       "  IF X THEN GOTO CHECK_ALTITUDE\n"
       "  GOSUB RADIAL_CHECK\n",
       "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
       "  IF X THEN GOTO CHECK_ALTITUDE\n"
       "  GOSUB RADIAL_CHECK\n"},
      {"no ground-distance loop, no watch",
       "GOSUB RADIAL_CHECK\n",
       "GOSUB RADIAL_CHECK\n"},
  };
  for (const RadialCase& c : cases) {
    auto run = rewriteLinesOnly(c.input, pastHeader());
    EXPECT_EQ(run.text, c.output) << c.what;
  }
}

}  // namespace
}  // namespace aplpatch
