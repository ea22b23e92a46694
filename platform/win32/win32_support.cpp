#include "platform/win32/win32_support.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform::win32 {

int ErrorNumber(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return kPathNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return kDiskFull;
    case ERROR_TOO_MANY_OPEN_FILES:
      return kTooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return kOutOfMemory;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
      return kDeviceIoError;
    case ERROR_INVALID_PARAMETER:
      return kInvalidArgument;
    default:
      // Access denied, an existing name, a folder not empty, a bad name.
      return kPathFileAccessError;
  }
}

void ThrowSystemError(DWORD code) { throw OsError(ErrorNumber(code)); }

void ThrowLastError() { ThrowSystemError(GetLastError()); }

void ThrowLastFolderError() {
  const DWORD code = GetLastError();
  ThrowSystemError(code == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : code);
}

std::string_view LastComponent(std::string_view path) {
  std::string_view::size_type slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ParentFolder(const std::string& path) {
  std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool NamesAnEntry(std::string_view path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  return LastComponent(path).find_first_not_of(". ") != std::string_view::npos;
}

void RequireValidName(const std::string& path) {
  if (!IsValidName(LastComponent(path))) throw OsError(kPathFileAccessError);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  path += name;
  return path;
}

std::vector<FoundEntry> FindMatching(const std::string& folder, std::string_view pattern) {
  std::vector<FoundEntry> entries;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(JoinPath(folder, pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return entries;  // no match, or an empty drive root
    ThrowSystemError(code);
  }
  do {
    entries.push_back({data.cFileName, data.dwFileAttributes});
  } while (FindNextFileA(search, &data));
  const DWORD code = GetLastError();
  FindClose(search);
  if (code != ERROR_NO_MORE_FILES) ThrowSystemError(code);
  return entries;
}

std::vector<FoundEntry> FindAll(const std::string& folder) {
  std::vector<FoundEntry> entries = FindMatching(folder, "*");
  std::erase_if(entries,
                [](const FoundEntry& entry) { return entry.name == "." || entry.name == ".."; });
  return entries;
}

UniqueHandle::~UniqueHandle() {
  if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = other.Release();
  }
  return *this;
}

UniqueHandle OpenFileOrThrow(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                             DWORD flags) {
  HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowLastError();
  return UniqueHandle(file);
}

void WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) ThrowLastError();
    bytes.remove_prefix(written);
  }
}

}  // namespace platform::win32
