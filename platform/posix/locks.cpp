#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/component.h"
#include "platform/platform.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

using posix::Subject;
using posix::UniqueFd;

// The lock file of a name, beside the module that takes the lock: where only
// the site's accounts reach it, never in the shared temporary folder.
// Characters outside a safe set are written as %XX, so different names never
// share a file.
std::string LockFilePath(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string module = ModulePath(reinterpret_cast<const void*>(&LockFilePath));
  if (module.empty()) throw OsError(kPathNotFound);
  std::string path = posix::ParentFolder(module) + "/corvane-lock-";
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
  // Made on first use under the process's umask: the operator chooses the
  // modes. Taking the lock needs only read access to the file.
  impl_->fd =
      posix::OpenOrThrow(impl_->path, O_RDONLY | O_CREAT | O_NOFOLLOW, Subject::kFile, 0666);
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
