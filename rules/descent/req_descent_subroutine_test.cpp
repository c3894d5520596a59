#include "rules/descent/req_descent_subroutine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::appendedText;
using testing::rewriteLinesOnly;

RewriteState withKeptLines(std::vector<std::string> lines) {
  RewriteState state;
  state.todCount = static_cast<int>(lines.size());
  state.todLines = std::move(lines);
  return state;
}

const std::string kDescentEnd = " VMAXALT = 0\n VDESCREQ = 2\n WAIT 5\n GOSUB PLAYCALL\n GOSUB PLAY_ALTITUDE\n";

TEST(DescentRequest, PlaysCentreCallAndRequestFromTheFlightLevelCallsFolders) {
  EXPECT_EQ(appendedText(appendDescentRequest,
                         withKeptLines({R"(  PLAY"D:\SND\WAV\COPILOTS\VOICE01\FLTLVL")" "\n"})),
            "REQ_DESCENT:\n"
            "IF VDESCREQ = 1 THEN\n"
            R"(  PLAY"D:\SND\WAV\COPILOTS\VOICE01\FC_CENTER")" "\n"
            "GOSUB PLAYID\n"
            R"(  PLAY"D:\SND\WAV\Request")" "\n"
            R"(  PLAY"D:\SND\WAV\COPILOTS\VOICE01\FLTLVL")" "\n" +
                kDescentEnd +
                "ENDIF\n"
                "RETURN\n");
}

TEST(DescentRequest, LeavesOutTheSoundsItCannotPlace) {
  struct Case { std::vector<std::string> kept; std::string head; };
  const Case cases[] = {
      {{" WAIT 2\n"}, "GOSUB PLAYID\n WAIT 2\n"},
      {{" PLAY\"FLTLVL\"\n"}, "GOSUB PLAYID\n PLAY\"FLTLVL\"\n"},
      {{R"( PLAY"E:\WAV\PILOT\FLTLVL")" "\n"},
       R"( PLAY"E:\WAV\PILOT\FC_CENTER")" "\nGOSUB PLAYID\n" R"( PLAY"E:\WAV\PILOT\FLTLVL")" "\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(appendedText(appendDescentRequest, withKeptLines(c.kept)),
              "REQ_DESCENT:\nIF VDESCREQ = 1 THEN\n" + c.head + kDescentEnd + "ENDIF\nRETURN\n")
        << c.kept.front();
  }
}

TEST(DescentRequest, DropsRadioCallsAndReadBacksAndEndsWithTheLatestClearanceReadBack) {
  RewriteState state = withKeptLines({" A\n", " GOSUB PLAYCALL\n", " GOSUB PLAY_ALTITUDE\n", " X FC_ROGER\n",
                                      " X DESCCL 1\n", " WAIT 15\n", " B\n", " X DESCCL 2\n",
                                      " FC_ROGER DESCCL 3\n", " C\n"});
  EXPECT_EQ(appendedText(appendDescentRequest, state),
            "REQ_DESCENT:\nIF VDESCREQ = 1 THEN\nGOSUB PLAYID\n A\n B\n C\n" + kDescentEnd +
                " WAIT 10\n X DESCCL 2\nENDIF\nRETURN\n");
}

TEST(DescentRequest, RepeatsOnlyTheKeptLinesOfTheLastClosedBlock) {
  auto run = rewriteLinesOnly("SET_TOD_ALT:\n GOSUB PLAYCALL\n one\n two\n ONEXP_CLEAR SET_TOD_ALT\n");
  ASSERT_EQ(run.state.todCount, 3);
  run.state.todLines.push_back(" left over from an abandoned block\n");
  EXPECT_EQ(appendedText(appendDescentRequest, run.state),
            "REQ_DESCENT:\nIF VDESCREQ = 1 THEN\nGOSUB PLAYID\n ONE\n TWO\n" + kDescentEnd + "ENDIF\nRETURN\n");
}

}  // namespace
}  // namespace aplpatch
