// The changes of one bulk update: each folder's permission file keeps them in
// memory, each change with the effect it has alone, until Write reloads,
// changes and saves every file once, under the lock, flushed to disk once.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "permlet/aclfile/permission_file.h"
#include "platform/file_system.h"

namespace permlet {

class PermissionUpdate {
 public:
  explicit PermissionUpdate(platform::FileSystem& files) : files_(files) {}

  // The file that keeps the changes to `directory` (as a path's directory
  // part spells it), made on first use. Throws platform::OsError when its
  // named lock cannot be opened.
  PermissionFile& Folder(const std::string& directory);
  // Notes the error number of a change that could not be made; 0 is none.
  void NoteFailure(int number);
  // Saves each folder's changes, in the order the folders were first used.
  // Returns 0, or the number of the first failure, noted or of a save.
  int Write();

 private:
  platform::FileSystem& files_;
  std::vector<std::pair<std::string, std::unique_ptr<PermissionFile>>> folders_;
  int firstFailure_ = 0;
};

}  // namespace permlet
