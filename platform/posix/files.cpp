#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/host_file_system.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

// A rename names two paths; the error belongs to the source when that is
// missing, otherwise to the target.
[[noreturn]] void ThrowRenameError(int err, const std::string& from, const std::string& to) {
  if (err == EEXIST || err == ENOTEMPTY) throw OsError(kFileAlreadyExists);
  struct stat info;
  bool sourceThere = lstat(from.c_str(), &info) == 0;
  posix::ThrowSystemError(err, sourceThere ? to : from, posix::Subject::kFile);
}

}  // namespace

void HostFileSystem::DeleteFile(const std::string& path, bool force) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  if (!force && S_ISREG(info.st_mode) && posix::IsReadOnlyMode(info.st_mode))
    throw OsError(kPathFileAccessError);
  if (unlink(path.c_str()) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
}

void HostFileSystem::MoveFile(const std::string& from, const std::string& to) {
  posix::RequireValidName(to);
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  int err = errno;
  if (err == EINVAL) {
    // The file system cannot refuse a replacement itself: look first.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0) throw OsError(kFileAlreadyExists);
    if (rename(from.c_str(), to.c_str()) == 0) return;
    err = errno;
  }
  ThrowRenameError(err, from, to);
}

}  // namespace platform
