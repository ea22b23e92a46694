#include "permlet/com/dispatch_object.h"

#include <string>
#include <vector>

#include "permlet/com/type_library_win32.h"

namespace permlet::com {

namespace {

using platform::win32::FromGuid;
using platform::win32::FromVariant;
using platform::win32::ToGuid;
using platform::win32::ToVariant;

char FoldCase(wchar_t c) { return static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c); }

// Member and parameter names compare without regard to case, as automation
// clients expect.
bool SameName(const OLECHAR* given, const char* name) {
  for (; *given != 0 && *name != 0; ++given, ++name) {
    if (*given > 0x7f || FoldCase(*given) != FoldCase(static_cast<wchar_t>(*name))) return false;
  }
  return *given == 0 && *name == 0;
}

VARTYPE VariantTypeOf(CvVarType type) {
  switch (type) {
    case kCvText:
      return VT_BSTR;
    case kCvInt16:
      return VT_I2;
    case kCvInt32:
      return VT_I4;
    case kCvBool:
      return VT_BOOL;
    default:
      return VT_EMPTY;
  }
}

}  // namespace

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, ToGuid(class_.dispatchIid))) {
    *object = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(iid, IID_IProvideClassInfo) && class_.members != nullptr) {
    *object = static_cast<IProvideClassInfo*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = class_.members != nullptr ? 1 : 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0 || class_.members == nullptr) return DISP_E_BADINDEX;
  return OwnTypeInfo(ToGuid(class_.dispatchIid), info);
}

HRESULT DispatchObject::GetClassInfo(ITypeInfo** info) {
  return OwnTypeInfo(ToGuid(class_.clsid), info);
}

const MemberInfo* DispatchObject::FindMember(DISPID id) const {
  if (class_.members == nullptr) return nullptr;
  for (const MemberInfo& member : class_.members->members) {
    if (member.dispId == id) return &member;
  }
  return nullptr;
}

VARTYPE DispatchObject::ArgumentType(const MemberInfo* member, UINT index) const {
  if (member == nullptr) return VT_EMPTY;
  if (member->kind == MemberKind::kProperty) return VariantTypeOf(member->type);
  if (index >= member->params.size()) return VT_EMPTY;
  return VariantTypeOf(member->params[index].type);
}

// The first name is the member's, the others its parameters' (their
// positions).
HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const MemberInfo* found = nullptr;
  if (class_.members != nullptr) {
    for (const MemberInfo& member : class_.members->members) {
      if (SameName(names[0], member.name)) found = &member;
    }
  }
  if (found == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = found->dispId;
  HRESULT outcome = S_OK;
  for (UINT i = 1; i < count; ++i) {
    for (std::size_t p = 0; p < found->params.size(); ++p) {
      if (SameName(names[i], found->params[p].name)) ids[i] = static_cast<DISPID>(p);
    }
    if (ids[i] == DISPID_UNKNOWN) outcome = DISP_E_UNKNOWNNAME;
  }
  return outcome;
}

// IDispatch passes the arguments last first; the table takes them in their
// natural order. A property put names its one value DISPID_PROPERTYPUT.
HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT* argError) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) return E_POINTER;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (params->cNamedArgs > (put ? 1u : 0u) ||
      (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
    return DISP_E_NONAMEDARGS;

  const MemberInfo* member = FindMember(id);
  const UINT count = params->cArgs;
  std::vector<VARIANT> coerced(count);
  std::vector<std::string> texts(count);
  std::vector<CvVariant> args(count);
  HRESULT outcome = S_OK;
  for (UINT i = 0; i < count; ++i) VariantInit(&coerced[i]);
  for (UINT i = 0; i < count && SUCCEEDED(outcome); ++i) {
    VARIANT& given = params->rgvarg[count - 1 - i];
    const VARTYPE type = ArgumentType(member, i);
    outcome = type == VT_EMPTY ? VariantCopyInd(&coerced[i], &given)
                               : VariantChangeType(&coerced[i], &given, 0, type);
    if (FAILED(outcome)) {
      if (argError != nullptr) *argError = count - 1 - i;
      if (outcome != E_OUTOFMEMORY) outcome = DISP_E_TYPEMISMATCH;
    } else {
      FromVariant(coerced[i], texts[i], args[i]);
    }
  }
  CvVariant answer{kCvEmpty, 0, nullptr, 0};
  if (SUCCEEDED(outcome)) {
    const std::uint16_t kind = put ? static_cast<std::uint16_t>(kCvPropertyPut) : flags;
    outcome = object_->vtbl->Invoke(object_, id, kind, args.data(), count, &answer);
    if (put && SUCCEEDED(outcome)) PropertyWritten();
  }
  for (VARIANT& value : coerced) VariantClear(&value);
  if (SUCCEEDED(outcome) && result != nullptr) {
    VariantInit(result);
    if (!ToVariant(answer, *result)) outcome = E_OUTOFMEMORY;
  }
  return outcome;
}

}  // namespace permlet::com
