#include <optional>
#include <string>

#include "platform/host_file_system.h"
#include "platform/temporary_names.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// Whether a process of this number runs. One that has ended but whose handle
// someone still holds has ended all the same.
bool ProcessRuns(unsigned long processId) {
  if (processId > MAXDWORD) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

}  // namespace

void HostFileSystem::RemoveLeftoverTemporaries(const std::string& folder) {
  std::vector<win32::FoundEntry> entries;
  try {
    entries = win32::FindAll(folder);
  } catch (const OsError&) {
    return;
  }
  for (const win32::FoundEntry& entry : entries) {
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::optional<unsigned long> owner = TemporaryOwner(entry.name);
    if (owner && !ProcessRuns(*owner)) DeleteFileA(win32::JoinPath(folder, entry.name).c_str());
  }
}

}  // namespace platform
