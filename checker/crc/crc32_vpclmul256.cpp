// CRC-32 by VPCLMULQDQ folding on 256-bit registers, for processors that have
// the instruction without AVX-512.
#define CORVANE_CRC_WIDE_TARGET __attribute__((target("avx2,vpclmulqdq,pclmul,sse4.1")))
#include "checker/crc/crc32_wide_fold.h"

#if CORVANE_CRC_X86_64
namespace crc_internal {

namespace {

struct Wide256 {
  using Reg = __m256i;
  static constexpr std::size_t kBytes = 32;

  CORVANE_CRC_WIDE_TARGET static Reg Load(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  CORVANE_CRC_WIDE_TARGET static Reg Zero() { return _mm256_setzero_si256(); }
  CORVANE_CRC_WIDE_TARGET static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  CORVANE_CRC_WIDE_TARGET static Reg Xor3(Reg a, Reg b, Reg c) { return Xor(Xor(a, b), c); }
  CORVANE_CRC_WIDE_TARGET static Reg Fold(Reg x, Reg key, Reg onto) {
    return Xor3(_mm256_clmulepi64_epi128(x, key, 0x00), _mm256_clmulepi64_epi128(x, key, 0x11),
                onto);
  }
  CORVANE_CRC_WIDE_TARGET static Reg Key(FoldConstants k) {
    return _mm256_broadcastsi128_si256(FoldKey(k));
  }
  // The running register as the XOR onto a block's first four bytes.
  CORVANE_CRC_WIDE_TARGET static Reg Enter(std::uint32_t reg) {
    return _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(reg)));
  }
  CORVANE_CRC_WIDE_TARGET static void Lanes(Reg x, __m128i* lanes) {
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), x);
  }
};

}  // namespace

CORVANE_CRC_WIDE_TARGET std::uint32_t Crc32Vpclmul256(std::uint32_t reg, const std::uint8_t* data,
                                                      std::size_t count,
                                                      const std::uint32_t* table) {
  return WideCrc32<Wide256>(reg, data, count, table);
}

}  // namespace crc_internal
#endif
