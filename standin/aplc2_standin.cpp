// Stands in for the adventure compiler in tests and demos. It compiles nothing: it says so, shows
// and records how it was called, checks that the script it was given exists, and exits with the
// status the caller asks for.
//
//   APLC2_STANDIN_LOG   a file to which each call appends its arguments, one per line, then "--"
//   APLC2_STANDIN_EXIT  the exit status to end with when the script exists (default 0)
//
// A missing script ends the call with status 1.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::FILE* openLog() {
  const char* path = std::getenv("APLC2_STANDIN_LOG");
  return path != nullptr && *path != '\0' ? std::fopen(path, "ab") : nullptr;
}

// The size of the file at `path`, or -1 when it cannot be read.
long fileSize(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return -1;
  long size = 0;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) size += static_cast<long>(n);
  std::fclose(file);
  return size;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("aplc2.exe stand-in: not the adventure compiler, compiles nothing\n");
  std::printf("arguments:");
  for (int i = 1; i < argc; ++i) std::printf(" [%s]", argv[i]);
  std::printf("\n");

  if (std::FILE* log = openLog()) {
    for (int i = 1; i < argc; ++i) std::fprintf(log, "%s\n", argv[i]);
    std::fprintf(log, "--\n");
    std::fclose(log);
  }

  const char* script = argc == 3 ? argv[2] : nullptr;
  long size = script != nullptr ? fileSize(script) : -1;
  if (size < 0) {
    std::printf("script not found: %s\n", script != nullptr ? script : "(none given)");
    return 1;
  }
  std::printf("script %s: %ld bytes\n", script, size);

  const char* status = std::getenv("APLC2_STANDIN_EXIT");
  return status != nullptr ? std::atoi(status) : 0;
}
