#pragma once

// A structure written out as text, so that tests can compare two structures, or one with a
// readable expectation, in one assertion.

#include <string>

#include "structure/script_structure.h"

namespace aplpatch::testing {

inline std::string lineNumbers(std::size_t kept, const int* lines) {
  std::string text;
  for (std::size_t i = 0; i < kept; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(lines[i]);
  }
  return text;
}

// The block problems only, one "kind@lines(label)" each, in the order they were found.
inline std::string problemSummary(const ScriptStructure& structure) {
  static constexpr const char* kKinds[] = {"ifNotClosed",   "whileNotClosed", "endIfWithoutIf", "endWhileWithoutWhile",
                                           "elseWithoutIf", "elseAfterElse",  "nestedTooDeep",
                                           "ifAcrossEntry", "whileAcrossEntry"};
  std::string text;
  for (const BlockProblems& group : structure.blockProblems()) {
    if (!text.empty()) text += ' ';
    text += kKinds[static_cast<int>(group.kind)];
    text += '@';
    text += lineNumbers(group.lines.kept(), group.lines.first.data());
    text += '(';
    if (group.label != NameTable::kNone) text += structure.names().name(group.label);
    text += ')';
  }
  return text;
}

// Every name with its definition and reference lines (and forms), then the problems.
inline std::string fullSummary(const ScriptStructure& structure) {
  std::string text = std::to_string(structure.lines()) + " lines\n";
  for (int id = 0; id < structure.names().size(); ++id) {
    const NameUse& use = structure.use(id);
    text += std::string(structure.names().name(id)) + " defined " + std::to_string(use.definitions.count) + " at " +
            lineNumbers(use.definitions.kept(), use.definitions.first.data()) + ", named " +
            std::to_string(use.references.count) + " at";
    for (std::size_t i = 0; i < use.references.kept(); ++i) {
      const ReferenceSite& site = use.references.first[i];
      text += ' ';
      text += std::to_string(site.line);
      text += '/';
      text += std::to_string(static_cast<int>(site.form));
    }
    text += '\n';
  }
  return text + problemSummary(structure) + '\n';
}

}  // namespace aplpatch::testing
