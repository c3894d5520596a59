// The entry point on POSIX systems, where arguments arrive as bytes and are passed on as they are.

#include "platform/program_main.h"

int main(int argc, char** argv) {
  return aplpatch::programMain(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
