#include "platform/posix/posix_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace platform::posix {

int ErrorNumber(int err, const std::string& path, Subject subject) {
  switch (err) {
    case ENOENT:
      // A missing file in an existing folder is "File not found"; anything
      // missing on the way there is "Path not found".
      if (subject == Subject::kFile && IsFolder(ParentFolder(path))) return kFileNotFound;
      return kPathNotFound;
    case ENOTDIR:
      return kPathNotFound;
    case EEXIST:
    case ENOTEMPTY:
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case EISDIR:
    case ETXTBSY:
    case EAGAIN:
    case ELOOP:
    case EXDEV:
    case ENAMETOOLONG:
      return kPathFileAccessError;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EMFILE:
    case ENFILE:
      return kTooManyFiles;
    case ENOMEM:
      return kOutOfMemory;
    case EIO:
      return kDeviceIoError;
    case EINVAL:
      return kInvalidArgument;
    default:
      return kPathFileAccessError;
  }
}

void ThrowSystemError(int err, const std::string& path, Subject subject) {
  throw OsError(ErrorNumber(err, path, subject));
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentFolder(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string_view LastComponent(std::string_view path) {
  std::string_view::size_type slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void RequireValidName(const std::string& path) {
  if (!IsValidName(LastComponent(path))) throw OsError(kPathFileAccessError);
}

void RefuseReadOnlyTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && IsReadOnlyMode(info.st_mode))
    throw OsError(kPathFileAccessError);
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd OpenOrThrow(const std::string& path, int flags, Subject subject, mode_t mode) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) ThrowSystemError(errno, path, subject);
  return UniqueFd(fd);
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno, path, Subject::kFile);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace platform::posix
