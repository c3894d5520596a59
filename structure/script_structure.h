#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "structure/apl_line.h"
#include "structure/name_table.h"

namespace aplpatch {

// Where a name or a problem occurs: the total, and the lines of the first few occurrences.
template <typename Site>
struct Occurrences {
  static constexpr std::size_t kKept = 4;

  int count = 0;  // every occurrence, up to the largest int
  std::array<Site, kKept> first{};  // the first min(count, kKept) of them, in line order

  std::size_t kept() const { return count < static_cast<int>(kKept) ? static_cast<std::size_t>(count) : kKept; }
  void add(const Site& site) {
    if (count < static_cast<int>(kKept)) first[static_cast<std::size_t>(count)] = site;
    if (count < std::numeric_limits<int>::max()) ++count;
  }
};

struct ReferenceSite {
  int line = 0;
  ReferenceForm form = ReferenceForm::jump;
};

// What a script does with one name.
struct NameUse {
  Occurrences<int> definitions;           // label lines
  Occurrences<ReferenceSite> references;  // jumps, calls and cleared triggers naming it
  // The label in force where this one was first defined (NameTable::kNone before the first
  // label), so that a problem below a label that another script lacks can be placed below one it has.
  int labelBefore = NameTable::kNone;
};

// A way in which IF/ELSEIF/ELSE/ENDIF and WHILE/ENDWHILE fail to pair.
enum class BlockProblem : std::uint8_t {
  ifNotClosed,        // an IF block that no ENDIF closes
  whileNotClosed,     // a WHILE loop that no ENDWHILE closes
  endIfWithoutIf,     // an ENDIF with no open IF
  endWhileWithoutWhile,
  elseWithoutIf,      // an ELSE or ELSEIF where the innermost open block is no IF
  elseAfterElse,      // an ELSE or ELSEIF after the ELSE of the same IF
  nestedTooDeep,      // blocks nested deeper than ScriptStructure::kMaxDepth; pairing below is not checked
};
inline constexpr int kBlockProblemKinds = 7;

// The problems of one kind below one label. A problem is placed by the label in force at its line
// (at the opening line for a block left open), so that two rewrites of one script can be compared
// although their line numbers differ.
struct BlockProblems {
  BlockProblem kind = BlockProblem::ifNotClosed;
  int label = NameTable::kNone;  // the label in force, or kNone before the first label
  Occurrences<int> lines;
};

// The structure of one script, learnt a line at a time in one forward pass: the labels it defines,
// the labels its jumps, calls and bindings name, and how its blocks pair. Memory grows with the
// number of different names and problems, not with the script: after its tables have grown, a line
// allocates nothing.
class ScriptStructure {
 public:
  // How many bytes of a line are read; the rest of a longer line is passed over.
  static constexpr std::size_t kMaxLineBytes = 1024;
  // How deeply blocks are followed.
  static constexpr std::size_t kMaxDepth = 1000;

  ScriptStructure();

  // Reads the next line, without its LF (a CR before it is ignored).
  void addLine(std::string_view line);
  // The same, without copying the line first: the kLinePadding bytes after `line` must be readable.
  void addPaddedLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineBytes) {
      addLine(line);
      return;
    }
    addCutLine(line);
  }
  // Ends the script: every block still open becomes a problem. Call once, after the last line.
  void finish();

  // Written by addLine(), read by the comparisons.
  const NameTable& names() const { return names_; }
  const NameUse& use(int id) const { return uses_[static_cast<std::size_t>(id)]; }
  // The problems, grouped by kind and label, in the order each group first occurred.
  std::span<const BlockProblems> blockProblems() const { return problems_; }
  // The lines read so far.
  int lines() const { return lines_; }

 private:
  struct OpenBlock {
    bool isWhile;   // a WHILE loop, else an IF block
    bool elseSeen;  // the IF block's ELSE has come
    int line;
    int label;
  };

  // Counts a line without its CR, cut to kMaxLineBytes, with kLinePadding bytes after it, and reads
  // it when it may shape the structure. Most lines are passed over here, after their first eight
  // bytes, without a call.
  void addCutLine(std::string_view line) {
    if (lines_ < std::numeric_limits<int>::max()) ++lines_;
    const std::size_t start = detail::blankRun(line.data());
    if (!surelyPlain(line.data() + start)) readFirstWord(line, start);
  }
  // Reads a line whose first word starts at `start`.
  void readFirstWord(std::string_view line, std::size_t start);
  void addReference(std::string_view name, ReferenceForm form) {
    if (!name.empty()) uses_[static_cast<std::size_t>(nameId(name))].references.add({lines_, form});
  }
  // Reads a line that may shape the structure.
  void readStructure(std::string_view line, FirstWord word);
  int nameId(std::string_view name);
  void defineLabel(std::string_view name);
  void noteProblem(BlockProblem kind, int label, int line);
  void open(bool isWhile) {
    if (openBlocks_.size() < kMaxDepth) {
      openBlocks_.push_back({isWhile, false, lines_, currentLabel_});
    } else {
      openTooDeep();
    }
  }
  // A closer that closes the innermost block is the common case; closeOther() does the rest.
  void close(bool isWhile) {
    if (blocksTooDeep_ == 0 && !openBlocks_.empty() && openBlocks_.back().isWhile == isWhile) {
      openBlocks_.pop_back();
    } else {
      closeOther(isWhile);
    }
  }
  void continueIf(bool isElse) {
    if (blocksTooDeep_ == 0 && !openBlocks_.empty() && !openBlocks_.back().isWhile && !openBlocks_.back().elseSeen) {
      openBlocks_.back().elseSeen = isElse;
    } else {
      continueOther(isElse);
    }
  }
  void openTooDeep();
  void closeOther(bool isWhile);
  void continueOther(bool isElse);

  LineStatement statement_;      // the line being read
  std::vector<char> lineCopy_;  // a line copied with room after it, when it has none or is too long
  NameTable names_;
  std::vector<NameUse> uses_;  // by name id
  std::vector<BlockProblems> problems_;
  std::unordered_map<std::int64_t, std::size_t> problemIndex_;  // (label, kind) -> its group in problems_
  std::vector<OpenBlock> openBlocks_;  // innermost last, at most kMaxDepth
  std::size_t blocksTooDeep_ = 0;  // blocks open beyond kMaxDepth, whose kind is not kept
  int currentLabel_ = NameTable::kNone;
  int lines_ = 0;
  bool finished_ = false;
};

}  // namespace aplpatch
