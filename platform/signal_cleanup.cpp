#include "platform/signal_cleanup.h"

#include <atomic>

namespace aplpatch::signal_cleanup {

namespace {

// A run holds at most a few temporaries at once (the new script, a backup, the log).
constexpr int kSlots = 16;

// Lock-free atomics are safe to read in a signal handler; the table is static because a handler
// receives nothing but the signal number.
std::atomic<const char*> slots[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

}  // namespace

int guard(const char* path) {
  for (int slot = 0; slot < kSlots; ++slot) {
    const char* empty = nullptr;
    if (slots[slot].compare_exchange_strong(empty, path)) return slot;
  }
  return -1;
}

void release(int slot) {
  if (slot >= 0 && slot < kSlots) slots[slot].store(nullptr);
}

void removeAll(void (*remove)(const char* path)) {
  for (std::atomic<const char*>& slot : slots) {
    if (const char* path = slot.load()) remove(path);
  }
}

}  // namespace aplpatch::signal_cleanup
