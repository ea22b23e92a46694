// Reads one file and prints its CRC-32, by the method named first:
//   crc_file read|corvane|isal|zlib PATH [PASSES]
// PASSES (default 1) repeats the whole file that many times in one process, so
// that one timing is long enough to stand above the machine's noise.
//   crc_file kernel          (prints the CRC-32 loop chosen on this machine)
// "read" reads the file the way CalculateFile does and computes nothing (the
// baseline); "corvane" is clsCRC::CalculateFile; "isal" and "zlib" feed the same
// blocks to ISA-L's crc32_gzip_refl and zlib's crc32.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checker/crc/cls_crc.h"
#include "checker/crc/crc32_kernels.h"
#include "checker/crc/file_block.h"
#include "platform/file_system.h"

#if CORVANE_HAVE_ISAL
#include <isa-l.h>
#endif

namespace {

// Streams the file through `update(crc, data, size)`.
template <typename Update>
std::uint32_t Stream(const std::string& path, std::uint32_t crc, Update update) {
  const crc_internal::PageAlignedBlock block;
  auto file = platform::SystemFileSystem().OpenForReading(path);
  while (const std::size_t n = file->Read(block.data(), block.size()))
    crc = update(crc, block.data(), n);
  return crc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "kernel") == 0) {
    std::printf("%s\n", crc_internal::Crc32KernelName(crc_internal::SelectedCrc32Kernel()));
    return 0;
  }
  const int passes = argc == 4 ? std::atoi(argv[3]) : 1;
  if ((argc != 3 && argc != 4) || passes < 1) {
    std::fprintf(stderr, "usage: crc_file read|corvane|isal|zlib PATH [PASSES]\n");
    return 2;
  }
  const std::string method = argv[1], path = argv[2];
  std::uint32_t crc = 0;
  try {
    for (int pass = 0; pass < passes; ++pass) {
      if (method == "read") {
        crc = Stream(path, 0, [](std::uint32_t c, const std::uint8_t*, std::size_t) { return c; });
      } else if (method == "corvane") {
        crc = static_cast<std::uint32_t>(
            clsCRC(platform::SystemFileSystem()).CalculateFile(path).value_or(0));
      } else if (method == "zlib") {
        crc = Stream(path, 0, [](std::uint32_t c, const std::uint8_t* p, std::size_t n) {
          return static_cast<std::uint32_t>(crc32(c, p, static_cast<uInt>(n)));
        });
#if CORVANE_HAVE_ISAL
      } else if (method == "isal") {
        crc = Stream(path, 0, [](std::uint32_t c, const std::uint8_t* p, std::size_t n) {
          return crc32_gzip_refl(c, p, n);
        });
#endif
      } else {
        std::fprintf(stderr, "unknown method %s\n", method.c_str());
        return 2;
      }
    }
  } catch (const platform::OsError& e) {
    std::fprintf(stderr, "error %d: %s\n", e.number(), e.what());
    return 1;
  }
  std::printf("%08X\n", crc);
  return 0;
}
