#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kCenterLabelStart = "CENTER_";
inline constexpr std::string_view kDepartureCall = "GOSUB DEPARTURE";
inline constexpr std::string_view kWaitVorXLabel = "GOWAITVORX:";
inline constexpr std::string_view kWaitVorLabelStart = "WAIT_VOR";

// These rules run before the line is upper-cased: they test, keep and write lines as read.

// While a centre block is being captured, a line holding "RETURN" ends the capture; any other
// line is kept, unchanged, as the block's next line.
void captureCenterLine(Pass& pass);

// A line starting with "CENTER_" starts a new capture (the label itself is not kept), discarding
// what an earlier block kept and disarming a pending replay.
void startCenterCapture(Pass& pass);

// Keeps the departure key binding ("ONKEY KV(" ... "GOSUB DEPARTURE") without its target: the text
// ahead of "GOSUB DEPARTURE", the blank before it included, without newline.
void keepDepartureKey(Pass& pass);

// "GOWAITVORX:" after a centre block that kept at least one line arms the replay at the closing
// jump of the wait-for-VOR loop.
void armCenterReplay(Pass& pass);

// Gives the wait-for-VOR loop a second entry: at the first line after its "ONKEY KV" bindings,
// writes the loop's label followed by "_MISSED:", a call of the autopilot, and that line itself,
// which then goes on through the pass and is written again.
void addWaitVorMissedEntry(Pass& pass);

}  // namespace aplpatch
