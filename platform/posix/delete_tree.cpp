#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

using posix::Subject;
using posix::UniqueFd;

std::vector<std::string> NamesIn(int folderFd, const std::string& path) {
  int listFd = dup(folderFd);
  if (listFd < 0) posix::ThrowSystemError(errno, path, Subject::kFolder);
  DIR* dir = fdopendir(listFd);
  if (dir == nullptr) {
    int err = errno;
    close(listFd);
    posix::ThrowSystemError(err, path, Subject::kFolder);
  }
  std::vector<std::string> names;
  errno = 0;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
    errno = 0;
  }
  int err = errno;
  closedir(dir);
  if (err != 0) posix::ThrowSystemError(err, path, Subject::kFolder);
  return names;
}

// Gives the owner full rights on a folder that the walk could not enter or
// empty; it is about to be deleted anyway.
bool GrantOwnerAccess(int parentFd, const std::string& name) {
  struct stat info;
  if (fstatat(parentFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(info.st_mode))
    return false;
  return fchmodat(parentFd, name.c_str(), (info.st_mode & 07777) | S_IRWXU, 0) == 0;
}

void Unlink(int folderFd, const std::string& name, int flags, const std::string& path) {
  if (unlinkat(folderFd, name.c_str(), flags) == 0) return;
  int err = errno;
  struct stat info;
  if (err == EACCES && fstat(folderFd, &info) == 0 &&
      fchmod(folderFd, (info.st_mode & 07777) | S_IRWXU) == 0 &&
      unlinkat(folderFd, name.c_str(), flags) == 0)
    return;
  posix::ThrowSystemError(err, path, Subject::kFolder);
}

UniqueFd OpenSubfolder(int parentFd, const std::string& name, const std::string& path) {
  const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = openat(parentFd, name.c_str(), flags);
  if (fd < 0 && errno == EACCES && GrantOwnerAccess(parentFd, name))
    fd = openat(parentFd, name.c_str(), flags);
  if (fd < 0) posix::ThrowSystemError(errno, path, Subject::kFolder);
  return UniqueFd(fd);
}

// Empties the open folder `folderFd`. Links are never followed: lstat-style
// tests and O_NOFOLLOW keep the walk inside the tree.
void DeleteContents(int folderFd, const std::string& path) {
  for (const std::string& name : NamesIn(folderFd, path)) {
    std::string entryPath = path + kSeparatorText + name;
    struct stat info;
    if (fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // gone meanwhile
      posix::ThrowSystemError(errno, entryPath, Subject::kFile);
    }
    if (S_ISDIR(info.st_mode)) {
      UniqueFd sub = OpenSubfolder(folderFd, name, entryPath);
      DeleteContents(sub.get(), entryPath);
      Unlink(folderFd, name, AT_REMOVEDIR, entryPath);
    } else {
      Unlink(folderFd, name, 0, entryPath);
    }
  }
}

}  // namespace

void HostFileSystem::DeleteTree(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, Subject::kFolder);
  if (S_ISLNK(info.st_mode) && FolderExists(path)) {
    if (unlink(path.c_str()) != 0) posix::ThrowSystemError(errno, path, Subject::kFolder);
    return;
  }
  if (!S_ISDIR(info.st_mode)) throw OsError(kPathNotFound);
  UniqueFd folder = posix::OpenOrThrow(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW, Subject::kFolder);
  DeleteContents(folder.get(), path);
  folder = UniqueFd();
  if (rmdir(path.c_str()) != 0) posix::ThrowSystemError(errno, path, Subject::kFolder);
}

}  // namespace platform
