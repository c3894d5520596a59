#include "rules/approach/heading_fix.h"

#include "engine/line_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

// Replaces the script's own turn onto the course: drops the lines up to the next one that names
// VOR_1_OBS (kept as read), drops the lines after it up to the next autopilot heading, and writes
// the intercept turn in their place. At the end of the input it stops without writing more.
void rewriteInterceptTurn(Pass& pass) {
  if (!pass.skipUntil("VOR_1_OBS")) return;
  pass.write(pass.line());
  if (!pass.skipUntil(kAutopilotHeading)) return;
  pass.write("VLASTHDG = VLASTHDG - VOR_1_OBS\n"
             "IF VLASTHDG > 180 THEN\n"
             " VLASTHDG = VLASTHDG - 360\n"
             "ENDIF\n"
             "IF VLASTHDG < -180 THEN\n"
             " VLASTHDG = VLASTHDG + 360\n"
             "ENDIF\n"
             "IF VLASTHDG < 0 THEN\n"
             " VLASTHDG = VOR_1_OBS + 90\n"
             " IF VLASTHDG > 360 THEN\n"
             "  VLASTHDG = VLASTHDG - 360\n"
             " ENDIF\n"
             " AUTOPILOT_HEADING = VLASTHDG\n"
             "ELSE\n"
             " VLASTHDG = VOR_1_OBS - 90\n"
             " IF VLASTHDG < 0 THEN\n"
             "  VLASTHDG = VLASTHDG + 360\n"
             " ENDIF\n"
             " AUTOPILOT_HEADING = VLASTHDG\n"
             "ENDIF\n"
             "VLASTHDG = PLANE_HEADING\n"
             "WHILE INRANGE360(PLANE_HEADING,VLASTHDG-5,VLASTHDG+5)\n"
             "ENDWHILE\n");
  pass.line().assign("AUTOPILOT_HEADING = VOR_1_OBS\n");
}

// The same lines kept as the host wrote them, unseen by the other rules as the intercept turn hides
// them: up to the line naming VOR_1_OBS, and from there up to the next autopilot heading, which
// goes on as read.
void keepTurnOntoCourse(Pass& pass) {
  pass.write(pass.line());
  if (!keepUnseenUntil(pass, "VOR_1_OBS")) return;
  upcaseAscii(pass.line());
  pass.write(pass.line());
  keepUnseenUntil(pass, kAutopilotHeading);
}

// Follows both subroutines; `rewrite` says whether their texts are changed (the feature is on) or
// only the lines that the intercept turn replaces are kept from the other rules.
void followHeadingFixes(Pass& pass, bool rewrite) {
  HeadingFix& state = pass.state().headingFix;
  std::string& line = pass.line();
  HeadingFix was = state;

  if (was == HeadingFix::inFixHdg) {
    // A holding-fix label ends the subroutine before its line is looked at for a heading.
    if (startsWith(line, kHoldfixLabelStart)) {
      state = was = HeadingFix::outside;
    } else if (contains(line, kAutopilotHeading)) {
      if (rewrite) pass.write("VLASTHDG = PLANE_HEADING\n");
      state = was = HeadingFix::outside;
    }
  }

  if (startsWith(line, kFixHdgLabel)) {
    state = HeadingFix::inFixHdg;
  } else if (was == HeadingFix::inFixBc) {
    if (startsWith(line, kHoldfixLabelStart)) {
      state = HeadingFix::outside;
    } else {
      if (rewrite && contains(line, kCopilotTest)) {
        pass.write("IF (VCOPILOT = 1) AND (VFIRSTCALL = 0) THEN\n");
        line.assign(" VFIRSTCALL = 1\n");
      }
      if (contains(line, kAutopilotHeading)) {
        state = HeadingFix::outside;
        if (rewrite) {
          ++pass.state().added.interceptTurns;
          rewriteInterceptTurn(pass);
        } else {
          keepTurnOntoCourse(pass);
        }
        return;
      }
    }
  }

  if (startsWith(line, kFixBcLabel)) state = HeadingFix::inFixBc;
}

}  // namespace

void followHeadingFix(Pass& pass) { followHeadingFixes(pass, true); }

void keepHeadingFixTurn(Pass& pass) { followHeadingFixes(pass, false); }

}  // namespace aplpatch
