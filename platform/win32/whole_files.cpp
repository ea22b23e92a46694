#include <atomic>
#include <string>
#include <string_view>

#include "platform/host_file_system.h"
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

// A fresh file beside `path` under a name no other writer uses.
UniqueHandle CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = win32::ParentFolder(path);
  for (;;) {
    tempPath = win32::JoinPath(folder, ".corvane-" + std::to_string(GetCurrentProcessId()) + "-" +
                                           std::to_string(counter++) + ".tmp");
    HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return UniqueHandle(file);
    if (GetLastError() != ERROR_FILE_EXISTS) win32::ThrowLastError();
  }
}

void CloseOrThrow(UniqueHandle file) {
  if (!CloseHandle(file.Release())) win32::ThrowLastError();
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
  std::string tempPath;
  UniqueHandle file = CreateTemporaryBeside(path, tempPath);
  try {
    win32::WriteAll(file.get(), bytes);
    if (!FlushFileBuffers(file.get())) win32::ThrowLastError();
    CloseOrThrow(std::move(file));
    // The system refuses to replace a read-only target, as a plain write would.
    if (!MoveFileExA(tempPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw ReplaceRefused(win32::ErrorNumber(GetLastError()));
  } catch (...) {
    file = UniqueHandle();
    DeleteFileA(tempPath.c_str());
    throw;
  }
}

}  // namespace platform
