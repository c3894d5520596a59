#include "rules/approach/holding_loops.h"

#include <string>
#include <string_view>

#include "engine/line_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

// What tells the two holding-fix sections apart.
struct HoldingSection {
  bool RewriteState::*inSection;   // set at the label, cleared once the wait loop is replaced
  std::string_view entryCall;      // start of the heading-subroutine call kept for the loop
  std::string_view deviationTest;  // the loop's wings-level deviation test
  std::string_view resumeAt;       // the first line containing this after the wait line goes on
};

constexpr HoldingSection kHoldfixC{
    &RewriteState::inHoldfixC, kHoldfixCEntryCall,
    "     IF (VDIF < -10 OR VDIF > 10)  AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN\n",
    "GOTO HOLDFIX_BC"};

constexpr HoldingSection kHoldfixBc{
    &RewriteState::inHoldfixBc, kHoldfixBcEntryCall,
    "     IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN\n",
    "ENDIF"};

struct HeadingRange {
  std::string_view first;
  std::string_view second;
};

std::string_view withoutNewline(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return text;
}

// The bounds in the text after the wait phrase, exactly as they stand: the first up to the first
// ",", the second from there up to the next ")". A missing separator lets a bound run to the end
// of the line.
HeadingRange headingRange(std::string_view bounds) {
  const std::size_t comma = bounds.find(',');
  if (comma == std::string_view::npos) return {withoutNewline(bounds), {}};
  const std::string_view second = bounds.substr(comma + 1);
  const std::size_t close = second.find(')');
  return {bounds.substr(0, comma),
          close == std::string_view::npos ? withoutNewline(second) : second.substr(0, close)};
}

void writeControllerReminder(Pass& pass, std::string_view call) {
  static constexpr std::string_view kVoiceTests[] = {
      "          IF VVOICE = 1 THEN\n",
      "          ELSEIF VVOICE = 2 THEN\n",
      "          ELSEIF VVOICE = 3 THEN\n",
  };
  static constexpr std::string_view kVoices[] = {"VOICE1", "VOICE2", "VOICE3"};
  // Each voice's two lines are put together first and written at once.
  std::string& lines = pass.scratch();
  for (int voice = 0; voice < 3; ++voice) {
    lines.assign(kVoiceTests[voice]);
    lines.append("             ").append(pass.state().soundRoot).append("CONTROLLERS\\");
    lines.append(kVoices[voice]).append("\\").append(call).append("\"\n");
    pass.write(lines);
  }
  pass.write("          ENDIF\n");
}

void writeHoldingLoop(Pass& pass, std::string_view waitLine, std::size_t boundsAt,
                      std::string_view deviationTest) {
  const HeadingRange range = headingRange(waitLine.substr(boundsAt));
  pass.write(" VMISSCNT = 0\n");
  pass.write(" VTIMER  = ");
  pass.write(range.first);
  pass.write("\n");
  pass.write(" VTIMER2 = ");
  pass.write(range.second);
  pass.write("\n");
  pass.write(" IF VTIMER2 < VTIMER THEN\n"
             "   VTIMER2 = VTIMER2 + 360\n"
             " ENDIF\n"
             " VRAD = (VTIMER + VTIMER2) / 2\n"
             " IF VRAD > 360 THEN\n"
             "   VRAD = VRAD - 360\n"
             " ENDIF\n"
             " VTIMER = ELAPSED_TIME + 30\n"
             " WHILE VMISSCNT != 3\n");

  // The script's own range test, taken over whole.
  pass.write("   IF (VMISSCNT < 2) AND ");
  const std::string_view rangeTest = waitLine.substr(waitLine.find("INRANGE360"));
  pass.write(rangeTest);
  // A wait line cut at the line-length limit has no newline; the next loop line must not join it.
  if (rangeTest.back() != '\n') pass.write("\n");

  pass.write("     VMISSCNT = 2\n"
             "     VTIMER2 = ELAPSED_TIME + 59\n"
             "   ENDIF\n"
             "   IF (VMISSCNT = 2) AND (ELAPSED_TIME > VTIMER2) THEN\n"
             "     VMISSCNT = 3\n"
             "   ELSEIF ELAPSED_TIME > VTIMER\n"
             "     VDIF = VRAD - PLANE_HEADING\n"
             "     IF VDIF < -180 THEN\n"
             "       VDIF = VDIF + 360\n"
             "     ELSEIF VDIF > 180 THEN\n"
             "       VDIF = VDIF - 360\n"
             "     ENDIF\n");
  pass.write(deviationTest);
  pass.write("      IF VMISSCNT = 0 THEN\n");
  // The kept call ends in its own newline, so an empty line follows it.
  pass.write("       ");
  pass.write(pass.state().holdEntryCall);
  pass.write("\n");
  pass.write("       VMISSCNT = 1\n"
             "      ELSE\n"
             "       VRANDOM = RANDOM\n"
             "       VRANDOM = VRANDOM * 1000\n"
             "       GOSUB PLAYCALL\n"
             "       IF INRANGE(VRANDOM,0,900) THEN\n");
  writeControllerReminder(pass, "FC_N052");
  pass.write("       ELSE\n");
  writeControllerReminder(pass, "FC_N053");
  pass.write("       ENDIF\n"
             "       VCOURSE = VRAD\n"
             "       GOSUB PLAY_COURSE\n"
             "      ENDIF\n"
             "     ENDIF\n"
             "     GOSUB CHECK_ALTITUDE\n"
             "     GOSUB SPEED_CHECK\n"
             "     IF VSQUAWKCNG = 1 THEN\n"
             "       GOSUB TEST_XPNDR_EXT\n"
             "     ENDIF\n"
             "     VTIMER  = ELAPSED_TIME + 30\n"
             "   ENDIF\n"
             "   GOSUB MODULES\n"
             " ENDWHILE\n");
}

// Keeps the entry call and replaces the wait loop of an armed section. Returns false when the input
// ended while the old loop was being dropped: the pass then has nothing more to write.
bool replaceWaitLoop(Pass& pass, const HoldingSection& section) {
  RewriteState& state = pass.state();
  const std::string& line = pass.line();
  if (startsWith(line, section.entryCall)) state.holdEntryCall.assign(line);

  const std::size_t phrase = line.find(kHoldingWaitPhrase);
  if (phrase == std::string::npos) return true;
  writeHoldingLoop(pass, line, phrase + kHoldingWaitPhrase.size(), section.deviationTest);
  state.*section.inSection = false;
  ++state.added.supervisedHoldingLoops;
  return pass.skipUntil(section.resumeAt);
}

// The same section's wait loop kept as it stands. Returns false when the input ended meanwhile.
bool keepWaitLoop(Pass& pass, const HoldingSection& section) {
  if (!contains(pass.line(), kHoldingWaitPhrase)) return true;
  pass.state().*section.inSection = false;
  pass.write(pass.line());
  return keepUnseenUntil(pass, section.resumeAt);
}

}  // namespace

void superviseHoldfixCLoop(Pass& pass) {
  if (pass.state().inHoldfixC && !replaceWaitLoop(pass, kHoldfixC)) return;
  if (startsWith(pass.line(), kHoldfixCLabel)) pass.state().inHoldfixC = true;
}

void superviseHoldfixBcLoop(Pass& pass) {
  if (pass.state().inHoldfixBc && !replaceWaitLoop(pass, kHoldfixBc)) return;
  if (startsWith(pass.line(), kHoldfixBcLabel)) {
    pass.state().inHoldfixBc = true;
    // The copilot branch of the section's heading subroutine runs once per visit of the section.
    pass.write(pass.line());
    pass.line().assign("VFIRSTCALL = 0\n");
  }
}

void keepHoldfixCLoop(Pass& pass) {
  if (pass.state().inHoldfixC && !keepWaitLoop(pass, kHoldfixC)) return;
  if (startsWith(pass.line(), kHoldfixCLabel)) pass.state().inHoldfixC = true;
}

void keepHoldfixBcLoop(Pass& pass) {
  if (pass.state().inHoldfixBc && !keepWaitLoop(pass, kHoldfixBc)) return;
  if (startsWith(pass.line(), kHoldfixBcLabel)) pass.state().inHoldfixBc = true;
}

void requireWingsLevelForDeviation(Pass& pass) {
  if (contains(pass.line(), kDeviationTest)) {
    pass.line().assign(
        "IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN\n");
  }
}

}  // namespace aplpatch
