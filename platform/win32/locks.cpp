#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

using win32::UniqueHandle;

// A mutex name for `name`. A backslash has a meaning of its own in mutex
// names: it is written as %5C (and '%' as %25, so that different names never
// share a mutex). A name longer than the system takes keeps its tail behind
// a 64-bit hash of the whole.
std::string MutexName(const std::string& prefix, const std::string& name) {
  constexpr std::size_t kLongest = 200;
  std::string encoded;
  for (char c : name) {
    if (c == '\\')
      encoded += "%5C";
    else if (c == '%')
      encoded += "%25";
    else
      encoded += c;
  }
  if (encoded.size() > kLongest) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : encoded) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(hash));
    encoded = hex + encoded.substr(encoded.size() - kLongest / 2);
  }
  return prefix + encoded;
}

// Opens the mutex, creating it free. Making an object in the machine-wide
// namespace needs a privilege that services and administrators hold; any
// other process falls back to its session's namespace.
UniqueHandle OpenMutex(const std::string& encodedName) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, ("Global\\" + encodedName).c_str());
  if (mutex == nullptr && GetLastError() == ERROR_ACCESS_DENIED)
    mutex = CreateMutexA(nullptr, FALSE, ("Local\\" + encodedName).c_str());
  if (mutex == nullptr) win32::ThrowLastError();
  return UniqueHandle(mutex);
}

// A mutex whose holder died is handed on as abandoned: the lock is taken.
void Acquire(HANDLE mutex) {
  const DWORD result = WaitForSingleObject(mutex, INFINITE);
  if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) win32::ThrowLastError();
}

}  // namespace

// A named mutex: the system releases it when its holder ends.
struct NamedLock::Impl {
  UniqueHandle mutex;
};

NamedLock::NamedLock(const std::string& name) : impl_(std::make_unique<Impl>()) {
  impl_->mutex = OpenMutex(MutexName("corvane-lock-", name));
}

NamedLock::~NamedLock() = default;

void NamedLock::Lock() { Acquire(impl_->mutex.get()); }

void NamedLock::Unlock() {
  if (!ReleaseMutex(impl_->mutex.get())) win32::ThrowLastError();
}

// The folder's mutex is named after its full path in capitals, so every
// spelling of one folder (case, relative parts, a trailing backslash) meets
// the same lock.
struct FolderLock::Impl {
  UniqueHandle mutex;
  ~Impl() { ReleaseMutex(mutex.get()); }
};

FolderLock::FolderLock(const std::string& folder) : impl_(std::make_unique<Impl>()) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameA(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) win32::ThrowLastFolderError();
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);
  }
  if (!SystemFileSystem().FolderExists(full)) throw OsError(kPathNotFound);
  while (full.size() > 3 && (full.back() == '\\' || full.back() == '/')) full.pop_back();
  CharUpperBuffA(full.data(), static_cast<DWORD>(full.size()));
  UniqueHandle mutex = OpenMutex(MutexName("corvane-folder-", full));
  Acquire(mutex.get());
  impl_->mutex = std::move(mutex);
}

FolderLock::~FolderLock() = default;

}  // namespace platform
