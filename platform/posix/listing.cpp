#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

// Whether an entry is a folder or an ordinary file; a link counts as what it
// points to, and anything else (devices, pipes, dangling links) is left out.
bool Classify(DIR* dir, const dirent& entry, bool& isFolder) {
  switch (entry.d_type) {
    case DT_DIR:
      isFolder = true;
      return true;
    case DT_REG:
      isFolder = false;
      return true;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat info;
      if (fstatat(dirfd(dir), entry.d_name, &info, 0) != 0) return false;
      isFolder = S_ISDIR(info.st_mode);
      return isFolder || S_ISREG(info.st_mode);
    }
    default:
      return false;
  }
}

}  // namespace

std::vector<DirEntry> HostFileSystem::ListFolder(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) posix::ThrowSystemError(errno, path, posix::Subject::kFolder);
  std::vector<DirEntry> entries;
  errno = 0;
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    DirEntry listed;
    if (name != "." && name != ".." && !IsTemporaryName(name) &&
        Classify(dir, *entry, listed.isFolder)) {
      listed.name = name;
      entries.push_back(std::move(listed));
    }
    errno = 0;
  }
  int err = errno;
  closedir(dir);
  if (err != 0) posix::ThrowSystemError(err, path, posix::Subject::kFolder);
  return entries;
}

}  // namespace platform
