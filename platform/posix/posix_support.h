// Shared pieces of the POSIX implementation: turning errno into OsError,
// refusing names that Windows cannot hold, and owning file descriptors.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

namespace platform::posix {

// What a failing call was about: a missing file and a missing folder are
// reported with different classic numbers.
enum class Subject { kFile, kFolder };

// The classic error number that matches `err` for an operation on `path`.
int ErrorNumber(int err, const std::string& path, Subject subject);
// Throws the OsError that matches `err` for an operation on `path`.
[[noreturn]] void ThrowSystemError(int err, const std::string& path, Subject subject);

// Whether `path` is a folder, or a link to one.
bool IsFolder(const std::string& path);

// The folder part of `path` ("." when it has none).
std::string ParentFolder(const std::string& path);
// The last component of `path`.
std::string_view LastComponent(std::string_view path);

// Throws OsError 75 when the last component of `path` is no valid name.
void RequireValidName(const std::string& path);

// The read-only attribute of Windows, kept as the owner's write permission.
inline bool IsReadOnlyMode(mode_t mode) { return (mode & S_IWUSR) == 0; }
// Throws OsError 75 when `path` exists as a read-only file (Windows refuses
// to overwrite or replace such a file).
void RefuseReadOnlyTarget(const std::string& path);

// An owned file descriptor, closed on destruction.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_ = -1;
};

// Flags for opening a file to read: O_NONBLOCK keeps a pipe or device under
// a file's name from stalling the open; ordinary files ignore it.
inline constexpr int kReadFlags = O_RDONLY | O_NONBLOCK;

// open(2) retried on EINTR; throws OsError on failure.
UniqueFd OpenOrThrow(const std::string& path, int flags, Subject subject, mode_t mode = 0);
// Writes all of `bytes`; throws OsError on failure.
void WriteAll(int fd, std::string_view bytes, const std::string& path);

}  // namespace platform::posix
