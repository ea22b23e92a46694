// Numbers of the permission file as the server's C runtime reads and writes
// them: keys as unsigned decimal, flags as signed decimal. (The checker's own
// number rules do not apply here; this library links none of its code.)
#pragma once

#include <cstdint>
#include <string_view>

namespace permlet {

// A line's key text: leading blanks, then decimal digits up to the first
// other character; a value past 32 bits reads as 4294967295.
std::uint32_t ParseKeyText(std::string_view text);
// A record field's integer: optional sign, then decimal digits up to the
// first other character; 0 without digits, clamped to the int range.
int LeadingInteger(std::string_view text);

}  // namespace permlet
