#include "rules/briefing.h"

#include <gtest/gtest.h>

#include <string_view>

namespace aplpatch {
namespace {

// The golden sets hold whole briefings; naming keys needs more codes than they show.
TEST(Briefing, KeyCodesAreNamedAsAPilotReadsThem) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"88", "\"X\""},       {" 77 ", "\"M\""},  {"65", "\"A\""},    {"49", "\"1\""},
      {"112", "\"F1\""},     {"135", "\"F24\""}, {"32", "Space"},    {"186", "key code 186"},
      {"136", "key code 136"}, {"x", "\"x\""},   {"VK_F1", "KV(VK_F1)"}, {"1000", "KV(1000)"},
      {"", "KV()"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(keyName(code), name) << code;
}

}  // namespace
}  // namespace aplpatch
