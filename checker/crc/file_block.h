// The block in which CalculateFile streams a file: small enough that the block
// just read is still in the core's own cache when the CRC loop runs over it,
// large enough that the per-read system cost stays small. Chosen by measuring
// (bench/crc_bench, FileBlocks).
#pragma once

#include <cstddef>

namespace crc_internal {
inline constexpr std::size_t kFileBlockSize = 256 * 1024;
}  // namespace crc_internal
