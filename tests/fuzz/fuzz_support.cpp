#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace fuzz {

namespace {

class Scratch {
 public:
  Scratch() {
    std::random_device random;
    // Written files are synced to disk; in memory that costs nothing, and a
    // fuzzer writes thousands of them a second.
    std::error_code error;
    auto base = std::filesystem::path("/dev/shm");
    if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("corvane-fuzz-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace

const std::string& ScratchFolder() {
  static const Scratch scratch;
  static const std::string path = scratch.path();
  return path;
}

std::string ScratchPath(const std::string& name) {
  return (std::filesystem::path(ScratchFolder()) / name).string();
}

void PutFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("PutFile", path);
}

HeadAndRest SplitHead(std::string_view input) {
  const std::size_t end = input.find('\n');
  if (end == std::string_view::npos) return {{}, std::string(input)};
  return {std::string(input.substr(0, end)), std::string(input.substr(end + 1))};
}

void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "fuzz check failed: %s [%.*s]\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

}  // namespace fuzz
