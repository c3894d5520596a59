#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace aplpatch {

// Where the script's declarations stand.
enum class Declarations : std::uint8_t { notSeen, inside, done };

// The one block that a rule opened and a later line closes; opening one closes any other.
enum class OpenBlock : std::uint8_t {
  none,
  welcome,              // the welcome subroutine, until its patch notice is written
  holdingStart,         // the holding-start subroutine, until its missing RETURN is written
  holdingTurn,          // the holding-turn subroutine, likewise
  pushback,             // the pushback subroutine, until its RETURN
  groundFrequencyWait,  // the ground-frequency wait, until its key wait
  topOfDescent,         // the top-of-descent block being captured
};

// The centre block: idle, being captured, or captured and armed for its replay in CENTERX.
enum class CenterCapture : std::uint8_t { idle, capturing, armed };

// The second entry of the wait-for-VOR loop: its label seen, then its key bindings being passed.
enum class WaitVorEntry : std::uint8_t { none, labelSeen, inKeyBindings };

// The loop that runs while the ground distance is above 3: outside it, inside it, or inside it
// with its altitude check met.
enum class GroundDistanceLoop : std::uint8_t { outside, inside, altitudeChecked };

// The watch for an altitude check ahead of the first radial check.
enum class RadialCheckWatch : std::uint8_t { notArmed, armed, done };

// Which heading-fix subroutine the lines belong to.
enum class HeadingFix : std::uint8_t { outside, inFixHdg, inFixBc };

// The language of the script's messages, learnt from its transponder messages.
enum class MessageLanguage : std::uint8_t { none, english, german };

// What the rules added to the script, counted for the flight's briefing: each counter is raised by
// the rule named beside it whenever that rule adds the thing, and the briefing reads them all after
// the run. Key codes are kept as the bindings spell them inside "KV(...)", each code once.
struct Additions {
  std::vector<std::string> descentRequestKeys;  // rebindExtraKeyToDescentRequest
  int topOfDescentBlocks = 0;                   // startTopOfDescentCapture
  int transponderChangePoints = 0;              // insertSquawkChange
  int supervisedHoldingLoops = 0;               // superviseHoldfixCLoop, superviseHoldfixBcLoop
  int centreReplays = 0;                        // writeCenterSubroutine
  int interceptTurns = 0;                       // followHeadingFix
  int supervisedApproachLoops = 0;      // openGroundDistanceLoop, superviseGroundDistanceLoop
  int pushbackSupervisions = 0;         // openPushbackBody
  int taxiSupervisions = 0;             // superviseTaxiStart
  int lineUpHolds = 0;                  // holdBeforeLineUp
  int runwayAlignmentSupervisions = 0;  // superviseRunwayAlignment
  int takeoffSupervisions = 0;          // superviseTakeoff
  int vacateSupervisions = 0;           // superviseVacateRunway
  int clearanceWithdrawals = 0;         // those of the four above that may end the adventure:
                                        // taxi, line-up hold, runway alignment, take-off
  std::vector<std::string> lineUpKeys;          // redirectLineUpKey
  std::vector<std::string> missedApproachKeys;  // bindMissedApproachKey
  int forcedMissedApproachChecks = 0;  // guardTowerWaitFrequency, guardTowerWaitContact
  int altitudeChecks = 0;              // followAltitudeCheckCall, addAltitudeCheckToRadialCheck
  int windAnnouncements = 0;           // announceWind
  int trafficInformation = 0;          // followTrafficCall
  int gatedRadioCalls = 0;             // gatePlayCallVoices

  bool operator==(const Additions&) const = default;
};

// Everything the rules carry from one line to later lines, and from the line pass to the appended
// subroutines. One instance lives for a whole run; every member starts at the value given here and
// nothing is reset between lines. Texts and tables grow as needed. Each note says which rules write
// a member and which read it.
struct RewriteState {
  // Choices that the feature switches make before the first line; no rule changes them. Written by
  // the rewrite's setup (startStateFor in rules/), read by the rules named.
  bool withdrawClearances = true;    // holdBeforeLineUp, superviseTaxiStart,
                                     // superviseRunwayAlignment, superviseTakeoff
  bool hintAtDescentRequest = true;  // insertPatchNotice rewords the key hint
  bool forcedMissedApproach = true;  // superviseGroundDistanceLoop jumps to MISSED_APP2

  // Crew and the script header.
  bool crewless = false;        // a "NOCREW" description: upcaseLine / the three briefing rules
  bool skipNextWait = false;    // dropBriefingCall / dropWaitAfterBriefing (which clears it)
  bool hasChecklists = false;   // noteChecklistDeclaration / guardChecklists,
                                // writeMissedApproachEntry
  Declarations declarations = Declarations::notSeen;  // insertDeclarations alone

  // The open block: opened by openWelcomeNotice, openHoldingStart, openHoldingTurn,
  // openPushbackBody, openGroundFrequencyWait, startTopOfDescentCapture; read and closed by
  // insertPatchNotice, insertReturnBefore*, editPushbackBody, awaitGroundContact,
  // captureTopOfDescentLine.
  OpenBlock openBlock = OpenBlock::none;

  // Top of descent.
  int todCaptured = 0;  // lines stored in todLines by the open capture: captureTopOfDescentLine
  int todCount = 0;     // lines kept by the last closed capture: captureTopOfDescentLine /
                        // appendDescentRequest
  std::vector<std::string> todLines;  // captureTopOfDescentLine / appendDescentRequest
  std::string capturedValt;  // first "IF VALT =" altitude: captureTargetAltitude /
                             // writeCenterSubroutine, guardAutopilotAltitude

  // Centre block and the wait-for-VOR loop.
  CenterCapture centerCapture = CenterCapture::idle;  // startCenterCapture, captureCenterLine,
                                                      // armCenterReplay, writeCenterSubroutine
  int centerCount = 0;                  // lines in centerLines: the same / armCenterReplay, replay
  std::vector<std::string> centerLines; // captureCenterLine / writeCenterSubroutine
  WaitVorEntry waitVorEntry = WaitVorEntry::none;  // addWaitVorMissedEntry alone
  std::string departureKeyLine;  // key binding cut before "GOSUB DEPARTURE"; empty until seen:
                                 // keepDepartureKey / writeCenterSubroutine, TEST_XPNDR_EXT
  std::string waitVorLabel;      // addWaitVorMissedEntry alone

  // Missed approach.
  std::string missedAppKey;     // bindMissedApproachKey / guardSpeedLoopsWithMissedKey
  bool inAppTowerWait = false;  // guardTowerWaitFrequency / guardTowerWaitContact

  // Sounds, radio and transponder.
  std::string soundRoot;         // sound path up to "\WAV\": captureSoundRoot / every sound line
  bool inCenterRespond = false;  // noteCenterResponse / insertSquawkChange (which clears it)
  bool hasTransFreq = false;     // noteTransponderSetting / appendTransponderSubroutines
  bool inPlayCall = false;       // gatePlayCallVoices alone

  // Approach tracking and holding.
  GroundDistanceLoop groundDistanceLoop = GroundDistanceLoop::outside;  // openGroundDistanceLoop,
      // followAltitudeCheckCall / reworkGroundDistanceLoopBody
  RadialCheckWatch radialCheckWatch = RadialCheckWatch::notArmed;  // openGroundDistanceLoop,
      // followAltitudeCheckCall / addAltitudeCheckToRadialCheck
  HeadingFix headingFix = HeadingFix::outside;  // followHeadingFix alone
  bool hasAutopilotSub = false;  // noteAutopilotSubroutine / appendAutopilotStub
  bool inHoldfixC = false;       // superviseHoldfixCLoop alone
  bool inHoldfixBc = false;      // superviseHoldfixBcLoop alone
  std::string holdEntryCall;  // "GOSUB FIX_HDG" or "GOSUB FIX_BC" line; empty until kept: both
                              // holding-loop rules

  // Ground operations.
  MessageLanguage messageLanguage = MessageLanguage::none;  // detectMessageLanguage / the
      // supervisions' messages, appendTransponderSubroutines
  bool inRunwayAlign = false;  // superviseRunwayAlignment alone

  // The transponder codes the centre may assign, in the order the appended subroutines use them.
  static constexpr std::array<std::string_view, 11> squawkCodes = {
      "1171", "2147", "2164", "4171", "4662", "5142", "5717", "6116", "6711", "7120", "7617"};

  // What the rules added, for the briefing.
  Additions added;

  // Every member compared, so that two runs can be checked for having ended in the same state.
  bool operator==(const RewriteState&) const = default;
};

static_assert(std::is_standard_layout_v<RewriteState>, "the triggers find members by their offsets");

}  // namespace aplpatch
