// The key of a file's entry in the permission file, computed from its name.
// The server computes the same key, so every bit of it binds.
#pragma once

#include <cstdint>
#include <string_view>

namespace permlet {

// A CRC-16 over the name's bytes with the polynomial constant 0x8468 (not the
// common 0x8408), complemented and byte-swapped; 0 for the empty name.
std::uint16_t NameCrc16(std::string_view name);
// The sum of the name's bytes taken as signed 8-bit values, modulo 65536; 1
// for the empty name.
std::uint16_t NameSum16(std::string_view name);
// NameCrc16 in the high half and NameSum16 in the low half, both of the
// lowered name: "abc" and "ABC" share one key.
std::uint32_t NameKey(std::string_view name);

}  // namespace permlet
