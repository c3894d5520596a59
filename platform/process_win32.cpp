// Starting the compiler on Windows: started with CreateProcessW (no interpreter in between, so no character of the path is taken
// for one of its operators), its output passed on through pipes, waited for, its exit code passed on.

#include <windows.h>

#include "platform/command_line.h"
#include "platform/output_tail.h"
#include "platform/system_win32.h"
#include "platform/wide_text.h"

namespace aplpatch::win32 {

namespace {

// Lets the program inherit a standard handle of ours (it inherits only those marked so).
HANDLE inheritable(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// One stream of the program: a pipe it writes into, passed on to our own handle as it fills.
struct PassedStream {
  HANDLE read = nullptr;
  HANDLE write = nullptr;  // the program's end, inheritable
  HANDLE to = nullptr;     // our standard handle; nothing is passed on when it fails
  OutputTail tail;

  bool open() {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &security, 0)) return false;
    // Our end stays ours alone.
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return true;
  }
  void closeBoth() {
    if (read != nullptr) CloseHandle(read);
    if (write != nullptr) CloseHandle(write);
    read = write = nullptr;
  }
  // Reads until the program has closed its end, passing on what comes while our handle takes it.
  void passOn() {
    char buffer[16 * 1024];
    bool passing = to != nullptr && to != INVALID_HANDLE_VALUE;
    DWORD n = 0;
    while (::ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0) {
      tail.append(std::string_view(buffer, n));
      for (DWORD done = 0; passing && done < n;) {
        DWORD written = 0;
        if (!::WriteFile(to, buffer + done, n - done, &written, nullptr) || written == 0) passing = false;
        done += written;
      }
    }
  }
};

DWORD WINAPI passOnInThread(void* stream) {
  static_cast<PassedStream*>(stream)->passOn();
  return 0;
}

}  // namespace

ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) {
  std::wstring program = systemPath(path);
  std::wstring commandLine = toWide(buildCommandLine(path, arguments));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritable(STD_INPUT_HANDLE);
  PassedStream streams[2];
  streams[0].to = GetStdHandle(STD_OUTPUT_HANDLE);
  streams[1].to = GetStdHandle(STD_ERROR_HANDLE);
  const bool piped = streams[0].open() && streams[1].open();
  if (!piped) {
    for (PassedStream& stream : streams) stream.closeBoth();
  }
  startup.hStdOutput = piped ? streams[0].write : inheritable(STD_OUTPUT_HANDLE);
  startup.hStdError = piped ? streams[1].write : inheritable(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  const Status why = started ? Status::success() : errorStatusFor(GetLastError(), path);
  // Only the program holds the write ends now, so that a read ends when it does.
  for (PassedStream& stream : streams) {
    if (stream.write != nullptr) CloseHandle(stream.write);
    stream.write = nullptr;
  }
  if (!started) {
    for (PassedStream& stream : streams) stream.closeBoth();
    return {why, 0, 0, {}, {}, {}};
  }
  CloseHandle(process.hThread);

  ProgramRun run;
  if (piped) {
    // Two pipes read at once: one read alone could block while the program fills the other.
    HANDLE errors = CreateThread(nullptr, 0, passOnInThread, &streams[1], 0, nullptr);
    streams[0].passOn();
    if (errors != nullptr) {
      WaitForSingleObject(errors, INFINITE);
      CloseHandle(errors);
    } else {
      streams[1].passOn();
    }
    run.outputTail = streams[0].tail.take();
    run.errorTail = streams[1].tail.take();
    for (PassedStream& stream : streams) stream.closeBoth();
  }
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.hProcess, &exitCode)) {
    run.status = lastErrorStatus();
  } else {
    // Passed on bit for bit: a program ended by an exception reports its code (0xC0000005 and the
    // like) as a negative number, which the process exit turns back into the same code.
    run.exitCode = static_cast<int>(exitCode);
  }
  CloseHandle(process.hProcess);
  return run;
}

}  // namespace aplpatch::win32
