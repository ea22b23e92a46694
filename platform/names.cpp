#include <string_view>

#include "platform/platform.h"

namespace platform {

bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?<>|\"").find(c) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace platform
