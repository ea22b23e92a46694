// The library's exports for the system's component services: the class
// factories of the control and of its property page, and the unload check.
#include "permlet/com/control_object.h"
#include "permlet/com/dispatch_object.h"
#include "permlet/com/prop_page_object.h"
#include "permlet/control/module.h"

namespace permlet::com {

namespace {

// The factories live as long as the library: counting references does nothing.
class ClassFactory final : public IClassFactory {
 public:
  using Create = HRESULT (*)(const DispatchClass& made, REFIID iid, void** object);
  constexpr ClassFactory(const DispatchClass& made, Create create) : made_(made), create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(made_, iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

  const DispatchClass& made() const { return made_; }

 private:
  const DispatchClass& made_;
  Create create_;
};

// The property page exchanges no properties: its dispatch interface has no
// members.
const DispatchClass kControlClass = {kPermletClsid, kDPermletIid, &kDPermlet, CreatePermletObject};
const DispatchClass kPropPageClass = {kPermletPropPageClsid, platform::kIidDispatch, nullptr,
                                      CreatePropPageObject};

ClassFactory controlFactory(kControlClass, CreateControlObject);
ClassFactory propPageFactory(kPropPageClass, CreatePageObject);

}  // namespace

}  // namespace permlet::com

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** factory) {
  using namespace permlet::com;
  if (factory == nullptr) return E_POINTER;
  *factory = nullptr;
  for (ClassFactory* candidate : {&controlFactory, &propPageFactory}) {
    if (IsEqualCLSID(clsid, platform::win32::ToGuid(candidate->made().clsid)))
      return candidate->QueryInterface(iid, factory);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return permlet::CanUnloadNow() ? S_OK : S_FALSE;
}
