#include "driver/script_start.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

// The script with `line` as line `number` (from 1) among filler lines ended by `lineEnd`.
std::string scriptWithLine(int number, const std::string& line, const std::string& lineEnd) {
  std::string script;
  for (int i = 1; i <= 12; ++i) script += (i == number ? line : "WAIT " + std::to_string(i)) + lineEnd;
  return script;
}

struct Looked {
  bool patched;
  std::string replayed;  // everything read from the script after the look
};

Looked lookAt(const std::string& script, std::size_t readChunk = 7) {
  testing::FakePlatform platform;
  platform.addFile("F.APL", script);
  platform.setReadChunk(readChunk);
  ScriptStart start(platform.openForRead("F.APL").file);
  Looked looked{start.isAlreadyPatched(), ""};
  char buffer[5];
  for (std::size_t n; (n = start.read(buffer, sizeof buffer)) > 0;) looked.replayed.append(buffer, n);
  return looked;
}

TEST(ScriptStart, FindsTheDescriptionLineOnAnyLine) {
  const std::string line = "DESCRIPTION \"PATCHED BY JM\"";
  struct Case {
    const char* what;
    std::string script;
    bool patched;
  };
  const std::vector<Case> cases = {
      {"line 3, CR LF", scriptWithLine(3, line, "\r\n"), true},
      {"line 1, LF", scriptWithLine(1, line, "\n"), true},
      {"line 10, LF", scriptWithLine(10, line, "\n"), true},
      {"line 11, LF", scriptWithLine(11, line, "\n"), true},
      {"line 12, CR LF", scriptWithLine(12, line, "\r\n"), true},
      {"two CRs", scriptWithLine(3, line + "\r", "\r\n"), false},
      {"a CR alone ends no line", scriptWithLine(3, line + "\rWAIT", "\n"), false},
      {"a blank after it", scriptWithLine(3, line + " ", "\r\n"), false},
      {"lower case", scriptWithLine(3, "description \"patched by jm\"", "\r\n"), false},
      {"part of a longer line", scriptWithLine(3, " " + line, "\r\n"), false},
      {"the last line without a line end", "WAIT 1\r\n" + line, false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Looked looked = lookAt(c.script);
    EXPECT_EQ(looked.patched, c.patched);
    EXPECT_EQ(looked.replayed, c.script) << "the look must not lose or repeat a byte";
  }
}

TEST(ScriptStart, RecognisesWhatTheRewriteWrites) {
  const std::string generated = "start:\r\nwait 2\r\nende:\r\n";
  EXPECT_FALSE(lookAt(generated).patched);
  EXPECT_TRUE(lookAt(testing::rewriteWhole(generated).bytes).patched);
}

TEST(ScriptStart, FindsTheLineFarIntoALargeScriptAndStillGivesEveryByte) {
  // After a first line of a megabyte and many short lines, read in pieces that cut the line anywhere.
  const std::string line = "DESCRIPTION \"PATCHED BY JM\"";
  std::string before = std::string(1 << 20, 'A') + "\r\n";
  for (int i = 0; i < 5000; ++i) before += "WAIT 1\r\n";
  for (std::size_t chunk : {std::size_t{1}, std::size_t{13}, std::size_t{1} << 16}) {
    SCOPED_TRACE(chunk);
    Looked looked = lookAt(before + line + "\r\nENDE:\r\n", chunk);
    EXPECT_TRUE(looked.patched);
    EXPECT_EQ(looked.replayed, before + line + "\r\nENDE:\r\n");
    // The same text as the end of a longer line is no description line.
    EXPECT_FALSE(lookAt(before + "X" + line + "\r\n", chunk).patched);
  }
}

TEST(ScriptStart, AScriptThatCannotBeReadThroughStaysFailed) {
  for (testing::Operation operation : {testing::Operation::kRead, testing::Operation::kRewind}) {
    testing::FakePlatform platform;
    platform.addFile("F.APL", "START:\r\n");
    platform.failCall(operation, 1, "Input/output error");
    ScriptStart start(platform.openForRead("F.APL").file);
    EXPECT_EQ(start.status().reason(), "Input/output error");
    EXPECT_FALSE(start.rewind().ok());
    char buffer[8];
    EXPECT_EQ(start.read(buffer, sizeof buffer), 0u);
  }
}

}  // namespace
}  // namespace aplpatch
