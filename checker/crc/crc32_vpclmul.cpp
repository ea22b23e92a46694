// CRC-32 by VPCLMULQDQ folding on 512-bit registers (processors with AVX-512).
#define CORVANE_CRC_WIDE_TARGET __attribute__((target("avx512f,vpclmulqdq,pclmul,sse4.1")))
#include "checker/crc/crc32_wide_fold.h"

#if CORVANE_CRC_X86_64
namespace crc_internal {

namespace {

struct Wide512 {
  using Reg = __m512i;
  static constexpr std::size_t kBytes = 64;

  CORVANE_CRC_WIDE_TARGET static Reg Load(const std::uint8_t* p) { return _mm512_loadu_si512(p); }
  CORVANE_CRC_WIDE_TARGET static Reg Zero() { return _mm512_setzero_si512(); }
  CORVANE_CRC_WIDE_TARGET static Reg Xor(Reg a, Reg b) { return _mm512_xor_si512(a, b); }
  CORVANE_CRC_WIDE_TARGET static Reg Xor3(Reg a, Reg b, Reg c) {
    return _mm512_ternarylogic_epi64(a, b, c, 0x96);
  }
  CORVANE_CRC_WIDE_TARGET static Reg Fold(Reg x, Reg key, Reg onto) {
    return Xor3(_mm512_clmulepi64_epi128(x, key, 0x00), _mm512_clmulepi64_epi128(x, key, 0x11),
                onto);
  }
  CORVANE_CRC_WIDE_TARGET static Reg Key(FoldConstants k) {
    const auto low = static_cast<long long>(k.low), high = static_cast<long long>(k.high);
    return _mm512_set_epi64(high, low, high, low, high, low, high, low);
  }
  // The running register as the XOR onto a block's first four bytes.
  CORVANE_CRC_WIDE_TARGET static Reg Enter(std::uint32_t reg) {
    return _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg)));
  }
  CORVANE_CRC_WIDE_TARGET static void Lanes(Reg x, __m128i* lanes) { _mm512_store_si512(lanes, x); }
};

}  // namespace

CORVANE_CRC_WIDE_TARGET std::uint32_t Crc32Vpclmul(std::uint32_t reg, const std::uint8_t* data,
                                                   std::size_t count, const std::uint32_t* table) {
  return WideCrc32<Wide512>(reg, data, count, table);
}

}  // namespace crc_internal
#endif
