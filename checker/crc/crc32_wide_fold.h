// The loop of the VPCLMULQDQ kernels, compiled once per register width. The
// including file defines CORVANE_CRC_WIDE_TARGET (the instruction sets of its
// width) and a struct of register operations, then instantiates WideCrc32.
//
// Folding costs one 64x64 carry-less product per 8 bytes, and on processors
// where the multiplier is the bottleneck, the load and logic units wait for
// it. Long buffers therefore take every other block out of the multiplier's
// way. A round is eight register-sized blocks: the odd ones ("folded") are
// folded as usual, the even ones ("passed") are passed on by XOR alone. One in
// two measured best: passing costs six loads and a store per block, so the
// load units run out before the multiplier does when more blocks pass.
//
// Passing rests on a sparse multiple of the polynomial P:
//   S(x) = 1 + x^79 + x^85 + x^123 + x^186 + x^203 = P(x) * Q(x).
// Over GF(2) squaring is linear, so S(x^(2^k)) = S(x)^(2^k) is a multiple of
// P as well; with u = x^U, U the bits of two blocks (a power of two), S(u) = 0
// mod P gives u^203 = u^186 + u^123 + u^85 + u^79 + 1. The passed blocks lie U
// bits apart, so the content of one of them, which stands u^203 times as high
// as the passed block 203 places further on, can be moved onto the passed
// blocks 17, 80, 118, 124 and 203 places further on, leaving a zero the
// multiplier can skip. Each passed block takes up what the earlier ones
// passed on (its "pulls" from a ring of the last 256 passed blocks) before it
// is passed on itself. The passed blocks of the last 51 rounds have no room
// to pass their content on; those rounds fold all eight blocks.
#pragma once

#include <cstring>

#include "checker/crc/crc32_fold.h"

#if CORVANE_CRC_X86_64
namespace crc_internal {
namespace {

// Distances, in passed blocks, to the blocks a passed block is moved onto.
constexpr int kPassOn[] = {17, 80, 118, 124, 203};
constexpr int kSpan = 203;
consteval bool PassingKeepsTheRemainder() {
  std::uint64_t sum = XPowMod(kSpan);
  for (int distance : kPassOn) sum ^= XPowMod(kSpan - distance);
  return sum == 0;
}
static_assert(PassingKeepsTheRemainder(), "S(x) must be a multiple of the polynomial");

constexpr int kSlots = 8;                     // blocks per round
constexpr int kPassedPerRound = 4;            // the even slots
constexpr int kRingEntries = 256;             // a power of two above kSpan + kPassedPerRound
constexpr int kRingMirror = kPassedPerRound;  // copies of the first entries past the end
// Rounds whose passed blocks have no room to pass their content on.
constexpr std::size_t kClosingRounds = (kSpan + kPassedPerRound - 1) / kPassedPerRound;

constexpr std::size_t kPrefetchAhead = 2048;

// Below this many rounds, the plain fold is as fast: the ring must be cleared
// and the closing rounds fold everything.
constexpr std::size_t kPassingMinimumRounds = 128;

// W: a struct of static register operations for one width (see
// crc32_vpclmul.cpp): Reg, kBytes, Load, Zero, Xor, Xor3, Fold, Key, Enter,
// Lanes.
// (Clang 14 takes only W::kBytes itself, not a local copy, into consteval
// calls.)
template <class W>
CORVANE_CRC_WIDE_TARGET std::uint32_t WideCrc32(std::uint32_t reg, const std::uint8_t* data,
                                                std::size_t count, const std::uint32_t* table) {
  using Reg = typename W::Reg;
  constexpr std::size_t kBlock = W::kBytes, kRound = kSlots * kBlock;
  if (count < 2 * kRound) return Crc32Clmul(reg, data, count, table);

  const std::size_t rounds = count / kRound;
  const std::size_t passingRounds = rounds >= kPassingMinimumRounds ? rounds - kClosingRounds : 0;
  const Reg byRound = W::Key(FoldBy(kSlots * W::kBytes * 8));
  Reg acc[kSlots];
#pragma GCC unroll 16
  for (Reg& a : acc) a = W::Zero();
  // The running register enters as XOR onto the first four bytes.
  Reg enter = W::Enter(reg);

  // The ring of passed blocks, cleared: blocks before the buffer pass nothing.
  // Page-aligned: where the ring lies against the data within a page decided
  // up to a third of the speed, from one process to the next (measured).
  alignas(4096) Reg ring[kRingEntries + kRingMirror];
  if (passingRounds) std::memset(ring, 0, sizeof ring);
  constexpr std::size_t kRingMask = kRingEntries * kBlock - 1;
  std::size_t at = 0;  // byte offset of this round's first passed block
  const auto ringAt = [&](std::size_t offset) CORVANE_CRC_WIDE_TARGET {
    return reinterpret_cast<Reg*>(reinterpret_cast<std::uint8_t*>(ring) + offset);
  };
  const auto pulls = [&](int k) CORVANE_CRC_WIDE_TARGET {
    const auto from = [&](int distance) CORVANE_CRC_WIDE_TARGET {
      return *ringAt(((at - distance * kBlock) & kRingMask) + k * kBlock);
    };
    return W::Xor3(W::Xor3(from(kPassOn[0]), from(kPassOn[1]), from(kPassOn[2])), from(kPassOn[3]),
                   from(kPassOn[4]));
  };
  // Bytes fresh from a file read come from the shared cache, not the core's
  // own, and the loads would wait for every line: each round first asks for
  // the lines of a later one. Measured best: 2 KiB ahead, every line, the
  // requests kept together as a loop of their own.
  const auto prefetch = [&]() CORVANE_CRC_WIDE_TARGET {
    const std::uintptr_t ahead = reinterpret_cast<std::uintptr_t>(data) + kPrefetchAhead;
#pragma GCC unroll 1
    for (std::size_t line = 0; line < kRound; line += 64) {
      _mm_prefetch(reinterpret_cast<const char*>(ahead + line), _MM_HINT_T0);
    }
  };
  const auto nextRound = [&]() CORVANE_CRC_WIDE_TARGET {
    // Pulls read up to three entries past the end; keep them equal to the first.
    if (at == 0) std::memcpy(ringAt(kRingEntries * kBlock), ring, kRingMirror * sizeof(Reg));
    at = (at + kPassedPerRound * kBlock) & kRingMask;
    data += kRound;
    enter = W::Zero();
  };

  for (std::size_t r = 0; r < passingRounds; ++r) {
    prefetch();
#pragma GCC unroll 16
    for (int s = 0; s < kSlots; s += 2) {
      const Reg in = W::Load(data + s * kBlock);
      *ringAt(at + s / 2 * kBlock) =
          s == 0 ? W::Xor3(in, pulls(0), enter) : W::Xor(in, pulls(s / 2));
      acc[s + 1] = W::Fold(acc[s + 1], byRound, W::Load(data + (s + 1) * kBlock));
    }
    nextRound();
  }
  for (std::size_t r = passingRounds; r < rounds; ++r) {
    prefetch();
#pragma GCC unroll 16
    for (int s = 0; s < kSlots; s += 2) {
      Reg passed = W::Load(data + s * kBlock);
      if (s == 0) passed = W::Xor(passed, enter);
      if (passingRounds) {
        passed = W::Xor(passed, pulls(s / 2));
        // Nothing is passed on from here: later pulls must read zero.
        *ringAt(at + s / 2 * kBlock) = W::Zero();
      }
      acc[s] = W::Fold(acc[s], byRound, passed);
      acc[s + 1] = W::Fold(acc[s + 1], byRound, W::Load(data + (s + 1) * kBlock));
    }
    nextRound();
  }
  count -= rounds * kRound;

  // Every slot folded onto the last one at once, each by its distance.
  constexpr auto kBySlots = FoldSteps<kSlots>(W::kBytes * 8);
  Reg x = acc[kSlots - 1];
#pragma GCC unroll 16
  for (int s = 0; s < kSlots - 1; ++s) x = W::Fold(acc[s], W::Key(kBySlots[kSlots - 1 - s]), x);
  const Reg byBlock = W::Key(kBySlots[1]);
  for (; count >= kBlock; count -= kBlock, data += kBlock) x = W::Fold(x, byBlock, W::Load(data));

  // The register's 16-byte lanes, likewise folded onto the last one.
  alignas(64) __m128i lane[W::kBytes / 16];
  W::Lanes(x, lane);
  return FinishLane(FoldOntoLast(lane), data, count, table);
}

}  // namespace
}  // namespace crc_internal
#endif
