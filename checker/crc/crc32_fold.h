// Carry-less multiply folding for the reflected CRC-32 (x86-64 only).
//
// A 16-byte lane X of the stream, read little-endian, holds the polynomial
// X(x) = Q0(x)*x^64 + Q1(x): its low quadword Q0 carries the earlier bytes and
// bit j of a quadword is the coefficient of x^(63-j). Moving X forward by D
// bits of stream means X*x^D = Q0*x^(D+64) + Q1*x^D (mod P). With a constant
// k = x^n mod P held reflected in 32 bits (bit j = coefficient of x^(31-j)),
// the 128-bit carry-less product of Q and k has bit t = coefficient of
// x^(94-t) of Q*k, which is the coefficient of x^(127-t) of Q*k*x^33: exactly
// where a lane keeps it. So n = D+64-33 for Q0 and n = D-33 for Q1, and the
// two products XORed onto the lane D bits further on fold X into it.
//
// After the last fold one lane is left, holding the message's remainder in
// the form of 16 stream bytes; the CRC register of those bytes from a zero
// register is the CRC register of the whole stream, which the table finishes.
#pragma once

#include <array>

#include "checker/crc/crc32_kernels.h"

#if CORVANE_CRC_X86_64
#include <immintrin.h>

namespace crc_internal {

// x^n mod P, reflected in 32 bits; computed by the compiler.
constexpr std::uint64_t XPowMod(int n) {
  std::uint32_t r = 0x80000000u;  // x^0
  for (int i = 0; i < n; ++i) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
  return r;
}

// The two constants that fold a lane forward by `bits` of stream, always
// evaluated by the compiler.
struct FoldConstants {
  std::uint64_t low, high;
};
consteval FoldConstants FoldBy(int bits) { return {XPowMod(bits + 31), XPowMod(bits - 33)}; }

// [i]: the constants that fold by i steps of `bits` (from 1 on), so that
// several registers fold onto one at once.
template <std::size_t N>
consteval std::array<FoldConstants, N> FoldSteps(int bits) {
  std::array<FoldConstants, N> steps{};
  for (std::size_t i = 1; i < N; ++i) steps[i] = FoldBy(static_cast<int>(i) * bits);
  return steps;
}

#define CORVANE_CRC_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

CORVANE_CRC_CLMUL_TARGET inline __m128i FoldKey(FoldConstants k) {
  return _mm_set_epi64x(static_cast<long long>(k.high), static_cast<long long>(k.low));
}

// x folded forward onto `onto` by the distance `key` was made for.
CORVANE_CRC_CLMUL_TARGET inline __m128i Fold128(__m128i x, __m128i key, __m128i onto) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(x, key, 0x00), _mm_clmulepi64_si128(x, key, 0x11)), onto);
}

// Every lane folded onto the last one at once, each by its distance from it.
template <std::size_t N>
CORVANE_CRC_CLMUL_TARGET inline __m128i FoldOntoLast(const __m128i (&lane)[N]) {
  constexpr auto kByLanes = FoldSteps<N>(128);
  __m128i x = lane[N - 1];
#pragma GCC unroll 16
  for (std::size_t i = 0; i + 1 < N; ++i) x = Fold128(lane[i], FoldKey(kByLanes[N - 1 - i]), x);
  return x;
}

// Folds the whole 16-byte blocks that follow into `x`, then finishes the
// register through the table with the lane and the bytes left over.
CORVANE_CRC_CLMUL_TARGET inline std::uint32_t FinishLane(__m128i x, const std::uint8_t* data,
                                                         std::size_t count,
                                                         const std::uint32_t* table) {
  const __m128i by128 = FoldKey(FoldBy(128));
  for (; count >= 16; count -= 16, data += 16) {
    x = Fold128(x, by128, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data)));
  }
  alignas(16) std::uint8_t lane[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(lane), x);
  return Crc32Table(Crc32Table(0, lane, 16, table), data, count, table);
}

}  // namespace crc_internal
#endif
