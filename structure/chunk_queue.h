#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace aplpatch {

// A fixed set of byte buffers that one thread fills and another empties, handed over in the order
// they were filled. All buffers are made at construction, so memory stays bounded and nothing is
// allocated per chunk; the filling thread waits when every buffer is full or taken. An emptier that
// has run dry is woken only when `batch` chunks wait for it (or at the close): waking a sleeping
// thread costs more than scanning a chunk, most of all on a virtual machine.
class ChunkQueue {
 public:
  struct Chunk {
    char* bytes = nullptr;     // `capacity` bytes
    std::size_t size = 0;      // how many hold data; written by the filler, read by the emptier
    std::uint8_t stream = 0;   // which stream the bytes belong to, as the filler names it
  };

  // Throws std::bad_alloc when the buffers cannot be made. `batch` must leave room for the chunks
  // being filled: at most `count` minus their number.
  ChunkQueue(std::size_t count, std::size_t capacity, std::size_t batch);

  std::size_t capacity() const { return capacity_; }

  // The filler's side. takeEmpty() waits until a buffer is free and hands it over with size 0;
  // push() queues a filled one; close() says that no more will come.
  Chunk& takeEmpty();
  void push(Chunk& chunk);
  void close();

  // The emptier's side: the next filled chunk, waiting for it, or nullptr once the queue is closed
  // and every chunk pushed before has been taken. giveBack() returns a chunk for filling again.
  Chunk* takeFull();
  void giveBack(Chunk& chunk);

 private:
  const std::size_t capacity_;
  const std::size_t batch_;
  std::vector<std::unique_ptr<char[]>> buffers_;
  std::vector<Chunk> chunks_;

  std::mutex mutex_;  // guards everything below
  std::condition_variable emptyAvailable_;
  std::condition_variable fullAvailable_;
  std::vector<Chunk*> empty_;  // a stack, room for every chunk
  std::vector<Chunk*> full_;   // a ring of pushed chunks, room for every chunk
  std::size_t fullFirst_ = 0;
  std::size_t fullCount_ = 0;
  bool closed_ = false;
};

}  // namespace aplpatch
