#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/platform.h"
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

void DeleteFile(const std::string& path, bool force) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  if (!force && S_ISREG(info.st_mode) && posix::IsReadOnlyMode(info.st_mode))
    throw OsError(kPathFileAccessError);
  if (unlink(path.c_str()) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
}

void MoveFile(const std::string& from, const std::string& to) {
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

void ReplaceFile(const std::string& from, const std::string& to) {
  posix::RequireValidName(to);
  posix::RefuseReadOnlyTarget(to);
  if (rename(from.c_str(), to.c_str()) != 0) ThrowRenameError(errno, from, to);
}

void SetReadOnly(const std::string& path, bool readOnly) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  // Windows keeps the attribute on a folder without letting it protect the
  // folder's content; taking a folder's write permission here would.
  if (S_ISDIR(info.st_mode)) return;
  mode_t mode = info.st_mode & 07777;
  mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (chmod(path.c_str(), mode) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
}

}  // namespace platform
