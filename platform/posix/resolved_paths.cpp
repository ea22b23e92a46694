#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host_file_system.h"

namespace platform {

std::optional<std::string> HostFileSystem::ResolvedPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

namespace {

enum class Below { kInside, kMissing, kUndecided };

// Walks the names that `path` adds to `folder`. When each is an existing
// entry that is no link (nor "." or ".."), the path resolves to wherever the
// folder resolves, plus those names: inside it, without resolving either.
// That is one lstat per added name instead of a readlink per component of
// both paths, which a pass over a large release makes for every listed file.
Below WalkBelow(const std::string& folder, const std::string& path) {
  if (path.size() <= folder.size() + 1 || !path.starts_with(folder) || path[folder.size()] != '/')
    return Below::kUndecided;
  for (std::size_t end = folder.size(); end != std::string::npos;) {
    const std::size_t start = end + 1;
    end = path.find('/', start);
    const std::string_view name = std::string_view(path).substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return Below::kUndecided;
    struct stat info;
    if (lstat(path.substr(0, end).c_str(), &info) != 0)
      return errno == ENOENT || errno == ENOTDIR ? Below::kMissing : Below::kUndecided;
    if (S_ISLNK(info.st_mode)) return Below::kUndecided;
  }
  return Below::kInside;
}

}  // namespace

bool HostFileSystem::LeadsOutside(const std::string& folder, const std::string& path) {
  if (WalkBelow(folder, path) != Below::kUndecided) return false;
  const std::optional<std::string> target = ResolvedPath(path);
  if (!target) return false;
  const std::optional<std::string> root = ResolvedPath(folder);
  // Without a folder to compare with, nothing can be shown to lie inside it.
  if (!root) return true;
  if (*root == "/" || *target == *root) return false;
  return !target->starts_with(*root + "/");
}

}  // namespace platform
