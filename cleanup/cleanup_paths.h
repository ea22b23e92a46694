// The folders that skarrow looks in, worked out from the status store path
// it is started with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cleanup {

struct CleanupPaths {
  std::string releasePath;                     // the text before the first "<sep>.sfvStatus"
  std::string parentPath;                      // the release path up to its last separator
  std::optional<std::string> grandparentPath;  // none when the parent has no separator
};

// nullopt when the command line holds no "<sep>.sfvStatus" in any letter case.
std::optional<CleanupPaths> DeriveCleanupPaths(std::string_view commandLine);

}  // namespace cleanup
