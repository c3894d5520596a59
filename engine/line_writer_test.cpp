#include "engine/line_writer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testing/memory_streams.h"

namespace aplpatch {
namespace {

TEST(LineWriter, EveryNewlineBecomesCrLf) {
  testing::MemorySink sink;
  LineWriter writer(sink);
  writer.write("A\n");
  writer.write(std::string("\r\0\xDC\n\n", 5));
  writer.write("no newline");
  ASSERT_TRUE(writer.flush());
  EXPECT_EQ(sink.bytes(), std::string("A\r\n\r\0\xDC\r\n\r\n", 10) + "no newline");
}

TEST(LineWriter, LargeTextsCrossTheBufferWhole) {
  std::string big(200000, '\n');
  testing::MemorySink sink;
  LineWriter writer(sink);
  writer.write("x");
  writer.write(big);
  ASSERT_TRUE(writer.flush());
  ASSERT_EQ(sink.bytes().size(), 1 + 2 * big.size());
  EXPECT_EQ(sink.bytes().find("\n\n"), std::string::npos);
  EXPECT_EQ(sink.bytes().substr(0, 3), "x\r\n");
}

// Texts of every length up to a few words, newlines anywhere, written one after another so that
// they meet the buffer at every fill level and cross its end: the output is the plain translation.
TEST(LineWriter, AnyMixOfTextsComesOutTranslated) {
  std::mt19937 random(7);
  constexpr char kBytes[] = {'\n', '\n', 'A', 'z', ' ', '\r', '\0', '\xDC', '\xFF', '\x8A'};
  testing::MemorySink sink;
  LineWriter writer(sink);
  std::string expected;
  std::string text;
  while (expected.size() < 300000) {
    text.clear();
    const std::size_t size = random() % 41;
    for (std::size_t i = 0; i < size; ++i) text.push_back(kBytes[random() % sizeof kBytes]);
    writer.write(text);
    for (char c : text) {
      if (c == '\n') expected.push_back('\r');
      expected.push_back(c);
    }
  }
  ASSERT_TRUE(writer.flush());
  ASSERT_EQ(sink.bytes().size(), expected.size());
  EXPECT_TRUE(sink.bytes() == expected);
}

// Lines take the origin of the write that ends them unless a write of a rule began them; a write too
// large for the buffer counts its lines as a small one does; a last line without LF counts too.
TEST(LineWriter, NotesTheOriginOfEveryLine) {
  testing::MemorySink sink;
  LineWriter writer(sink);
  LineOrigins origins;
  writer.recordOrigins(&origins);
  writer.write("as read, ended by rule 2 ");
  writer.write("\nrule 2\nbegun by rule 2, ", 2);
  writer.write("ended as read\n");
  writer.write(std::string(100000, '\n'), 5);
  writer.write("", 9);  // an empty write of a rule begins no line
  writer.write("last, without LF");
  writer.endOrigins();
  ASSERT_TRUE(writer.flush());
  ASSERT_EQ(origins.lines(), 100004u);
  EXPECT_EQ(origins.of(1), 2);
  EXPECT_EQ(origins.of(2), 2);
  EXPECT_EQ(origins.of(3), 2);
  EXPECT_EQ(origins.of(4), 5);
  EXPECT_EQ(origins.of(100003), 5);
  EXPECT_EQ(origins.of(100004), LineOrigins::kAsRead);
  EXPECT_EQ(origins.of(100005), LineOrigins::kAsRead) << "past the rewrite";
}

// Runs of lines of one origin, of lengths around the size of the blocks the origins are kept in,
// each begun by a write of another origin: every line keeps the origin of the write that began it.
TEST(LineWriter, NotesOriginsAcrossBlocksInRunsOfAnyLength) {
  testing::MemorySink sink;
  LineWriter writer(sink);
  LineOrigins origins;
  writer.recordOrigins(&origins);
  std::vector<std::uint8_t> expected;
  std::uint8_t origin = 1;
  // Runs around the 16 lines noted at a time, each followed by a line as read; then runs that end
  // five lines short of a block, then cross into the next one.
  const struct {
    std::size_t lines;
    bool thenAsRead;
  } runs[] = {{16, true}, {17, true}, {18, true}, {32, true}, {33, true}, {34, true},
              {1, false}, {32767, false}, {2, false}, {32766, false}, {1, false}, {32768, false},
              {3, false}, {65537, false}, {32758, false}, {3, false}, {3, false}};
  for (const auto& run : runs) {
    writer.write("begun ", origin);
    writer.write("ended\n", LineOrigins::kAsRead);
    writer.write(std::string(run.lines - 1, '\n'), static_cast<std::uint8_t>(origin + 1));
    expected.push_back(origin);
    expected.insert(expected.end(), run.lines - 1, static_cast<std::uint8_t>(origin + 1));
    if (run.thenAsRead) {
      writer.write("read\n", LineOrigins::kAsRead);
      expected.push_back(LineOrigins::kAsRead);
    }
    origin = static_cast<std::uint8_t>(origin + 2);
  }
  writer.endOrigins();
  ASSERT_EQ(origins.lines(), expected.size());
  for (std::size_t line = 1; line <= expected.size(); ++line) {
    ASSERT_EQ(origins.of(static_cast<int>(line)), expected[line - 1]) << "line " << line;
  }
}

// Random writes of random origins, of every size from empty to larger than the buffer, over
// enough lines to cross blocks: each line has the first origin other than as read among the writes
// that put bytes in it, as a model that follows every byte says.
TEST(LineWriter, NotesOriginsAsAModelOfEveryByteDoes) {
  std::mt19937 random(20261211);
  testing::MemorySink sink;
  LineWriter writer(sink);
  LineOrigins origins;
  writer.recordOrigins(&origins);
  std::vector<std::uint8_t> model{LineOrigins::kAsRead};  // the line being written last
  bool lineHasBytes = false;
  while (model.size() < 80000) {
    const std::uint8_t origin = random() % 3 == 0 ? static_cast<std::uint8_t>(1 + random() % 4) : 0;
    std::string text;
    const std::size_t size = random() % 50 == 0 ? random() % 70000 : random() % 40;
    for (std::size_t i = 0; i < size; ++i) text += random() % 4 == 0 ? '\n' : 'x';
    writer.write(text, origin);
    for (const char c : text) {
      if (model.back() == LineOrigins::kAsRead) model.back() = origin;
      lineHasBytes = true;
      if (c == '\n') {
        model.push_back(LineOrigins::kAsRead);
        lineHasBytes = false;
      }
    }
  }
  writer.endOrigins();
  if (!lineHasBytes) model.pop_back();
  ASSERT_EQ(origins.lines(), model.size());
  for (std::size_t line = 1; line <= model.size(); ++line) {
    ASSERT_EQ(origins.of(static_cast<int>(line)), model[line - 1]) << "line " << line;
  }
}

// Origins moved keep what was noted in them; those moved from are empty, and what is noted in them
// afterwards is theirs alone, not written into the blocks they gave away.
TEST(LineOrigins, MovedOriginsKeepTheirLinesAndLeaveNoneBehind) {
  LineOrigins from;
  from.mark(1, 3, 4);
  from.setLines(5);
  LineOrigins to = std::move(from);
  EXPECT_EQ(from.lines(), 0u);
  from.mark(1, 2, 7);
  from.setLines(3);
  ASSERT_EQ(to.lines(), 5u);
  for (int line = 1; line <= 5; ++line) {
    EXPECT_EQ(to.of(line), line <= 3 ? 4 : LineOrigins::kAsRead) << "line " << line;
  }
  EXPECT_EQ(from.of(2), 7);
  EXPECT_EQ(from.of(3), LineOrigins::kAsRead);
}

class FailingSink : public ByteSink {
 public:
  bool write(const char*, std::size_t) override {
    ++calls;
    return false;
  }
  int calls = 0;
};

TEST(LineWriter, StopsWritingAfterAFailure) {
  FailingSink sink;
  LineWriter writer(sink);
  writer.write(std::string(300000, 'a'));
  EXPECT_TRUE(writer.failed());
  writer.write("more\n");
  EXPECT_FALSE(writer.flush());
  EXPECT_EQ(sink.calls, 1);
}

}  // namespace
}  // namespace aplpatch
