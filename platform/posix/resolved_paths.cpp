#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/host_file_system.h"

namespace platform {

namespace {

std::optional<std::string> Resolved(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

}  // namespace

bool HostFileSystem::LeadsOutside(const std::string& folder, const std::string& path) {
  const std::optional<std::string> target = Resolved(path);
  if (!target) return false;
  const std::optional<std::string> root = Resolved(folder);
  // Without a folder to compare with, nothing can be shown to lie inside it.
  if (!root) return true;
  if (*root == "/" || *target == *root) return false;
  return !target->starts_with(*root + "/");
}

}  // namespace platform
