#pragma once

namespace aplpatch {

// The unfinished temporary files that an interrupt (POSIX: SIGINT, SIGTERM, SIGHUP; Windows: Ctrl-C,
// Ctrl-Break, closing the console) must remove before the program ends. A handler can reach nothing
// but process-wide state, so this registry is the program's one piece of it: a fixed table of
// pointers that the handler reads without locks or allocation, and whether an interrupt must wait.
namespace signal_cleanup {

// Catches the interrupts from now on; a signal that the program was started with ignored stays
// ignored. Each platform defines it.
void install();

// Puts `path` on the list until release(); it must stay valid until then. Returns the slot to pass
// to release(), or -1 when the table is full (the file is then not removed on a signal).
int guard(const char* path);
void release(int slot);

// Calls `remove` on every path on the list; safe in a signal handler when `remove` is.
void removeAll(void (*remove)(const char* path));

// Holds the interrupts back while it lives: one that comes meanwhile takes effect when the last
// deferral ends. Creating a temporary file and putting it on the list happen under one, so that no
// interrupt falls between them and leaves the file behind. Each platform defines it.
class Deferral {
 public:
  Deferral();
  ~Deferral();
  Deferral(const Deferral&) = delete;
  Deferral& operator=(const Deferral&) = delete;
};

}  // namespace signal_cleanup

}  // namespace aplpatch
