#include "rules/approach/autopilot_stub.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::appendedText;
using testing::rewriteLinesOnly;

TEST(AutopilotStub, OnlyForAScriptWithoutItsOwnSubroutine) {
  auto own = rewriteLinesOnly("GOSUB AUTOPILOT\nautopilot:\n");
  EXPECT_EQ(appendedText(appendAutopilotStub, own.state), "");

  auto callsOnly = rewriteLinesOnly("GOSUB AUTOPILOT\nGOTO AUTOPILOT\n");
  EXPECT_EQ(appendedText(appendAutopilotStub, callsOnly.state), "AUTOPILOT:\nRETURN\n");
}

}  // namespace
}  // namespace aplpatch
