// Interrupts on Windows: the console calls the handler on a thread of its own. It removes the
// unfinished temporaries and lets the default handler end the process.

#include <windows.h>

#include "platform/signal_cleanup.h"
#include "platform/system_win32.h"

namespace aplpatch::signal_cleanup {

namespace {

// The temporaries are opened with FILE_SHARE_DELETE, so they can be removed while still open: the
// name goes at once, the file with the last handle.
void removeFile(const char* path) { DeleteFileW(win32::systemPath(path).c_str()); }

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) removeAll(removeFile);
  // Not handled: the next handler, in the end the system's, ends the process.
  return FALSE;
}

}  // namespace

void install() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

}  // namespace aplpatch::signal_cleanup
