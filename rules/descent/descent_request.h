#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kTargetAltitudeTest = "IF VALT =";
inline constexpr std::string_view kDepartureLabel = "DEPARTURE:";
inline constexpr std::string_view kTopOfDescentLabel = "SET_TOD_ALT:";
inline constexpr std::string_view kExtraKeyCall = "GOSUB CHECK_XKEY";
inline constexpr std::string_view kAutopilotAltitudeAssignment = "AUTOPILOT_ALTITUDE =";

// The descent request: the pilot may ask for the descent with the extra key before the top of
// descent, and the descent then happens only once, by whichever way comes first. All these rules
// see the line in capitals.

// Keeps the altitude of the first "IF VALT =" line: the text after the line's first "=" up to its
// first "THEN" (or its newline), blanks included. An empty result keeps looking on later lines.
void captureTargetAltitude(Pass& pass);

// While the top-of-descent block is open, keeps a copy of each of its lines; its
// "ONEXP_CLEAR SET_TOD_ALT" line closes the block, marking the descent as done.
void captureTopOfDescentLine(Pass& pass);

// "DEPARTURE:" marks the flight as departed, so a descent may now be requested.
void markDeparture(Pass& pass);

// "SET_TOD_ALT:" opens the top-of-descent block: its body runs only while no descent has happened.
void startTopOfDescentCapture(Pass& pass);
// In its place without the descent request: the label still closes whatever block is open, as
// opening the top-of-descent block would, and the line is unchanged.
void endOpenBlockAtTopOfDescent(Pass& pass);

// The extra key's call of CHECK_XKEY becomes a call of REQ_DESCENT; the rest of the line is dropped.
void rebindExtraKeyToDescentRequest(Pass& pass);

// An autopilot altitude assignment takes effect only while no descent has happened; afterwards the
// captured target altitude is set instead, when there is one.
void guardAutopilotAltitude(Pass& pass);

}  // namespace aplpatch
