// Between the component tables of component.h and the system's component
// services: identifiers, texts and typed values converted both ways. Used by
// the host's side (CoCreateInstance and IDispatch::Invoke) and by component
// libraries that offer their objects through IDispatch.
#pragma once

#include <cstdint>
#include <string>

#include "platform/component.h"
#include "platform/win32/win32_support.h"

// After win32_support.h, which sets how <windows.h> is included.
#include <ole2.h>
#include <oleauto.h>

namespace platform::win32 {

GUID ToGuid(const CvGuid& guid);
CvGuid FromGuid(const GUID& guid);

// Texts cross as 8-bit text of the system code page; objects see BSTRs.
// nullptr when the text cannot be allocated.
BSTR ToBstr(const char* text, std::uint32_t length);
std::string FromBstr(BSTR text);

// False when a text could not be allocated. Other types become VT_EMPTY.
bool ToVariant(const CvVariant& value, VARIANT& converted);
// The typed value of a VARIANT of type VT_I2, VT_I4, VT_BOOL or VT_BSTR
// (anything else is kCvEmpty). A text is kept in `textStore`, which must
// outlive the use of `converted`.
void FromVariant(const VARIANT& value, std::string& textStore, CvVariant& converted);

}  // namespace platform::win32
