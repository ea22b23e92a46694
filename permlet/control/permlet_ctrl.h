// The permission control: reads one file's entry back into six text
// properties (SetFilePath) and sets entries, also for every name matching a
// wildcard pattern (Chmod), one by one or in a bulk update (BeginUpdate,
// EndUpdate). It never raises an error to its caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "permlet/aclfile/permission_file.h"
#include "permlet/aclfile/permission_update.h"
#include "permlet/control/type_library.h"
#include "platform/file_system.h"

namespace permlet {

class CPermletCtrl {
 public:
  // Works on the permission files through `files`. Throws platform::OsError
  // when the file model's named lock cannot be opened; the class factory then
  // makes no object.
  explicit CPermletCtrl(platform::FileSystem& files) : files_(files), fileModel_(files) {}
  // Writes the changes of an update still open.
  ~CPermletCtrl();
  CPermletCtrl(const CPermletCtrl&) = delete;
  CPermletCtrl& operator=(const CPermletCtrl&) = delete;

  // The six text properties by dispatch identifier (kDispOwner to
  // kDispErrormsg). Writing one stores the text and nothing else.
  const std::string& GetProperty(DispId property) const;
  void SetProperty(DispId property, std::string_view text);

  // Loads the entry of `fullpath` into the properties; false with errormsg
  // "Error getting file entry" when it has none.
  bool SetFilePath(std::string_view fullpath);

  // Gives `fullpath` (or every name its pattern matches, where it holds "*")
  // the owner, group, mode and complete flag; free is always written as 0.
  // Returns 0 whether or not anything was written. The existence test and
  // the pattern's search ask the system's own search, which finds hidden
  // names too.
  std::int32_t Chmod(std::string_view mode, std::string_view uname, std::string_view gname,
                     std::string_view fullpath, std::int16_t complete, std::int16_t free);

  // Between BeginUpdate and EndUpdate each Chmod has the effect it has alone
  // (its searches see the folder as it is at the call; a pattern's test for
  // an existing entry sees the changes before it), but each folder's
  // permission file is reloaded, changed and saved once, at EndUpdate, under
  // the lock. A second BeginUpdate joins the open update. EndUpdate returns
  // 0 when every change was written (or none was open), else the classic
  // error number of the first failure (61 disk full, 75 path/file access
  // error, 5 a name that the file cannot hold ...). SetFilePath reads the
  // file as it is on disk.
  std::int32_t BeginUpdate();
  std::int32_t EndUpdate();

 private:
  std::string& PropertyField(DispId property);
  // The first failure of the changes of one Chmod, 0 for none.
  int Change(PermissionFile& file, const std::string& directory, std::string_view name,
             std::string_view mode, std::string_view uname, std::string_view gname,
             std::int16_t complete, bool isPattern);

  platform::FileSystem& files_;
  PermissionFile fileModel_;
  std::string owner_;
  std::string group_;
  std::string mode_ = "000";
  std::string free_ = "0";
  std::string complete_ = "0";
  std::string errormsg_;
  std::string path_;
  std::optional<PermissionUpdate> update_;
};

}  // namespace permlet
