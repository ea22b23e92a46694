// The type library's entries in this platform's registry file, as the
// server's platform writes them when it registers a type library.
#include "permlet/control/type_library_registry.h"

#include <vector>

#include "permlet/control/type_library.h"
#include "platform/component.h"
#include "platform/os_error.h"

namespace permlet {

namespace {

using platform::FormatGuid;

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

}  // namespace

void RegisterTypeLibrary(const std::string& libraryPath) {
  const std::string key = TypeLibraryKey();
  const std::string libId = FormatGuid(kLibId);
  std::vector<platform::RegistryValue> values = {
      {key, kTypeLibrary.helpText},
      {key + "\\" + HexText(kTypeLibrary.locale) + "\\posix", libraryPath},
      {key + "\\FLAGS", "0"},
      {key + "\\HELPDIR", libraryPath.substr(0, libraryPath.find_last_of("\\/") + 1)},
  };
  for (const InterfaceInfo* info : {&kDPermlet, &kDPermletEvents}) {
    const std::string interfaceKey = "Interface\\" + FormatGuid(info->iid);
    values.push_back({interfaceKey, info->name});
    values.push_back({interfaceKey + "\\TypeLib", libId});
  }
  platform::WriteRegistryValues(values);
}

// Unregistering a type library that is not registered fails, as on the
// server's platform.
void UnregisterTypeLibrary() {
  if (!platform::ReadRegistryValue(TypeLibraryKey()))
    throw platform::OsError(platform::kFileNotFound);
  std::vector<std::string> keys = {TypeLibraryKey()};
  for (const InterfaceInfo* info : {&kDPermlet, &kDPermletEvents})
    keys.push_back("Interface\\" + FormatGuid(info->iid));
  platform::DeleteRegistryKeys(keys);
}

}  // namespace permlet
