#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

void DeleteFile(const std::string& path, bool force) {
  if (!win32::NamesAnEntry(path)) throw OsError(kFileNotFound);
  if (force) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!DeleteFileA(path.c_str())) win32::ThrowLastError();
}

void MoveFile(const std::string& from, const std::string& to) {
  if (!win32::NamesAnEntry(from)) throw OsError(kFileNotFound);
  win32::RequireValidName(to);
  if (MoveFileExA(from.c_str(), to.c_str(), 0)) return;
  const DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) throw OsError(kFileAlreadyExists);
  win32::ThrowSystemError(code);
}

// The system itself refuses to replace a read-only target.
void ReplaceFile(const std::string& from, const std::string& to) {
  if (!win32::NamesAnEntry(from)) throw OsError(kFileNotFound);
  win32::RequireValidName(to);
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) win32::ThrowLastError();
}

void SetReadOnly(const std::string& path, bool readOnly) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) win32::ThrowLastError();
  const DWORD changed =
      readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!SetFileAttributesA(path.c_str(), changed)) win32::ThrowLastError();
}

}  // namespace platform
