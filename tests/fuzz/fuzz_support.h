// What the fuzz targets share: a private scratch folder per fuzzing process
// (every file a target writes or reads lies in it), the input as text, and a
// check that stops the process like a sanitizer finding does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace fuzz {

inline const std::string& ScratchFolder() {
  // In memory where it can be: a fuzzer writes thousands of files a second.
  static const support::TempFolder scratch = [] {
    if (std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    return support::TempFolder();
  }();
  return scratch.path();
}
inline std::string ScratchPath(const std::string& name) { return ScratchFolder() + "/" + name; }

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A broken promise aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "fuzz check failed: %s [%.*s]\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}
#define FUZZ_CHECK(condition, detail)                   \
  do {                                                  \
    if (!(condition)) ::fuzz::Fail(#condition, detail); \
  } while (0)

}  // namespace fuzz
