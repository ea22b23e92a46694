// What the fuzz targets share: a private scratch folder per fuzzing process
// (every file a target writes or reads lies in it), the input as text, and a
// check that stops the process like a sanitizer finding does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// The process's own folder under the system's temporary folder, made on
// first use and removed with its content when the process exits.
const std::string& ScratchFolder();
// `name` inside the scratch folder.
std::string ScratchPath(const std::string& name);

// Writes `bytes` to `path` without going through the code under test.
void PutFile(const std::string& path, std::string_view bytes);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Cuts the input at its first line feed: `head` before it, `rest` after it
// (all of it in `rest` when there is none), so that one input can carry a
// setting and the text under test.
struct HeadAndRest {
  std::string head;
  std::string rest;
};
HeadAndRest SplitHead(std::string_view input);

// A property the code under test promises; a broken one aborts the process so
// that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what, std::string_view detail);
#define FUZZ_CHECK(condition, detail)                   \
  do {                                                  \
    if (!(condition)) ::fuzz::Fail(#condition, detail); \
  } while (0)

}  // namespace fuzz
