#include <string>
#include <string_view>
#include <vector>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

// As the system's own listing shows a folder: hidden and system entries are
// left out, and so are temporary files, hidden or not.
std::vector<DirEntry> HostFileSystem::ListFolder(const std::string& path) {
  std::vector<DirEntry> listed;
  for (win32::FoundEntry& entry : win32::FindAll(path)) {
    if (entry.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (IsTemporaryName(entry.name)) continue;
    const bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool isLink = (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    listed.push_back({std::move(entry.name), isFolder, isLink});
  }
  return listed;
}

std::vector<std::string> HostFileSystem::SystemSearch(const std::string& folder,
                                                      std::string_view pattern) {
  std::vector<std::string> names;
  for (win32::FoundEntry& entry : win32::FindMatching(folder, pattern))
    if (!IsTemporaryName(entry.name)) names.push_back(std::move(entry.name));
  return names;
}

}  // namespace platform
