#include "permlet/control/permlet_ctrl.h"

#include <optional>
#include <vector>

#include "permlet/aclfile/sec_file_system.h"
#include "platform/file_system.h"

namespace permlet {

namespace {

// The platform's wildcard search over one folder; a folder that cannot be
// searched finds nothing. A path without a folder part searches the current
// folder.
std::vector<platform::DirEntry> Search(platform::FileSystem& files, const std::string& directory,
                                       std::string_view pattern) {
  try {
    return files.FindEntries(directory.empty() ? "." : directory, pattern);
  } catch (const platform::OsError&) {
    return {};
  }
}

}  // namespace

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
  try {
    PermissionFile file(files_);
    const std::string directory = SECFileSystem::DirectoryPart(fullpath);
    file.AutoChoosePermFile(directory);
    const std::string name = SECFileSystem::FileNamePart(fullpath);
    if (fullpath.find('*') != std::string_view::npos) {
      ChmodPattern(file, directory, name, mode, uname, gname, complete);
    } else if (!name.empty() && !Search(files_, directory, name).empty()) {
      file.SetEntry(fullpath, uname, gname, mode, complete, 0);
    }
  } catch (const platform::OsError&) {
    // Chmod reports nothing; the named locks could not be used.
  }
  return 0;
}

// Names that had no entry yet count as complete; the others get the caller's
// flag. Each SetEntry reloads the file, so each lookup sees the changes so far.
void CPermletCtrl::ChmodPattern(PermissionFile& file, const std::string& directory,
                                std::string_view pattern, std::string_view mode,
                                std::string_view uname, std::string_view gname,
                                std::int16_t complete) {
  for (const platform::DirEntry& found : Search(files_, directory, pattern)) {
    const bool hadEntry = file.GetEntryForName(found.name);
    file.SetEntry(directory + found.name, uname, gname, mode, hadEntry ? complete : 1, 0);
  }
}

}  // namespace permlet
