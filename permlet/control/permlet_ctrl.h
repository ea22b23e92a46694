// The permission control: reads one file's entry back into six text
// properties (SetFilePath) and sets entries, also for every name matching a
// wildcard pattern (Chmod). It never raises an error to its caller.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "permlet/aclfile/permission_file.h"
#include "permlet/control/type_library.h"
#include "platform/file_system.h"

namespace permlet {

class CPermletCtrl {
 public:
  // Works on the permission files through `files`. Throws platform::OsError
  // when the file model's named locks cannot be opened; the class factory
  // then makes no object.
  explicit CPermletCtrl(platform::FileSystem& files) : files_(files), fileModel_(files) {}

  // The six text properties by dispatch identifier (kDispOwner to
  // kDispErrormsg). Writing one stores the text and nothing else.
  const std::string& GetProperty(DispId property) const;
  void SetProperty(DispId property, std::string_view text);

  // Loads the entry of `fullpath` into the properties; false with errormsg
  // "Error getting file entry" when it has none.
  bool SetFilePath(std::string_view fullpath);

  // Gives `fullpath` (or every name its pattern matches, where it holds "*")
  // the owner, group, mode and complete flag; free is always written as 0.
  // Returns 0 whether or not anything was written.
  std::int32_t Chmod(std::string_view mode, std::string_view uname, std::string_view gname,
                     std::string_view fullpath, std::int16_t complete, std::int16_t free);

 private:
  std::string& PropertyField(DispId property);
  void ChmodPattern(PermissionFile& file, const std::string& directory, std::string_view pattern,
                    std::string_view mode, std::string_view uname, std::string_view gname,
                    std::int16_t complete);

  platform::FileSystem& files_;
  PermissionFile fileModel_;
  std::string owner_;
  std::string group_;
  std::string mode_ = "000";
  std::string free_ = "0";
  std::string complete_ = "0";
  std::string errormsg_;
  std::string path_;
};

}  // namespace permlet
