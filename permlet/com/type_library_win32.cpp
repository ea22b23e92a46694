// The type library in the library's resources, loaded for the type
// information of its objects and registered with the system's services.
#include "permlet/com/type_library_win32.h"

#include <string>

#include "permlet/control/type_library.h"
#include "permlet/control/type_library_registry.h"
#include "platform/os_error.h"

namespace permlet {

namespace {

using platform::win32::ToBstr;

// Loads the type library resource of the library at `path`.
HRESULT LoadFrom(const std::string& path, REGKIND kind, ITypeLib** library) {
  BSTR widePath = ToBstr(path.data(), static_cast<std::uint32_t>(path.size()));
  if (widePath == nullptr) return E_OUTOFMEMORY;
  const HRESULT loaded = LoadTypeLibEx(widePath, kind, library);
  SysFreeString(widePath);
  return loaded;
}

void Require(HRESULT outcome) {
  if (FAILED(outcome)) throw platform::OsError(platform::kAutomationError, "Automation error");
}

}  // namespace

namespace com {

HRESULT OwnTypeInfo(const GUID& guid, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  const std::string path = platform::ModulePath(reinterpret_cast<const void*>(&OwnTypeInfo));
  ITypeLib* library = nullptr;
  const HRESULT loaded = LoadFrom(path, REGKIND_NONE, &library);
  if (FAILED(loaded)) return loaded;
  const HRESULT found = library->GetTypeInfoOfGuid(guid, info);
  library->Release();
  return found;
}

}  // namespace com

void RegisterTypeLibrary(const std::string& libraryPath) {
  ITypeLib* library = nullptr;
  Require(LoadFrom(libraryPath, REGKIND_REGISTER, &library));
  library->Release();
}

void UnregisterTypeLibrary() {
  Require(UnRegisterTypeLib(platform::win32::ToGuid(kLibId), kTypeLibrary.majorVersion,
                            kTypeLibrary.minorVersion, kTypeLibrary.locale, SYS_WIN64));
}

}  // namespace permlet
