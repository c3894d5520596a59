#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "base/status.h"
#include "platform/path_style.h"

namespace aplpatch {

// A file open for reading. read() returns 0 at the end of the file and after a read error; status()
// tells the two apart. The destructor closes the file.
class ReadFile : public ByteSource {
 public:
  // Success until a read fails; then the system's reason.
  virtual Status status() const = 0;
  // The file's permission bits as POSIX spells them (0644); 0666 where the system keeps none.
  virtual unsigned permissions() const = 0;
  // Goes back to the first byte, so that the file can be read once more.
  virtual Status rewind() = 0;
};

// A file open for writing. write() takes all bytes or returns false; status() then holds the reason
// and every later write fails too. The destructor closes the file without reporting anything: call
// close() to learn whether the data really arrived.
class WriteFile : public ByteSink {
 public:
  // Success until a write fails; then the system's reason.
  virtual Status status() const = 0;
  // Returns once everything written so far is on the disk.
  virtual Status flushToDisk() = 0;
  // Closes the file. Some systems report a failed write only here.
  virtual Status close() = 0;
};

template <typename File>
struct Opened {
  std::unique_ptr<File> file;  // null when `status` is a failure
  Status status = Status::success();
  // With a failure: another program held the file all the while it was tried; set by the platform.
  bool heldByAnotherProgram = false;
};

// A file created under a name of its own, beside the file it is meant to replace.
struct CreatedTemporary {
  std::unique_ptr<WriteFile> file;  // null when `status` is a failure
  std::string path;                 // the name it was given
  Status status = Status::success();
};

struct ProgramRun {
  // A failure when the program could not be started.
  Status status = Status::success();
  int exitCode = 0;  // the program's exit status when it ended normally
  int signal = 0;    // when not 0, the signal that ended the program (POSIX only)
  std::string signalName;  // "SIGSEGV", with `signal`
  // The last 64 KiB of what the program wrote to its standard output and standard error, which
  // reach this program's own streams as they come as well.
  std::string outputTail;
  std::string errorTail;
};

// Whether a path names a program that the system can start, and why not.
struct ProgramFileCheck {
  bool found = false;      // a file or folder is at the path
  bool startable = false;  // it is a file that the system can start as a program
  // When found but not startable, why, in words that name no path: "a folder", "not a program that
  // the system can start: Exec format error".
  std::string reason;
};

// What became of a temporary file that an earlier run may have left behind.
enum class StaleRemoval {
  kRemoved,      // nobody was writing it: it is gone
  kInUse,        // a running program is writing it: kept
  kCannotTell,   // the system cannot say whether it is in use (no locks there): kept
  kFailed,       // not a plain file, or the system refused otherwise: kept
};

// What is at a path, as the system's file listing tells it without opening the file.
struct FileStamp {
  bool isFile = false;  // a file is there (not a folder)
  // When the file was last written, in the system's own units: only compared with another stamp.
  std::int64_t lastWritten = 0;
};

// Everything a program does to the files, folders and programs of the system; the console is apart
// (program_console.h). Paths are UTF-8; they are passed to the system exactly as given, relative to
// the working directory. A failed call's Status carries the code of the system's error beside its
// words.
class Platform {
 public:
  virtual ~Platform() = default;

  virtual PathStyle pathStyle() const = 0;

  // Creates the folder; one that already exists is fine.
  virtual Status makeFolder(const std::string& path) = 0;
  // Opens a regular file for reading without waiting on it: a FIFO, device, socket or folder is
  // refused with the code StatusCode::notRegularFile and the reason "not a regular file" (Windows
  // keeps its own words, "access denied", for a folder). A file that another program holds for the
  // moment is tried again for about two seconds, as replaceFile() does.
  virtual Opened<ReadFile> openForRead(const std::string& path) = 0;
  // The names of the programs that have the file at `path` open, where the system can tell; empty
  // where it cannot.
  virtual std::vector<std::string> programsHolding(const std::string& path) = 0;
  // Creates the file, or empties one that exists.
  virtual Opened<WriteFile> createForWrite(const std::string& path) = 0;
  // Creates a new, empty file with a unique name in the folder of `target` (never opening, following
  // or emptying anything that is already there) and with the permission bits `permissions`
  // whatever the umask. Windows keeps no bits: the file is a plain one, never read-only. Until the
  // WriteFile is destroyed, removeUnusedTemporary() of another run keeps the file.
  virtual CreatedTemporary createTemporaryBeside(const std::string& target, unsigned permissions) = 0;
  virtual Status removeFile(const std::string& path) = 0;
  // Puts the file `from` in the place of `to` in one step: `to` is either the old file or the new
  // one, never missing. On failure both are left as they were.
  virtual Status replaceFile(const std::string& from, const std::string& to) = 0;
  // Returns once the folder that holds `path` is on the disk as it stands, so that a power cut after
  // a rename into place leaves the new file there. Changes nothing: a failure (some file systems
  // cannot sync a folder) only says that the rename may not be on the disk yet.
  virtual Status syncFolderOf(const std::string& path) = 0;
  // Starts the program file at `path` directly with `arguments` (no command interpreter in between)
  // and waits for it to end. Its standard output and standard error pass through this program to
  // its own, in the order written within each; a stream of ours that is closed or broken only
  // loses what the program writes, never stops it.
  virtual ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) = 0;

  // Finding programs, this program's own file, and what the commands besides a run need.

  // The path of this program's file as the system reports it (not as it was called); empty when
  // the system cannot tell.
  virtual std::string runningProgramPath() = 0;
  // The folders of the search path (PATH) in order, empty entries left out.
  virtual std::vector<std::string> searchPathFolders() = 0;
  // Looks at what is at `path` to tell whether it can be started as a program: a folder cannot, nor
  // a file that is not in one of the system's formats for programs.
  virtual ProgramFileCheck checkProgramFile(const std::string& path) = 0;
  // Whether `path` is a file that can be started as a program; a folder is not.
  bool isProgramFile(const std::string& path) { return checkProgramFile(path).startable; }
  // Whether `path` is a symbolic link, a junction or another reparse point, not what it leads to.
  virtual bool isLink(const std::string& path) = 0;
  // The names of the files in the folder `folder` (the working folder when empty), in no order;
  // none when it cannot be read.
  virtual std::vector<std::string> fileNamesIn(const std::string& folder) = 0;
  // Removes the temporary file at `path` (one that createTemporaryBeside() made) unless a running
  // program still has it open for writing; never follows a link.
  virtual StaleRemoval removeUnusedTemporary(const std::string& path) = 0;
  // Whether a file or folder is at `path`.
  virtual bool exists(const std::string& path) = 0;
  // Gives the file `from` the name `to`. Fails, leaving both as they were, when `to` exists.
  virtual Status moveFile(const std::string& from, const std::string& to) = 0;
  // Gives the file `to` the access permissions of the file `from`, where the system has them.
  virtual Status copyPermissions(const std::string& from, const std::string& to) = 0;
  // The local date and time, as "2026-03-01T14:05:09".
  virtual std::string localTime() = 0;

  // What the choice between a script and the twin that Windows keeps of it needs (driver/virtual_store.h).

  // Whether the system redirects a legacy program's writes into its protected folders to a twin
  // folder of the user's (Windows' file virtualization). POSIX systems never do.
  virtual bool redirectsLegacyPrograms() = 0;
  // The value of the environment variable `name`; empty when it is not set.
  virtual std::string environmentVariable(const std::string& name) = 0;
  // `path` made full against the working folder, as the system resolves it when a file is opened;
  // `path` itself when the system cannot tell.
  virtual std::string fullPath(const std::string& path) = 0;
  // Whether a file is at `path` and when it was last written; no file when the system cannot tell.
  virtual FileStamp fileStamp(const std::string& path) = 0;

  // The user's own folders, where a program keeps what belongs to the user and not to the machine.

  // Where the user's own settings go: the roaming application data folder on Windows (%APPDATA%),
  // $XDG_CONFIG_HOME or ~/.config elsewhere. Empty when the system does not say.
  virtual std::string userSettingsFolder() = 0;
  // Where a program records the user's runs: the local application data folder on Windows
  // (%LOCALAPPDATA%), $XDG_STATE_HOME or ~/.local/state elsewhere. Empty when the system does not say.
  virtual std::string userStateFolder() = 0;
};

// The platform this program was built for.
std::unique_ptr<Platform> makeSystemPlatform();

}  // namespace aplpatch
