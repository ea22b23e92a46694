#include "release/removal.h"

#include "common/strings.h"

namespace release {

void DeleteIfExists(platform::FileSystem& files, const std::string& path) {
  if (files.FileExists(path)) files.DeleteFile(path, false);
}

void RemoveStatusEntry(platform::FileSystem& files, const std::string& prefix,
                       const std::string& name, bool asFile) {
  if (!strings::IsPlainName(name)) return;
  const std::string path = prefix + name;
  if (asFile) {
    if (files.FileExists(path) && files.FileLength(path) == 0) files.DeleteFile(path, false);
  } else if (files.FolderExists(path) && files.ListFolder(path).empty()) {
    files.DeleteFolder(path);
  }
}

}  // namespace release
