#include <cstring>
#include <optional>
#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// The final path of an existing file or folder, links and junctions
// resolved, in the system's normalised form.
std::optional<std::string> Resolved(const std::string& path) {
  HANDLE handle =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  win32::UniqueHandle owned(handle);
  std::string buffer(32768, '\0');
  const DWORD length =
      GetFinalPathNameByHandleA(owned.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  buffer.resize(length);
  return buffer;
}

}  // namespace

bool HostFileSystem::LeadsOutside(const std::string& folder, const std::string& path) {
  const std::optional<std::string> target = Resolved(path);
  if (!target) return false;
  std::optional<std::string> root = Resolved(folder);
  if (!root) return true;
  if (root->back() != '\\') *root += '\\';
  // Names compare without regard to case, as the file system does.
  const std::string inside = *target + '\\';
  return inside.size() < root->size() ||
         _strnicmp(inside.c_str(), root->c_str(), root->size()) != 0;
}

}  // namespace platform
