#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

using posix::Subject;
using posix::UniqueFd;

// The lock file of a name: characters outside a safe set are written as
// %XX, so different names never share a file.
std::string LockFilePath(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string path = "/tmp/corvane-lock-";
  for (unsigned char c : name) {
    bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '-' || c == '_' || c == '.';
    if (safe) {
      path += static_cast<char>(c);
    } else {
      path += '%';
      path += kHex[c >> 4];
      path += kHex[c & 15];
    }
  }
  return path;
}

// Opens the lock file, creating it open to every user when it is new. A file
// that another user made is opened without O_CREAT, which sticky /tmp allows.
UniqueFd OpenLockFile(const std::string& path) {
  const int flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC;
  for (;;) {
    int fd = open(path.c_str(), flags);
    if (fd >= 0) return UniqueFd(fd);
    if (errno != ENOENT && errno != EINTR) posix::ThrowSystemError(errno, path, Subject::kFile);
    fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      fchmod(fd, 0666);
      return UniqueFd(fd);
    }
    if (errno != EEXIST && errno != EINTR) posix::ThrowSystemError(errno, path, Subject::kFile);
  }
}

void Flock(int fd, int operation, const std::string& path) {
  while (flock(fd, operation) != 0) {
    if (errno != EINTR) posix::ThrowSystemError(errno, path, Subject::kFile);
  }
}

}  // namespace

// flock() locks belong to an open file description: each NamedLock opens its
// own, so two objects exclude each other even within one process, and the
// system drops the lock with the holder's last descriptor.
struct NamedLock::Impl {
  std::string path;
  UniqueFd fd;
};

NamedLock::NamedLock(const std::string& name) : impl_(std::make_unique<Impl>()) {
  impl_->path = LockFilePath(name);
  impl_->fd = OpenLockFile(impl_->path);
}

NamedLock::~NamedLock() = default;

void NamedLock::Lock() { Flock(impl_->fd.get(), LOCK_EX, impl_->path); }

void NamedLock::Unlock() { Flock(impl_->fd.get(), LOCK_UN, impl_->path); }

struct FolderLock::Impl {
  UniqueFd fd;
};

FolderLock::FolderLock(const std::string& folder) : impl_(std::make_unique<Impl>()) {
  impl_->fd = posix::OpenOrThrow(folder, O_RDONLY | O_DIRECTORY, Subject::kFolder);
  Flock(impl_->fd.get(), LOCK_EX, folder);
}

FolderLock::~FolderLock() = default;

}  // namespace platform
