#pragma once

#include <string>
#include <vector>

#include "structure/structure_compare.h"
#include "engine/read_on.h"

namespace aplpatch {

// What a run and a preview say about a rewrite that lost labels of the generated script. None of
// these is called when nothing was lost.

// The console line of a run (ending with LF): how many labels went and the first few names, that
// `script` is compiled as generated and that the rewrite is kept as `keptAs`.
std::string lostLabelsConsoleLine(const std::vector<LostLabel>& lost, const std::string& script,
                                  const std::string& keptAs);

// The preview's line on standard error (ending with LF): that a run would compile `script` as
// generated, and why.
std::string lostLabelsPreviewLine(const std::vector<LostLabel>& lost, const std::string& script);

// The run log's lines (without line ends): the labels lost with their lines, then for each rule
// that read past one of them, its feature's settings name (or "always-on"), the lines it read and
// the closing line it looked for.
std::vector<std::string> lostLabelsLogLines(const std::vector<LostLabel>& lost, const ReadOnLog& readOns);

}  // namespace aplpatch
