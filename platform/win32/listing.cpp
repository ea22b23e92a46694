#include <string>
#include <string_view>
#include <vector>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/temporary_names.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// As the system's own listing shows a folder: hidden and system entries are
// left out, and so are temporary files, hidden or not. removeLeftovers: the
// temporary files that ended processes left go on the way; a folder of such a
// name is not one of ours.
std::vector<DirEntry> ListEntries(const std::string& path, bool removeLeftovers) {
  std::vector<DirEntry> listed;
  for (win32::FoundEntry& entry : win32::FindAll(path)) {
    const bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (IsTemporaryName(entry.name)) {
      if (removeLeftovers && !isFolder && IsLeftoverTemporary(entry.name))
        DeleteFileA(win32::JoinPath(path, entry.name).c_str());
      continue;
    }
    if (entry.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    const bool isLink = (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    listed.push_back({std::move(entry.name), isFolder, isLink});
  }
  return listed;
}

}  // namespace

std::vector<DirEntry> HostFileSystem::ListFolder(const std::string& path) {
  return ListEntries(path, false);
}

std::vector<DirEntry> HostFileSystem::ListFolderRemovingLeftovers(const std::string& path) {
  return ListEntries(path, true);
}

std::vector<std::string> HostFileSystem::SystemSearch(const std::string& folder,
                                                      std::string_view pattern) {
  std::vector<std::string> names;
  for (win32::FoundEntry& entry : win32::FindMatching(folder, pattern))
    if (!IsTemporaryName(entry.name)) names.push_back(std::move(entry.name));
  return names;
}

}  // namespace platform
