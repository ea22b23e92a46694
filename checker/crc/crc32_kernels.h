// The CRC-32 byte loops behind clsCRC and the choice between them. Every loop
// has the same contract: it takes the running register (before the final
// complement), the bytes and the calculator's 256-entry table, and returns the
// register after those bytes. All loops give identical results; they differ
// only in speed and in the instructions they need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The carry-less multiply loops need x86-64 and a compiler that takes
// per-function target attributes (GCC, Clang, also for MinGW). Defining
// CORVANE_CRC_X86_64=0 builds the portable loop alone.
#ifndef CORVANE_CRC_X86_64
#if defined(__x86_64__) && defined(__GNUC__)
#define CORVANE_CRC_X86_64 1
#else
#define CORVANE_CRC_X86_64 0
#endif
#endif

namespace crc_internal {

using Crc32Loop = std::uint32_t (*)(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                                    const std::uint32_t* table);

// The standard table of the reflected polynomial 0xEDB88320, held as constants.
extern const std::uint32_t kCrc32Table[256];

enum class Crc32Kernel {
  kTable,       // slicing-by-16, portable
  kClmul,       // PCLMULQDQ folding over 128-bit lanes (x86-64)
  kVpclmul256,  // VPCLMULQDQ folding over 256-bit registers (x86-64 with AVX2)
  kVpclmul,     // VPCLMULQDQ folding over 512-bit registers (x86-64 with AVX-512)
};
inline constexpr Crc32Kernel kAllCrc32Kernels[] = {Crc32Kernel::kTable, Crc32Kernel::kClmul,
                                                   Crc32Kernel::kVpclmul256, Crc32Kernel::kVpclmul};
const char* Crc32KernelName(Crc32Kernel kernel);

// Whether this build and this processor can run the kernel.
bool Crc32KernelAvailable(Crc32Kernel kernel);
// The kernel's loop; nullptr when it is not available here.
Crc32Loop Crc32LoopFor(Crc32Kernel kernel);
// The fastest available kernel, unless one is forced (see below).
Crc32Kernel SelectedCrc32Kernel();
// Makes calculators prepared from now on use `kernel` (nullopt: back to the
// fastest). Lets tests run the portable loop on any processor.
void ForceCrc32Kernel(std::optional<Crc32Kernel> kernel);

// The loops themselves, one per file.
std::uint32_t Crc32Table(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                         const std::uint32_t* table);
// Byte-at-a-time through `table`, for short pieces and the ends of long ones.
std::uint32_t Crc32Bytewise(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                            const std::uint32_t* table);
#if CORVANE_CRC_X86_64
std::uint32_t Crc32Clmul(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                         const std::uint32_t* table);
std::uint32_t Crc32Vpclmul256(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                              const std::uint32_t* table);
std::uint32_t Crc32Vpclmul(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                           const std::uint32_t* table);
#endif

// The CRC-16/XMODEM loop over the calculator's run-time table.
std::uint32_t Crc16Loop(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                        const std::uint32_t* table);

}  // namespace crc_internal
