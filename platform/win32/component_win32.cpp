// Creating a component by class identifier through the system's component
// services, and calling it through its dispatch interface. The host side of
// component.h sees a CvDispatch: a bridge turns its calls into IDispatch
// calls with VARIANT arguments.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/os_error.h"
#include "platform/win32/win32_support.h"

#include <ole2.h>
#include <oleauto.h>

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

GUID ToGuid(const CvGuid& guid) {
  static_assert(sizeof(GUID) == sizeof(CvGuid));
  GUID converted;
  std::memcpy(&converted, &guid, sizeof converted);
  return converted;
}

// Texts cross as 8-bit text of the system code page; the object sees BSTRs.
BSTR ToBstr(const char* text, std::uint32_t length) {
  if (length == 0) return SysAllocStringLen(nullptr, 0);
  const int wide = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  BSTR converted = SysAllocStringLen(nullptr, static_cast<UINT>(wide));
  if (converted != nullptr)
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), converted, wide);
  return converted;
}

std::string FromBstr(BSTR text) {
  const int wide = static_cast<int>(SysStringLen(text));
  if (wide == 0) return {};
  const int narrow = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wide, converted.data(), narrow, nullptr, nullptr);
  return converted;
}

// False when a text could not be allocated.
bool ToVariant(const CvVariant& value, VARIANT& converted) {
  switch (value.type) {
    case kCvInt16:
      converted.vt = VT_I2;
      converted.iVal = static_cast<SHORT>(value.number);
      return true;
    case kCvInt32:
      converted.vt = VT_I4;
      converted.lVal = value.number;
      return true;
    case kCvBool:
      converted.vt = VT_BOOL;
      converted.boolVal = value.number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return true;
    case kCvText:
      converted.vt = VT_BSTR;
      converted.bstrVal = ToBstr(value.text, value.textLength);
      return converted.bstrVal != nullptr;
    default:
      return true;  // VT_EMPTY
  }
}

struct DispatchBridge {
  CvDispatch base;  // first, so that the host's pointer is the bridge's
  IDispatch* dispatch;
  std::string resultText;  // the text of the last result, kept for the host
};

DispatchBridge* BridgeOf(CvDispatch* self) { return reinterpret_cast<DispatchBridge*>(self); }

void FromVariant(const VARIANT& value, DispatchBridge& bridge, CvVariant& result) {
  result = {kCvEmpty, 0, nullptr, 0};
  switch (value.vt) {
    case VT_I2:
      result = {kCvInt16, value.iVal, nullptr, 0};
      break;
    case VT_I4:
      result = {kCvInt32, value.lVal, nullptr, 0};
      break;
    case VT_BOOL:
      result = {kCvBool, value.boolVal != VARIANT_FALSE, nullptr, 0};
      break;
    case VT_BSTR:
      bridge.resultText = FromBstr(value.bstrVal);
      result = {kCvText, 0, bridge.resultText.data(),
                static_cast<std::uint32_t>(bridge.resultText.size())};
      break;
    default:
      break;
  }
}

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
    outcome = bridge->dispatch->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
                                       kind == kCvPropertyPut ? nullptr : &answer, &exception,
                                       &argError);
  for (VARIANT& value : values) VariantClear(&value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (SUCCEEDED(outcome) && result != nullptr) FromVariant(answer, *bridge, *result);
  VariantClear(&answer);
  return outcome;
}

const CvDispatchVtbl kBridgeVtbl = {BridgeRelease, BridgeInvoke};

}  // namespace

std::unique_ptr<ComponentObject> CreateComponent(const CvGuid& clsid, const CvGuid& iid) {
  auto services = std::make_shared<LoadedLibrary>();
  const GUID classId = ToGuid(clsid);
  const GUID interfaceId = ToGuid(iid);
  IDispatch* dispatch = nullptr;
  const HRESULT created = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId,
                                           reinterpret_cast<void**>(&dispatch));
  if (FAILED(created) || dispatch == nullptr)
    throw OsError(kCannotCreateObject, "ActiveX component can't create object");
  auto* bridge = new DispatchBridge{{&kBridgeVtbl}, dispatch, {}};
  return std::make_unique<ComponentObject>(std::move(services), &bridge->base);
}

}  // namespace platform
