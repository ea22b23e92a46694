// Every CRC-32 loop against the plain table loop, over random bytes, lengths,
// alignments and running registers.
#include "checker/crc/crc32_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace crc_internal {
namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::mt19937& rng) {
  std::vector<std::uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  return bytes;
}

TEST(Crc32Constants, TableIsThePolynomialsTable) {
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    EXPECT_EQ(kCrc32Table[n], c) << "entry " << n;
  }
}

class Crc32KernelTest : public ::testing::TestWithParam<Crc32Kernel> {
 protected:
  void SetUp() override {
    if (!Crc32KernelAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
    loop_ = Crc32LoopFor(GetParam());
  }
  std::uint32_t Run(std::uint32_t reg, const std::uint8_t* p, std::size_t n) const {
    return loop_(reg, p, n, kCrc32Table);
  }
  Crc32Loop loop_ = nullptr;
};

TEST_P(Crc32KernelTest, ReferenceValue) {
  const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(~Run(0xFFFFFFFFu, digits, sizeof digits), 0xCBF43926u);
}

TEST_P(Crc32KernelTest, MatchesBytewiseOnRandomLengthsAndAlignments) {
  std::mt19937 rng(12345);
  const auto bytes = RandomBytes(400 << 10, rng);
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
    ASSERT_EQ(Run(reg, bytes.data() + offset, n),
              Crc32Bytewise(reg, bytes.data() + offset, n, kCrc32Table))
        << "length " << n << " offset " << offset;
  }
}

TEST_P(Crc32KernelTest, PiecesGiveTheWholeResult) {
  std::mt19937 rng(99);
  const auto bytes = RandomBytes(1 << 20, rng);
  const std::uint32_t whole = Crc32Bytewise(0xFFFFFFFFu, bytes.data(), bytes.size(), kCrc32Table);
  std::uint32_t reg = 0xFFFFFFFFu;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t n = std::min<std::size_t>(rng() % 9000, bytes.size() - at);
    reg = Run(reg, bytes.data() + at, n);
    at += n;
  }
  EXPECT_EQ(reg, whole);
}

INSTANTIATE_TEST_SUITE_P(AllKernels, Crc32KernelTest, ::testing::ValuesIn(kAllCrc32Kernels),
                         [](const auto& info) { return Crc32KernelName(info.param); });

TEST(Crc32Dispatch, ForcingSelectsTheKernelAndReleasingRestoresTheFastest) {
  const Crc32Kernel fastest = SelectedCrc32Kernel();
  ForceCrc32Kernel(Crc32Kernel::kTable);
  EXPECT_EQ(SelectedCrc32Kernel(), Crc32Kernel::kTable);
  ForceCrc32Kernel(std::nullopt);
  EXPECT_EQ(SelectedCrc32Kernel(), fastest);
  EXPECT_TRUE(Crc32KernelAvailable(fastest));
}

}  // namespace
}  // namespace crc_internal
