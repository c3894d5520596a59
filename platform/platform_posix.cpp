// The platform layer on POSIX systems: plain file descriptors and posix_spawn.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/output_tail.h"
#include "platform/platform.h"
#include "platform/posix_io.h"
#include "platform/search_path.h"
#include "platform/signal_cleanup.h"
#include "platform/temporary_name.h"

extern char** environ;

namespace aplpatch {

namespace {

StatusCode codeOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return StatusCode::notFound;
    case EEXIST:
      return StatusCode::alreadyExists;
    case EISDIR:
      return StatusCode::notRegularFile;
    case EACCES:
    case EPERM:
    case EROFS:
      return StatusCode::accessRefused;
    case ENOSPC:
    case EDQUOT:
      return StatusCode::noSpace;
    case EINTR:
      return StatusCode::interrupted;
    default:
      return StatusCode::other;
  }
}

Status errnoStatus(int error) { return Status::failure(codeOf(error), std::strerror(error)); }

Status lastError() { return errnoStatus(errno); }

// Opens `path` for reading. O_NONBLOCK keeps a FIFO without a writer from holding the run up; only a
// regular file is kept, and it is then read the usual, blocking way.
int openRegularFile(const std::string& path, Status& status, struct stat& info) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    status = lastError();
    return -1;
  }
  if (::fstat(fd, &info) != 0) {
    status = lastError();
  } else if (!S_ISREG(info.st_mode)) {
    status = Status::failure(StatusCode::notRegularFile, "not a regular file");
  } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    status = lastError();
  } else {
    return fd;
  }
  ::close(fd);
  return -1;
}

// The folder that holds `path`: what comes before its last slash ("/" at the root), or the working
// folder. Only the slash separates here; a backslash is a letter of a name.
std::string folderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The name of a signal as the shell prints it, for the common ones.
std::string signalName(int signal) {
  static constexpr struct {
    int number;
    const char* name;
  } kNames[] = {
      {SIGHUP, "SIGHUP"},   {SIGINT, "SIGINT"},   {SIGQUIT, "SIGQUIT"}, {SIGILL, "SIGILL"},
      {SIGTRAP, "SIGTRAP"}, {SIGABRT, "SIGABRT"}, {SIGBUS, "SIGBUS"},   {SIGFPE, "SIGFPE"},
      {SIGKILL, "SIGKILL"}, {SIGUSR1, "SIGUSR1"}, {SIGSEGV, "SIGSEGV"}, {SIGUSR2, "SIGUSR2"},
      {SIGPIPE, "SIGPIPE"}, {SIGALRM, "SIGALRM"}, {SIGTERM, "SIGTERM"}, {SIGXCPU, "SIGXCPU"},
      {SIGXFSZ, "SIGXFSZ"}, {SIGSYS, "SIGSYS"},
  };
  for (const auto& entry : kNames) {
    if (entry.number == signal) return entry.name;
  }
  return "unknown signal";
}

// Gives each of standard input, output and error that was closed at start /dev/null, so that no
// file the program opens later can take its number and receive console output.
void occupyClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open() takes the lowest free number, which is `fd` while the lower ones are open.
    int opened = ::open("/dev/null", O_RDWR);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

class PosixReadFile : public ReadFile {
 public:
  PosixReadFile(int fd, unsigned permissions) : fd_(fd), permissions_(permissions) {}
  ~PosixReadFile() override { ::close(fd_); }

  std::size_t read(char* buffer, std::size_t size) override {
    if (!status_.ok()) return 0;
    ssize_t n = posix::readSome(fd_, buffer, size);
    if (n < 0) {
      status_ = lastError();
      return 0;
    }
    return static_cast<std::size_t>(n);
  }

  Status status() const override { return status_; }
  unsigned permissions() const override { return permissions_; }
  Status rewind() override {
    if (!status_.ok()) return status_;
    return ::lseek(fd_, 0, SEEK_SET) == 0 ? Status::success() : lastError();
  }

 private:
  int fd_;
  unsigned permissions_;
  Status status_ = Status::success();
};

class PosixWriteFile : public WriteFile {
 public:
  // `lock`, when not -1, is a second descriptor of the same open file that keeps its advisory lock
  // after close() and until the object is destroyed.
  explicit PosixWriteFile(int fd, int lock = -1) : fd_(fd), lock_(lock) {}
  ~PosixWriteFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (lock_ >= 0) ::close(lock_);
  }

  bool write(const char* data, std::size_t size) override {
    if (!status_.ok()) return false;
    if (fd_ < 0) {
      status_ = errnoStatus(EBADF);
      return false;
    }
    if (posix::writeAll(fd_, data, size)) return true;
    status_ = lastError();
    return false;
  }

  Status status() const override { return status_; }

  Status flushToDisk() override {
    if (fd_ < 0) return errnoStatus(EBADF);
    return ::fsync(fd_) == 0 ? Status::success() : lastError();
  }

  Status close() override {
    if (fd_ < 0) return errnoStatus(EBADF);
    // The descriptor is gone after close() whatever it returns, so it is never retried.
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? Status::success() : lastError();
  }

 private:
  int fd_;
  int lock_;
  Status status_ = Status::success();
};

// Whether `fd` is still the file named `path`: a run that removes stale temporaries may have taken
// the name away between the create and the lock.
bool stillNamed(int fd, const std::string& path) {
  struct stat opened;
  struct stat named;
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// Whether a failed flock() says that the file system keeps no locks at all.
bool locksUnsupported(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS;
}

// Copies what a program writes into the pipes `output` and `errors` to our standard output and
// standard error until it closes both, keeping the tail of each in `run`; closes both pipes. A
// stream of ours that fails takes no more, but its pipe is still read, so the program never blocks
// or meets a broken pipe.
void passOn(int output, int errors, ProgramRun& run) {
  struct Stream {
    int from;
    int to;
    bool open = true;
    bool passing = true;
    OutputTail tail;
  };
  Stream streams[2] = {{output, STDOUT_FILENO, true, true, {}}, {errors, STDERR_FILENO, true, true, {}}};
  char buffer[16 * 1024];
  while (streams[0].open || streams[1].open) {
    pollfd waiting[2];
    nfds_t count = 0;
    for (Stream& stream : streams) {
      if (stream.open) waiting[count++] = {stream.from, POLLIN, 0};
    }
    if (::poll(waiting, count, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (waiting[i].revents == 0) continue;
      Stream& stream = waiting[i].fd == streams[0].from ? streams[0] : streams[1];
      ssize_t n = ::read(stream.from, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        stream.open = false;
        continue;
      }
      stream.tail.append(std::string_view(buffer, static_cast<std::size_t>(n)));
      for (ssize_t done = 0; stream.passing && done < n;) {
        ssize_t written = ::write(stream.to, buffer + done, static_cast<std::size_t>(n - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) stream.passing = false;
        done += written;
      }
    }
  }
  for (Stream& stream : streams) ::close(stream.from);
  run.outputTail = streams[0].tail.take();
  run.errorTail = streams[1].tail.take();
}

class PosixPlatform : public Platform {
 public:
  PosixPlatform() : random_(std::random_device()()) {
    occupyClosedStandardStreams();
    signal_cleanup::install();
    // A console that has gone away (a closed pipe) must not end the run between the rewrite and the
    // replace: a failed console write is simply lost.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, nullptr);
  }

  PathStyle pathStyle() const override { return kPosixPathStyle; }

  Status makeFolder(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0) return Status::success();
    int error = errno;
    struct stat info;
    if (error == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
      return Status::success();
    return errnoStatus(error);
  }

  Opened<ReadFile> openForRead(const std::string& path) override {
    Status status = Status::success();
    struct stat info;
    int fd = openRegularFile(path, status, info);
    if (fd < 0) return {nullptr, status};
    return {std::make_unique<PosixReadFile>(fd, info.st_mode & 0777), Status::success()};
  }

  // POSIX systems hold no file against a reader: nothing to name.
  std::vector<std::string> programsHolding(const std::string&) override { return {}; }

  Opened<WriteFile> createForWrite(const std::string& path) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return {nullptr, lastError()};
    return {std::make_unique<PosixWriteFile>(fd), Status::success()};
  }

  CreatedTemporary createTemporaryBeside(const std::string& target, unsigned permissions) override {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      std::string path = temporaryNameBeside(target, "/", random_);
      // O_EXCL with O_NOFOLLOW: a name that exists, as a file or as a link, is never opened.
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return {nullptr, "", lastError()};
      }
      // Locked while it is written, so that another run knows it is no leftover (flock: the lock
      // belongs to the open file, which the second descriptor keeps open after close()). Where the
      // file system keeps no locks, the file goes unlocked and no run removes it.
      if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && !locksUnsupported(errno)) {
        ::close(fd);
        continue;
      }
      if (!stillNamed(fd, path)) {
        ::close(fd);
        continue;
      }
      // Set apart from open(), which the umask would narrow.
      if (::fchmod(fd, permissions & 0777) != 0) {
        Status status = lastError();
        ::close(fd);
        ::unlink(path.c_str());
        return {nullptr, "", status};
      }
      int lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
      return {std::make_unique<PosixWriteFile>(fd, lock), path, Status::success()};
    }
    return {nullptr, "", errnoStatus(EEXIST)};
  }

  Status removeFile(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? Status::success() : lastError();
  }

  Status replaceFile(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? Status::success() : lastError();
  }

  // A rename is on the disk once its folder is: the folder is opened read-only and synced.
  Status syncFolderOf(const std::string& path) override {
    int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastError();
    Status status = ::fsync(fd) == 0 ? Status::success() : lastError();
    ::close(fd);
    return status;
  }

  ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) override {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The compiler starts with the usual handling of a closed console, not with ours.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t defaults;
    ::sigemptyset(&defaults);
    ::sigaddset(&defaults, SIGPIPE);
    ::posix_spawnattr_setsigdefault(&attributes, &defaults);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    // The program writes into two pipes, which are passed on to our streams as they fill.
    int output[2] = {-1, -1};
    int errors[2] = {-1, -1};
    const bool piped = ::pipe2(output, O_CLOEXEC) == 0 && ::pipe2(errors, O_CLOEXEC) == 0;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (piped) {
      ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
      ::posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    }

    pid_t child = 0;
    int error = ::posix_spawn(&child, path.c_str(), piped ? &actions : nullptr, &attributes, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    ProgramRun run;
    for (int* pipe : {output, errors}) {
      if (pipe[1] >= 0) ::close(pipe[1]);
      if (error != 0 && pipe[0] >= 0) ::close(pipe[0]);
    }
    if (error != 0) return {errnoStatus(error), 0, 0, {}, {}, {}};
    if (piped) passOn(output[0], errors[0], run);

    int waitStatus = 0;
    while (::waitpid(child, &waitStatus, 0) < 0) {
      if (errno != EINTR) {
        run.status = lastError();
        return run;
      }
    }
    if (WIFEXITED(waitStatus)) {
      run.exitCode = WEXITSTATUS(waitStatus);
      return run;
    }
    run.signal = WTERMSIG(waitStatus);
    run.signalName = signalName(run.signal);
    return run;
  }

  std::string runningProgramPath() override {
    std::string path(256, '\0');
    for (;;) {
      ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
      if (length < 0) return {};
      if (static_cast<std::size_t>(length) < path.size()) {
        path.resize(static_cast<std::size_t>(length));
        return path;
      }
      path.resize(path.size() * 2);
    }
  }

  std::vector<std::string> searchPathFolders() override {
    const char* value = std::getenv("PATH");
    return value == nullptr ? std::vector<std::string>() : posixSearchFolders(value);
  }

  ProgramFileCheck checkProgramFile(const std::string& path) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return {::lstat(path.c_str(), &info) == 0, false, "a broken link"};
    if (S_ISDIR(info.st_mode)) return {true, false, "a folder"};
    if (!S_ISREG(info.st_mode)) return {true, false, "not a regular file"};
    if (::access(path.c_str(), X_OK) != 0) return {true, false, "not executable: " + std::string(std::strerror(errno))};
    // The kernel starts an ELF file or a script with its interpreter on the first line; for any
    // other file posix_spawn() fails only once the script has been rewritten.
    char start[4] = {};
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {true, false, "cannot be read: " + std::string(std::strerror(errno))};
    ssize_t got = posix::readSome(fd, start, sizeof start);
    ::close(fd);
    bool elf = got == 4 && std::memcmp(start, "\x7f" "ELF", 4) == 0;
    bool interpreted = got >= 2 && start[0] == '#' && start[1] == '!';
    if (!elf && !interpreted)
      return {true, false, "not a program that the system can start: " + std::string(std::strerror(ENOEXEC))};
    return {true, true, {}};
  }

  bool exists(const std::string& path) override {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
  }

  bool isLink(const std::string& path) override {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  }

  std::vector<std::string> fileNamesIn(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) return names;
    while (const struct dirent* entry = ::readdir(listing)) {
      if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN) names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    return names;
  }

  StaleRemoval removeUnusedTemporary(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return StaleRemoval::kFailed;
    struct stat info;
    StaleRemoval result = StaleRemoval::kFailed;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      result = StaleRemoval::kFailed;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      result = locksUnsupported(errno) ? StaleRemoval::kCannotTell : StaleRemoval::kInUse;
    } else if (stillNamed(fd, path) && ::unlink(path.c_str()) == 0) {
      // Removed while locked: a run that creates a file of that name finds it gone and takes another.
      result = StaleRemoval::kRemoved;
    }
    ::close(fd);
    return result;
  }

  Status moveFile(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
      return Status::success();
    if (errno != EINVAL && errno != ENOSYS) return lastError();
#endif
    // A new link fails when `to` exists; only then is the old name let go.
    if (::link(from.c_str(), to.c_str()) != 0) return lastError();
    if (::unlink(from.c_str()) == 0) return Status::success();
    Status status = lastError();
    ::unlink(to.c_str());
    return status;
  }

  Status copyPermissions(const std::string& from, const std::string& to) override {
    struct stat info;
    if (::stat(from.c_str(), &info) != 0) return lastError();
    return ::chmod(to.c_str(), info.st_mode & 07777) == 0 ? Status::success() : lastError();
  }

  std::string localTime() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (::localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
  }

  // POSIX systems redirect no program's writes; the run then asks nothing more.
  bool redirectsLegacyPrograms() override { return false; }

  std::string environmentVariable(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::string() : std::string(value);
  }

  std::string userSettingsFolder() override { return userFolder("XDG_CONFIG_HOME", "/.config"); }
  std::string userStateFolder() override { return userFolder("XDG_STATE_HOME", "/.local/state"); }

  std::string fullPath(const std::string& path) override {
    if (path.starts_with('/')) return path;
    std::string folder(256, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
      if (errno != ERANGE) return path;
      folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    if (!folder.ends_with('/')) folder += '/';
    return folder + path;
  }

  FileStamp fileStamp(const std::string& path) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return {};
    return {true, static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
  }

 private:
  // The folder that the XDG variable `variable` names, or the home folder followed by `inHome`:
  // a relative value is to be ignored, as the XDG base directories say.
  static std::string userFolder(const char* variable, const char* inHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    std::string folder = home;
    while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
    return folder == "/" ? std::string(inHome) : folder + inHome;
  }

  std::mt19937_64 random_;
};

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform() { return std::make_unique<PosixPlatform>(); }

}  // namespace aplpatch
