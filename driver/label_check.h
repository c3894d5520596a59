#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_stream.h"

namespace aplpatch {

// A label that the generated script defines and its rewrite does not.
struct LostLabel {
  std::string name;  // in capitals, as compared
  int line = 0;      // the generated script's line that defines it first (from 1)
};

// Gathers the labels a stream of script bytes defines: lines holding a name of letters, digits and
// '_' followed by ':' and nothing else but blanks, names compared in capitals without their leading
// blanks.
class LabelScan {
 public:
  void feed(const char* data, std::size_t size);
  // Takes a last line that has no LF.
  void end();

  // The labels in the order of their first definition, with its line.
  const std::vector<LostLabel>& labels() const { return labels_; }
  bool defines(const std::string& name) const { return names_.count(name) > 0; }

 private:
  void takeLine(std::string_view line);

  // The line read so far, while it may still be a label; past kLongest bytes it cannot be one.
  static constexpr std::size_t kLongest = 1024;
  std::string partial_;
  bool tooLong_ = false;
  int line_ = 0;
  std::vector<LostLabel> labels_;
  std::set<std::string> names_;
};

// What a run attaches to the rewrite to learn whether the rewrite kept every label of the script
// the host generated. The script is scanned as the rewrite reads it and the rewrite as it is
// written; no byte that passes through is changed. The adapters serve only while the check lives.
class LabelCheck {
 public:
  LabelCheck() = default;
  LabelCheck(const LabelCheck&) = delete;
  LabelCheck& operator=(const LabelCheck&) = delete;

  // A pass-through of `generated` that scans what is read. Call once, before the rewrite reads.
  ByteSource& watchInput(ByteSource& generated);
  // A pass-through of `rewritten` that scans what is written. Call once, before the rewrite writes.
  ByteSink& watchOutput(ByteSink& rewritten);

  // After the rewrite: the labels of the generated script that the rewrite lacks, in the order of
  // the script; empty when it keeps every one.
  std::vector<LostLabel> lost();

 private:
  class WatchedSource : public ByteSource {
   public:
    explicit WatchedSource(LabelScan& scan) : scan_(scan) {}
    std::size_t read(char* buffer, std::size_t size) override {
      std::size_t n = inner->read(buffer, size);
      scan_.feed(buffer, n);
      return n;
    }
    ByteSource* inner = nullptr;

   private:
    LabelScan& scan_;
  };

  class WatchedSink : public ByteSink {
   public:
    explicit WatchedSink(LabelScan& scan) : scan_(scan) {}
    bool write(const char* data, std::size_t size) override {
      scan_.feed(data, size);
      return inner->write(data, size);
    }
    ByteSink* inner = nullptr;

   private:
    LabelScan& scan_;
  };

  LabelScan generated_;
  LabelScan rewritten_;
  WatchedSource source_{generated_};
  WatchedSink sink_{rewritten_};
};

}  // namespace aplpatch
