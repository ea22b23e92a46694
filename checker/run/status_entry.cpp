#include "checker/run/status_entry.h"

#include "checker/run/run_error.h"
#include "common/strings.h"
#include "platform/platform.h"

void MakeStatusEntry(const std::string& prefix, const std::string& name, bool asFile) {
  if (!strings::IsPlainName(name)) throw RunError(platform::kBadFileName);
  const std::string path = prefix + name;
  if (asFile) {
    if (!platform::FileExists(path)) platform::CreateEmptyFile(path);
  } else if (!platform::FolderExists(path)) {
    platform::CreateFolder(path);
  }
}

void RemoveStatusEntry(const std::string& prefix, const std::string& name, bool asFile) {
  if (!strings::IsPlainName(name)) return;
  const std::string path = prefix + name;
  if (asFile) {
    if (platform::FileExists(path) && platform::FileLength(path) == 0) {
      platform::DeleteFile(path, false);
    }
  } else if (platform::FolderExists(path) && platform::ListFolder(path).empty()) {
    platform::DeleteFolder(path);
  }
}
