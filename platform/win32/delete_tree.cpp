#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// Read-only entries are deleted too: the attribute goes first.
void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

void RemoveFolderEntry(const std::string& path, DWORD attributes) {
  ClearReadOnly(path, attributes);
  if (!RemoveDirectoryA(path.c_str())) win32::ThrowLastFolderError();
}

// Empties `path`. A folder link is removed as a link: the walk never enters
// it, so nothing outside the tree is touched.
void DeleteContents(const std::string& path) {
  for (const win32::FoundEntry& entry : win32::FindAll(path)) {
    // Such a name cannot be reached through a path: it would name `path`.
    if (!win32::NamesAnEntry(entry.name)) throw OsError(kPathFileAccessError);
    const std::string entryPath = win32::JoinPath(path, entry.name);
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!IsLink(entry.attributes)) DeleteContents(entryPath);
      RemoveFolderEntry(entryPath, entry.attributes);
    } else {
      ClearReadOnly(entryPath, entry.attributes);
      if (!DeleteFileA(entryPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        win32::ThrowLastError();
    }
  }
}

}  // namespace

void HostFileSystem::DeleteTree(const std::string& path) {
  if (!win32::NamesAnEntry(path)) throw OsError(kPathNotFound);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) win32::ThrowLastFolderError();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) throw OsError(kPathNotFound);
  if (!IsLink(attributes)) DeleteContents(path);
  RemoveFolderEntry(path, attributes);
}

}  // namespace platform
