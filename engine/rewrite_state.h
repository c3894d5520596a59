#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// Everything the rules carry from one line to later lines, and from the line pass to the appended
// subroutines. One instance lives for a whole run; every member starts at the value given here and
// nothing is reset between lines. Texts and tables grow as needed.
struct RewriteState {
  // Crew mode and the script header.
  int crewMode = 0;      // a "NOCREW" DESCRIPTION line was seen
  int skipNextWait = 0;  // a briefing sound was removed: drop the wait in the next line
  int hasChecklists = 0; // the script declares VCHECKLISTS
  int declState = 0;     // 0 before the first DECLARE, 1 inside the declarations, 2 after them

  // Block trackers: at most one of these six is non-zero. A rule that opens a block sets its own
  // member and clears the other five through openBlock().
  int noticeWindow = 0;      // inside the welcome subroutine
  int holdStartPending = 0;  // inside the holding-start subroutine
  int holdTurnPending = 0;   // inside the holding-turn subroutine
  int inPushback = 0;        // inside the pushback subroutine
  int inGroundFreqWait = 0;  // inside the ground-frequency wait
  int todCapture = 0;        // capturing the top-of-descent block: 1 + lines stored

  // Top of descent.
  int todCount = 0;                 // lines kept in todLines
  std::vector<std::string> todLines;
  std::string capturedValt;         // altitude text of the first "IF VALT =" line

  // Centre block and the wait-for-VOR loop.
  int centerCapture = 0;  // 0 idle, above 0 capturing (1 + lines stored), -1 armed
  int centerCount = 0;    // lines in centerLines
  std::vector<std::string> centerLines;
  int waitVorState = 0;   // 0, 1 or 2
  std::string departureKeyLine;  // key binding cut before "GOSUB DEPARTURE"; empty until seen
  std::string waitVorLabel;

  // Missed approach.
  std::string missedAppKey;
  int inAppTowerWait = 0;

  // Sounds, radio and transponder.
  std::string soundRoot;  // sound path prefix up to and including "\WAV\"
  int inCenterRespond = 0;
  int hasTransFreq = 0;
  int inPlayCall = 0;

  // Approach tracking and holding.
  int modulesLoopState = 0;  // 0, 1 or 2
  int radialCheckState = 0;  // 0, 1 (armed) or -1 (done)
  int headingFixState = 0;   // 0, 1 after "FIX_HDG", 2 after "FIX_BC"
  int hasAutopilotSub = 0;
  int inHoldfixC = 0;
  int inHoldfixBc = 0;
  std::string holdEntryCall;  // "GOSUB FIX_HDG" or "GOSUB FIX_BC" line; empty until kept

  // Ground operations.
  int messageLanguage = 0;  // 0 not yet seen, 1 English, 2 German
  int inRunwayAlign = 0;

  // The transponder codes the centre may assign, in the order the appended subroutines use them.
  static constexpr std::array<std::string_view, 11> squawkCodes = {
      "1171", "2147", "2164", "4171", "4662", "5142", "5717", "6116", "6711", "7120", "7617"};

  // Sets `tracker` (one of the six block trackers) to 1 and the other five to 0.
  void openBlock(int RewriteState::*tracker) {
    noticeWindow = holdStartPending = holdTurnPending = inPushback = inGroundFreqWait = todCapture = 0;
    this->*tracker = 1;
  }

  // Every member compared, so that two runs can be checked for having ended in the same state.
  bool operator==(const RewriteState&) const = default;
};

}  // namespace aplpatch
