// One folder's permission file ".raidenftpd.acl", which the FTP server reads:
// one line "RD2 <key>=<owner>|<group>|<mode>|<complete>|<free>|" per entry,
// ended by CR LF. Nothing here raises an error to the caller: an operation
// that cannot read or write the file stops and answers with a classic error
// number.
//
// The system-wide named lock "lockaamap" is held from the reload of a file to
// its save, so that controls in any thread or process that change the same
// file take turns and none loses the other's entries.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "permlet/aclfile/entry_map.h"
#include "platform/file_system.h"
#include "platform/platform.h"

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
  // The longest record the file's format holds.
  static constexpr std::size_t kMaxRecordLength = 126;

  // When SetEntry writes the file.
  enum class Saving {
    // Each change reloads the file, sets its entry and saves, under the lock.
    kEachChange,
    // The changes to one folder are made in memory and kept; SaveKeptChanges
    // makes them all again in one reload and one save, leaving the bytes that
    // saving each change would have left.
    kKept,
  };

  // Reads and writes through `files`. Throws platform::OsError when the
  // named lock cannot be opened.
  explicit PermissionFile(platform::FileSystem& files, Saving saving = Saving::kEachChange);

  // Chooses the permission file of `directory` and loads it into the map,
  // which is emptied first. False when the folder is refused, when it holds
  // no permission file, or when the file cannot be read. With kept changes a
  // file serves the folder it chose first; choosing again loads the file as
  // the kept changes have left it.
  bool AutoChoosePermFile(std::string_view directory);

  // The entry of a path's file-name part. The permission file itself always
  // reads as root, root, 000, complete 1, free 0.
  std::optional<PermEntry> GetEntry(std::string_view fullPath) const;
  // Whether a bare file name has an entry.
  bool GetEntryForName(std::string_view fileName) const;
  // Reloads the folder's file, sets the entry of the path and writes the file
  // (or keeps the change). Returns 0, or the error number of what stopped it:
  // 5 when a field would not read back as given (a separator "|" or "=", a
  // line end or a NUL in it, or a record longer than the format holds), 75 a
  // refused folder, the read's or the write's number otherwise. Nothing is
  // written then.
  int SetEntry(std::string_view fullPath, std::string_view owner, std::string_view group,
               std::string_view mode, int complete, int free);
  // Writes every entry with a record to the chosen file, in table order.
  // Returns 0 or the error number of the failed write.
  int SavePermFile();
  // Makes the kept changes in one reload and one save; returns as SetEntry.
  int SaveKeptChanges();

  const std::string& permFilePath() const { return permFilePath_; }
  const std::string& statusText() const { return statusText_; }

 private:
  enum class Choice { kLoaded, kNoFile, kRefused, kUnreadable };
  struct KeptChange {
    std::string name;  // lowered
    std::string record;
  };

  Choice Choose(std::string_view directory);
  // The folder of kept changes, chosen once and then reloaded in memory.
  Choice ChooseKept(std::string_view directory);
  int ChoiceFailure(Choice choice) const;
  void Load(const std::string& text);
  // One change on the map as reloaded from the last save.
  void Apply(const std::string& name, const std::string& record);
  void ReloadSaved();
  int Write();

  std::string permFileName_ = kPermFileName;
  std::string permFilePath_;
  std::string statusText_ = "no error";
  EntryMap entries_;
  const Saving saving_;
  platform::FileSystem& files_;
  platform::NamedLock tableLock_;
  // The error number of the last read that failed.
  int readFailure_ = 0;
  // The map is what the last save wrote; a reload would turn its chains.
  bool savedSinceLoad_ = false;
  // The map holds records as read from the file, which a save may leave out
  // or the next reload cut.
  bool asRead_ = false;
  // Kept changes: the folder, what choosing it gave, and the changes.
  std::optional<std::string> keptDirectory_;
  Choice keptChoice_ = Choice::kNoFile;
  std::vector<KeptChange> kept_;
};

}  // namespace permlet
