// The calculator on bytes, texts and files: reference values of both
// algorithms, pieces, the signed view, the register semantics, and block-wise
// file reading (a sparse file beyond 2 GiB included).
#include "checker/crc/cls_crc.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Calculator, ReferenceValuesAndPiecesOfBothAlgorithms) {
  std::vector<std::uint8_t> data(300000);
  std::iota(data.begin(), data.end(), std::uint8_t{7});
  for (int algorithm : {1, 0}) {
    SCOPED_TRACE(algorithm);
    clsCRC crc(platform::SystemFileSystem());
    crc.Algorithm(algorithm);
    EXPECT_EQ(crc.CalculateString("abc"), algorithm ? 0x352441C2 : 0x9DD6);
    // 0xCBF43926: bit 31 set, so the value is negative.
    EXPECT_EQ(crc.CalculateBytes(Bytes("123456789")), algorithm ? -873187034 : 0x31C3);
    EXPECT_EQ(crc.CalculateBytes({}), 0);
    const std::int32_t whole = crc.CalculateBytes(data);
    crc.Clear();
    const std::span<const std::uint8_t> all(data);
    crc.AddBytes(all.first(12345));
    crc.AddBytes({});
    EXPECT_EQ(crc.AddBytes(all.subspan(12345)), whole);
  }
}

TEST(Calculator, RegistersAsTheClassicClassKeepsThem) {
  clsCRC crc(platform::SystemFileSystem());
  EXPECT_EQ(crc.Algorithm(), -1);
  crc.AddString("abc");
  crc.Algorithm(0);  // selecting an algorithm clears both registers
  EXPECT_EQ(crc.Value(), 0);
  crc.AddString("abc");
  crc.Algorithm(2);  // any non-zero number selects CRC-32
  EXPECT_EQ(crc.Algorithm(), -1);
  EXPECT_EQ(crc.Value(), 0);
  crc.Value(5);
  EXPECT_EQ(crc.Value(), -6);  // the CRC-32 register is complemented on the way out only
  crc.Algorithm(0);
  EXPECT_EQ(crc.Value(), 0);
  crc.Value(0x12345);
  EXPECT_EQ(crc.Value(), 0x2345);
  crc.Value(0x70000);  // bits above the low 16 do not disturb the CRC-16 loop
  EXPECT_EQ(crc.AddString("abc"), 0x9DD6);
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
  clsCRC crc(platform::SystemFileSystem());
  EXPECT_EQ(support::OsErrorOf([&] { crc.CalculateFile(folder / "missing.rar"); }),
            platform::kFileNotFound);
  support::MakeFolder(folder / "folder.rar");
  EXPECT_NE(support::OsErrorOf([&] { crc.CalculateFile(folder / "folder.rar"); }), 0);
}

// Lengths beyond the signed 32-bit range: a sparse file of zeros with a few
// bytes written past 2 GiB, checked against zlib's CRC of the same pieces.
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
  const std::vector<Bytef> zeros(1 << 20, 0);
  uLong expected = crc32(0, nullptr, 0);
  for (std::uint64_t n = markAt; n > 0; n -= std::min<std::uint64_t>(n, zeros.size())) {
    expected =
        crc32(expected, zeros.data(), static_cast<uInt>(std::min<std::uint64_t>(n, zeros.size())));
  }
  expected =
      crc32(expected, reinterpret_cast<const Bytef*>(mark.data()), static_cast<uInt>(mark.size()));
  expected = crc32(expected, zeros.data(), static_cast<uInt>(tail));

  const auto value = clsCRC(platform::SystemFileSystem()).CalculateFile(path);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(static_cast<std::uint32_t>(*value), expected);
}

}  // namespace
