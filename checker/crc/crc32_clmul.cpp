// CRC-32 by PCLMULQDQ folding: eight 16-byte lanes in flight, each folded
// forward by 128 bytes per round.
#include "checker/crc/crc32_fold.h"

#if CORVANE_CRC_X86_64
namespace crc_internal {

namespace {
constexpr int kLanes = 8;
constexpr std::size_t kRound = kLanes * 16;
}  // namespace

CORVANE_CRC_CLMUL_TARGET std::uint32_t Crc32Clmul(std::uint32_t reg, const std::uint8_t* data,
                                                  std::size_t count, const std::uint32_t* table) {
  if (count < 2 * kRound) return Crc32Table(reg, data, count, table);
  const auto load = [](const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  };
  __m128i lane[kLanes];
#pragma GCC unroll 16
  for (int i = 0; i < kLanes; ++i) lane[i] = load(data + 16 * i);
  // The running register enters as XOR onto the first four bytes.
  lane[0] = _mm_xor_si128(lane[0], _mm_cvtsi32_si128(static_cast<int>(reg)));
  data += kRound;
  count -= kRound;

  const __m128i byRound = FoldKey(FoldBy(kRound * 8));
  for (; count >= kRound; count -= kRound, data += kRound) {
#pragma GCC unroll 16
    for (int i = 0; i < kLanes; ++i) lane[i] = Fold128(lane[i], byRound, load(data + 16 * i));
  }
  return FinishLane(FoldOntoLast(lane), data, count, table);
}

}  // namespace crc_internal
#endif
