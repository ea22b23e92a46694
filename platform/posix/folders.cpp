#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/host_file_system.h"
#include "platform/posix/posix_support.h"

namespace platform {

void HostFileSystem::CreateFolder(const std::string& path) {
  posix::RequireValidName(path);
  if (mkdir(path.c_str(), 0777) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFolder);
}

void HostFileSystem::DeleteFolder(const std::string& path) {
  // A link to a folder goes as a link, as Windows removes a folder link.
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && FolderExists(path)) {
    if (unlink(path.c_str()) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFolder);
    return;
  }
  if (rmdir(path.c_str()) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFolder);
}

}  // namespace platform
