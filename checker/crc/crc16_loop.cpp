// The CRC-16/XMODEM byte loop: most significant bit first, one table lookup
// per byte through the low 16 bits of the run-time table.
#include "checker/crc/crc32_kernels.h"

namespace crc_internal {

std::uint32_t Crc16Loop(std::uint32_t reg, const std::uint8_t* data, std::size_t count,
                        const std::uint32_t* table) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t index = (data[i] ^ (reg >> 8)) & 0xFF;
    reg = (table[index] & 0xFFFF) ^ ((reg << 8) & 0xFFFF);
  }
  return reg & 0xFFFF;
}

}  // namespace crc_internal
