#include "engine/line_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/test_support.h"

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
