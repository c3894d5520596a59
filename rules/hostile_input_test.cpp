// Inputs no generator should produce, run through the whole engine: each must end normally, with
// a result that can be told in advance, and with the properties every rewrite has (CR LF line ends,
// the appended subroutines complete and in order, the same bytes without the rule prefilter).

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "testing/rewrite_checks.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteFault;
using testing::rewriteWhole;

constexpr std::string_view kDescription = "DESCRIPTION \"PATCHED BY JM\"\r\n";

// The bundled example script, as bytes.
std::string readExample() {
  std::ifstream in(APLPATCH_EXAMPLE_SCRIPT, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the engine appends to a script in which no rule fired.
std::string appendedToAnEmptyScript() { return rewriteWhole("").bytes; }

TEST(HostileInput, AnEmptyScriptGetsOnlyTheAppendedSubroutines) {
  testing::Rewritten run = rewriteWhole("");
  EXPECT_EQ(run.passes, 0);
  EXPECT_EQ(run.console, "");
  EXPECT_EQ(rewriteFault(""), "");
  // Nothing but the subroutines, the autopilot stub first.
  EXPECT_TRUE(run.bytes.starts_with("AUTOPILOT:\r\nRETURN\r\nREQ_DESCENT:\r\n"));
}

TEST(HostileInput, ScriptsOfOnlyLineEndsKeepEveryLine) {
  const std::string empty = appendedToAnEmptyScript();
  for (std::string_view lineEnd : {"\n", "\r\n"}) {
    std::string input;
    for (int i = 0; i < 3000; ++i) input += lineEnd;
    std::string expected = "\r\n\r\n" + std::string(kDescription);
    for (int i = 2; i < 3000; ++i) expected += "\r\n";
    EXPECT_EQ(rewriteWhole(input).bytes, expected + empty);
    EXPECT_EQ(rewriteFault(input), "");
  }
  // A CR alone ends no line: a thousand of them are one long line, read in pieces.
  std::string carriageReturns(1000, '\r');
  EXPECT_EQ(rewriteWhole(carriageReturns).bytes,
            std::string(508, '\r') + std::string(kDescription) + std::string(492, '\r') + "\r\n" + empty);
}

TEST(HostileInput, ASingleTenMegabyteLineIsRewrittenInPieces) {
  constexpr std::size_t kSize = 10 * 1024 * 1024;
  std::string input(kSize, 'x');
  testing::Rewritten run = rewriteWhole(input);
  // Every piece is a pass of its own, so the patch description goes ahead of the third.
  std::string expected = std::string(508, 'X') + std::string(kDescription) + std::string(kSize - 508, 'X') + "\r\n";
  EXPECT_TRUE(run.bytes == expected + appendedToAnEmptyScript()) << "the long line did not come through whole";
  EXPECT_EQ(run.passes, static_cast<int>((kSize + 253) / 254));
}

TEST(HostileInput, EveryByteValueComesThroughAsAnOrdinaryByte) {
  std::string input;
  for (int value = 0; value < 256; ++value) input.push_back(static_cast<char>(value));
  // The one LF (0x0A) ends the first line; the CR (0x0D) before 0x0E is kept; only a to z change.
  std::string second = input.substr(11);
  upcaseAscii(second);
  EXPECT_EQ(rewriteWhole(input).bytes, input.substr(0, 10) + "\r\n" + second + "\r\n" + appendedToAnEmptyScript());

  // Every byte value in many different neighbourhoods.
  std::string mixed;
  for (unsigned step : {1u, 3u, 7u, 31u, 101u, 253u}) {
    for (unsigned i = 0; i < 4096; ++i) mixed.push_back(static_cast<char>((i * step + i / 256) & 0xFF));
  }
  EXPECT_EQ(rewriteFault(mixed), "");
}

// Scripts that open a region through which a rule reads or captures lines, followed by lines that
// do not close it. Cut anywhere after the opening line, the script ends inside the region.
struct Region {
  const char* what;
  const char* script;
};

constexpr Region kRegions[] = {
    {"the altitude look-ahead", "VALT = 5000\nGOTO GOWAITVORX\n"},
    {"the missed-approach key look-ahead", "WHILE ON_GROUND = 0\n IF KEY = KV(77) THEN\n"},
    {"the take-off supervision", "WHILE ON_GROUND\n IF ON_GROUND THEN\n  WAIT 1\n ENDIF\nENDWHILE\n"},
    {"the wind announcement",
     "PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\FC_N040\"\n WAIT 1\nPLAY\"C:\\FS\\WAV\\FC_N041\"\n WAIT 2\n"
     "PLAY\"C:\\FS\\WAV\\FC_N042\"\n"},
    {"the traffic call", "PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE3\\FC_N016\"\n WAIT 1\nELSE\n"},
    {"the radio-call voice gate", "PLAYCALL:\nIF VVOICE = 1 THEN\n PLAY\"A\"\nENDIF\nRETURN\n"},
    {"the intercept turn of the back-course fix",
     "FIX_BC:\nIF VCOPILOT = 1 THEN\n GOSUB PLAYCALL\nENDIF\n AUTOPILOT_HEADING = VRAD\n VHDG = VRAD + 180\n"
     " VOR_1_OBS = VHDG\n X = 1\n AUTOPILOT_HEADING = VHDG\nRETURN\n"},
    {"the holding loop at the fix",
     "HOLDFIX_C:\nGOSUB FIX_HDG\nWHILE NOT INRANGE360(PLANE_HEADING,VRAD-10,VRAD+10)\n GOSUB SPEED_CHECK\n"
     "ENDWHILE\nGOTO HOLDFIX_BC\n"},
    {"the holding loop on the back course",
     "HOLDFIX_BC:\nGOSUB FIX_BC\nIF VHOLDING = 1 THEN\n WHILE NOT INRANGE360(PLANE_HEADING, VRAD+170, VRAD+190)\n"
     "  GOSUB MODULES\n ENDWHILE\nENDIF\n"},
    {"leaving the runway", "WAIT_FINAL_STOP:\n WAIT 1\n GOSUB A\nFINALLIST:\n"},
    {"the centre block capture", "CENTER_1:\n GOSUB PLAYCALL\n WAIT 2\nRETURN\n"},
    {"the top-of-descent capture", "SET_TOD_ALT:\n AUTOPILOT_ALTITUDE = 9000\n WAIT 1\nONEXP_CLEAR SET_TOD_ALT\n"},
    {"the welcome notice", "WELCOME:\n PRINT \"TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\nRETURN\n"},
    {"the pushback body", "EXECUTE_PUSHPACK:\n WAIT 1\n WAIT 2\nRETURN\n"},
    {"the ground-frequency wait", "WAITGROUNDFREQ:\nWHILE KEY != 1\n WAIT 1\nENDWHILE\n"},
    {"the holding start", "PLAY\"C:\\FS\\WAV\\FC_N027\"\nHOLDFIX_C1:\n"},
    {"the holding turn", "PLAY\"C:\\FS\\WAV\\FC_N023\"\nHOLDFIX_BC1:\n"},
    {"the tower wait", "WAIT_APP_TOWER:\nWHILE (COM_FREQ != 120.00)\n WAIT 1\nWHILE VCONTACTED = 0\nENDWHILE\n"},
    {"the centre response", "CENTER_RESPOND:\n WAIT 1\nRETURN\n"},
    {"the ground-distance loop", "WHILE VGROUNDDIST > 3\n VTIMER = ELAPSED_TIME\n IF ELAPSED_TIME > VTIMER + 5\nENDWHILE\n"},
    {"the runway alignment", "CHECK_RWY_ALIGN:\nTAKEOFF:\nWHILE NOT INRANGE360(PLANE_HEADING,1,2)\nENDWHILE\n"},
    {"the altitude check", "CHECK_ALTITUDE:\n IF PLANE_ALT > VALT + 500 THEN\n ENDIF\nRETURN\n"},
};

TEST(HostileInput, AScriptMayEndAnywhereInsideARegionThatARuleReadsThrough) {
  for (const Region& region : kRegions) {
    const std::string script = region.script;
    const std::size_t opened = script.find('\n') + 1;
    for (std::size_t cut = opened; cut <= script.size(); ++cut) {
      std::string input = script.substr(0, cut);
      SCOPED_TRACE(std::string(region.what) + ", cut after: " + input);
      EXPECT_EQ(rewriteFault(input), "");
      // Headed by two lines, so the patch description lands ahead of the region's opening line.
      EXPECT_EQ(rewriteFault("BEGIN:\nWAIT 1\n" + input), "");
    }
  }
}

TEST(HostileInput, TheExampleMayEndAfterAnyLineOrInTheMiddleOfOne) {
  std::string example = readExample();
  ASSERT_FALSE(example.empty());
  std::vector<std::size_t> cuts;
  for (std::size_t start = 0; start < example.size();) {
    std::size_t end = example.find('\n', start);
    end = end == std::string::npos ? example.size() : end + 1;
    cuts.push_back(start + (end - start) / 2);
    cuts.push_back(end);
    start = end;
  }
  for (std::size_t cut : cuts) {
    SCOPED_TRACE(::testing::Message() << "the example cut after byte " << cut);
    EXPECT_EQ(rewriteFault(std::string_view(example).substr(0, cut)), "");
  }
}

}  // namespace
}  // namespace aplpatch
