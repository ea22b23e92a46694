#include <algorithm>
#include <memory>
#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(win32::UniqueHandle file) : file_(std::move(file)) {}

  std::size_t Read(void* buffer, std::size_t size) override {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file_.get(), buffer, chunk, &got, nullptr)) win32::ThrowLastError();
    return got;
  }

 private:
  win32::UniqueHandle file_;
};

}  // namespace

// Opening shared with readers only is the probe itself: while another process
// (the server finishing an upload) holds the file open for writing, the open
// fails with a sharing violation. An open refused for another reason cannot
// tell either: a file counts as being written then, unless it is not there.
bool HostFileSystem::IsBeingWritten(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Shared with readers only, so the open refuses a file that IsBeingWritten,
// and the file is left alone.
std::unique_ptr<InputFile> HostFileSystem::OpenForReading(const std::string& path) {
  win32::UniqueHandle file = win32::OpenFileOrThrow(path, GENERIC_READ, FILE_SHARE_READ,
                                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
  return std::make_unique<Win32InputFile>(std::move(file));
}

}  // namespace platform
