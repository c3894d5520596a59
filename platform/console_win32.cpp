// The console on Windows: wide text to a console window, which then shows every letter; otherwise
// bytes, with CR LF line ends, in the console's code page or UTF-8.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/program_console.h"
#include "platform/system_win32.h"
#include "platform/wide_text.h"

namespace aplpatch {

namespace {

std::string encode(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  return bytes;
}

// Writes `text` (UTF-8, "\n" for a line end) to the standard handle `which`: as wide text to a
// console, which then shows every letter; otherwise with CR LF line ends in the console's code page,
// or in UTF-8 when the process has no console. A failed write is lost.
void writeMessage(DWORD which, std::string_view text) {
  HANDLE out = GetStdHandle(which);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;

  std::string withCrLf;
  withCrLf.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') withCrLf += '\r';
    withCrLf += c;
  }
  std::wstring wide = toWide(withCrLf);

  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const wchar_t* data = wide.data();
    std::size_t left = wide.size();
    while (left > 0) {
      DWORD written = 0;
      DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      if (!WriteConsoleW(out, data, chunk, &written, nullptr) || written == 0) return;
      data += written;
      left -= written;
    }
    return;
  }
  // Redirected: in the code page in which the console shows a file, so that the path reads as the
  // user passed it when the file is typed there. Without a console nothing shows the output to a
  // user directly; UTF-8 keeps every letter.
  UINT codePage = GetConsoleOutputCP();
  std::string bytes = encode(wide, codePage != 0 ? codePage : CP_UTF8);
  win32::writeAll(out, bytes.data(), bytes.size());
}

// Standard output for data: raw bytes to whatever it is, never closed by us.
class StandardOutputSink : public ByteSink {
 public:
  bool write(const char* data, std::size_t size) override {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
    return win32::writeAll(out, data, size) == 0;
  }
};

class Win32Console : public ProgramConsole {
 public:
  void print(std::string_view text) override { writeMessage(STD_OUTPUT_HANDLE, text); }
  // print() keeps nothing back.
  void flush() override {}
  void printError(std::string_view text) override { writeMessage(STD_ERROR_HANDLE, text); }
  ByteSink& standardOutput() override { return standardOutput_; }

  bool isInteractive() override {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) && GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
  }

  // A console that cmd or PowerShell opened lists their process too; one made for a program
  // started by a double-click lists that program alone.
  bool ownsConsoleWindow() override {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
  }

  std::optional<std::string> readLine() override {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return std::nullopt;
    DWORD mode = 0;
    std::string line;
    bool any = false;
    if (GetConsoleMode(in, &mode)) {
      // Typed letters arrive as wide text; the line ends with CR LF.
      std::wstring wide;
      wchar_t c;
      DWORD read = 0;
      while (ReadConsoleW(in, &c, 1, &read, nullptr) && read == 1) {
        any = true;
        if (c == L'\n') break;
        if (c != L'\r') wide.push_back(c);
      }
      line = toUtf8(wide);
    } else {
      char c;
      DWORD read = 0;
      while (::ReadFile(in, &c, 1, &read, nullptr) && read == 1) {
        any = true;
        if (c == '\n') break;
        if (c != '\r') line.push_back(c);
      }
    }
    if (!any) return std::nullopt;
    return line;
  }

 private:
  StandardOutputSink standardOutput_;
};

}  // namespace

std::unique_ptr<ProgramConsole> makeSystemConsole() { return std::make_unique<Win32Console>(); }

}  // namespace aplpatch
