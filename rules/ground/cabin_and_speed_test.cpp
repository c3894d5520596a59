#include "rules/ground/cabin_and_speed.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(CabinAndSpeed, CountsCryingGuardsApplauseAndWarnsOfSpeed) {
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {" PLAY\"C:\\WAV\\CABIN\\FC_CRY\"\n",
       " VCRY = VCRY + 1\n WAIT 1\n PLAY\"C:\\WAV\\CABIN\\FC_CRY\"\n"},
      {" PLAY\"C:\\WAV\\CABIN\\FC_APPLAUSE\"\n",
       " IF VCRY <= 3 THEN\n PLAY\"C:\\WAV\\CABIN\\FC_APPLAUSE\"\nENDIF\n"},
      {" GOSUB CABIN FC_CRY FC_APPLAUSE\n",
       " VCRY = VCRY + 1\n WAIT 1\n IF VCRY <= 3 THEN\n GOSUB CABIN FC_CRY FC_APPLAUSE\nENDIF\n"},
      {"IF VELOCITY_INDICATED > VSPD + 10 THEN\n",
       "IF VELOCITY_INDICATED > VSPD + 10 THEN\n  GOSUB PLAYCALL\n"},
      {"VSPD = 5000\n", "VSPD = 5000\nELSE\nVSPD = 250\n"},
      {"VSPD = 500\n", "VSPD = 500\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
}

TEST(CabinAndSpeed, CabinSoundsRemovedForAFlightWithoutCrewGetNothing) {
  RewriteState crewless;
  crewless.crewless = true;
  EXPECT_EQ(
      rewriteLinesOnly(" PLAY\"C:\\WAV\\FC_CRY\"\n PLAY\"C:\\WAV\\FC_APPLAUSE\"\n", crewless).text,
      "\n\n");
}

}  // namespace
}  // namespace aplpatch
