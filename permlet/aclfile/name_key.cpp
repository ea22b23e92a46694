#include "permlet/aclfile/name_key.h"

#include <string>

#include "common/strings.h"

namespace permlet {

std::uint16_t NameCrc16(std::string_view name) {
  if (name.empty()) return 0;
  std::uint16_t crc = 0xFFFF;
  for (unsigned char byte : name) {
    for (int bit = 0; bit < 8; ++bit) {
      crc = ((crc ^ byte) & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8468)
                               : static_cast<std::uint16_t>(crc >> 1);
      byte >>= 1;
    }
  }
  crc = static_cast<std::uint16_t>(~crc);
  return static_cast<std::uint16_t>((crc << 8) | (crc >> 8));
}

std::uint16_t NameSum16(std::string_view name) {
  if (name.empty()) return 1;
  std::uint16_t sum = 0;
  for (char c : name) sum = static_cast<std::uint16_t>(sum + static_cast<signed char>(c));
  return sum;
}

std::uint32_t NameKey(std::string_view name) {
  const std::string lowered = strings::ToLower(name);
  return (static_cast<std::uint32_t>(NameCrc16(lowered)) << 16) | NameSum16(lowered);
}

}  // namespace permlet
