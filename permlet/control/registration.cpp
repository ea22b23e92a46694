// Self-registration: the type library first, then both classes, each in the
// platform's component registry, with the library's own path.
#include <string>
#include <vector>

#include "permlet/control/resources.h"
#include "permlet/control/type_library.h"
#include "platform/component.h"
#include "platform/os_error.h"

namespace permlet {

namespace {

using platform::FormatGuid;
using platform::RegistryValue;

#ifdef _WIN32
constexpr const char* kPlatformKey = "win32";
#else
constexpr const char* kPlatformKey = "posix";
#endif

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

std::string TypeLibraryKey() {
  return "TypeLib\\" + FormatGuid(kLibId) + "\\" + std::to_string(kTypeLibrary.majorVersion) + "." +
         std::to_string(kTypeLibrary.minorVersion);
}

std::string HexText(std::uint32_t value) {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kHex[value % 16]);
    value /= 16;
  } while (value != 0);
  return text;
}

std::vector<RegistryValue> TypeLibraryValues(const std::string& path) {
  const std::string key = TypeLibraryKey();
  const std::string libId = FormatGuid(kLibId);
  std::vector<RegistryValue> values = {
      {key, kTypeLibrary.helpText},
      {key + "\\" + HexText(kTypeLibrary.locale) + "\\" + kPlatformKey, path},
      {key + "\\FLAGS", "0"},
      {key + "\\HELPDIR", path.substr(0, path.find_last_of("\\/") + 1)},
  };
  for (const InterfaceInfo* info : {&kDPermlet, &kDPermletEvents}) {
    const std::string interfaceKey = "Interface\\" + FormatGuid(info->iid);
    values.push_back({interfaceKey, info->name});
    values.push_back({interfaceKey + "\\TypeLib", libId});
  }
  return values;
}

std::vector<RegistryValue> ClassValues(const std::string& path) {
  std::vector<RegistryValue> values;
  for (const ClassRegistration& entry : kClasses) {
    const std::string clsid = FormatGuid(entry.clsid);
    const std::string key = "CLSID\\" + clsid;
    const char* typeName = LoadStringResource(entry.typeNameResource);
    values.push_back({key, typeName});
    values.push_back({key + "\\ProgID", entry.progId});
    values.push_back({key + "\\InprocServer32", path});
    values.push_back({key + "\\InprocServer32\\ThreadingModel", "Apartment"});
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
  const CvResult typeLibrary =
      Try(kCvSelfRegTypeLib, [&] { platform::WriteRegistryValues(TypeLibraryValues(path)); });
  if (typeLibrary != kCvOk) return typeLibrary;
  return Try(kCvSelfRegClass, [&] { platform::WriteRegistryValues(ClassValues(path)); });
}

// Unregistering a type library that is not registered fails, as on the
// server's platform.
CV_EXPORT CvResult DllUnregisterServer() {
  using namespace permlet;
  const CvResult typeLibrary = Try(kCvSelfRegTypeLib, [] {
    if (!platform::ReadRegistryValue(TypeLibraryKey()))
      throw platform::OsError(platform::kFileNotFound);
    std::vector<std::string> keys = {TypeLibraryKey()};
    for (const InterfaceInfo* info : {&kDPermlet, &kDPermletEvents})
      keys.push_back("Interface\\" + platform::FormatGuid(info->iid));
    platform::DeleteRegistryKeys(keys);
  });
  if (typeLibrary != kCvOk) return typeLibrary;
  return Try(kCvSelfRegClass, [] { platform::DeleteRegistryKeys(ClassKeys()); });
}
