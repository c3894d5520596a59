#include "engine/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_streams.h"

namespace aplpatch {
namespace {

using testing::MemorySource;

// Reads every line of `bytes`, the source serving at most `chunk` bytes a read.
std::vector<std::string> readAll(const std::string& bytes, std::size_t chunk = 1 << 16) {
  MemorySource source(bytes, chunk);
  LineReader reader(source);
  std::vector<std::string> lines;
  std::string line;
  while (reader.readLine(line)) lines.push_back(line);
  EXPECT_TRUE(line.empty());
  return lines;
}

TEST(LineReader, TranslatesCrLfAndKeepsEveryOtherByte) {
  std::string odd("A\0B\x1A\x80\xDC\xFF\n", 8);
  using V = std::vector<std::string>;
  for (std::size_t chunk : {1u, 2u, 3u, 65536u}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(readAll("ONE\r\nTWO\n", chunk), (V{"ONE\n", "TWO\n"}));
    EXPECT_EQ(readAll("A\rB\r\r\n", chunk), (V{"A\rB\r\n"}));  // a lone CR stays
    EXPECT_EQ(readAll(odd + "\r\n", chunk), (V{odd, "\n"}));
    EXPECT_EQ(readAll("\n\n", chunk), (V{"\n", "\n"}));
  }
}

TEST(LineReader, NumbersTheScriptsLinesNotItsReads) {
  const std::string longLine(600, 'X');  // three reads, one line
  const struct {
    std::string bytes;
    std::vector<int> numbers;  // after each read
  } cases[] = {
      {"", {}},
      {"A\r\nB\nC", {1, 2, 3}},
      {longLine + "\nB\n", {1, 1, 1, 2}},
      {std::string(254, 'X') + "\nB\n", {1, 1, 2}},  // the LF right after a full read ends that line
      {"A\rB\n\n", {1, 2}},                          // a lone CR is no line end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 20));
    MemorySource source(c.bytes, 7);
    LineReader reader(source);
    EXPECT_EQ(reader.lineNumber(), 0);
    std::vector<int> numbers;
    std::string line;
    while (reader.readLine(line)) numbers.push_back(reader.lineNumber());
    EXPECT_EQ(numbers, c.numbers);
  }
}

TEST(LineReader, EmptyInputHasNoLines) { EXPECT_TRUE(readAll("").empty()); }

TEST(LineReader, UnterminatedLastLineGetsItsNewline) {
  using V = std::vector<std::string>;
  EXPECT_EQ(readAll("A\nEND"), (V{"A\n", "END\n"}));
  EXPECT_EQ(readAll("A\nEND\r"), (V{"A\n", "END\r\n"}));
  EXPECT_EQ(readAll("END", 1), (V{"END\n"}));
}

TEST(LineReader, LongLinesComeIn254BytePieces) {
  std::string piece(254, 'x');
  using V = std::vector<std::string>;
  for (std::size_t chunk : {7u, 65536u}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(readAll(piece + "yz\n", chunk), (V{piece, "yz\n"}));
    // A line of exactly 254 bytes leaves its newline for the next read.
    EXPECT_EQ(readAll(piece + "\r\n", chunk), (V{piece, "\n"}));
    EXPECT_EQ(readAll(piece + piece + piece + "\n", chunk), (V{piece, piece, piece, "\n"}));
    // A 253-byte line with its newline fits one read; its CR LF counts as one byte.
    EXPECT_EQ(readAll(piece.substr(1) + "\r\nB\n", chunk), (V{piece.substr(1) + "\n", "B\n"}));
    // The last piece of the input gets a newline; a piece that more input follows does not.
    EXPECT_EQ(readAll(piece, chunk), (V{piece + "\n"}));
    EXPECT_EQ(readAll(piece + "q", chunk), (V{piece, "q\n"}));
  }
}

}  // namespace
}  // namespace aplpatch
