// One folder's permission file ".raidenftpd.acl", which the FTP server reads:
// one line "RD2 <key>=<owner>|<group>|<mode>|<complete>|<free>|" per entry,
// ended by CR LF. Nothing here raises an error to the caller: a file that
// cannot be read or written stops the operation quietly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "permlet/aclfile/entry_map.h"
#include "platform/file_system.h"

namespace permlet {

struct PermEntry {
  std::string owner;
  std::string group;
  std::string mode;  // three octal digits, owner/group/others
  int complete = 0;
  int free = 0;
};

class PermissionFile {
 public:
  static constexpr const char* kPermFileName = ".raidenftpd.acl";
  // Folders this long or longer are refused.
  static constexpr std::size_t kMaxDirectoryLength = 500;
  // A file is read in pieces of at most this many characters; the rest of a
  // longer line counts as a line of its own.
  static constexpr std::size_t kReadPieceLength = 511;

  // Reads and writes through `files`. Throws platform::OsError when the map's
  // named locks cannot be opened.
  explicit PermissionFile(platform::FileSystem& files) : files_(files) {}

  // Chooses the permission file of `directory` and loads it into the map,
  // which is emptied first. False when the folder is refused, when it holds
  // no permission file, or when the file cannot be read.
  bool AutoChoosePermFile(std::string_view directory);

  // The entry of a path's file-name part. The permission file itself always
  // reads as root, root, 000, complete 1, free 0.
  std::optional<PermEntry> GetEntry(std::string_view fullPath) const;
  // Whether a bare file name has an entry.
  bool GetEntryForName(std::string_view fileName) const;
  // Reloads the folder's file, sets the entry of the path and writes the file.
  void SetEntry(std::string_view fullPath, std::string_view owner, std::string_view group,
                std::string_view mode, int complete, int free);
  // Writes every entry with a record to the chosen file, in table order.
  void SavePermFile() const;

  const std::string& permFilePath() const { return permFilePath_; }
  const std::string& statusText() const { return statusText_; }

 private:
  enum class Choice { kLoaded, kNoFile, kRefused, kUnreadable };
  Choice Choose(std::string_view directory);
  void Load(const std::string& bytes);

  platform::FileSystem& files_;
  std::string permFileName_ = kPermFileName;
  std::string permFilePath_;
  std::string statusText_ = "no error";
  EntryMap entries_;
};

}  // namespace permlet
