// The driver of the fuzz targets where libFuzzer is not at hand (gcc builds,
// the sanitizer build of the whole suite): runs each input once, from files
// and from folders (their files in name order), as a libFuzzer binary does
// with -runs=0. Options (arguments starting with "-") are ignored.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    if (fs::is_regular_file(argv[i])) inputs.push_back(argv[i]);
    if (!fs::exists(argv[i])) {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      return 2;
    }
    if (!fs::is_directory(argv[i])) continue;
    const std::size_t first = inputs.size();
    for (const auto& entry : fs::directory_iterator(argv[i])) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin() + first, inputs.end());
  }
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("ran %zu inputs\n", inputs.size());
  return 0;
}
