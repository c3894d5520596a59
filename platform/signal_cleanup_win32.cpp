// Interrupts on Windows: the console calls the handler on a thread of its own. It removes the
// unfinished temporaries and lets the default handler end the process.

#include <windows.h>

#include <atomic>

#include "platform/signal_cleanup.h"
#include "platform/system_win32.h"

namespace aplpatch::signal_cleanup {

namespace {

// The temporaries are opened with FILE_SHARE_DELETE, so they can be removed while still open: the
// name goes at once, the file with the last handle.
void removeFile(const char* path) { DeleteFileW(win32::systemPath(path).c_str()); }

// How many deferrals are alive, and whether an interrupt has begun to end the process. The handler
// runs on a thread of its own, beside the program: each side sets its own before it reads the
// other's, so that either the handler waits for a deferral or the deferral never begins.
std::atomic<int> deferrals{0};
std::atomic<bool> ending{false};

// How long the handler waits for the deferrals to end, at most: a file being created on a share
// that does not answer must not keep the program from ending.
constexpr int kDeferralWaits = 500;
constexpr DWORD kDeferralPause = 10;  // milliseconds

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
    ending.store(true);
    for (int wait = 0; wait < kDeferralWaits && deferrals.load() > 0; ++wait) Sleep(kDeferralPause);
    removeAll(removeFile);
  }
  // Not handled: the next handler, in the end the system's, ends the process.
  return FALSE;
}

}  // namespace

void install() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

Deferral::Deferral() {
  deferrals.fetch_add(1);
  if (ending.load()) {
    // The process is ending: no file may be created that the handler would leave behind.
    deferrals.fetch_sub(1);
    Sleep(INFINITE);
  }
}

Deferral::~Deferral() { deferrals.fetch_sub(1); }

}  // namespace aplpatch::signal_cleanup
