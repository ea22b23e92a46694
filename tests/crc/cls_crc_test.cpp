#include "checker/crc/cls_crc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(Calculator, ReferenceValuesOfBothAlgorithms) {
  for (int algorithm : {1, 0}) {
    clsCRC crc(platform::SystemFileSystem());
    crc.Algorithm(algorithm);
    EXPECT_EQ(crc.CalculateString("abc"), algorithm ? 0x352441C2 : 0x9DD6);
    // 0xCBF43926: bit 31 set, so the value is negative.
    EXPECT_EQ(crc.CalculateString("123456789"), algorithm ? -873187034 : 0x31C3);
  }
}

TEST(CalculateFile, GivesTheValueOfItsBytesAndNoneWhenEmpty) {
  support::TempFolder folder;
  std::mt19937 rng(5);
  std::string bytes(3 * 1024 * 1024 + 4321, '\0');  // several read blocks and a ragged end
  for (char& b : bytes) b = static_cast<char>(rng());
  support::WriteFile(folder / "data.r00", bytes);
  support::WriteFile(folder / "empty.r01", "");
  for (int algorithm : {1, 0}) {
    clsCRC crc(platform::SystemFileSystem());
    crc.Algorithm(algorithm);
    const std::int32_t expected = crc.CalculateString(bytes);
    crc.AddString("left over from before");
    EXPECT_EQ(crc.CalculateFile(folder / "data.r00"), expected) << algorithm;
    crc.Clear();
    crc.AddString("abc");
    EXPECT_EQ(crc.CalculateFile(folder / "empty.r01"), std::nullopt);
    EXPECT_EQ(crc.Value(), algorithm ? 0x352441C2 : 0x9DD6);  // the registers left as they were
  }
}

// Lengths beyond the signed 32-bit range: a sparse file of zeros with a few
// bytes written past 2 GiB, against the CRC of the same bytes in memory.
TEST(CalculateFile, SparseFileBeyondTwoGibibytes) {
  support::TempFolder folder;
  const std::string path = folder / "sparse.r00";
  const std::uint64_t markAt = (std::uint64_t{1} << 31) + 777;
  const std::uint64_t tail = 123457;
  const std::string mark = "corvane";
  support::WriteFile(path, "");
  std::filesystem::resize_file(path, markAt + mark.size() + tail);
  std::fstream(path, std::ios::binary | std::ios::in | std::ios::out)
      .seekp(static_cast<std::streamoff>(markAt))
      .write(mark.data(), static_cast<std::streamsize>(mark.size()));
  clsCRC pieces(platform::SystemFileSystem());
  const std::string zeros(1 << 20, '\0');
  for (std::uint64_t n = markAt; n > 0; n -= std::min<std::uint64_t>(n, zeros.size())) {
    pieces.AddString(std::string_view(zeros).substr(0, n));
  }
  pieces.AddString(mark);
  pieces.AddString(std::string_view(zeros).substr(0, tail));
  EXPECT_EQ(clsCRC(platform::SystemFileSystem()).CalculateFile(path), pieces.Value());
}

}  // namespace
