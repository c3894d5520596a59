// A departure, cruise and descent section of a generated script through the descent request, the
// centre block replay and the squawk change, with the appended subroutines they feed.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/test_support.h"
#include "rules/descent/req_descent_subroutine.h"
#include "rules/radio/transponder_subroutines.h"

namespace aplpatch {
namespace {

using testing::appendedText;
using testing::rewriteLinesOnly;

const char kScript[] = R"apl(DESCRIPTION "EDDF TO EDDM"
ONKEY KV(88) GOSUB CHECK_XKEY
ONKEY KV(68) GOSUB DEPARTURE
Departure:
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N010"
 AUTOPILOT_ALTITUDE = 5000
 TRANS_FREQ = 1200
RETURN
CENTER_RESPOND:
 GOSUB PLAYCALL
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N057"
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N062"
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N058"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FC_HDG"
 GOSUB PLAY_COURSE
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 IF VALT = 24000 THEN
  autopilot_altitude = 24000
 ENDIF
RETURN
SET_TOD_ALT:
 GOSUB PLAYCALL
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N070"
 GOSUB PLAY_ALTITUDE
 WAIT 15
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\DESCCL"
 AUTOPILOT_ALTITUDE = 9000
 ONEXP_CLEAR SET_TOD_ALT
RETURN
CRUISE:
 VALT = 24000
 GOTO GOWAITVORX
GOWAITVORX:
WAIT_VOR1:
 ONKEY KV(68) GOSUB DEPARTURE
 wait 1
GOTO WAIT_VOR1
)apl";

// Two lines end in a blank: the target altitude is kept with the blanks around it.
const std::string kRewritten = R"apl(DESCRIPTION "EDDF TO EDDM"
ONKEY KV(88) GOSUB REQ_DESCENT
DESCRIPTION "PATCHED BY JM"
ONKEY KV(68) GOSUB DEPARTURE
DEPARTURE:
 VDESCREQ = 1
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N010"
IF VMAXALT = 500000 THEN
 AUTOPILOT_ALTITUDE = 5000
ENDIF
 TRANS_FREQ = 1200
RETURN
CENTER_RESPOND:
 GOSUB PLAYCALL
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N057"
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N062"
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N058"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FC_HDG"
 GOSUB PLAY_COURSE
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 IF VALT = 24000 THEN
IF VMAXALT = 500000 THEN
  AUTOPILOT_ALTITUDE = 24000
ELSE
)apl" " AUTOPILOT_ALTITUDE =  24000 \n" R"apl(ENDIF
 ENDIF
  IF VFLYMISSEDAPP = 0 THEN
   VRANDOM = RANDOM * 100
   IF VRANDOM > 60 THEN
     VSQUAWKNEU = VSQUAWK
     WHILE VSQUAWKNEU = VSQUAWK
       VSQUAWKNEU = INT(RANDOM * 10)
     ENDWHILE
     VSQUAWK = VSQUAWKNEU
     VCALL = 0
     GOSUB TEST_XPNDR_EXT
     VCALL = 1
     VSQUAWKCNG = 1
   ENDIF
  ENDIF
RETURN
SET_TOD_ALT:
IF VDESCREQ = 1 THEN
 GOSUB PLAYCALL
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N070"
 GOSUB PLAY_ALTITUDE
 WAIT 15
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\DESCCL"
IF VMAXALT = 500000 THEN
 AUTOPILOT_ALTITUDE = 9000
ELSE
)apl" " AUTOPILOT_ALTITUDE =  24000 \n" R"apl(ENDIF
 ONEXP_CLEAR SET_TOD_ALT
 VDESCREQ = 2
 VMAXALT  = 1
ENDIF
RETURN
CRUISE:
 VALT = 24000
 GOTO GOWAITVORX
GOWAITVORX:
WAIT_VOR1:
 ONKEY KV(68) GOSUB DEPARTURE
WAIT_VOR1_MISSED:
GOSUB AUTOPILOT
 wait 1
 WAIT 1
GOSUB CENTERX
 ONKEY KV(68) GOSUB CENTERX
GOTO WAIT_VOR1_MISSED
CENTERX:
)apl" " VALT =  24000 \n" R"apl(WAIT 10
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N057"
VCOURSE = VHDG
GOSUB PLAY_COURSE
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N058"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 IF VALT = 24000 THEN
  autopilot_altitude = 24000
 ENDIF
GOSUB AUTOPILOT
RETURN
)apl";

const char kDescentRequest[] = R"apl(REQ_DESCENT:
IF VDESCREQ = 1 THEN
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FC_CENTER"
GOSUB PLAYID
 PLAY"C:\FS\WAV\Request"
 PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC_N070"
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\FLTLVL"
 AUTOPILOT_ALTITUDE = 9000
 VMAXALT = 0
 VDESCREQ = 2
 WAIT 5
 GOSUB PLAYCALL
 GOSUB PLAY_ALTITUDE
 WAIT 10
 PLAY"C:\FS\WAV\COPILOTS\VOICE01\DESCCL"
ENDIF
RETURN
)apl";

// The first code's block of each transponder subroutine; the other ten repeat it with their codes.
const char kFirstCodeBlocks[] = R"apl(SET_XPNDR_EXT:
 IF VSQUAWK = 0 THEN
  IF VVOICE = 1 THEN
    PLAY"C:\FS\WAV\CONTROLLERS\VOICE1\FC1171"
  ELSEIF VVOICE = 2 THEN
    PLAY"C:\FS\WAV\CONTROLLERS\VOICE2\FC1171"
  ELSEIF VVOICE = 3 THEN
    PLAY"C:\FS\WAV\CONTROLLERS\VOICE3\FC1171"
  ENDIF
 ENDIF
SET_XPNDR_AUTOPILOT_EXT:
 IF VSQUAWK = 0 THEN
  TRANS_FREQ = 1171
 ENDIF
TEST_XPNDR_EXT:
 IF VSQUAWK = 0 AND TRANS_FREQ != 1171 THEN
  IF VCALL = 1 THEN
    GOSUB PLAYCALL
  ENDIF
  GOSUB SET_XPNDR_EXT
PRINT"CHANGE SQUAWK TO 1171 !"
WAIT MESSAGE
 ONKEY KV(68) GOSUB SET_XPNDR_EXT
WAIT 3
   PLAY"C:\FS\WAV\COPILOTS\VOICE01\FC_ROGER"
  GOSUB SET_XPNDR_AUTOPILOT_EXT
WAIT 4
 ENDIF
)apl";

TEST(FlightSection, DepartureCruiseAndDescentAreRewritten) {
  RewriteState initial;
  initial.soundRoot = R"( PLAY"C:\FS\WAV\)";
  initial.messageLanguage = MessageLanguage::english;
  auto run = rewriteLinesOnly(kScript, initial);
  EXPECT_EQ(run.text, kRewritten);
  EXPECT_EQ(run.console, "changing x-key function...\n");

  EXPECT_EQ(appendedText(appendDescentRequest, run.state), kDescentRequest);

  const std::string transponder = appendedText(appendTransponderSubroutines, run.state);
  EXPECT_EQ(std::count(transponder.begin(), transponder.end(), '\n'), (1 + 11 * 9 + 1) + (1 + 11 * 3 + 1) +
                                                                          (1 + 11 * 13 + 1));
  std::string firstBlocks;
  for (const char* label : {"SET_XPNDR_EXT:\n", "SET_XPNDR_AUTOPILOT_EXT:\n", "TEST_XPNDR_EXT:\n"}) {
    const auto start = transponder.find(label);
    ASSERT_NE(start, std::string::npos) << label;
    firstBlocks += transponder.substr(start, transponder.find("\n ENDIF\n", start) + 8 - start);
  }
  EXPECT_EQ(firstBlocks, kFirstCodeBlocks);
}

}  // namespace
}  // namespace aplpatch
