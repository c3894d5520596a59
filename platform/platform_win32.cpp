// The platform layer on Windows: wide-character paths, file handles and MoveFileExW.
// Scripts are read and written in binary; the engine does its own CR LF translation, so both
// platforms give the same bytes.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/retry.h"
#include "platform/search_path.h"
#include "platform/signal_cleanup.h"
#include "platform/system_win32.h"
#include "platform/temporary_name.h"
#include "platform/wide_text.h"

namespace aplpatch {

namespace {

using win32::errorStatus;
using win32::kLargestTransfer;
using win32::lastErrorStatus;
using win32::systemPath;

// A file that another program holds is tried again for about two seconds before the open or the
// replace fails.
constexpr int kReplaceAttempts = 20;
constexpr std::chrono::milliseconds kReplacePause{100};

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes the handle; false when the system reports a failure.
  bool reset() {
    if (!valid()) return true;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class Win32ReadFile : public ReadFile {
 public:
  explicit Win32ReadFile(HANDLE handle) : handle_(handle) {}

  // Windows keeps no permission bits; a read-only script's copies are never read-only.
  unsigned permissions() const override { return 0666; }
  Status rewind() override {
    if (!status_.ok()) return status_;
    LARGE_INTEGER start{};
    return SetFilePointerEx(handle_.get(), start, nullptr, FILE_BEGIN) ? Status::success() : lastErrorStatus();
  }

  std::size_t read(char* buffer, std::size_t size) override {
    if (!status_.ok()) return 0;
    DWORD got = 0;
    DWORD wanted = static_cast<DWORD>(size < kLargestTransfer ? size : kLargestTransfer);
    if (!::ReadFile(handle_.get(), buffer, wanted, &got, nullptr)) {
      DWORD error = GetLastError();
      if (error != ERROR_HANDLE_EOF) status_ = errorStatus(error);
      return 0;
    }
    return got;
  }

  Status status() const override { return status_; }

 private:
  Handle handle_;
  Status status_ = Status::success();
};

// A second handle of this process to the same open file; INVALID_HANDLE_VALUE when there is none.
HANDLE duplicate(HANDLE handle) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return INVALID_HANDLE_VALUE;
  return copy;
}

class Win32WriteFile : public WriteFile {
 public:
  // With `holdOpen`, a second handle keeps the file open after close() and until the object is
  // destroyed, so that another run's removeUnusedTemporary() sees it in use.
  explicit Win32WriteFile(HANDLE handle, bool holdOpen = false)
      : handle_(handle), hold_(holdOpen ? duplicate(handle) : INVALID_HANDLE_VALUE) {}

  bool write(const char* data, std::size_t size) override {
    if (!status_.ok()) return false;
    if (!handle_.valid()) {
      status_ = errorStatus(ERROR_INVALID_HANDLE);
      return false;
    }
    unsigned long error = win32::writeAll(handle_.get(), data, size);
    if (error == 0) return true;
    status_ = errorStatus(error);
    return false;
  }

  Status status() const override { return status_; }

  Status flushToDisk() override {
    if (!handle_.valid()) return errorStatus(ERROR_INVALID_HANDLE);
    return FlushFileBuffers(handle_.get()) ? Status::success() : lastErrorStatus();
  }

  Status close() override {
    if (!handle_.valid()) return errorStatus(ERROR_INVALID_HANDLE);
    return handle_.reset() ? Status::success() : lastErrorStatus();
  }

 private:
  Handle handle_;
  Handle hold_;
  Status status_ = Status::success();
};

// The value of the environment variable `name`; empty when it is not set.
std::wstring environmentValue(const wchar_t* name) {
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  if (length == 0 || length >= size) return {};
  value.resize(length);
  return value;
}

// Opens `path` to read its data; a folder is refused (the system says "access denied").
HANDLE openExisting(const std::wstring& path) {
  // Others may go on reading and writing, as with the C runtime's fopen().
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

class Win32Platform : public Platform {
 public:
  Win32Platform() : random_(std::random_device()() ^ GetCurrentProcessId()) { signal_cleanup::install(); }

  PathStyle pathStyle() const override { return kWindowsPathStyle; }

  Status makeFolder(const std::string& path) override {
    std::wstring folder = systemPath(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return Status::success();
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return Status::success();
    return errorStatus(error);
  }

  Opened<ReadFile> openForRead(const std::string& path) override {
    const std::wstring file = systemPath(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    // Only a sharing or lock violation passes: a refused access is the file's own and stays.
    RetryPolicy policy{
        kReplaceAttempts,
        [](unsigned long error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; },
        [] { std::this_thread::sleep_for(kReplacePause); }};
    unsigned long error = retry(
        [&]() -> unsigned long {
          handle = openExisting(file);
          return handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        },
        policy);
    if (handle == INVALID_HANDLE_VALUE) {
      Status status = errorStatus(error);
      // A folder is refused as access denied: its code says what it is, its words stay the system's.
      DWORD attributes = error == ERROR_ACCESS_DENIED ? GetFileAttributesW(file.c_str()) : INVALID_FILE_ATTRIBUTES;
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        status = Status::failure(StatusCode::notRegularFile, status.reason());
      return {nullptr, status, policy.passes(error)};
    }
    // A device (CON, NUL, COM1) or a pipe opens like a file; only a file on a disk is read.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
      CloseHandle(handle);
      return {nullptr, Status::failure(StatusCode::notRegularFile, "not a regular file")};
    }
    return {std::make_unique<Win32ReadFile>(handle), Status::success()};
  }

  std::vector<std::string> programsHolding(const std::string& path) override { return win32::programsHolding(path); }

  Opened<WriteFile> createForWrite(const std::string& path) override {
    HANDLE handle = CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {nullptr, lastErrorStatus()};
    return {std::make_unique<Win32WriteFile>(handle), Status::success()};
  }

  CreatedTemporary createTemporaryBeside(const std::string& target, unsigned /*permissions*/) override {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      std::string path = temporaryNameBeside(target, kWindowsPathStyle.nameSeparators, random_);
      // CREATE_NEW never opens what is already there. FILE_SHARE_DELETE lets an interrupt remove the
      // file while it is still being written.
      HANDLE handle = CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE)
        return {std::make_unique<Win32WriteFile>(handle, true), path, Status::success()};
      DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {nullptr, "", errorStatus(error)};
    }
    return {nullptr, "", errorStatus(ERROR_FILE_EXISTS)};
  }

  Status removeFile(const std::string& path) override {
    return DeleteFileW(systemPath(path).c_str()) ? Status::success() : lastErrorStatus();
  }

  Status replaceFile(const std::string& from, const std::string& to) override {
    std::wstring source = systemPath(from);
    std::wstring target = systemPath(to);
    // Windows refuses to replace a read-only file, and so a read-only script stays as it is; some
    // emulations of the system do not, so the attribute is looked at here.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
      return errorStatus(ERROR_ACCESS_DENIED);
    // A hidden or system file stays one: the new file gets those attributes before it takes the
    // old one's place, so that it never shows as a plain file.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) != 0) {
      DWORD own = GetFileAttributesW(source.c_str());
      if (own != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(source.c_str(), (own & ~FILE_ATTRIBUTE_NORMAL) | (attributes & kKept));
    }
    // MoveFileExW puts the new file in place in one step; a virus scanner or an editor that has
    // the script open for a moment makes it fail with a sharing violation, so try again briefly.
    RetryPolicy policy{kReplaceAttempts, win32::isHeldByAnotherProgram,
                       [] { std::this_thread::sleep_for(kReplacePause); }};
    unsigned long error = retry(
        [&]() -> unsigned long {
          if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
          return GetLastError();
        },
        policy);
    return error == 0 ? Status::success() : errorStatus(error);
  }

  // MoveFileExW is called with MOVEFILE_WRITE_THROUGH (replaceFile(), moveFile()): it returns only
  // once the rename is on the disk, folder included.
  Status syncFolderOf(const std::string&) override { return Status::success(); }

  ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) override {
    return win32::runProgram(path, arguments);
  }

  std::string runningProgramPath() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length == 0) return {};
      // A path that did not fit is cut off and the length equals the buffer's.
      if (length < path.size()) {
        path.resize(length);
        return toUtf8(path);
      }
      path.resize(path.size() * 2);
    }
  }

  std::vector<std::string> searchPathFolders() override {
    std::wstring value = environmentValue(L"PATH");
    return value.empty() ? std::vector<std::string>() : windowsSearchFolders(toUtf8(value));
  }

  ProgramFileCheck checkProgramFile(const std::string& path) override {
    std::wstring wide = systemPath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {true, false, "a folder"};
    // GetBinaryTypeW reads the file's header as CreateProcessW would; 16-bit and DOS programs do not
    // start on the systems this program runs on.
    DWORD type = 0;
    if (!GetBinaryTypeW(wide.c_str(), &type)) {
      Status reason = win32::errorStatusFor(ERROR_BAD_EXE_FORMAT, path);
      return {true, false, "not a program that the system can start: " + reason.reason()};
    }
    if (type != SCS_32BIT_BINARY && type != SCS_64BIT_BINARY)
      return {true, false, "not a program that the system can start: an old 16-bit or DOS program"};
    return {true, true, {}};
  }

  bool exists(const std::string& path) override {
    return GetFileAttributesW(systemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool isLink(const std::string& path) override {
    DWORD attributes = GetFileAttributesW(systemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  }

  std::vector<std::string> fileNamesIn(const std::string& folder) override {
    std::vector<std::string> names;
    std::wstring pattern = systemPath(folder.empty() ? std::string(".") : folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
      pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do {
      if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0)
        names.push_back(toUtf8(found.cFileName));
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
    return names;
  }

  StaleRemoval removeUnusedTemporary(const std::string& path) override {
    // Opened for deletion without sharing anything: that fails with a sharing violation while any
    // other handle is open, such as that of a run still writing the file, and no other run can open
    // it until it is gone.
    HANDLE handle = CreateFileW(systemPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      return GetLastError() == ERROR_SHARING_VIOLATION ? StaleRemoval::kInUse : StaleRemoval::kFailed;
    BY_HANDLE_FILE_INFORMATION information;
    bool plain = GetFileInformationByHandle(handle, &information) &&
                 (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    FILE_DISPOSITION_INFO remove{TRUE};
    bool removed = plain && SetFileInformationByHandle(handle, FileDispositionInfo, &remove, sizeof remove);
    CloseHandle(handle);
    return removed ? StaleRemoval::kRemoved : StaleRemoval::kFailed;
  }

  Status moveFile(const std::string& from, const std::string& to) override {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), MOVEFILE_WRITE_THROUGH)
               ? Status::success()
               : lastErrorStatus();
  }

  // Windows files carry no permission bits that a copy would lose.
  Status copyPermissions(const std::string&, const std::string&) override { return Status::success(); }

  std::string localTime() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
  }

  // Windows redirects a legacy program's writes, whatever its own manifest says of aplpatch.
  bool redirectsLegacyPrograms() override { return true; }

  std::string environmentVariable(const std::string& name) override {
    return toUtf8(environmentValue(toWide(name).c_str()));
  }

  std::string fullPath(const std::string& path) override { return toUtf8(win32::fullPath(toWide(path))); }

  // Windows sets both for every user at logon, from the user's known folders.
  std::string userSettingsFolder() override { return toUtf8(environmentValue(L"APPDATA")); }
  std::string userStateFolder() override { return toUtf8(environmentValue(L"LOCALAPPDATA")); }

  FileStamp fileStamp(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(systemPath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return {};
    ULARGE_INTEGER written;
    written.LowPart = data.ftLastWriteTime.dwLowDateTime;
    written.HighPart = data.ftLastWriteTime.dwHighDateTime;
    return {true, static_cast<std::int64_t>(written.QuadPart)};
  }

 private:
  std::mt19937_64 random_;
};

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace aplpatch
