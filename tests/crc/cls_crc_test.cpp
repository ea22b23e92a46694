// The calculator's operations on bytes and texts: reference values of both
// algorithms, pieces, the signed view and the register semantics.
#include "checker/crc/cls_crc.h"

#include <numeric>
#include <vector>

#include "platform/file_system.h"
#include "tests/crc/crc_test_support.h"

namespace {

class CalculatorTest : public PerKernelTest {};

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST_P(CalculatorTest, ReferenceValuesOfBothAlgorithms) {
  clsCRC crc(platform::SystemFileSystem());
  EXPECT_EQ(crc.CalculateString("abc"), 0x352441C2);
  EXPECT_EQ(crc.CalculateBytes(Bytes("123456789")), -873187034);  // 0xCBF43926, bit 31 set
  EXPECT_EQ(crc.CalculateBytes({}), 0);
  crc.Algorithm(0);
  EXPECT_EQ(crc.CalculateString("abc"), 0x9DD6);
  EXPECT_EQ(crc.CalculateBytes(Bytes("123456789")), 0x31C3);
  EXPECT_EQ(crc.CalculateBytes({}), 0);
}

TEST_P(CalculatorTest, PiecesAfterClearGiveTheWholeValue) {
  std::vector<std::uint8_t> data(300000);
  std::iota(data.begin(), data.end(), std::uint8_t{7});
  for (int algorithm : {1, 0}) {
    clsCRC crc(platform::SystemFileSystem());
    crc.Algorithm(algorithm);
    const std::int32_t whole = crc.CalculateBytes(data);
    crc.Clear();
    const std::span<const std::uint8_t> all(data);
    crc.AddBytes(all.first(12345));
    crc.AddBytes({});  // changes nothing
    EXPECT_EQ(crc.AddBytes(all.subspan(12345)), whole) << "algorithm " << algorithm;
    crc.Clear();
    crc.AddString("1234");
    EXPECT_EQ(crc.AddString("56789"), algorithm ? -873187034 : 0x31C3);
  }
}

TEST_P(CalculatorTest, AlgorithmSelectionClearsBothRegisters) {
  clsCRC crc(platform::SystemFileSystem());
  EXPECT_EQ(crc.Algorithm(), -1);
  crc.AddString("abc");
  crc.Algorithm(0);
  EXPECT_EQ(crc.Algorithm(), 0);
  EXPECT_EQ(crc.Value(), 0);
  crc.AddString("abc");
  crc.Algorithm(2);  // any non-zero number selects CRC-32
  EXPECT_EQ(crc.Algorithm(), -1);
  EXPECT_EQ(crc.Value(), 0);
  crc.Algorithm(0);  // the CRC-16 register was cleared too, and its table still works
  EXPECT_EQ(crc.Value(), 0);
  EXPECT_EQ(crc.AddString("abc"), 0x9DD6);
}

TEST_P(CalculatorTest, ValueIsStoredIntoTheRegisterUnchanged) {
  clsCRC crc(platform::SystemFileSystem());
  crc.Value(5);
  EXPECT_EQ(crc.Value(), -6);  // the CRC-32 register is complemented on the way out only
  crc.Value(~0x352441C2);
  EXPECT_EQ(crc.Value(), 0x352441C2);
  crc.Algorithm(0);
  crc.Value(5);
  EXPECT_EQ(crc.Value(), 5);
  crc.Value(0x12345);
  EXPECT_EQ(crc.Value(), 0x2345);
  // Bits above the low 16 do not disturb the CRC-16 loop.
  crc.Value(0x70000);
  EXPECT_EQ(crc.AddString("abc"), 0x9DD6);
}

INSTANTIATE_PER_KERNEL(CalculatorTest);

}  // namespace
