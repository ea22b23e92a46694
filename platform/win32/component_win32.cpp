// Creating a component by class identifier through the system's component
// services and calling it through its dispatch interface; the system
// registry's classes root for libraries that register themselves. The host
// side of component.h sees a CvDispatch: a bridge turns its calls into
// IDispatch calls with VARIANT arguments.
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/os_error.h"
#include "platform/win32/com_bridge.h"
#include "platform/win32/win32_support.h"

namespace platform {

// The component services of the calling thread, held for as long as an
// object made through them lives.
class LoadedLibrary {
 public:
  LoadedLibrary() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~LoadedLibrary() {
    if (initialized_) CoUninitialize();
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

 private:
  bool initialized_;
};

namespace {

using win32::FromVariant;
using win32::ToGuid;
using win32::ToVariant;

struct DispatchBridge {
  CvDispatch base;  // first, so that the host's pointer is the bridge's
  IDispatch* dispatch;
  std::string resultText;  // the text of the last result, kept for the host
};

DispatchBridge* BridgeOf(CvDispatch* self) { return reinterpret_cast<DispatchBridge*>(self); }

std::uint32_t BridgeRelease(CvDispatch* self) {
  DispatchBridge* bridge = BridgeOf(self);
  bridge->dispatch->Release();
  delete bridge;
  return 0;
}

// IDispatch takes the arguments last first; a property put names its value.
CvResult BridgeInvoke(CvDispatch* self, std::int32_t dispId, std::uint16_t kind,
                      const CvVariant* args, std::uint32_t argCount, CvVariant* result) {
  DispatchBridge* bridge = BridgeOf(self);
  std::vector<VARIANT> values(argCount);
  bool converted = true;
  for (std::uint32_t i = 0; i < argCount; ++i) {
    VariantInit(&values[i]);
    converted = ToVariant(args[argCount - 1 - i], values[i]) && converted;
  }
  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS params{values.data(), nullptr, argCount, 0};
  if (kind == kCvPropertyPut) {
    params.rgdispidNamedArgs = &namedPut;
    params.cNamedArgs = 1;
  }
  VARIANT answer;
  VariantInit(&answer);
  EXCEPINFO exception{};
  UINT argError = 0;
  HRESULT outcome = E_OUTOFMEMORY;
  if (converted)
    outcome =
        bridge->dispatch->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
                                 kind == kCvPropertyPut ? nullptr : &answer, &exception, &argError);
  for (VARIANT& value : values) VariantClear(&value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (SUCCEEDED(outcome) && result != nullptr) FromVariant(answer, bridge->resultText, *result);
  VariantClear(&answer);
  return outcome;
}

const CvDispatchVtbl kBridgeVtbl = {BridgeRelease, BridgeInvoke};

// The system's text for a failure code, without its line end.
std::string SystemMessage(HRESULT code) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == ' ' || text[length - 1] == '.'))
    --length;
  return length > 0 ? std::string(text, length) : "the component services refused the class";
}

// The system's error code as OsError; a missing key is "File not found".
void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS) win32::ThrowSystemError(static_cast<DWORD>(status));
}

}  // namespace

std::unique_ptr<ComponentObject> CreateComponent(const CvGuid& clsid, const CvGuid& iid) {
  auto services = std::make_shared<LoadedLibrary>();
  const GUID classId = ToGuid(clsid);
  const GUID interfaceId = ToGuid(iid);
  IDispatch* dispatch = nullptr;
  const HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId,
                                           reinterpret_cast<void**>(&dispatch));
  if (FAILED(created) || dispatch == nullptr)
    throw OsError(kCannotCreateObject,
                  "ActiveX component can't create object: " + SystemMessage(created));
  auto* bridge = new DispatchBridge{{&kBridgeVtbl}, dispatch, {}};
  return std::make_unique<ComponentObject>(std::move(services), &bridge->base);
}

std::string ModulePath(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module))
    return {};
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(path, length);
}

// The keys live below HKEY_CLASSES_ROOT, where the component services look.
std::optional<std::string> ReadRegistryValue(const std::string& key) {
  char value[1024];
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

void WriteRegistryValues(const std::vector<RegistryValue>& values) {
  for (const RegistryValue& value : values) {
    HKEY key = nullptr;
    Check(RegCreateKeyExA(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &key, nullptr));
    const LSTATUS written =
        RegSetValueExA(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.value.c_str()),
                       static_cast<DWORD>(value.value.size() + 1));
    RegCloseKey(key);
    Check(written);
  }
}

// A key that is not there is already deleted.
void DeleteRegistryKeys(const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    const LSTATUS deleted = RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    if (deleted != ERROR_FILE_NOT_FOUND) Check(deleted);
  }
}

}  // namespace platform
