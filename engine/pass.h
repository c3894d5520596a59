#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/console.h"
#include "engine/line_origins.h"
#include "engine/line_reader.h"
#include "engine/line_writer.h"
#include "engine/read_on.h"

namespace aplpatch {

// What a rule works with during one pass over one line, whatever state the rules carry: the line
// buffer, the output, the console, and the input for rules that read further lines themselves. The
// appended subroutine steps get a pass too, with an empty line buffer.
class LinePass {
 public:
  LinePass(std::string& line, std::string& scratch, LineReader& reader, LineWriter& writer,
           Console& console, int number = 0, ReadOnLog* readOns = nullptr)
      : line_(line), scratch_(scratch), reader_(reader), writer_(writer), console_(console),
        number_(number), readOns_(readOns) {}

  // Which pass this is: 1 for the first line's; 0 for the appended subroutine steps. It stops
  // growing at the largest int.
  int number() const { return number_; }

  // The line buffer: what it holds when the pass ends is written.
  std::string& line() { return line_; }
  // A second line buffer for working copies; nothing in it lasts beyond the rule using it.
  std::string& scratch() { return scratch_; }

  // Puts `text` on the output at once, ahead of the current line.
  void write(std::string_view text) { writer_.write(text, origin_); }
  // Prints a progress message on the console.
  void print(std::string_view message) { console_.print(message); }

  // Reads the next input line into the line buffer, replacing the current line. At the end of the
  // input the line buffer becomes empty (so nothing is written for it), the loop ends after this
  // pass, and false is returned: the rule must then stop and write nothing more.
  bool readNextLine();
  // Reads lines into the line buffer until one contains `text`; the lines before it are consumed.
  // At least one line is read. At the end of the input it behaves as readNextLine(). The stretch
  // read goes into the rewrite's log of read-ons, under the name of the rule that is running.
  bool skipUntil(std::string_view text);
  // Reads the next input line into `buffer` without touching the line buffer. At the end of the
  // input it returns false and leaves the line buffer as it is; the loop ends after this pass.
  bool lookAhead(std::string& buffer);
  // Tells the engine that the line buffer now holds a line read ahead: the next pass runs on it
  // instead of reading one.
  void keepLineForNextPass() { lineKept_ = true; }
  bool lineKeptForNextPass() const { return lineKept_; }

  // Ends the pass here: the remaining rules and the final write of the line are skipped.
  void endPass() { ended_ = true; }
  bool ended() const { return ended_; }
  // True once a rule's own read met the end of the input.
  bool inputExhausted() const { return inputExhausted_; }

  // Set by the engine before each rule runs: the origin (see LineOrigins) of what it writes, which
  // also names the rule a read-on is logged under.
  void setRunningRule(std::uint8_t origin) { origin_ = origin; }
  // Set by the engine when the running rule changed more than the letter case of the line buffer:
  // the line is written with that rule's origin.
  void noteLineChanged() { lineOrigin_ = origin_; }
  std::uint8_t lineOrigin() const { return lineOrigin_; }

 private:
  std::string& line_;
  std::string& scratch_;
  LineReader& reader_;
  LineWriter& writer_;
  Console& console_;
  int number_;
  ReadOnLog* readOns_;
  std::uint8_t origin_ = LineOrigins::kAsRead;
  std::uint8_t lineOrigin_ = LineOrigins::kAsRead;
  bool ended_ = false;
  bool lineKept_ = false;
  bool inputExhausted_ = false;
};

// A pass that also hands the rules the state they share, of whatever type the rules define: one
// instance lives for the whole rewrite.
template <typename State>
class BasicPass : public LinePass {
 public:
  BasicPass(std::string& line, std::string& scratch, State& state, LineReader& reader,
            LineWriter& writer, Console& console, int number = 0, ReadOnLog* readOns = nullptr)
      : LinePass(line, scratch, reader, writer, console, number, readOns), state_(state) {}

  State& state() { return state_; }

 private:
  State& state_;
};

}  // namespace aplpatch
