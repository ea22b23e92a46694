// Shared pieces of the Win32 implementation: the system headers with the
// names that clash with the platform's own functions taken back, turning
// system error codes into OsError, and owning handles.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// <windows.h> maps these to their A/W forms; the file system's members of
// the same names must keep theirs.
#undef DeleteFile
#undef MoveFile

#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

// The classic error number that matches the system error `code`.
int ErrorNumber(DWORD code);
// Throws the OsError that matches the system error `code`.
[[noreturn]] void ThrowSystemError(DWORD code);
// The same for the calling thread's last error.
[[noreturn]] void ThrowLastError();
// The last error of an operation on a folder: a missing folder is "Path not
// found" whichever part of its path is missing.
[[noreturn]] void ThrowLastFolderError();

// The last component of `path` (after its last '\' or '/').
std::string_view LastComponent(std::string_view path);
// The folder part of `path`, without the separator ("." when it has none).
std::string ParentFolder(const std::string& path);

// Whether `path` names an entry of its own. The system drops trailing dots
// and blanks from the last name of a path, so a name of nothing else ("...",
// " ", "..") would name the folder above it, or the one above that: a
// deletion or move must never reach those through a name read from a file.
bool NamesAnEntry(std::string_view path);

// Throws OsError 75 when the last component of `path` is no valid name: the
// system would otherwise read ':' as a stream name or '/' as a separator.
void RequireValidName(const std::string& path);

// An entry of a folder as the system's search returns it.
struct FoundEntry {
  std::string name;
  DWORD attributes = 0;
};
// Every entry of `folder` that the system's search matches with `pattern`,
// hidden and system ones included, "." and ".." where the pattern matches
// them, in the system's order. Throws OsError when the folder cannot be read.
std::vector<FoundEntry> FindMatching(const std::string& folder, std::string_view pattern);
// The same for every entry but "." and "..".
std::vector<FoundEntry> FindAll(const std::string& folder);
// `folder` joined with `name` by a backslash.
std::string JoinPath(const std::string& folder, std::string_view name);

// An owned handle, closed on destruction.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle();
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// CreateFileA that throws OsError on failure.
UniqueHandle OpenFileOrThrow(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                             DWORD flags = FILE_ATTRIBUTE_NORMAL);
// Writes all of `bytes`; throws OsError on failure.
void WriteAll(HANDLE file, std::string_view bytes);

}  // namespace platform::win32
