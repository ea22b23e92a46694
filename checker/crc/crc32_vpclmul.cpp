// CRC-32 by VPCLMULQDQ folding on 512-bit registers: four registers of four
// 16-byte lanes each, every lane folded forward by 256 bytes per round.
#include "checker/crc/crc32_fold.h"

#if CORVANE_CRC_X86_64
#define CORVANE_CRC_VPCLMUL_TARGET __attribute__((target("avx512f,vpclmulqdq,pclmul,sse4.1")))

namespace crc_internal {

namespace {

constexpr int kRegisters = 4;
constexpr std::size_t kRound = kRegisters * 64;

CORVANE_CRC_VPCLMUL_TARGET inline __m512i Load512(const std::uint8_t* p) {
  return _mm512_loadu_si512(p);
}

CORVANE_CRC_VPCLMUL_TARGET inline __m512i Fold512(__m512i x, __m512i key, __m512i onto) {
  return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(x, key, 0x00),
                                   _mm512_clmulepi64_epi128(x, key, 0x11), onto, 0x96);
}

CORVANE_CRC_VPCLMUL_TARGET inline __m512i FoldKey512(FoldConstants k) {
  const auto low = static_cast<long long>(k.low), high = static_cast<long long>(k.high);
  return _mm512_set_epi64(high, low, high, low, high, low, high, low);
}

}  // namespace

CORVANE_CRC_VPCLMUL_TARGET std::uint32_t Crc32Vpclmul(std::uint32_t reg, const std::uint8_t* data,
                                                      std::size_t count,
                                                      const std::uint32_t* table) {
  if (count < 2 * kRound) return Crc32Clmul(reg, data, count, table);
  __m512i z[kRegisters];
#pragma GCC unroll 16
  for (int i = 0; i < kRegisters; ++i) z[i] = Load512(data + 64 * i);
  // The running register enters as XOR onto the first four bytes.
  z[0] = _mm512_xor_si512(z[0], _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg))));
  data += kRound;
  count -= kRound;

  const __m512i byRound = FoldKey512(FoldBy(kRound * 8));
  for (; count >= kRound; count -= kRound, data += kRound) {
#pragma GCC unroll 16
    for (int i = 0; i < kRegisters; ++i) z[i] = Fold512(z[i], byRound, Load512(data + 64 * i));
  }
  const __m512i by512 = FoldKey512(FoldBy(512));
  __m512i acc = z[0];
#pragma GCC unroll 16
  for (int i = 1; i < kRegisters; ++i) acc = Fold512(acc, by512, z[i]);
  for (; count >= 64; count -= 64, data += 64) acc = Fold512(acc, by512, Load512(data));

  // The four lanes of the last register, folded onto the last one.
  alignas(64) __m128i lane[4];
  _mm512_store_si512(lane, acc);
  const __m128i x = Fold128(
      lane[0], FoldKey(FoldBy(384)),
      Fold128(lane[1], FoldKey(FoldBy(256)), Fold128(lane[2], FoldKey(FoldBy(128)), lane[3])));
  return FinishLane(x, data, count, table);
}

}  // namespace crc_internal
#endif
