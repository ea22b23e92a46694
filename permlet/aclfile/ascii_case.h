// Case rules of the permission file: only the ASCII letters A to Z have a
// lower form; every other byte stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace permlet {

std::string LowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace permlet
