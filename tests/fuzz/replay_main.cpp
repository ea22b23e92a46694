// The driver of the fuzz targets where libFuzzer is not at hand (gcc builds,
// the sanitizer build of the whole suite): runs each input of the folders
// named once, as a libFuzzer binary does with -runs=0. Options (arguments
// starting with "-") are ignored.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::size_t runs = 0;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    if (!fs::is_directory(argv[i])) {
      std::fprintf(stderr, "no such folder: %s\n", argv[i]);
      return 2;
    }
    for (const auto& entry : fs::directory_iterator(argv[i])) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), {}};
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++runs;
    }
  }
  std::printf("ran %zu inputs\n", runs);
  return 0;
}
