#include <optional>
#include <string>

#include "platform/host_file_system.h"
#include "platform/posix/posix_support.h"

namespace platform {

bool HostFileSystem::LeadsOutside(const std::string& folder, const std::string& path) {
  const std::optional<std::string> target = posix::ResolvedPath(path);
  if (!target) return false;
  const std::optional<std::string> root = posix::ResolvedPath(folder);
  // Without a folder to compare with, nothing can be shown to lie inside it.
  if (!root) return true;
  if (*root == "/" || *target == *root) return false;
  return !target->starts_with(*root + "/");
}

}  // namespace platform
