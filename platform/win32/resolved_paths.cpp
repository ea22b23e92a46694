#include <cstring>
#include <optional>
#include <string>

#include "platform/host_file_system.h"
#include "platform/win32/win32_support.h"

namespace platform {

// Links and junctions resolved, in the system's normalised form.
std::optional<std::string> HostFileSystem::ResolvedPath(const std::string& path) {
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
  // The system answers in its long form: \\?\C:\... or \\?\UNC\server\share\...
  if (buffer.starts_with("\\\\?\\UNC\\")) return "\\\\" + buffer.substr(8);
  if (buffer.starts_with("\\\\?\\")) return buffer.substr(4);
  return buffer;
}

PathPlace HostFileSystem::PlaceBelow(const std::string& folder, const std::string& path) {
  const std::optional<std::string> target = ResolvedPath(path);
  if (!target) return PathPlace::kNoFileInside;
  std::optional<std::string> root = ResolvedPath(folder);
  if (!root) return PathPlace::kOutside;
  if (root->back() != '\\') *root += '\\';
  // Names compare without regard to case, as the file system does.
  const std::string inside = *target + '\\';
  if (inside.size() < root->size() || _strnicmp(inside.c_str(), root->c_str(), root->size()) != 0)
    return PathPlace::kOutside;
  return FileExists(path) ? PathPlace::kFileInside : PathPlace::kNoFileInside;
}

}  // namespace platform
