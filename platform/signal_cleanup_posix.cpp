// Interrupts on POSIX systems: remove the unfinished temporaries, then end the way the signal ends
// a program by default, so that the caller sees the signal.

#include <signal.h>
#include <unistd.h>

#include "platform/signal_cleanup.h"

namespace aplpatch::signal_cleanup {

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// How many deferrals are alive, and the signal mask from before the first of them.
int deferrals = 0;
sigset_t maskBeforeDeferral;

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

Deferral::Deferral() {
  if (deferrals++ > 0) return;
  sigset_t interrupts;
  ::sigemptyset(&interrupts);
  for (int signal : kInterrupts) ::sigaddset(&interrupts, signal);
  ::sigprocmask(SIG_BLOCK, &interrupts, &maskBeforeDeferral);
}

Deferral::~Deferral() {
  // A signal that came meanwhile is delivered as soon as it is unblocked.
  if (--deferrals == 0) ::sigprocmask(SIG_SETMASK, &maskBeforeDeferral, nullptr);
}

}  // namespace aplpatch::signal_cleanup
