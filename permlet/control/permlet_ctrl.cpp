#include "permlet/control/permlet_ctrl.h"

#include <optional>
#include <vector>

#include "permlet/aclfile/sec_file_system.h"
#include "platform/file_system.h"

namespace permlet {

namespace {

// The system's own search over one folder; a folder that cannot be searched
// finds nothing. A path without a folder part searches the current folder.
std::vector<std::string> Search(platform::FileSystem& files, const std::string& directory,
                                std::string_view pattern) {
  try {
    return files.SystemSearch(directory.empty() ? "." : directory, pattern);
  } catch (const platform::OsError&) {
    return {};
  }
}

}  // namespace

CPermletCtrl::~CPermletCtrl() {
  try {
    EndUpdate();
  } catch (...) {
    // Nothing may leave a destructor; the changes are lost with the memory.
  }
}

const std::string& CPermletCtrl::GetProperty(DispId property) const {
  return const_cast<CPermletCtrl*>(this)->PropertyField(property);
}

void CPermletCtrl::SetProperty(DispId property, std::string_view text) {
  PropertyField(property) = text;
}

std::string& CPermletCtrl::PropertyField(DispId property) {
  switch (property) {
    case kDispOwner:
      return owner_;
    case kDispGroup:
      return group_;
    case kDispMode:
      return mode_;
    case kDispFree:
      return free_;
    case kDispComplete:
      return complete_;
    default:
      return errormsg_;
  }
}

bool CPermletCtrl::SetFilePath(std::string_view fullpath) {
  path_ = fullpath;
  std::optional<PermEntry> entry;
  try {
    fileModel_.AutoChoosePermFile(SECFileSystem::DirectoryPart(fullpath));
    entry = fileModel_.GetEntry(fullpath);
  } catch (const platform::OsError&) {
    // A file model that cannot be used has no entries.
  }
  if (!entry) {
    owner_.clear();
    group_.clear();
    mode_ = "000";
    free_ = "0";
    complete_ = "0";
    errormsg_ = "Error getting file entry";
    return false;
  }
  owner_ = entry->owner;
  group_ = entry->group;
  mode_ = entry->mode;
  complete_ = entry->complete != 0 ? "1" : "0";
  free_ = entry->free != 0 ? "1" : "0";
  errormsg_.clear();
  return true;
}

std::int32_t CPermletCtrl::Chmod(std::string_view mode, std::string_view uname,
                                 std::string_view gname, std::string_view fullpath,
                                 std::int16_t complete, std::int16_t /*free: always written 0*/) {
  int failure = 0;
  try {
    const std::string directory = SECFileSystem::DirectoryPart(fullpath);
    std::optional<PermissionFile> alone;
    PermissionFile& file = update_ ? update_->Folder(directory) : alone.emplace(files_);
    failure = Change(file, directory, SECFileSystem::FileNamePart(fullpath), mode, uname, gname,
                     complete, fullpath.find('*') != std::string_view::npos);
  } catch (const platform::OsError& error) {
    failure = error.number();  // the named lock could not be used
  }
  if (update_) update_->NoteFailure(failure);
  return 0;
}

// For a pattern, names that had no entry yet count as complete and the
// others get the caller's flag; each lookup sees the changes before it.
int CPermletCtrl::Change(PermissionFile& file, const std::string& directory, std::string_view name,
                         std::string_view mode, std::string_view uname, std::string_view gname,
                         std::int16_t complete, bool isPattern) {
  if (!isPattern) {
    if (name.empty() || Search(files_, directory, name).empty()) return 0;
    return file.SetEntry(directory + std::string(name), uname, gname, mode, complete, 0);
  }
  file.AutoChoosePermFile(directory);
  int failure = 0;
  for (const std::string& found : Search(files_, directory, name)) {
    const bool hadEntry = file.GetEntryForName(found);
    const int result =
        file.SetEntry(directory + found, uname, gname, mode, hadEntry ? complete : 1, 0);
    if (failure == 0) failure = result;
  }
  return failure;
}

std::int32_t CPermletCtrl::BeginUpdate() {
  if (!update_) update_.emplace(files_);
  return 0;
}

std::int32_t CPermletCtrl::EndUpdate() {
  if (!update_) return 0;
  const int result = update_->Write();
  update_.reset();
  return result;
}

}  // namespace permlet
