#include "permlet/aclfile/permission_update.h"

#include "platform/os_error.h"

namespace permlet {

PermissionFile& PermissionUpdate::Folder(const std::string& directory) {
  for (auto& [folder, file] : folders_) {
    if (folder == directory) return *file;
  }
  auto file = std::make_unique<PermissionFile>(files_, PermissionFile::Saving::kKept);
  return *folders_.emplace_back(directory, std::move(file)).second;
}

void PermissionUpdate::NoteFailure(int number) {
  if (firstFailure_ == 0) firstFailure_ = number;
}

int PermissionUpdate::Write() {
  for (auto& [folder, file] : folders_) {
    try {
      NoteFailure(file->SaveKeptChanges());
    } catch (const platform::OsError& error) {
      NoteFailure(error.number());  // the named lock could not be taken
    }
  }
  folders_.clear();
  return firstFailure_;
}

}  // namespace permlet
