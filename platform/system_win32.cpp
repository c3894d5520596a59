// Paths and error texts on Windows.

#include "platform/system_win32.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace aplpatch::win32 {

namespace {

// Shorter than MAX_PATH by the room CreateDirectoryW needs for a file name inside the folder.
constexpr std::size_t kLongPath = MAX_PATH - 12;

}  // namespace

std::wstring fullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

std::wstring systemPath(const std::string& path) {
  std::wstring wide = toWide(path);
  if (wide.starts_with(L"\\\\?\\")) return wide;
  // The limit holds for the full path: a short relative path under a deep working folder passes it.
  std::wstring full = fullPath(wide);
  if (wide.size() < kLongPath && full.size() < kLongPath) return wide;
  // A prefixed path is taken literally, so it must be absolute and use backslashes only.
  if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

unsigned long writeAll(void* handle, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(size < kLargestTransfer ? size : kLargestTransfer);
    if (!::WriteFile(handle, data, chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    data += written;
    size -= written;
  }
  return 0;
}

namespace {

StatusCode codeOf(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return StatusCode::notFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return StatusCode::alreadyExists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
      return StatusCode::accessRefused;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return StatusCode::noSpace;
    case ERROR_OPERATION_ABORTED:
      return StatusCode::interrupted;
    default:
      return StatusCode::other;
  }
}

}  // namespace

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
  if (text.empty()) return Status::failure(codeOf(code), "Windows error " + std::to_string(code));
  return Status::failure(codeOf(code), text + " (error " + std::to_string(code) + ")");
}

Status lastErrorStatus() { return errorStatus(GetLastError()); }

bool isHeldByAnotherProgram(unsigned long code) {
  // A file that another program has open without sharing gives a sharing or lock violation; one
  // that is being deleted or scanned at that moment gives "access denied".
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED;
}

}  // namespace aplpatch::win32
