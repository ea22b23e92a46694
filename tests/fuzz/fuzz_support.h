// What the fuzz targets share: a private scratch folder per fuzzing process
// (every file a target writes or reads lies in it), the input as text, and a
// check that stops the process like a sanitizer finding does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace fuzz {

// In memory where it can be: a fuzzer writes thousands of files a second.
inline const std::string& ScratchFolder() {
  namespace fs = std::filesystem;
  static const struct Scratch {
    Scratch() {
      std::error_code error;
      const fs::path base =
          fs::is_directory("/dev/shm", error) ? "/dev/shm" : fs::temp_directory_path();
      do {
        path = (base / ("corvane-fuzz-" + std::to_string(std::random_device()()))).string();
      } while (!fs::create_directory(path));
    }
    ~Scratch() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
    std::string path;
  } scratch;
  return scratch.path;
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

// Writes `bytes` to `path` without going through the code under test.
inline void PutFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out, path);
}

}  // namespace fuzz
