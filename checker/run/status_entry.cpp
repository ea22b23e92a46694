#include "checker/run/status_entry.h"

#include "checker/run/run_error.h"
#include "common/strings.h"

void MakeStatusEntry(platform::FileSystem& files, const std::string& prefix,
                     const std::string& name, bool asFile) {
  if (!strings::IsPlainName(name)) throw RunError(platform::kBadFileName);
  const std::string path = prefix + name;
  if (asFile) {
    if (!files.FileExists(path)) files.CreateEmptyFile(path);
  } else if (!files.FolderExists(path)) {
    files.CreateFolder(path);
  }
}
