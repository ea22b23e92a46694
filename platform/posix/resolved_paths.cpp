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

enum class Below { kFile, kOther, kMissing, kUndecided };

// Walks the names that `path` adds to `folder`. When each is an existing
// entry that is no link (nor "." or ".."), the path resolves to wherever the
// folder resolves, plus those names: inside it, without resolving either,
// and the last name's lstat tells whether it is an ordinary file. That is
// one lstat per added name instead of a readlink per component of both
// paths and a stat, which a pass over a large release makes for every listed
// file.
Below WalkBelow(const std::string& folder, const std::string& path) {
  if (path.size() <= folder.size() + 1 || !path.starts_with(folder) || path[folder.size()] != '/')
    return Below::kUndecided;
  struct stat info {};
  for (std::size_t end = folder.size(); end != std::string::npos;) {
    const std::size_t start = end + 1;
    end = path.find('/', start);
    const std::string_view name = std::string_view(path).substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return Below::kUndecided;
    if (lstat(path.substr(0, end).c_str(), &info) != 0)
      return errno == ENOENT || errno == ENOTDIR ? Below::kMissing : Below::kUndecided;
    if (S_ISLNK(info.st_mode)) return Below::kUndecided;
  }
  return S_ISREG(info.st_mode) ? Below::kFile : Below::kOther;
}

}  // namespace

PathPlace HostFileSystem::PlaceBelow(const std::string& folder, const std::string& path) {
  switch (WalkBelow(folder, path)) {
    case Below::kFile:
      return PathPlace::kFileInside;
    case Below::kOther:
    case Below::kMissing:
      return PathPlace::kNoFileInside;
    case Below::kUndecided:
      break;
  }
  const std::optional<std::string> target = ResolvedPath(path);
  if (!target) return PathPlace::kNoFileInside;
  const std::optional<std::string> root = ResolvedPath(folder);
  // Without a folder to compare with, nothing can be shown to lie inside it.
  if (!root) return PathPlace::kOutside;
  if (*root != "/" && *target != *root && !target->starts_with(*root + "/"))
    return PathPlace::kOutside;
  return FileExists(path) ? PathPlace::kFileInside : PathPlace::kNoFileInside;
}

}  // namespace platform
