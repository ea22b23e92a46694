// Loading component libraries: creation of an object by class identifier
// through the registry, and self-registration of a library.
#include <dlfcn.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/component.h"
#include "platform/file_system.h"
#include "platform/os_error.h"

namespace platform {

namespace {

std::string CannotLoadReason() {
  const char* reason = dlerror();
  return reason != nullptr ? reason : "cannot load the library";
}

[[noreturn]] void ThrowCannotCreate(const std::string& reason) {
  throw OsError(kCannotCreateObject, "ActiveX component can't create object: " + reason);
}

}  // namespace

// A component library held loaded. When the last holder lets go, it is
// unloaded if it reports that nothing of it is still in use.
class LoadedLibrary {
 public:
  // Loads the file at `path` (never a library of the loader's search path).
  // Throws OsError kFileNotFound with the reason.
  explicit LoadedLibrary(const std::string& path) {
    const std::optional<std::string> resolved = SystemFileSystem().ResolvedPath(path);
    if (!resolved) throw OsError(kFileNotFound, path + ": File not found");
    handle_ = dlopen(resolved->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw OsError(kFileNotFound, CannotLoadReason());
  }
  ~LoadedLibrary() {
    auto canUnloadNow = Export<CvServerFn>("DllCanUnloadNow");
    if (canUnloadNow == nullptr || canUnloadNow() == kCvOk) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // The export `name`, or nullptr.
  template <class Function>
  Function Export(const char* name) const {
    return reinterpret_cast<Function>(dlsym(handle_, name));
  }

 private:
  void* handle_ = nullptr;
};

std::string ModulePath(const void* address) {
  Dl_info info;
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  return SystemFileSystem().ResolvedPath(info.dli_fname).value_or(info.dli_fname);
}

std::unique_ptr<ComponentObject> CreateComponent(const CvGuid& clsid, const CvGuid& iid) {
  const std::optional<std::string> libraryPath =
      ReadRegistryValue("CLSID\\" + FormatGuid(clsid) + "\\InprocServer32");
  if (!libraryPath || libraryPath->empty())
    ThrowCannotCreate("class " + FormatGuid(clsid) + " is not registered in " +
                      ComponentRegistryPath());

  std::shared_ptr<LoadedLibrary> library;
  try {
    library = std::make_shared<LoadedLibrary>(*libraryPath);
  } catch (const OsError& error) {
    ThrowCannotCreate(error.what());
  }
  auto getClassObject = library->Export<CvGetClassObjectFn>("DllGetClassObject");
  if (getClassObject == nullptr) ThrowCannotCreate(*libraryPath + " has no DllGetClassObject");

  CvClassFactory* factory = nullptr;
  if (getClassObject(&clsid, &kIidClassFactory, &factory) < 0 || factory == nullptr)
    ThrowCannotCreate(*libraryPath + " does not offer class " + FormatGuid(clsid));
  CvDispatch* object = nullptr;
  const CvResult created = factory->vtbl->CreateInstance(factory, &iid, &object);
  factory->vtbl->Release(factory);
  if (created < 0 || object == nullptr)
    ThrowCannotCreate(*libraryPath + " could not make an object of class " + FormatGuid(clsid));
  return std::make_unique<ComponentObject>(std::move(library), object);
}

CvResult RegisterServer(const std::string& libraryPath, bool unregister) {
  LoadedLibrary library(libraryPath);
  const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto entry = library.Export<CvServerFn>(name);
  if (entry == nullptr) throw OsError(kMemberNotSupported, std::string(name) + " not found");
  return entry();
}

}  // namespace platform
