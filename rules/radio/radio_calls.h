#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kTrafficCall = "VOICE3\\FC_N016\"";
inline constexpr std::string_view kPlayCallLabel = "PLAYCALL:";
inline constexpr std::string_view kPlayCallEnd = "RETURN";
inline constexpr std::string_view kVoiceTest = "IF VVOICE =";

// After the third voice's traffic call ("VOICE3\FC_N016"), closes its branch and plays the traffic
// information and a radio call. The lines up to the next "ELSE" line (which "ELSEIF" lines are too)
// are dropped; that line becomes the current line, as read. At the end of the input the rule stops
// writing.
void followTrafficCall(Pass& pass);

// In its place without the radio calls: the lines up to the next "ELSE" line stay, unseen by the
// other rules, as the traffic call hides them.
void keepTrafficCallBranch(Pass& pass);

// Inside the radio-call subroutine PLAYCALL (from its label to the next "RETURN"), plays the first
// line of each voice branch only with a chance of 60 in 100. The gated line is read from the input
// and written as read; at the end of the input the rule stops writing.
void gatePlayCallVoices(Pass& pass);

// In its place without the radio calls: each voice branch stays ungated, and its first line is kept
// unseen by the other rules, as the gate hides it.
void keepPlayCallVoices(Pass& pass);

}  // namespace aplpatch
