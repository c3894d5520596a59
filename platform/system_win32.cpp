// Paths, error texts and standard output on Windows.

#include "platform/system_win32.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace aplpatch::win32 {

namespace {

// Shorter than MAX_PATH by the room CreateDirectoryW needs for a file name inside the folder.
constexpr std::size_t kLongPath = MAX_PATH - 12;

std::wstring fullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

bool writeAll(HANDLE out, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!::WriteFile(out, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

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

}  // namespace

std::wstring systemPath(const std::string& path) {
  std::wstring wide = toWide(path);
  if (wide.size() < kLongPath || wide.starts_with(L"\\\\?\\")) return wide;
  // A prefixed path is taken literally, so it must be absolute and use backslashes only.
  std::wstring full = fullPath(wide);
  if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

Status errorStatus(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? toUtf8(std::wstring_view(buffer, length)) : std::string();
  LocalFree(buffer);
  // The system's texts end in a full stop and a line end; the run sequence adds its own.
  std::size_t end = text.find_last_not_of(". \r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  if (text.empty()) return Status::failure("Windows error " + std::to_string(code));
  return Status::failure(text + " (error " + std::to_string(code) + ")");
}

Status lastErrorStatus() { return errorStatus(GetLastError()); }

bool isHeldByAnotherProgram(unsigned long code) {
  // A file that another program has open without sharing gives a sharing or lock violation; one
  // that is being deleted or scanned at that moment gives "access denied".
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED;
}

namespace {

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
  writeAll(out, bytes.data(), bytes.size());
}

}  // namespace

void writeToStandardOutput(std::string_view text) { writeMessage(STD_OUTPUT_HANDLE, text); }

void writeToStandardError(std::string_view text) { writeMessage(STD_ERROR_HANDLE, text); }

}  // namespace aplpatch::win32
