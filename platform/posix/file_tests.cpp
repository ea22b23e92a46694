#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const std::string& path) { return FileExists(path) || FolderExists(path); }

std::int64_t FileLength(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  if (!S_ISREG(info.st_mode)) throw OsError(kFileNotFound);
  return static_cast<std::int64_t>(info.st_size);
}

}  // namespace platform
