// The library's objects as the system's component services see them: an
// IDispatch over the control's own dispatch table (dispatch.cpp), so that
// the control and its property page keep one implementation on every
// platform. Arguments are coerced to the member's declared types here.
#pragma once

#include "permlet/control/type_library.h"
#include "platform/win32/com_bridge.h"

// After com_bridge.h, which includes <windows.h> the platform's way.
#include <ocidl.h>
#include <olectl.h>

namespace permlet::com {

struct DispatchClass {
  CvGuid clsid;
  CvGuid dispatchIid;            // the default interface
  const InterfaceInfo* members;  // for names and declared types; nullptr: none
  CvResult (*create)(const CvGuid& iid, CvDispatch** object);
};

class DispatchObject : public IDispatch, public IProvideClassInfo {
 public:
  DispatchObject(const DispatchClass& dispatchClass, CvDispatch* object)
      : class_(dispatchClass), object_(object) {}
  virtual ~DispatchObject() { object_->vtbl->Release(object_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argError) override;

  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

 protected:
  const DispatchClass& dispatchClass() const { return class_; }
  // A caller has written a property.
  virtual void PropertyWritten() {}

 private:
  const MemberInfo* FindMember(DISPID id) const;
  // The declared type of argument `index` (in natural order), or VT_EMPTY
  // when the member declares none and the argument goes on as it is.
  VARTYPE ArgumentType(const MemberInfo* member, UINT index) const;

  LONG references_ = 1;
  const DispatchClass& class_;
  CvDispatch* object_;
};

// Stores `next` in `held` (counted), letting go of the one held before.
template <class T>
void Hold(T*& held, T* next) {
  if (next != nullptr) next->AddRef();
  if (held != nullptr) held->Release();
  held = next;
}

// Makes the object of `dispatchClass` (a T, made from the class's table
// object) and asks it for `iid`.
template <class T>
HRESULT CreateObject(const DispatchClass& dispatchClass, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  CvDispatch* made = nullptr;
  const CvResult created = dispatchClass.create(platform::kIidDispatch, &made);
  if (created < 0) return created;
  auto* wrapped = new (std::nothrow) T(dispatchClass, made);
  if (wrapped == nullptr) {
    made->vtbl->Release(made);
    return E_OUTOFMEMORY;
  }
  const HRESULT answered = wrapped->QueryInterface(iid, object);
  wrapped->Release();
  return answered;
}

}  // namespace permlet::com
