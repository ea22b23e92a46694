// CalculateFile: block-wise reading gives the value of the whole bytes, for
// files of any length (a sparse one beyond 2 GiB included); empty files give
// no value; failures reach the caller.
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "checker/crc/cls_crc.h"
#include "platform/file_system.h"
#include "tests/crc/crc_test_support.h"

namespace {

namespace fs = std::filesystem;

class CalculateFileTest : public PerKernelTest {
 protected:
  void SetUp() override {
    PerKernelTest::SetUp();
    dir_ = fs::temp_directory_path() / ("crc_file_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    PerKernelTest::TearDown();
  }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  fs::path dir_;
};

TEST_P(CalculateFileTest, EqualsTheValueOfItsBytesUnderBothAlgorithms) {
  std::mt19937 rng(5);
  // Several read blocks and a ragged end.
  std::vector<std::uint8_t> bytes(3 * 1024 * 1024 + 4321);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  const std::string path = Write("data.r00", bytes);
  for (int algorithm : {1, 0}) {
    clsCRC crc(platform::SystemFileSystem());
    crc.Algorithm(algorithm);
    const std::int32_t expected = crc.CalculateBytes(bytes);
    crc.AddString("left over from before");
    EXPECT_EQ(crc.CalculateFile(path), expected) << "algorithm " << algorithm;
  }
  clsCRC crc(platform::SystemFileSystem());
  EXPECT_EQ(crc.CalculateFile(Write("digits", {'1', '2', '3', '4', '5', '6', '7', '8', '9'})),
            -873187034);
}

TEST_P(CalculateFileTest, EmptyFileGivesNoValueAndLeavesTheRegisters) {
  const std::string path = Write("empty.r01", {});
  clsCRC crc(platform::SystemFileSystem());
  crc.AddString("abc");
  EXPECT_EQ(crc.CalculateFile(path), std::nullopt);
  EXPECT_EQ(crc.Value(), 0x352441C2);
  crc.Algorithm(0);
  crc.AddString("abc");
  EXPECT_EQ(crc.CalculateFile(path), std::nullopt);
  EXPECT_EQ(crc.Value(), 0x9DD6);
}

TEST_P(CalculateFileTest, FailuresReachTheCaller) {
  clsCRC crc(platform::SystemFileSystem());
  try {
    crc.CalculateFile((dir_ / "missing.rar").string());
    ADD_FAILURE() << "no error for a missing file";
  } catch (const platform::OsError& e) {
    EXPECT_EQ(e.number(), platform::kFileNotFound);
  }
  // A folder exists but cannot be read as a file.
  fs::create_directory(dir_ / "folder.rar");
  EXPECT_THROW(crc.CalculateFile((dir_ / "folder.rar").string()), platform::OsError);
}

INSTANTIATE_PER_KERNEL(CalculateFileTest);

// Lengths beyond the signed 32-bit range: a sparse file of zeros with a few
// bytes written past 2 GiB, checked against zlib's CRC of the same pieces.
TEST(CalculateFileLarge, SparseFileBeyondTwoGibibytes) {
  const fs::path path =
      fs::temp_directory_path() / ("crc_sparse_" + std::to_string(std::random_device{}()));
  const std::uint64_t markAt = (std::uint64_t{1} << 31) + 777;
  const std::uint64_t length = markAt + 123457;
  const std::string mark = "corvane";
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, length);
  {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(markAt));
    file.write(mark.data(), static_cast<std::streamsize>(mark.size()));
  }
  const std::vector<Bytef> zeros(1 << 20, 0);
  const auto zerosCrc = [&](std::uint64_t n) {
    uLong c = crc32(0, nullptr, 0);
    for (; n > 0; n -= std::min<std::uint64_t>(n, zeros.size())) {
      c = crc32(c, zeros.data(), static_cast<uInt>(std::min<std::uint64_t>(n, zeros.size())));
    }
    return c;
  };
  uLong expected = zerosCrc(markAt);
  expected =
      crc32(expected, reinterpret_cast<const Bytef*>(mark.data()), static_cast<uInt>(mark.size()));
  expected = crc32_combine(expected, zerosCrc(length - markAt - mark.size()),
                           static_cast<z_off_t>(length - markAt - mark.size()));

  clsCRC crc(platform::SystemFileSystem());
  const auto value = crc.CalculateFile(path.string());
  fs::remove(path);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(static_cast<std::uint32_t>(*value), expected);
}

}  // namespace
