#include "rules/descent/missed_approach_flight.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(MissedApproachFlight, CallsAtTheStartOfTheLineAreWrapped) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {"GOSUB CENTER_RESPOND\n",
       "  IF VFLYMISSEDAPP = 0 THEN\nGOSUB CENTER_RESPOND\n  ELSE\n     GOSUB PLAYCALL\n ENDIF\n"},
      {"gosub center_respond2\n",
       "  IF VFLYMISSEDAPP = 0 THEN\nGOSUB CENTER_RESPOND2\n  ELSE\n     GOSUB PLAYCALL\n ENDIF\n"},
      {" GOSUB CENTER_RESPOND\n", " GOSUB CENTER_RESPOND\n"},
      {"GOSUB CONTACT_APP\n", "  IF VFLYMISSEDAPP = 0 THEN\nGOSUB CONTACT_APP\n ENDIF\n"},
      {"GOSUB CONTACT_APPROACH ' 2\n", "  IF VFLYMISSEDAPP = 0 THEN\nGOSUB CONTACT_APPROACH ' 2\n ENDIF\n"},
      {"  GOSUB CONTACT_APP\n", "  GOSUB CONTACT_APP\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.expected) << c.input;
}

TEST(MissedApproachFlight, WaitForTheLocalizerFrequencyGetsItsShortcutInFront) {
  EXPECT_EQ(rewriteLinesOnly("  WHILE (COM_FREQ != 122.00) ' LOC\n").text,
            "IF (COM_FREQ = 122.00) AND (VFLYMISSEDAPP = 1) THEN\n"
            "  GOTO LOCALIZER\n"
            "ENDIF\n"
            "  WHILE (COM_FREQ != 122.00) ' LOC\n");
  EXPECT_EQ(rewriteLinesOnly("WHILE (COM_FREQ != 122.10)\n").text, "WHILE (COM_FREQ != 122.10)\n");
}

}  // namespace
}  // namespace aplpatch
