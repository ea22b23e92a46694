// Preloaded into a program under test (natively, tests/e2e/harness.cpp): every
// rename the program makes, the control library's included, is logged with
// its target, one line each, to the file CORVANE_RENAME_LOG names, then made
// as asked. A file written in one step is renamed over its old self once, so
// the log counts the saves of each file. Interposing the C library's own call
// is the one thing the platform layer cannot do for a test.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" int rename(const char* from, const char* to) {
  using Rename = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  if (const char* log = std::getenv("CORVANE_RENAME_LOG")) {
    const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
      const std::string line = std::string(to) + "\n";
      // A line lost here shows as a missing save in the test that reads it.
      [[maybe_unused]] const auto written = write(fd, line.data(), line.size());
      close(fd);
    }
  }
  return real(from, to);
}
