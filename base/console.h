#pragma once

#include <string_view>

namespace aplpatch {

// Standard output as the engine's rules and the driver see it: progress messages, one line each.
class Console {
 public:
  virtual ~Console() = default;
  virtual void print(std::string_view text) = 0;
};

}  // namespace aplpatch
