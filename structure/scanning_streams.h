#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/byte_stream.h"
#include "structure/script_structure.h"

namespace aplpatch {

// Cuts a byte stream, given in pieces of any size, into lines at each LF and hands them to a
// ScriptStructure. A line is copied only when it spans two pieces, and then no more of it than the
// structure reads.
class LineFeeder {
 public:
  explicit LineFeeder(ScriptStructure& structure);

  void feed(const char* data, std::size_t size);
  // Hands on a last line that has no LF. Later calls do nothing.
  void finish();

 private:
  void keep(const char* data, std::size_t size);

  ScriptStructure& structure_;
  std::string partial_;  // the start of a line that the next piece continues
  bool inLine_ = false;  // a line has begun and its LF has not come
  bool finished_ = false;
};

// A ByteSource that passes on what it reads from another and feeds the bytes to a structure as
// they go by, so that the script is scanned as the rewrite reads it, without a second read. The
// structure is finished when the inner source reports its end, or by finish().
class ScanningSource : public ByteSource {
 public:
  ScanningSource(ByteSource& inner, ScriptStructure& structure);
  std::size_t read(char* buffer, std::size_t size) override;
  // Ends the scan where reading stopped (also when it stopped before the end of the input).
  void finish();

 private:
  ByteSource& inner_;
  LineFeeder feeder_;
};

// A ByteSink that passes every write on to another and feeds the bytes to a structure: the
// rewrite is scanned as it is written. What a failed write held is scanned too, as the rewrite
// meant it. Call finish() after the last write.
class ScanningSink : public ByteSink {
 public:
  ScanningSink(ByteSink& inner, ScriptStructure& structure);
  bool write(const char* data, std::size_t size) override;
  void finish();

 private:
  ByteSink& inner_;
  LineFeeder feeder_;
};

// The structure of a whole script held in memory (CR LF or LF line ends), finished.
ScriptStructure scanScript(std::string_view bytes);

}  // namespace aplpatch
