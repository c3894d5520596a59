#include "structure/structure_check.h"

#include <exception>

#include "structure/structure_compare.h"

namespace aplpatch {

ByteSource& StructureCheck::watchInput(ByteSource& generated) {
  source_.inner = &generated;
  return source_;
}

ByteSink& StructureCheck::watchOutput(ByteSink& rewritten) {
  sink_.inner = &rewritten;
  return sink_;
}

std::size_t StructureCheck::WatchedSource::read(char* buffer, std::size_t size) {
  const std::size_t got = inner->read(buffer, size);
  if (got == 0 && size > 0) {
    check_.ended_[kInput] = true;
  } else {
    check_.scan(kInput, buffer, got);
  }
  return got;
}

bool StructureCheck::WatchedSink::write(const char* data, std::size_t size) {
  const bool written = inner->write(data, size);
  check_.scan(kOutput, data, size);
  return written;
}

void StructureCheck::scan(Stream stream, const char* data, std::size_t size) {
  if (ended_[stream] || size == 0 || failed_) return;
  // Memory, most likely: the check stops, and the rewrite goes on.
  try {
    feeders_[stream].feed(data, size);
  } catch (const std::exception&) {
    failed_ = true;
  }
}

bool StructureCheck::endScan() {
  ended_ = {true, true};
  if (!failed_) {
    try {
      // Finishing twice does nothing.
      for (LineFeeder& feeder : feeders_) feeder.finish();
    } catch (const std::exception&) {
      failed_ = true;
    }
  }
  return !failed_;
}

std::vector<std::string> StructureCheck::faults(const FindingNote& note) {
  if (!endScan()) return {"the structure check could not be completed (out of memory)"};
  return rewriteFaults(structures_[kInput], structures_[kOutput], note);
}

std::vector<LostLabel> StructureCheck::lostLabels() {
  if (!endScan()) return {};
  return aplpatch::lostLabels(structures_[kOutput], structures_[kInput]);
}

}  // namespace aplpatch
