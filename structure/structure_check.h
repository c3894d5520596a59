#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/byte_stream.h"
#include "structure/chunk_queue.h"
#include "structure/scanning_streams.h"
#include "structure/script_structure.h"

namespace aplpatch {

// What a run attaches to the rewrite to learn what the rewrite adds to the structure of the script
// the host generated. The script is scanned as the rewrite reads it and the rewrite as it is
// written, by default on a thread of its own that takes copies of the bytes, so that the run's path
// carries little more than those copies; without such a thread, in line. Either way the finding is
// the same and no byte that passes through is changed. A failure of the check (memory) never
// reaches the rewrite: it shows in additions().
//
// All calls come from the run's thread, and the adapters serve only while the check lives.
class StructureCheck {
 public:
  enum class Scanning : std::uint8_t {
    inBackground,  // on a thread of its own, in line when that thread cannot be started
    inLine,        // on the calling thread, as the bytes pass
  };

  explicit StructureCheck(Scanning scanning = Scanning::inBackground);
  // Ends the background scan, also when the rewrite stopped early or threw.
  ~StructureCheck();
  StructureCheck(const StructureCheck&) = delete;
  StructureCheck& operator=(const StructureCheck&) = delete;

  // A pass-through of `generated` that scans what is read, up to the read that reports the end.
  // Call once, before the rewrite reads.
  ByteSource& watchInput(ByteSource& generated);
  // A pass-through of `rewritten` that scans what is written, what a failed write held too (as the
  // rewrite meant it). Call once, before the rewrite writes.
  ByteSink& watchOutput(ByteSink& rewritten);

  // After the rewrite: what the rewrite adds, one plain line each (empty when nothing), or one line
  // saying that the check could not be completed. Ends the scan: the adapters scan nothing more.
  std::vector<std::string> additions();

  // Whether the scan runs, or ran, on its own thread.
  bool scansInBackground() const { return queue_ != nullptr; }

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

  // Scans `size` bytes of `stream`, in line or by handing copies to the worker.
  void scan(Stream stream, const char* data, std::size_t size);
  void scanInLine(Stream stream, const char* data, std::size_t size);
  void handOver(Stream stream, const char* data, std::size_t size);
  // The worker's loop: scans chunks until the queue is closed and empty.
  void work();
  // Hands over what is left, lets the worker finish and waits for it. Does nothing without one.
  void stopWorker();

  // Written by the scan (the worker's, or the run's thread in line); read after it has ended.
  std::array<ScriptStructure, kStreams> structures_;
  std::array<LineFeeder, kStreams> feeders_{LineFeeder(structures_[kInput]), LineFeeder(structures_[kOutput])};
  bool failed_ = false;  // the scan failed (out of memory); it scanned nothing after that

  // The run's thread only.
  WatchedSource source_{*this};
  WatchedSink sink_{*this};
  std::array<bool, kStreams> ended_{};  // the stream takes no more bytes: input at its end, both after the scan
  std::unique_ptr<ChunkQueue> queue_;   // set while a worker scans, or did
  std::array<ChunkQueue::Chunk*, kStreams> filling_{};  // the chunk each stream is filling, or nullptr
  std::thread worker_;
};

}  // namespace aplpatch
