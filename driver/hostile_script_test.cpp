// The real program on scripts and paths that no generator should produce: each run ends normally,
// with the exit status and console message the driver promises, and the script rewritten exactly or
// left alone.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "driver/run_patch.h"
#include "rules/rule_engine.h"
#include "rules/rewrite_script.h"
#include "testing/fake_platform.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

struct Finished {
  int status;           // the exit status as the host sees it
  std::string console;  // standard output and standard error
};

// Starts `aplpatch -e <script>` in `folder`, with the stand-in compiler first on the search path.
pid_t startPatch(const ScratchFolder& folder, const std::string& script, const std::string& consoleFile) {
  std::fflush(stdout);
  pid_t child = ::fork();
  if (child == 0) {
    std::string path = fs::path(APLPATCH_STANDIN_COMPILER).parent_path().string() + ":/usr/bin:/bin";
    if (::chdir(folder.path().c_str()) != 0 || std::freopen(consoleFile.c_str(), "w", stdout) == nullptr ||
        ::dup2(1, 2) < 0 || ::setenv("PATH", path.c_str(), 1) != 0) {
      ::_exit(126);
    }
    ::execl(APLPATCH_PROGRAM, APLPATCH_PROGRAM, "-e", script.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return child;
}

// The exit status as the host sees it: 128 + the signal for a program that a signal ended.
int waitFor(pid_t child) {
  int waitStatus = 0;
  ::waitpid(child, &waitStatus, 0);
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

// Runs `aplpatch -e <script>` in `folder` and waits for it.
Finished patch(const ScratchFolder& folder, const std::string& script, const std::string& consoleFile) {
  int status = waitFor(startPatch(folder, script, consoleFile));
  return {status, readBytes(consoleFile).value_or("")};
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

std::string compilerReport(const std::string& script, std::size_t bytes) {
  return "running original ADV generator...\n"
         "aplc2.exe stand-in: not the adventure compiler, compiles nothing\n"
         "arguments: [-e] [" + script + "]\n"
         "script " + script + ": " + std::to_string(bytes) + " bytes\n" +
         // After the compiler, on standard error: the flight's keys and where its log is.
         "Keys: none added. Log: " + script.substr(0, script.rfind('/') + 1) + "apl/" +
         script.substr(script.rfind('/') + 1) + ".log\n";
}

TEST(HostileScript, EmptyBlankAndBinaryScriptsAreRewrittenAndCompiled) {
  std::string everyByte;
  for (int value = 0; value < 256; ++value) everyByte.push_back(static_cast<char>(value));
  const std::vector<std::string> scripts = {"", std::string(500, '\n'), std::string(500, '\r'), everyByte};
  for (const std::string& script : scripts) {
    SCOPED_TRACE(::testing::PrintToString(script.substr(0, 16)));
    ScratchFolder work;
    ScratchFolder records;
    writeBytes(work / "F.APL", script);
    Finished run = patch(work, "F.APL", records / "console.txt");
    // Ctrl-Z ends a script (every byte includes one).
    std::string rewritten = testing::rewriteWhole(script.substr(0, script.find('\x1A'))).bytes;
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.console.ends_with(compilerReport("F.APL", rewritten.size()))) << run.console;
    EXPECT_EQ(readBytes(work / "F.APL"), rewritten);
    EXPECT_EQ(readBytes(work / "apl/F.APL"), script);
    EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
  }
}

// Serves `total` bytes of `block` repeated, without holding them.
class RepeatedSource : public ByteSource {
 public:
  RepeatedSource(const std::string& block, std::size_t total) : block_(block), left_(total) {}
  std::size_t read(char* buffer, std::size_t size) override {
    std::size_t n = std::min({size, left_, block_.size() - offset_});
    std::memcpy(buffer, block_.data() + offset_, n);
    offset_ = (offset_ + n) % block_.size();
    left_ -= n;
    return n;
  }

 private:
  const std::string& block_;
  std::size_t left_;
  std::size_t offset_ = 0;
};

// Compares what is written with a file, piece by piece, without holding either.
class FileComparingSink : public ByteSink {
 public:
  explicit FileComparingSink(const std::string& path) : file_(path, std::ios::binary) {}
  bool write(const char* data, std::size_t size) override {
    piece_.resize(size);
    file_.read(piece_.data(), static_cast<std::streamsize>(size));
    if (!firstDifference_ && (static_cast<std::size_t>(file_.gcount()) != size ||
                              std::memcmp(piece_.data(), data, size) != 0)) {
      firstDifference_ = compared_;
    }
    compared_ += size;
    return true;
  }
  // Where the file first differs from what was written, if anywhere (a longer file included).
  std::optional<std::size_t> firstDifference() {
    if (!firstDifference_ && file_.peek() != std::char_traits<char>::eof()) firstDifference_ = compared_;
    return firstDifference_;
  }

 private:
  std::ifstream file_;
  std::vector<char> piece_;
  std::size_t compared_ = 0;
  std::optional<std::size_t> firstDifference_;
};

// The example flight, repeated to just over 100 MiB, written to `path`; returns how many copies.
std::size_t writeHundredMegabyteScript(const std::string& example, const std::string& path) {
  const std::size_t copies = (100u << 20) / example.size() + 1;
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < copies; ++i) out << example;
  return copies;
}

TEST(HostileScript, AHundredMegabyteScriptIsRewrittenExactly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "too slow under the sanitizers; the default build runs it";
#endif
  const std::string example = readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  ASSERT_FALSE(example.empty());
  ScratchFolder work;
  ScratchFolder records;
  const std::size_t copies = writeHundredMegabyteScript(example, work / "F.APL");
  Finished run = patch(work, "F.APL", records / "console.txt");
  ASSERT_EQ(run.status, 0) << run.console.substr(run.console.size() - std::min<std::size_t>(run.console.size(), 2000));

  RepeatedSource source(example, copies * example.size());
  FileComparingSink sink(work / "F.APL");
  testing::RecordingConsole console;
  ASSERT_TRUE(testing::rewriteScript(source, sink, console));
  EXPECT_EQ(sink.firstDifference(), std::nullopt) << "the rewritten script differs from the engine's rewrite";
  EXPECT_NE(run.console.find("inserting missing RETURNS ...\n" + console.text() + "analysis done\n"),
            std::string::npos);
  EXPECT_EQ(fs::file_size(work / "apl/F.APL"), copies * example.size());
  EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
}

// The size of the temporary that a run writes beside F.APL in `folder` ("F.APL.k3x9q0ab.tmp", not
// the one beside F.APL.new), or nothing when there is none.
std::optional<std::uintmax_t> temporaryBesideScript(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    std::string name = entry->path().filename();
    if (name.size() != 18 || !name.starts_with("F.APL.") || !name.ends_with(".tmp")) continue;
    std::uintmax_t size = fs::file_size(entry->path(), error);
    if (!error) return size;
  }
  return std::nullopt;
}

// Waits, at most twenty seconds, until `reached` holds; whether it did.
bool waitUntil(const std::function<bool()>& reached) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!reached()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

TEST(HostileScript, ATerminationDuringTheRunRemovesItsTemporariesAndLeavesTheScriptAlone) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "too slow under the sanitizers; the default build runs it";
#endif
  const std::string example = readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  ASSERT_FALSE(example.empty());
  ScratchFolder records;
  const std::size_t size = writeHundredMegabyteScript(example, records / "original") * example.size();

  struct Moment {
    const char* what;
    std::function<bool(const fs::path& work)> reached;
  };
  const std::vector<Moment> moments = {
      {"while the backup is written",
       [](const fs::path& work) { return temporaryBesideScript(work / "apl").has_value(); }},
      {"while the rewrite is written",
       [](const fs::path& work) { return temporaryBesideScript(work).value_or(0) >= (1u << 20); }},
  };
  for (const Moment& moment : moments) {
    SCOPED_TRACE(moment.what);
    ScratchFolder work;
    fs::copy_file(records / "original", work / "F.APL");
    pid_t child = startPatch(work, "F.APL", records / "console.txt");
    bool reached = waitUntil([&] { return moment.reached(work.path()); });
    ::kill(child, SIGTERM);
    int status = waitFor(child);
    ASSERT_TRUE(reached) << "the run never got there";
    // Ended by the signal, after the cleanup: the kill came while the run was under way.
    EXPECT_EQ(status, 128 + SIGTERM);

    std::set<std::string> names = namesIn(work.path());
    if (fs::exists(work / "apl")) {
      for (const std::string& name : namesIn(work / "apl")) names.insert("apl/" + name);
    }
    for (const std::string& name : names) EXPECT_FALSE(name.ends_with(".tmp")) << name << " left behind";
    EXPECT_EQ(fs::file_size(work / "F.APL"), size);
  }
}

TEST(HostileScript, AFolderGivenAsTheScriptIsLeftAlone) {
  for (std::string script : {"FLIGHTS", "FLIGHTS/"}) {
    SCOPED_TRACE(script);
    ScratchFolder work;
    ScratchFolder records;
    fs::create_directory(work / "FLIGHTS");
    writeBytes(work / "FLIGHTS/F.APL", "WAIT 1\n");
    Finished run = patch(work, script, records / "console.txt");
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.console, "TALKRADAR patch started...\n"
                           "saving old generated APL file " + script + " ...\n"
                           "Cannot open " + script + ": not a regular file.\n"
                           "Program aborted. For use with TALKRADAR only.\n");
    EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"FLIGHTS"}));
    EXPECT_EQ(namesIn(work / "FLIGHTS"), std::set<std::string>{"F.APL"});
    EXPECT_EQ(readBytes(work / "FLIGHTS/F.APL"), "WAIT 1\n");
  }
}

TEST(HostileScript, AThousandCharacterPathWorksWhereTheSystemAllowsIt) {
  const std::string script = "START:\nWAIT 2\nENDE:\n";
  ScratchFolder work;
  ScratchFolder records;
  // Four folders of 199 characters and a file name of 200: a relative path of 1,000 characters.
  std::string path;
  for (char letter : {'a', 'b', 'c', 'd'}) {
    path += std::string(199, letter);
    fs::create_directory(work / path);
    path += '/';
  }
  const std::string name = std::string(196, 'f') + ".APL";
  path += name;
  ASSERT_EQ(path.size(), 1000u);
  writeBytes(work / path, script);

  Finished run = patch(work, path, records / "console.txt");
  std::string rewritten = testing::rewriteWhole(script).bytes;
  EXPECT_EQ(run.status, 0) << run.console;
  EXPECT_TRUE(run.console.ends_with(compilerReport(path, rewritten.size()))) << run.console;
  EXPECT_EQ(readBytes(work / path), rewritten);
  EXPECT_FALSE(fs::exists(work / (path + ".new")));
  const std::string backupFolder = path.substr(0, path.size() - name.size()) + "apl/";
  EXPECT_EQ(readBytes(work / (backupFolder + name)), script);
  EXPECT_EQ(readBytes(work / (backupFolder + name + ".new")), rewritten);

  // A single name of 1,000 characters is more than the system allows: the run stops and says why.
  const std::string tooLong = std::string(996, 'g') + ".APL";
  run = patch(work, tooLong, records / "console.txt");
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.console, "TALKRADAR patch started...\n"
                         "saving old generated APL file " + tooLong + " ...\n"
                         "Cannot open " + tooLong + ": File name too long.\n"
                         "Program aborted. For use with TALKRADAR only.\n");
}

TEST(HostileScript, AThousandCharacterHostPathKeepsItsBackupFolderBesideTheScript) {
  std::string folder = "C:\\";
  while (folder.size() < 980) folder += "FLIGHTS\\";
  const std::string script = folder + std::string(1000 - folder.size() - 4, 'F') + ".APL";
  ASSERT_EQ(script.size(), 1000u);
  testing::FakePlatform platform(kWindowsPathStyle);
  platform.addFile(script, "START:\r\nWAIT 2\r\n");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", script}), 0);
  EXPECT_EQ(platform.file(script), testing::rewriteWhole("START:\r\nWAIT 2\r\n").bytes);
  EXPECT_TRUE(platform.hasFolder(folder + "apl"));
  EXPECT_EQ(platform.file(folder + "apl\\" + script.substr(folder.size())), "START:\r\nWAIT 2\r\n");
  EXPECT_NE(std::find(platform.log().begin(), platform.log().end(), "run aplc2.exe -e " + script),
            platform.log().end());
}

}  // namespace
}  // namespace aplpatch
