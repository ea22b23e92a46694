// The real file system with failures on demand, for the failure paths that
// matter: a full disk, a rename that fails, a read error on the n-th read and
// a listing that fails. Each fault applies to the paths that end with the
// text it is given (every path when that is empty); everything else goes to
// the real file system unchanged. It counts the writes asked of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace support {

class FaultyFileSystem final : public platform::FileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& real = platform::SystemFileSystem())
      : real_(real) {}

  // The disk is full for such paths: a write fails with 61 "Disk full" and
  // leaves an existing file empty (cut where the disk ran full), no folder is
  // made, and an atomic write fails with the old file whole.
  void FillDisk(std::string pathEnding = {}) { diskFull_ = std::move(pathEnding); }
  // Renaming such a path fails with 75: a move, and the last step of an
  // atomic write, which throws ReplaceRefused with the old file whole.
  void FailRenames(std::string pathEnding = {}) { renames_ = std::move(pathEnding); }
  // The n-th read (from 1) of such a file fails with 57 "Device I/O error":
  // every Read of an opened file counts, a whole-file read counts as one.
  void FailRead(int n, std::string pathEnding = {});
  // Listing such a folder fails with 75, and so does a search in it.
  void FailListings(std::string pathEnding = {}) { listings_ = std::move(pathEnding); }

  // The whole-file and the atomic writes asked for so far, failed ones too.
  int WholeWrites() const { return wholeWrites_; }
  int AtomicWrites() const { return atomicWrites_; }

  bool FileExists(const std::string& path) override { return real_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return real_.FolderExists(path); }
  platform::PathPlace PlaceBelow(const std::string& folder, const std::string& path) override {
    return real_.PlaceBelow(folder, path);
  }
  std::optional<std::string> ResolvedPath(const std::string& path) override {
    return real_.ResolvedPath(path);
  }
  bool IsBeingWritten(const std::string& path) override { return real_.IsBeingWritten(path); }

  void CreateFolder(const std::string& path) override;
  void DeleteFile(const std::string& path, bool force) override { real_.DeleteFile(path, force); }
  void DeleteFolder(const std::string& path) override { real_.DeleteFolder(path); }
  void DeleteTree(const std::string& path) override { real_.DeleteTree(path); }
  void MoveFile(const std::string& from, const std::string& to) override;

  std::int64_t FileLength(const std::string& path) override { return real_.FileLength(path); }
  std::vector<platform::DirEntry> ListFolder(const std::string& path) override;
  std::vector<platform::DirEntry> ListFolderRemovingLeftovers(const std::string& path) override;
  std::vector<std::string> SystemSearch(const std::string& folder,
                                        std::string_view pattern) override;
  std::unique_ptr<platform::InputFile> OpenForReading(const std::string& path) override;
  std::string ReadWholeFile(const std::string& path) override;

  void WriteWholeFile(const std::string& path, std::string_view bytes) override;
  void WriteFileAtomically(const std::string& path, std::string_view bytes) override;

 private:
  static bool Hits(const std::optional<std::string>& fault, const std::string& path) {
    return fault && path.ends_with(*fault);
  }

  platform::FileSystem& real_;
  std::optional<std::string> diskFull_;
  std::optional<std::string> renames_;
  std::optional<std::string> reads_;
  int failingRead_ = 0;
  std::optional<std::string> listings_;
  int wholeWrites_ = 0;
  int atomicWrites_ = 0;
};

}  // namespace support
