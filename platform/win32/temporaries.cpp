#include "platform/temporary_names.h"
#include "platform/win32/win32_support.h"

namespace platform {

bool ProcessRuns(unsigned long processId) {
  if (processId > MAXDWORD) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

}  // namespace platform
