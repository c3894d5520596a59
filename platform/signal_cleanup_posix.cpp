// Interrupts on POSIX systems: remove the unfinished temporaries, then end the way the signal ends
// a program by default, so that the caller sees the signal.

#include <signal.h>
#include <unistd.h>

#include "platform/signal_cleanup.h"

namespace aplpatch::signal_cleanup {

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void removeFile(const char* path) { ::unlink(path); }

void onInterrupt(int signal) {
  removeAll(removeFile);
  // SA_RESETHAND has put the default action back; the signal, blocked while this handler runs,
  // arrives as soon as it returns and ends the program.
  ::raise(signal);
}

}  // namespace

void install() {
  for (int signal : kInterrupts) {
    struct sigaction current {};
    // A program started with the signal ignored (nohup) keeps ignoring it.
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    ::sigfillset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace aplpatch::signal_cleanup
