#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/posix/posix_support.h"
#include "platform/temporary_names.h"

namespace platform {

namespace {

using posix::Subject;
using posix::UniqueFd;

// Files are written with O_NOFOLLOW: a link planted under a name the programs
// write must not carry their output to a file elsewhere.
const int kWriteFlags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW;

void SyncAndClose(UniqueFd fd, const std::string& path) {
  if (fsync(fd.get()) != 0) posix::ThrowSystemError(errno, path, Subject::kFile);
  if (close(fd.Release()) != 0) posix::ThrowSystemError(errno, path, Subject::kFile);
}

// A fresh file beside `path` under a name no other writer uses.
UniqueFd CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  const std::string folder = posix::ParentFolder(path);
  for (;;) {
    tempPath = folder + kSeparatorText + NextTemporaryName(static_cast<unsigned long>(getpid()));
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return UniqueFd(fd);
    if (errno != EEXIST && errno != EINTR) posix::ThrowSystemError(errno, path, Subject::kFile);
  }
}

}  // namespace

std::string HostFileSystem::ReadWholeFile(const std::string& path) {
  UniqueFd fd = posix::OpenOrThrow(path, posix::kReadFlags, Subject::kFile);
  struct stat info;
  if (fstat(fd.get(), &info) != 0) posix::ThrowSystemError(errno, path, Subject::kFile);
  if (!S_ISREG(info.st_mode)) throw OsError(kPathFileAccessError);
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t got = read(fd.get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      posix::ThrowSystemError(errno, path, Subject::kFile);
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

void HostFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  posix::RequireValidName(path);
  posix::RefuseReadOnlyTarget(path);
  UniqueFd fd = posix::OpenOrThrow(path, kWriteFlags, Subject::kFile, 0666);
  posix::WriteAll(fd.get(), bytes, path);
  if (close(fd.Release()) != 0) posix::ThrowSystemError(errno, path, Subject::kFile);
}

void HostFileSystem::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  posix::RequireValidName(path);
  posix::RefuseReadOnlyTarget(path);
  std::string tempPath;
  UniqueFd fd = CreateTemporaryBeside(path, tempPath);
  try {
    // The new content keeps the permissions of the file it replaces.
    struct stat old;
    if (lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
      fchmod(fd.get(), old.st_mode & 07777);
    posix::WriteAll(fd.get(), bytes, path);
    SyncAndClose(std::move(fd), path);
    if (rename(tempPath.c_str(), path.c_str()) != 0)
      throw ReplaceRefused(posix::ErrorNumber(errno, path, Subject::kFile));
  } catch (...) {
    unlink(tempPath.c_str());
    throw;
  }
}

}  // namespace platform
