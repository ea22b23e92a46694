#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "platform/host_file_system.h"
#include "platform/posix/posix_support.h"

namespace platform {

namespace {

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(posix::UniqueFd fd, std::string path)
      : fd_(std::move(fd)), path_(std::move(path)) {}

  std::size_t Read(void* buffer, std::size_t size) override {
    for (;;) {
      ssize_t got = read(fd_.get(), buffer, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) posix::ThrowSystemError(errno, path_, posix::Subject::kFile);
    }
  }

 private:
  posix::UniqueFd fd_;
  std::string path_;
};

enum class Writers { kNone, kSome, kUnknown };

// Whether some descriptor anywhere holds the open file for writing. A read
// lease is refused exactly then (EAGAIN); it is given back at once. Any other
// refusal leaves the question open: the system grants leases only to the
// file's owner or a holder of CAP_LEASE, and only on file systems that have
// them.
Writers ProbeWriters(int fd) {
  // Should a writer open the file in the instant the lease is held, the
  // system signals the holder: make that a signal which is ignored unless
  // handled, instead of SIGIO, which would end the process.
  if (fcntl(fd, F_SETSIG, SIGURG) != 0) return Writers::kUnknown;
  if (fcntl(fd, F_SETLEASE, F_RDLCK) != 0) {
    return errno == EAGAIN ? Writers::kSome : Writers::kUnknown;
  }
  fcntl(fd, F_SETLEASE, F_UNLCK);
  return Writers::kNone;
}

bool IsRegularFile(int fd) {
  struct stat info;
  return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

// A file that cannot even be opened to probe it counts as being written,
// unless it is not there at all.
bool HostFileSystem::IsBeingWritten(const std::string& path) {
  const int fd = open(path.c_str(), posix::kReadFlags | O_CLOEXEC);
  if (fd < 0) return errno != ENOENT && errno != ENOTDIR;
  const posix::UniqueFd owned(fd);
  return IsRegularFile(fd) && ProbeWriters(fd) != Writers::kNone;
}

std::unique_ptr<InputFile> HostFileSystem::OpenForReading(const std::string& path) {
  posix::UniqueFd fd = posix::OpenOrThrow(path, posix::kReadFlags, posix::Subject::kFile);
  struct stat info;
  if (fstat(fd.get(), &info) != 0) posix::ThrowSystemError(errno, path, posix::Subject::kFile);
  if (!S_ISREG(info.st_mode)) throw OsError(kPathFileAccessError);
  switch (ProbeWriters(fd.get())) {
    case Writers::kNone:
      break;
    case Writers::kSome:
      throw OsError(kPathFileAccessError);
    case Writers::kUnknown:
      throw OsError(kPermissionDenied,
                    "Cannot tell whether " + path +
                        " is still being written: the system refused a read lease on it. Run the "
                        "checker as the owner of the uploaded files, or give it CAP_LEASE");
  }
  posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::make_unique<PosixInputFile>(std::move(fd), path);
}

}  // namespace platform
