// The system's own file system, the one SystemFileSystem() gives. The host's
// folder (posix/ or win32/) defines its members by topic across its files
// (file_tests.cpp, files.cpp, folders.cpp ...). Only the platform layer
// includes this header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace platform {

class HostFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  PathPlace PlaceBelow(const std::string& folder, const std::string& path) override;
  std::optional<std::string> ResolvedPath(const std::string& path) override;
  bool IsBeingWritten(const std::string& path) override;

  void CreateFolder(const std::string& path) override;
  void DeleteFile(const std::string& path, bool force) override;
  void DeleteFolder(const std::string& path) override;
  void DeleteTree(const std::string& path) override;
  void MoveFile(const std::string& from, const std::string& to) override;

  std::int64_t FileLength(const std::string& path) override;
  std::vector<DirEntry> ListFolder(const std::string& path) override;
  std::vector<DirEntry> ListFolderRemovingLeftovers(const std::string& path) override;
  std::vector<std::string> SystemSearch(const std::string& folder,
                                        std::string_view pattern) override;
  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
  std::string ReadWholeFile(const std::string& path) override;

  void WriteWholeFile(const std::string& path, std::string_view bytes) override;
  void WriteFileAtomically(const std::string& path, std::string_view bytes) override;
};

}  // namespace platform
