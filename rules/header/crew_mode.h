#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Crew mode (a flight without crew) removes the crew's briefings and cabin sounds. The three
// briefing rules run on the line as read, before it is upper-cased, and do nothing unless crew
// mode is on.

// Blanks a line holding "WAIT " that follows a removed briefing call; the next line is free again
// whether or not this one held a wait.
void dropWaitAfterBriefing(Pass& pass);

// Blanks a PLAY line that names a briefing or cabin sound (in any case) and asks for the wait in
// the next line to be dropped.
void dropBriefingCall(Pass& pass);

// Makes the briefing check return at once: its label line is written and a "RETURN" follows it.
void emptyBriefingCheck(Pass& pass);

// Upper-cases the line in place (ASCII letters only), so every later rule sees capitals. A
// "DESCRIPTION" line asking for "NOCREW" switches crew mode on from the next line and is blanked.
void upcaseLine(Pass& pass);

}  // namespace aplpatch
