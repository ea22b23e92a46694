// Throughput of the CRC-32 loops (each available kernel, and ISA-L's and
// zlib's routines for comparison) by buffer size, and of streaming a file
// through the loop by read block size.
//
//   crc_bench [--file=PATH] [benchmark flags]
// With --file, the FileBlocks benchmarks read PATH (keep it in the page cache)
// in blocks of 16 KiB to 8 MiB and run the fastest loop over each block.
#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "checker/crc/crc32_kernels.h"
#include "checker/crc/file_block.h"
#include "platform/file_system.h"

#if CORVANE_HAVE_ISAL
#include <isa-l.h>
#endif

namespace {

using namespace crc_internal;

constexpr std::size_t kSizes[] = {64, 1 << 10, 16 << 10, 256 << 10, 1 << 20, 16 << 20};

const std::uint8_t* RandomBuffer() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> b(16 << 20);
    std::mt19937 rng(1);
    for (auto& x : b) x = static_cast<std::uint8_t>(rng());
    return b;
  }();
  return bytes.data();
}

#if CORVANE_HAVE_ISAL
// ISA-L returns from its 512-bit code without clearing the upper register
// halves, which slows any SSE code run after it (the pclmul loop by half and
// more) when the repetitions of all loops are interleaved.
__attribute__((target("avx"))) void ClearUpperHalves() { _mm256_zeroupper(); }
#endif

// Runs `crc(register, data, size)` over one buffer of `size` bytes.
template <typename Crc>
void Throughput(benchmark::State& state, std::size_t size, Crc crc) {
  const std::uint8_t* data = RandomBuffer();
  std::uint32_t reg = 0;
  for (auto _ : state) {
    reg = crc(reg, data, size);
    benchmark::DoNotOptimize(reg);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

template <typename Crc>
void RegisterLoop(const std::string& name, std::size_t size, Crc crc) {
  benchmark::RegisterBenchmark(("Kernel/" + name + "/" + std::to_string(size)).c_str(),
                               [=](benchmark::State& s) { Throughput(s, size, crc); });
}

void RegisterKernels() {
  for (std::size_t size : kSizes) {
    for (Crc32Kernel kernel : kAllCrc32Kernels) {
      if (const Crc32Loop loop = Crc32LoopFor(kernel)) {
        RegisterLoop(Crc32KernelName(kernel), size,
                     [loop](std::uint32_t r, const std::uint8_t* p, std::size_t n) {
                       return loop(r, p, n, kCrc32Table);
                     });
      }
    }
    RegisterLoop("zlib", size, [](std::uint32_t r, const std::uint8_t* p, std::size_t n) {
      return static_cast<std::uint32_t>(crc32(r, p, static_cast<uInt>(n)));
    });
  }
#if CORVANE_HAVE_ISAL
  for (std::size_t size : kSizes) {
    RegisterLoop("isal", size, [](std::uint32_t r, const std::uint8_t* p, std::size_t n) {
      const std::uint32_t crc = crc32_gzip_refl(r, p, n);
      ClearUpperHalves();
      return crc;
    });
  }
#endif
}

// Streams the whole file in blocks of `block` bytes through the fastest loop.
void FileBlocks(benchmark::State& state, const std::string& path, std::size_t block) {
  const Crc32Loop loop = Crc32LoopFor(SelectedCrc32Kernel());
  const PageAlignedBlock buffer(block);
  std::int64_t bytes = 0;
  for (auto _ : state) {
    auto file = platform::SystemFileSystem().OpenForReading(path);
    std::uint32_t reg = 0xFFFFFFFFu;
    while (const std::size_t n = file->Read(buffer.data(), block)) {
      reg = loop(reg, buffer.data(), n, kCrc32Table);
      bytes += static_cast<std::int64_t>(n);
    }
    benchmark::DoNotOptimize(reg);
  }
  state.SetBytesProcessed(bytes);
}

void RegisterFileBlocks(const std::string& path) {
  for (std::size_t block = 16 << 10; block <= (8 << 20); block *= 2) {
    benchmark::RegisterBenchmark(("FileBlocks/" + std::to_string(block >> 10) + "K").c_str(),
                                 [=](benchmark::State& s) { FileBlocks(s, path, block); })
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) {
      RegisterFileBlocks(argv[i] + 7);
    } else {
      args.push_back(argv[i]);
    }
  }
  RegisterKernels();
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
