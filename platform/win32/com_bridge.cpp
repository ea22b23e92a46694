#include "platform/win32/com_bridge.h"

#include <cstring>

namespace platform::win32 {

GUID ToGuid(const CvGuid& guid) {
  static_assert(sizeof(GUID) == sizeof(CvGuid));
  GUID converted;
  std::memcpy(&converted, &guid, sizeof converted);
  return converted;
}

CvGuid FromGuid(const GUID& guid) {
  CvGuid converted;
  std::memcpy(&converted, &guid, sizeof converted);
  return converted;
}

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
      converted.vt = VT_EMPTY;
      return true;
  }
}

void FromVariant(const VARIANT& value, std::string& textStore, CvVariant& converted) {
  converted = {kCvEmpty, 0, nullptr, 0};
  switch (value.vt) {
    case VT_I2:
      converted = {kCvInt16, value.iVal, nullptr, 0};
      break;
    case VT_I4:
      converted = {kCvInt32, value.lVal, nullptr, 0};
      break;
    case VT_BOOL:
      converted = {kCvBool, value.boolVal != VARIANT_FALSE, nullptr, 0};
      break;
    case VT_BSTR:
      textStore = FromBstr(value.bstrVal);
      converted = {kCvText, 0, textStore.data(), static_cast<std::uint32_t>(textStore.size())};
      break;
    default:
      break;
  }
}

}  // namespace platform::win32
