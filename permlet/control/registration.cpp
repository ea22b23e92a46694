// Self-registration: the type library first, then both classes in the
// platform's component registry, with the library's own path.
#include <string>
#include <vector>

#include "permlet/control/resources.h"
#include "permlet/control/type_library.h"
#include "permlet/control/type_library_registry.h"
#include "platform/component.h"
#include "platform/os_error.h"

namespace permlet {

namespace {

using platform::FormatGuid;
using platform::RegistryValue;

struct ClassRegistration {
  CvGuid clsid;
  const char* progId;
  int typeNameResource;
  bool isControl;
};
constexpr ClassRegistration kClasses[] = {
    {kPermletClsid, "PERMLET.PermletCtrl.1", kIdsPermlet, true},
    {kPermletPropPageClsid, "PERMLET.PermletPropPage.1", kIdsPermletPpg, false},
};

std::vector<RegistryValue> ClassValues(const std::string& path) {
  std::vector<RegistryValue> values;
  for (const ClassRegistration& entry : kClasses) {
    const std::string clsid = FormatGuid(entry.clsid);
    const std::string key = "CLSID\\" + clsid;
    const char* typeName = LoadStringResource(entry.typeNameResource);
    values.push_back({key, typeName});
    values.push_back({key + "\\ProgID", entry.progId});
    values.push_back({key + "\\InprocServer32", path});
    values.push_back({key + "\\InprocServer32", "Apartment", "ThreadingModel"});
    values.push_back({std::string(entry.progId), typeName});
    values.push_back({std::string(entry.progId) + "\\CLSID", clsid});
    if (!entry.isControl) continue;
    // A control, not insertable, with its bitmap, status and type library.
    values.push_back({key + "\\Control", ""});
    values.push_back({key + "\\ToolboxBitmap32", path + ", " + std::to_string(kIdbPermlet)});
    values.push_back({key + "\\MiscStatus", "0"});
    values.push_back({key + "\\MiscStatus\\1", std::to_string(kPermletMiscStatus)});
    values.push_back({key + "\\TypeLib", FormatGuid(kLibId)});
    values.push_back({key + "\\Version", "1.0"});
  }
  return values;
}

std::vector<std::string> ClassKeys() {
  std::vector<std::string> keys;
  for (const ClassRegistration& entry : kClasses) {
    keys.push_back("CLSID\\" + FormatGuid(entry.clsid));
    keys.push_back(entry.progId);
  }
  return keys;
}

// Runs one registry step; any failure becomes `failure`.
template <class Step>
CvResult Try(CvResult failure, Step&& step) {
  try {
    step();
    return kCvOk;
  } catch (const std::exception&) {
    return failure;
  }
}

}  // namespace

}  // namespace permlet

CV_EXPORT CvResult DllRegisterServer() {
  using namespace permlet;
  const std::string path = platform::ModulePath(reinterpret_cast<const void*>(&DllRegisterServer));
  if (path.empty()) return kCvSelfRegTypeLib;
  const CvResult typeLibrary = Try(kCvSelfRegTypeLib, [&] { RegisterTypeLibrary(path); });
  if (typeLibrary != kCvOk) return typeLibrary;
  return Try(kCvSelfRegClass, [&] { platform::WriteRegistryValues(ClassValues(path)); });
}

CV_EXPORT CvResult DllUnregisterServer() {
  using namespace permlet;
  const CvResult typeLibrary = Try(kCvSelfRegTypeLib, [] { UnregisterTypeLibrary(); });
  if (typeLibrary != kCvOk) return typeLibrary;
  return Try(kCvSelfRegClass, [] { platform::DeleteRegistryKeys(ClassKeys()); });
}
