#include "structure/scanning_streams.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "testing/structure_test_summary.h"
#include "testing/test_files.h"
#include "testing/allocation_counter.h"
#include "testing/memory_streams.h"

namespace aplpatch {
namespace {

const std::string kSourceDir = APLPATCH_SOURCE_DIR;

// CR LF and LF line ends, a lone CR, a line longer than what is read, and a last line without LF.
std::string awkwardScript() {
  std::string script = "A:\r\nWHILE X\r\n IF Y THEN GOTO B\n ENDWHILE\r\nPRINT\"\r\"\r\n";
  script.append(ScriptStructure::kMaxLineBytes - 6, ' ');
  script += "GOTO C\r\nB:";
  script.append(3000, ' ');
  script += "GOTO D\r\nIF Z THEN\r\nGOSUB E";
  return script;
}

class FailingSink : public ByteSink {
 public:
  bool write(const char*, std::size_t) override { return false; }
};

TEST(ScanningStreams, SeeTheSameLinesHoweverTheBytesArrive) {
  const std::string script = awkwardScript();
  const std::string whole = testing::fullSummary(scanScript(script));
  for (std::size_t chunk : {1u, 2u, 3u, 1025u, 65536u}) {
    SCOPED_TRACE(chunk);
    ScriptStructure read;
    testing::MemorySource inner(script, chunk);
    ScanningSource source(inner, read);
    std::string passedOn;
    char buffer[4096];
    for (std::size_t got; (got = source.read(buffer, sizeof buffer)) > 0;) passedOn.append(buffer, got);
    EXPECT_EQ(passedOn, script);
    EXPECT_EQ(testing::fullSummary(read), whole);

    ScriptStructure written;
    testing::MemorySink sinkInner;
    ScanningSink sink(sinkInner, written);
    for (std::size_t at = 0; at < script.size(); at += chunk) {
      ASSERT_TRUE(sink.write(script.data() + at, std::min(chunk, script.size() - at)));
    }
    sink.finish();
    EXPECT_EQ(sinkInner.bytes(), script);
    EXPECT_EQ(testing::fullSummary(written), whole);
  }
  // The line ending at the cap's last byte is read; the jump past it on the long line is not.
  EXPECT_NE(whole.find("\nC defined 0"), std::string::npos);
  EXPECT_EQ(whole.find("\nD defined"), std::string::npos);
  EXPECT_NE(whole.find("\nE defined 0 at , named 1 at 9/1"), std::string::npos);
}

TEST(ScanningStreams, ASinkReportsAFailedWriteAndStillScansIt) {
  ScriptStructure written;
  FailingSink inner;
  ScanningSink sink(inner, written);
  EXPECT_FALSE(sink.write("GOTO X\r\n", 8));
  sink.finish();
  EXPECT_NE(written.names().find("X"), NameTable::kNone);
}

long allocationsToScan(const std::string& bytes) {
  const long before = allocationsSoFar();
  const ScriptStructure structure = scanScript(bytes);
  return allocationsSoFar() - before;
}

// Once its tables hold the script's names and problems, a scan allocates nothing more however many
// lines follow: ten copies of a flight (and of its rewrite, which has block problems) cost no
// more allocations than two.
TEST(ScanningStreams, MoreLinesCostNoMoreAllocations) {
  for (const char* path : {"/examples/sample_flight.apl", "/testdata/sample_flight.expected.apl"}) {
    const std::optional<std::string> flight = testing::readBytes(kSourceDir + path);
    ASSERT_TRUE(flight.has_value()) << path;
    std::string twice = *flight + *flight;
    std::string tenTimes;
    for (int i = 0; i < 5; ++i) tenTimes += twice;
    EXPECT_EQ(allocationsToScan(tenTimes), allocationsToScan(twice)) << path;
  }
}

}  // namespace
}  // namespace aplpatch
