#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

void HostFileSystem::DeleteFile(const std::string& path, bool force) {
  if (!win32::NamesAnEntry(path)) throw OsError(kFileNotFound);
  if (force) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!DeleteFileA(path.c_str())) win32::ThrowLastError();
}

void HostFileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (!win32::NamesAnEntry(from)) throw OsError(kFileNotFound);
  win32::RequireValidName(to);
  if (MoveFileExA(from.c_str(), to.c_str(), 0)) return;
  const DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) throw OsError(kFileAlreadyExists);
  win32::ThrowSystemError(code);
}

}  // namespace platform
