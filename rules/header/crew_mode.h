#pragma once

#include <array>
#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kBriefingCheckLabel = "BRIEFINGCHECK:";
// The sound names that mark a crew briefing or a cabin sound.
inline constexpr std::array<std::string_view, 13> kBriefingSoundNames = {
    "PREGNDBR",    "ARRVBRIE", "DESBRIEF", "AIRBRIEF", "BUMBRIEF", "ARIVBRIE", "PRETAXBR",
    "FC_APPLAUSE", "FC_CRY",   "FC_GONG",  "TOBRIEF",  "LBRIEF",   "GNDBRIEF"};
// Parts of those names, at least one in each, on which the table keys the briefing rule.
inline constexpr std::array<std::string_view, 7> kBriefingSoundKeys = {
    "BRIEF", "VBRIE", "GNDBR", "TAXBR", "FC_APPLAUSE", "FC_CRY", "FC_GONG"};

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
