#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/host_file_system.h"
#include "platform/temporary_names.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

using win32::UniqueHandle;

// Opens for writing and empties the file. OPEN_ALWAYS rather than
// CREATE_ALWAYS: the latter refuses an existing hidden file. Writers are
// denied while it is open; a read-only file is refused by the system.
UniqueHandle OpenEmptied(const std::string& path) {
  UniqueHandle file = win32::OpenFileOrThrow(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  if (!SetEndOfFile(file.get())) win32::ThrowLastError();
  return file;
}

void CloseOrThrow(UniqueHandle file) {
  if (!CloseHandle(file.Release())) win32::ThrowLastError();
}

// A fresh file beside `path` under a name no other writer uses, hidden for as
// long as it lies there.
UniqueHandle CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  const std::string folder = win32::ParentFolder(path);
  for (;;) {
    tempPath = win32::JoinPath(folder, NextTemporaryName(GetCurrentProcessId()));
    HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE) return UniqueHandle(file);
    if (GetLastError() != ERROR_FILE_EXISTS) win32::ThrowLastError();
  }
}

// The attributes that a replaced file hands on to its new content: hidden,
// system and the like. A new file gets none.
DWORD KeptAttributes(DWORD replaced) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (replaced == INVALID_FILE_ATTRIBUTES || (replaced & kKept) == 0) return FILE_ATTRIBUTE_NORMAL;
  return replaced & kKept;
}

// Whether a failed replace was refused because another process holds the
// target open without letting it be replaced. A read-only target is refused
// with the same code, and for good.
bool RefusedForSharing(DWORD code, const std::string& path) {
  if (code == ERROR_SHARING_VIOLATION) return true;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// Renames the temporary file over `path`, trying again for a short while
// when a reader holds `path`. False when the reader still holds it; throws
// ReplaceRefused when the system refuses the rename otherwise.
bool Replaced(const std::string& tempPath, const std::string& path) {
  constexpr int kTries = 6;
  DWORD pause = 10;
  for (int attempt = 1;; ++attempt, pause *= 2) {
    if (MoveFileExA(tempPath.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD code = GetLastError();
    if (!RefusedForSharing(code, path)) throw ReplaceRefused(win32::ErrorNumber(code));
    if (attempt == kTries) return false;
    Sleep(pause);
  }
}

void MoveTo(HANDLE file, std::int64_t offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(file, distance, nullptr, FILE_BEGIN)) win32::ThrowLastError();
}

// Writes `bytes` into the existing file. The part beyond the old length goes
// first: when the disk is full, the file is cut back to its old length and
// its old content is whole. Other writers are refused while it is open.
void WriteInPlace(const std::string& path, std::string_view bytes) {
  UniqueHandle file = win32::OpenFileOrThrow(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) win32::ThrowLastError();
  const std::size_t oldLength = static_cast<std::size_t>(size.QuadPart);
  if (bytes.size() > oldLength) {
    MoveTo(file.get(), size.QuadPart);
    try {
      win32::WriteAll(file.get(), bytes.substr(oldLength));
    } catch (const OsError&) {
      MoveTo(file.get(), size.QuadPart);
      SetEndOfFile(file.get());
      throw;
    }
  }
  MoveTo(file.get(), 0);
  win32::WriteAll(file.get(), bytes.substr(0, std::min(oldLength, bytes.size())));
  MoveTo(file.get(), static_cast<std::int64_t>(bytes.size()));
  if (!SetEndOfFile(file.get()) || !FlushFileBuffers(file.get())) win32::ThrowLastError();
  CloseOrThrow(std::move(file));
}

}  // namespace

// Shared with readers only: a file that is still being written is not read.
std::string HostFileSystem::ReadWholeFile(const std::string& path) {
  UniqueHandle file = win32::OpenFileOrThrow(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                             FILE_FLAG_SEQUENTIAL_SCAN);
  std::string bytes;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.get(), &size)) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) win32::ThrowLastError();
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

void HostFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  win32::RequireValidName(path);
  UniqueHandle file = OpenEmptied(path);
  win32::WriteAll(file.get(), bytes);
  CloseOrThrow(std::move(file));
}

void HostFileSystem::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  win32::RequireValidName(path);
  // A read-only file is refused, as a plain write of it is.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw OsError(kPathFileAccessError);
  std::string tempPath;
  UniqueHandle file = CreateTemporaryBeside(path, tempPath);
  bool replaced = false;
  try {
    win32::WriteAll(file.get(), bytes);
    if (!FlushFileBuffers(file.get())) win32::ThrowLastError();
    CloseOrThrow(std::move(file));
    replaced = Replaced(tempPath, path);
  } catch (...) {
    file = UniqueHandle();
    DeleteFileA(tempPath.c_str());
    throw;
  }
  if (!replaced) {
    DeleteFileA(tempPath.c_str());
    return WriteInPlace(path, bytes);
  }
  // The new content came with the temporary file's attributes.
  const DWORD kept = KeptAttributes(attributes);
  if (kept != FILE_ATTRIBUTE_HIDDEN && !SetFileAttributesA(path.c_str(), kept))
    win32::ThrowLastError();
}

}  // namespace platform
