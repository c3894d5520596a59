#include "structure/structure_check.h"

#include <cstring>
#include <exception>
#include <new>
#include <system_error>

#include "structure/structure_compare.h"

namespace aplpatch {

namespace {

// As many bytes as the rewrite reads or writes at once, so that a read or a write fills a chunk.
constexpr std::size_t kChunkBytes = 64 * 1024;
// Enough for the two chunks being filled and a few for the worker to catch up on: 512 KiB in all.
// The worker, once it has run dry, sleeps until half of them wait for it.
constexpr std::size_t kChunks = 8;
constexpr std::size_t kBatch = kChunks / 2;

}  // namespace

StructureCheck::StructureCheck(Scanning scanning) {
  if (scanning != Scanning::inBackground) return;
  try {
    queue_ = std::make_unique<ChunkQueue>(kChunks, kChunkBytes, kBatch);
    worker_ = std::thread(&StructureCheck::work, this);
  } catch (const std::bad_alloc&) {
    queue_.reset();
  } catch (const std::system_error&) {
    queue_.reset();
  }
}

StructureCheck::~StructureCheck() { stopWorker(); }

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
  if (ended_[stream] || size == 0) return;
  if (worker_.joinable()) {
    handOver(stream, data, size);
  } else {
    scanInLine(stream, data, size);
  }
}

void StructureCheck::scanInLine(Stream stream, const char* data, std::size_t size) {
  if (failed_) return;
  // Memory, most likely: the check stops, and the rewrite, or the worker, goes on.
  try {
    feeders_[stream].feed(data, size);
  } catch (const std::exception&) {
    failed_ = true;
  }
}

// Copies into the chunk the stream is filling and hands each full chunk to the worker; the last,
// partly filled chunks go when the scan ends.
void StructureCheck::handOver(Stream stream, const char* data, std::size_t size) {
  ChunkQueue::Chunk*& chunk = filling_[stream];
  while (size > 0) {
    if (chunk == nullptr) {
      chunk = &queue_->takeEmpty();
      chunk->stream = stream;
    }
    const std::size_t room = queue_->capacity() - chunk->size;
    const std::size_t n = size < room ? size : room;
    std::memcpy(chunk->bytes + chunk->size, data, n);
    chunk->size += n;
    data += n;
    size -= n;
    if (chunk->size == queue_->capacity()) {
      queue_->push(*chunk);
      chunk = nullptr;
    }
  }
}

void StructureCheck::work() {
  while (ChunkQueue::Chunk* chunk = queue_->takeFull()) {
    scanInLine(static_cast<Stream>(chunk->stream), chunk->bytes, chunk->size);
    queue_->giveBack(*chunk);
  }
}

void StructureCheck::stopWorker() {
  if (!worker_.joinable()) return;
  for (ChunkQueue::Chunk*& chunk : filling_) {
    if (chunk != nullptr) queue_->push(*chunk);
    chunk = nullptr;
  }
  queue_->close();
  worker_.join();
}

std::vector<std::string> StructureCheck::additions() {
  stopWorker();
  ended_ = {true, true};
  if (!failed_) {
    try {
      for (LineFeeder& feeder : feeders_) feeder.finish();
    } catch (const std::exception&) {
      failed_ = true;
    }
  }
  if (failed_) return {"the structure check could not be completed (out of memory)"};
  return rewriteAdditions(structures_[kInput], structures_[kOutput]);
}

}  // namespace aplpatch
