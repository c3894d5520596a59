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
  bool called = false;  // some GOSUB, or a binding's GOSUB, enters it as a subroutine
  // The first line that defines it standing alone: a name of ASCII letters, digits and '_', its
  // colon, and nothing after it but blanks (0 for none). Labels that stand alone are the ones a
  // rewrite must keep.
  int aloneLine = 0;
  // Its definitions inside blocks are followed, each new to the innermost block around it, until
  // one lies in a block that closes: the last one followed (an index into the structure's held
  // labels, or -1), how many, and whether one lies in a block that closed.
  int lastHeld = -1;
  int timesHeld = 0;
  bool heldInClosedBlock = false;
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
  ifAcrossEntry,      // an IF paired with an ENDIF past the entry of a subroutine (placed at the IF)
  whileAcrossEntry,   // a WHILE paired with an ENDWHILE past the entry of a subroutine
};
inline constexpr int kBlockProblemKinds = 9;

// The problems of one kind below one label. A problem is placed by the label in force at its line
// (at the opening line for a block left open), so that two rewrites of one script can be compared
// although their line numbers differ. A label defined again does not come into force: which of its
// definitions a line is below cannot be matched between two scripts that define it a different
// number of times.
struct BlockProblems {
  BlockProblem kind = BlockProblem::ifNotClosed;
  int label = NameTable::kNone;  // the label in force, or kNone before the first label
  Occurrences<int> lines;
};

// A block that holds the entry of a subroutine: a label that the script calls is defined between
// the block's opener and its closer. Its ends pair in name only: the subroutine starts inside
// another one's IF or WHILE, so what closes the block belongs to the subroutine, not to the block.
struct BlockAcrossEntry {
  bool isWhile = false;
  int openLine = 0;
  int openLabel = NameTable::kNone;   // the label in force at the opener
  int closeLine = 0;
  int closeLabel = NameTable::kNone;  // the label in force at the closer
  int entry = NameTable::kNone;       // the first subroutine it holds
  int entryLine = 0;                  // where that subroutine's label is
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
  // The problems, grouped by kind and label, in the order each group first occurred; those across
  // a subroutine's entry, known only at the end, come last.
  std::span<const BlockProblems> blockProblems() const { return problems_; }
  // The blocks that hold a subroutine's entry and are closed, in the order of their openers. Set by
  // finish().
  std::span<const BlockAcrossEntry> blocksAcrossEntries() const { return acrossEntries_; }
  // The lines read so far.
  int lines() const { return lines_; }

 private:
  struct OpenBlock {
    bool isWhile;   // a WHILE loop, else an IF block
    bool elseSeen;  // the IF block's ELSE has come
    int line;
    int label;
    int heldFrom;   // the size of heldLabels_ when it opened: the labels after that lie inside it
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
    if (name.empty()) return;
    NameUse& use = uses_[static_cast<std::size_t>(nameId(name))];
    use.references.add({lines_, form});
    if (form == ReferenceForm::call) use.called = true;
  }
  // Reads a line that may shape the structure.
  void readStructure(std::string_view line, FirstWord word);
  int nameId(std::string_view name);
  // `alone`: the label stands alone on its line (see NameUse::aloneLine).
  void defineLabel(std::string_view name, bool alone);
  void noteProblem(BlockProblem kind, int label, int line);
  void open(bool isWhile) {
    if (openBlocks_.size() < kMaxDepth) {
      openBlocks_.push_back({isWhile, false, lines_, currentLabel_, static_cast<int>(heldLabels_.size())});
    } else {
      openTooDeep();
    }
  }
  // A closer that closes the innermost block is the common case; closeOther() does the rest.
  void close(bool isWhile) {
    if (blocksTooDeep_ == 0 && !openBlocks_.empty() && openBlocks_.back().isWhile == isWhile) {
      if (static_cast<int>(heldLabels_.size()) > openBlocks_.back().heldFrom) keepHeldBlock(openBlocks_.back());
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
  // Keeps `block`, closed at this line, which holds labels followed inside blocks.
  void keepHeldBlock(const OpenBlock& block);
  void findBlocksAcrossEntries();

  // At most this many definitions of one label are followed, so that blocks that never close
  // cannot make the held labels grow with the script.
  static constexpr int kHeldPerLabel = 4;

  // A label's definition inside a block.
  struct HeldLabel {
    int label;
    int line;
  };
  // A closed block and the labels it holds: heldLabels_ from heldFrom to heldTo.
  struct HeldBlock {
    bool isWhile;
    int openLine;
    int openLabel;
    int closeLine;
    int closeLabel;
    int heldFrom;
    int heldTo;
  };

  LineStatement statement_;      // the line being read
  std::vector<char> lineCopy_;  // a line copied with room after it, when it has none or is too long
  NameTable names_;
  std::vector<NameUse> uses_;  // by name id
  std::vector<BlockProblems> problems_;
  std::unordered_map<std::int64_t, std::size_t> problemIndex_;  // (label, kind) -> its group in problems_
  std::vector<OpenBlock> openBlocks_;  // innermost last, at most kMaxDepth
  // The definitions followed inside blocks, in line order: at most kHeldPerLabel for each name.
  // The blocks that close around one of them are the blocks across the label's entry, if it is one.
  std::vector<HeldLabel> heldLabels_;
  // Each holds one of those definitions, as the blocks nested around it do: no more of them than
  // those definitions times the depth of the blocks around them.
  std::vector<HeldBlock> heldBlocks_;
  std::vector<BlockAcrossEntry> acrossEntries_;
  std::size_t blocksTooDeep_ = 0;  // blocks open beyond kMaxDepth, whose kind is not kept
  int currentLabel_ = NameTable::kNone;  // the label in force: the last one defined for the first time
  int lines_ = 0;
  bool lineCut_ = false;  // the line being read was longer than kMaxLineBytes: it defines no label alone
  bool finished_ = false;
};

}  // namespace aplpatch
