#include "structure/chunk_queue.h"

namespace aplpatch {

ChunkQueue::ChunkQueue(std::size_t count, std::size_t capacity, std::size_t batch)
    : capacity_(capacity), batch_(batch), chunks_(count), full_(count, nullptr) {
  buffers_.reserve(count);
  empty_.reserve(count);
  for (Chunk& chunk : chunks_) {
    buffers_.push_back(std::make_unique_for_overwrite<char[]>(capacity));
    chunk.bytes = buffers_.back().get();
    empty_.push_back(&chunk);
  }
}

ChunkQueue::Chunk& ChunkQueue::takeEmpty() {
  std::unique_lock lock(mutex_);
  emptyAvailable_.wait(lock, [this] { return !empty_.empty(); });
  Chunk& chunk = *empty_.back();
  empty_.pop_back();
  chunk.size = 0;
  return chunk;
}

void ChunkQueue::push(Chunk& chunk) {
  std::size_t waiting;
  {
    std::lock_guard lock(mutex_);
    full_[(fullFirst_ + fullCount_) % full_.size()] = &chunk;
    waiting = ++fullCount_;
  }
  if (waiting == batch_) fullAvailable_.notify_one();
}

void ChunkQueue::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  fullAvailable_.notify_one();
}

ChunkQueue::Chunk* ChunkQueue::takeFull() {
  std::unique_lock lock(mutex_);
  if (fullCount_ == 0) fullAvailable_.wait(lock, [this] { return fullCount_ >= batch_ || closed_; });
  if (fullCount_ == 0) return nullptr;
  Chunk* chunk = full_[fullFirst_];
  fullFirst_ = (fullFirst_ + 1) % full_.size();
  --fullCount_;
  return chunk;
}

void ChunkQueue::giveBack(Chunk& chunk) {
  {
    std::lock_guard lock(mutex_);
    empty_.push_back(&chunk);
  }
  emptyAvailable_.notify_one();
}

}  // namespace aplpatch
