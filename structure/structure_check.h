#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "structure/scanning_streams.h"
#include "structure/script_structure.h"
#include "structure/structure_compare.h"

namespace aplpatch {

// What a run attaches to the rewrite to learn what the rewrite adds to the structure of the script
// the host generated. The script is scanned as the rewrite reads it and the rewrite as it is
// written, in line on the calling thread; no byte that passes through is changed. A failure of the
// check (memory) never reaches the rewrite: it shows in faults().
//
// The adapters serve only while the check lives.
class StructureCheck {
 public:
  StructureCheck() = default;
  StructureCheck(const StructureCheck&) = delete;
  StructureCheck& operator=(const StructureCheck&) = delete;

  // A pass-through of `generated` that scans what is read, up to the read that reports the end.
  // Call once, before the rewrite reads.
  ByteSource& watchInput(ByteSource& generated);
  // A pass-through of `rewritten` that scans what is written, what a failed write held too (as the
  // rewrite meant it). Call once, before the rewrite writes.
  ByteSink& watchOutput(ByteSink& rewritten);

  // After the rewrite: the faults that the rewrite brings into the script's structure, one plain
  // line each (empty when none), each followed by what `note` gives for it, or one line saying that
  // the check could not be completed. Ends the scan: the adapters scan nothing more.
  std::vector<std::string> faults(const FindingNote& note = {});

  // After the rewrite: the labels that the generated script defines standing alone and the rewrite
  // lacks, in the order of the script; empty when it keeps every one, and when the check could not
  // be completed. Ends the scan as faults() does.
  std::vector<LostLabel> lostLabels();

 private:
  enum Stream : std::uint8_t { kInput, kOutput, kStreams };

  class WatchedSource : public ByteSource {
   public:
    explicit WatchedSource(StructureCheck& check) : check_(check) {}
    std::size_t read(char* buffer, std::size_t size) override;
    ByteSource* inner = nullptr;

   private:
    StructureCheck& check_;
  };

  class WatchedSink : public ByteSink {
   public:
    explicit WatchedSink(StructureCheck& check) : check_(check) {}
    bool write(const char* data, std::size_t size) override;
    ByteSink* inner = nullptr;

   private:
    StructureCheck& check_;
  };

  // Scans `size` bytes of `stream`, unless the stream has ended or the scan failed.
  void scan(Stream stream, const char* data, std::size_t size);
  // Ends the scan of both streams, once; returns whether it was completed.
  bool endScan();

  // Written by the scan; read after it has ended.
  std::array<ScriptStructure, kStreams> structures_;
  std::array<LineFeeder, kStreams> feeders_{LineFeeder(structures_[kInput]), LineFeeder(structures_[kOutput])};
  bool failed_ = false;  // the scan failed (out of memory); it scanned nothing after that

  WatchedSource source_{*this};
  WatchedSink sink_{*this};
  std::array<bool, kStreams> ended_{};  // the stream takes no more bytes: input at its end, both after the scan
};

}  // namespace aplpatch
