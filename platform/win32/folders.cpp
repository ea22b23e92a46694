#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

void HostFileSystem::CreateFolder(const std::string& path) {
  win32::RequireValidName(path);
  if (!CreateDirectoryA(path.c_str(), nullptr)) win32::ThrowLastFolderError();
}

// A folder link (junction or symbolic link) goes as a link: removing the
// directory entry never touches its target.
void HostFileSystem::DeleteFolder(const std::string& path) {
  if (!win32::NamesAnEntry(path)) throw OsError(kPathNotFound);
  if (!RemoveDirectoryA(path.c_str())) win32::ThrowLastFolderError();
}

}  // namespace platform
