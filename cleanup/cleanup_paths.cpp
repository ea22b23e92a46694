#include "cleanup/cleanup_paths.h"

#include "common/strings.h"
#include "platform/platform.h"
#include "release/paths.h"

namespace cleanup {

namespace {

// The text up to its last separator; nothing when it has none.
std::optional<std::string> UpToLastSeparator(std::string_view path) {
  const std::size_t last = path.rfind(platform::kSeparator);
  if (last == std::string_view::npos) return std::nullopt;
  return std::string(path.substr(0, last));
}

}  // namespace

std::optional<CleanupPaths> DeriveCleanupPaths(std::string_view commandLine) {
  const std::string marker = platform::kSeparatorText + release::kStatusStoreName;
  const std::size_t at = strings::FindIgnoreCase(commandLine, marker);
  if (at == std::string_view::npos) return std::nullopt;

  CleanupPaths paths;
  paths.releasePath = std::string(commandLine.substr(0, at));
  paths.parentPath = UpToLastSeparator(paths.releasePath).value_or(paths.releasePath);
  paths.grandparentPath = UpToLastSeparator(paths.parentPath);
  return paths;
}

}  // namespace cleanup
