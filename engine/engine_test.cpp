#include "engine/engine.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/line_text.h"
#include "testing/memory_streams.h"

namespace aplpatch {
namespace {

using testing::MemorySink;
using testing::MemorySource;
using testing::RecordingConsole;
using testing::withoutCr;

// The loop needs no state of the rules; a test rule set names one as every rule set does.
struct LoopState {
  int marks = 0;
};

using Pass = BasicPass<LoopState>;
using RuleEntry = BasicRuleEntry<LoopState>;
using Engine = BasicEngine<LoopState>;

// Tells on the console what it saw, in angle brackets, pass by pass.
void recordLine(Pass& pass) {
  pass.print("<");
  pass.print(pass.line());
  pass.print(">");
}

// "SKIP" drops lines up to the next one holding "STOP"; that line goes on through the pass.
void skipToStop(Pass& pass) {
  if (contains(pass.line(), "SKIP") && !pass.skipUntil("STOP")) return;
}

// "PEEK" reads the next line itself and writes it ahead of its own line.
void peekAndWrite(Pass& pass) {
  if (!contains(pass.line(), "PEEK")) return;
  std::string& next = pass.scratch();
  if (pass.lookAhead(next)) pass.write(next);
}

void endAtDrop(Pass& pass) {
  if (contains(pass.line(), "DROP")) pass.endPass();
}

void appendTail(Pass& pass) { pass.write("TAIL\n"); }

struct LoopRun {
  std::string text;
  std::string seen;  // the console
  int lineNo;
};

LoopRun runWith(std::span<const RuleEntry> rules, const std::string& input) {
  MemorySource source(input);
  MemorySink sink;
  RecordingConsole console;
  static constexpr RuleEntry kTail[] = {{"appendTail", appendTail}};
  Engine engine(source, sink, console, rules, kTail);
  engine.rewriteLines();
  engine.appendSubroutines();
  EXPECT_TRUE(engine.finish());
  return {withoutCr(sink.bytes()), console.text(), engine.passes()};
}

TEST(PassLoop, LogsEachReadOnUnderTheRuleThatRan) {
  static constexpr RuleEntry kRules[] = {{"recordLine", recordLine}, {"skipToStop", skipToStop}};
  for (bool prefilter : {true, false}) {
    SCOPED_TRACE(prefilter);
    MemorySource source("A\nSKIP\nB\nSTOP\nC\nSKIP\nD\n");
    MemorySink sink;
    RecordingConsole console;
    Engine engine(source, sink, console, kRules, {}, prefilter);
    engine.rewriteLines();
    const std::vector<ReadOn>& readOns = engine.readOns().kept();
    ASSERT_EQ(readOns.size(), 2u);
    EXPECT_STREQ(readOns[0].rule, "skipToStop");
    EXPECT_EQ(readOns[0].fromLine, 2);
    EXPECT_EQ(readOns[0].toLine, 4);
    EXPECT_EQ(readOns[0].sought, "STOP");
    EXPECT_TRUE(readOns[0].found);
    // The second meets the end of the script first.
    EXPECT_EQ(readOns[1].fromLine, 6);
    EXPECT_EQ(readOns[1].toLine, 7);
    EXPECT_FALSE(readOns[1].found);
  }
}

// Each rule and step is told apart by one byte of origin: an engine takes no more than that tells.
TEST(PassLoop, RefusesMoreRulesAndStepsThanOriginsTellApart) {
  const std::vector<RuleEntry> rules(LineOrigins::kLast - 1, RuleEntry{"recordLine", recordLine});
  const RuleEntry steps[] = {{"appendTail", appendTail}, {"appendTail", appendTail}};
  MemorySource source("A\n");
  MemorySink sink;
  RecordingConsole console;
  EXPECT_NO_THROW(Engine(source, sink, console, rules, std::span(steps).first(1), false));
  EXPECT_THROW(Engine(source, sink, console, rules, steps, false), std::length_error);
}

TEST(PassLoop, EmptyScriptMakesNoPassButAppends) {
  static constexpr RuleEntry kRules[] = {{"recordLine", recordLine}};
  LoopRun run = runWith(kRules, "");
  EXPECT_EQ(run.text, "TAIL\n");
  EXPECT_EQ(run.lineNo, 0);
  EXPECT_EQ(run.seen, "");
}

TEST(PassLoop, EveryPieceOfALongLineIsAPass) {
  static constexpr RuleEntry kRules[] = {{"recordLine", recordLine}};
  std::string longLine(600, 'L');
  LoopRun run = runWith(kRules, longLine + "\nEND");
  EXPECT_EQ(run.lineNo, 4);
  const std::string piece(254, 'L');
  const std::string rest(600 - 2 * 254, 'L');
  EXPECT_EQ(run.seen, "<" + piece + "><" + piece + "><" + rest + "\n><END\n>");
  EXPECT_EQ(run.text, longLine + "\nEND\nTAIL\n");
}

TEST(PassLoop, EndedPassSkipsLaterRulesAndTheWrite) {
  static constexpr RuleEntry kRules[] = {{"endAtDrop", endAtDrop}, {"recordLine", recordLine}};
  LoopRun run = runWith(kRules, "A\nDROP\nB\n");
  EXPECT_EQ(run.text, "A\nB\nTAIL\n");
  EXPECT_EQ(run.seen, "<A\n><B\n>");
}

TEST(PassLoop, SkippedLinesAreConsumedAndNotCounted) {
  static constexpr RuleEntry kRules[] = {{"skipToStop", skipToStop}, {"recordLine", recordLine}};
  LoopRun run = runWith(kRules, "A\nSKIP\nX\nY\nstop STOP\nB\n");
  EXPECT_EQ(run.text, "A\nstop STOP\nB\nTAIL\n");
  EXPECT_EQ(run.lineNo, 3);
}

TEST(PassLoop, OwnReadMeetingTheEndEmptiesTheLineAndEndsTheLoop) {
  static constexpr RuleEntry kRules[] = {{"skipToStop", skipToStop}, {"recordLine", recordLine}};
  LoopRun run = runWith(kRules, "A\nSKIP\nX\nY\n");
  EXPECT_EQ(run.text, "A\nTAIL\n");
  // The rules after the reading one still run, on the empty buffer.
  EXPECT_EQ(run.seen, "<A\n><>");
}

TEST(PassLoop, LookAheadAtTheEndLeavesTheLineAlone) {
  static constexpr RuleEntry kRules[] = {{"peekAndWrite", peekAndWrite}};
  EXPECT_EQ(runWith(kRules, "PEEK\nnext\nPEEK").text, "next\nPEEK\nPEEK\nTAIL\n");
}

TEST(PassLoop, PassCounterStopsAtItsLimit) {
  static constexpr RuleEntry kRules[] = {{"recordLine", recordLine}};
  MemorySource source("A\nB\nC\n");
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, kRules, {}, LoopState{},
                std::numeric_limits<int>::max() - 1);
  engine.rewriteLines();
  EXPECT_EQ(engine.passes(), std::numeric_limits<int>::max());
}

void markLine(Pass& pass) { ++pass.state().marks; }

void writeMarks(Pass& pass) { pass.write(std::to_string(pass.state().marks) + " MARKS\n"); }

// One state lives for the whole run: from the start given, through every pass, into the steps.
TEST(PassLoop, StateCarriesFromTheStartThroughEveryPassToTheSteps) {
  static constexpr RuleEntry kRules[] = {{"markLine", markLine}};
  static constexpr RuleEntry kSteps[] = {{"writeMarks", writeMarks}};
  MemorySource source("A\nB\nC\n");
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, kRules, kSteps, LoopState{10});
  engine.rewriteLines();
  EXPECT_EQ(engine.state().marks, 13);
  engine.appendSubroutines();
  EXPECT_TRUE(engine.finish());
  EXPECT_EQ(withoutCr(sink.bytes()), "A\nB\nC\n13 MARKS\n");
}

void upcaseAll(Pass& pass) { upcaseAscii(pass.line()); }

// "EDIT" gains a mark at its end.
void markEdit(Pass& pass) {
  std::string& line = pass.line();
  const std::size_t at = line.find("EDIT");
  if (at != std::string::npos) line.insert(at + 4, "!");
}

// Each line of the rewrite by the rule its origin names, "" for a line as read.
std::vector<std::string> originsOf(const Engine& engine) {
  std::vector<std::string> rules;
  for (std::size_t line = 1; line <= engine.origins().lines(); ++line) {
    const char* rule = engine.origins().rule(engine.origins().of(static_cast<int>(line)));
    rules.push_back(rule == nullptr ? "" : rule);
  }
  return rules;
}

// A line is as read unless a rule changed more than its letter case or wrote it; a line a rule
// read on its own and kept in the pass is that rule's; the appended steps' lines are theirs. The
// prefilter, which tells changed lines apart on its own, finds the same origins.
TEST(PassLoop, EachLineOfTheRewriteNamesTheRuleThatWroteOrChangedIt) {
  static constexpr RuleEntry kRules[] = {{"upcaseAll", upcaseAll},
                                         {"peekAndWrite", peekAndWrite},
                                         {"skipToStop", skipToStop},
                                         {"markEdit", markEdit},
                                         {"endAtDrop", endAtDrop}};
  static constexpr RuleEntry kTail[] = {{"appendTail", appendTail}};
  const std::string longEdit = std::string(300, 'L') + "EDIT" + std::string(300, 'L');
  const struct {
    std::string input;
    std::vector<std::string> origins;
  } cases[] = {
      {"a\nb\n", {"", ""}},
      {"a\nedit\nb", {"", "markEdit", ""}},
      {"PEEK\nnext\nc\n", {"peekAndWrite", "", ""}},
      {"SKIP\nx\nSTOP\nc\n", {"skipToStop", ""}},
      {"DROP\nc\nDROP\n", {""}},
      // A line longer than a pass is one line of the rewrite: the piece a rule changed names it.
      {longEdit + "\nc\n", {"markEdit", ""}},
      {std::string(600, 'l') + "\nc", {"", ""}},
  };
  for (const auto& c : cases) {
    for (bool prefilter : {true, false}) {
      SCOPED_TRACE(c.input.substr(0, 20) + (prefilter ? " with the prefilter" : ""));
      MemorySource source(c.input);
      MemorySink sink;
      RecordingConsole console;
      Engine engine(source, sink, console, kRules, kTail, prefilter);
      engine.rewriteLines();
      engine.appendSubroutines();
      ASSERT_TRUE(engine.finish());
      std::vector<std::string> expected = c.origins;
      expected.push_back("appendTail");
      EXPECT_EQ(originsOf(engine), expected);
    }
  }
}

}  // namespace
}  // namespace aplpatch
