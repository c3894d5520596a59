#include "structure/structure_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "structure/structure_compare.h"
#include "testing/test_files.h"
#include "testing/memory_streams.h"

namespace aplpatch {
namespace {

using Lines = std::vector<std::string>;

const std::string kSourceDir = APLPATCH_SOURCE_DIR;

std::string repeated(const char* path, int times) {
  const std::optional<std::string> bytes = testing::readBytes(kSourceDir + path);
  EXPECT_TRUE(bytes.has_value()) << path;
  std::string text;
  for (int i = 0; i < times; ++i) text += bytes.value_or("");
  return text;
}

// Gives up after `limit` bytes: a disk that fills, or a rewrite that throws on the way.
class FailingSink : public ByteSink {
 public:
  explicit FailingSink(std::size_t limit) : limit_(limit) {}
  bool write(const char*, std::size_t size) override {
    if (size > limit_) return false;
    limit_ -= size;
    return true;
  }

 private:
  std::size_t limit_;
};

class ThrowingSource : public ByteSource {
 public:
  explicit ThrowingSource(std::string bytes) : inner_(std::move(bytes), 1000) {}
  std::size_t read(char* buffer, std::size_t size) override {
    if (++reads_ == 20) throw std::runtime_error("read failed");
    return inner_.read(buffer, size);
  }

 private:
  testing::MemorySource inner_;
  int reads_ = 0;
};

// A flight and its rewrite, forty times over, read and written in pieces of every awkward size, the
// two streams taking turns as in a rewrite.
TEST(StructureCheck, FindsTheSameHoweverTheBytesArrive) {
  const std::string generated = repeated("/examples/sample_flight.apl", 40);
  const std::string rewritten = repeated("/testdata/sample_flight.expected.apl", 40);
  const Lines expected = rewriteFaults(scanScript(generated), scanScript(rewritten));
  ASSERT_FALSE(expected.empty());
  constexpr std::size_t kPieces[] = {1, 7, 100, 4097, 65535, 65536, 65537, 200000};
  {
    StructureCheck check;
    testing::MemorySource inner(generated, 70000);
    ByteSource& source = check.watchInput(inner);
    testing::MemorySink written;
    ByteSink& sink = check.watchOutput(written);
    std::string read;
    std::vector<char> buffer(200000);
    std::size_t at = 0;
    for (std::size_t step = 0; read.size() < generated.size() || at < rewritten.size(); ++step) {
      const std::size_t piece = kPieces[step % std::size(kPieces)];
      read.append(buffer.data(), source.read(buffer.data(), piece));
      const std::size_t n = std::min(kPieces[(step + 3) % std::size(kPieces)], rewritten.size() - at);
      ASSERT_TRUE(sink.write(rewritten.data() + at, n));
      at += n;
    }
    EXPECT_EQ(source.read(buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(read, generated);
    EXPECT_EQ(written.bytes(), rewritten);
    EXPECT_EQ(check.faults(), expected);
  }
}

// A rewrite that stops at a failed write, or throws, leaves a check that ends at once, judging
// what went by as the rewrite meant it; the sanitizer build sees nothing leak.
TEST(StructureCheck, EndsWhenTheRewriteEndsEarly) {
  const std::string script = repeated("/examples/sample_flight.apl", 1);
  const std::string rewritten = repeated("/testdata/sample_flight.expected.apl", 1);
  {
    StructureCheck check;
    FailingSink full(rewritten.size() / 2);
    testing::MemorySource bytesIn(script);
    EXPECT_FALSE(testing::replayRewrite(check.watchInput(bytesIn), check.watchOutput(full), rewritten));
    // A rewrite cut short loses the subroutines it appends last, which the script calls.
    EXPECT_FALSE(check.faults().empty());
  }
  ThrowingSource bytesIn(repeated("/examples/sample_flight.apl", 40));
  testing::MemorySink bytesOut;
  EXPECT_THROW(
      {
        StructureCheck check;
        testing::replayRewrite(check.watchInput(bytesIn), check.watchOutput(bytesOut), rewritten, 1000);
      },
      std::runtime_error);
}

}  // namespace
}  // namespace aplpatch
