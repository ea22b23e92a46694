#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/host_file_system.h"
#include "platform/posix/posix_support.h"

namespace platform {

FileSystem& SystemFileSystem() {
  static HostFileSystem files;
  return files;
}

bool HostFileSystem::FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HostFileSystem::FolderExists(const std::string& path) { return posix::IsFolder(path); }

std::int64_t HostFileSystem::FileLength(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  if (!S_ISREG(info.st_mode)) throw OsError(kFileNotFound);
  return static_cast<std::int64_t>(info.st_size);
}

}  // namespace platform
