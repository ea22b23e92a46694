// Every CRC-32 loop against the plain table loop, over random bytes, lengths,
// alignments and running registers.
#include "checker/crc/crc32_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace crc_internal {
namespace {

class Crc32KernelTest : public ::testing::TestWithParam<Crc32Kernel> {};

TEST_P(Crc32KernelTest, MatchesBytewiseOnRandomLengthsAlignmentsAndRegisters) {
  if (!Crc32KernelAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
  const Crc32Loop loop = Crc32LoopFor(GetParam());
  std::mt19937 rng(12345);
  std::vector<std::uint8_t> bytes(400 << 10);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n <= 1100; ++n) lengths.push_back(n);
  for (int i = 0; i < 300; ++i) lengths.push_back(rng() % 69000);
  // Long buffers pass half their blocks on by XOR once they reach 128 rounds
  // of eight registers (32 or 64 KiB); around there, and far beyond.
  for (std::size_t edge : {32u << 10, 64u << 10}) {
    for (std::size_t n = edge - 600; n <= edge + 600; n += 37) lengths.push_back(n);
  }
  for (int i = 0; i < 60; ++i) lengths.push_back(rng() % (399 << 10));
  for (std::size_t n : lengths) {
    const std::size_t offset = rng() % 64;
    const std::uint32_t reg = static_cast<std::uint32_t>(rng());
    ASSERT_EQ(loop(reg, bytes.data() + offset, n, kCrc32Table),
              Crc32Bytewise(reg, bytes.data() + offset, n, kCrc32Table))
        << "length " << n << " offset " << offset;
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, Crc32KernelTest, ::testing::ValuesIn(kAllCrc32Kernels),
                         [](const auto& info) { return Crc32KernelName(info.param); });

}  // namespace
}  // namespace crc_internal
