// Started under the cross-build's emulator at configure time: a build whose programs cannot be
// started (a 32-bit Windows program where Wine runs only 64-bit ones) registers no test that
// would start one. It prints one line that only a program that really ran can print.
#include <cstdio>

int main() {
  std::printf("started as a %d-bit program\n", static_cast<int>(sizeof(void*) * 8));
  return 0;
}
