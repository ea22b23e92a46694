#include "permlet/com/prop_page_object.h"

#include <cstring>

#include "permlet/com/own_module.h"
#include "permlet/control/permlet_prop_page.h"
#include "permlet/control/resources.h"

namespace permlet::com {

namespace {

// A copy of `text` in task memory, for the caller to free.
LPOLESTR TaskText(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof(OLECHAR) * length));
  if (copy != nullptr) MultiByteToWideChar(CP_ACP, 0, text, -1, copy, length);
  return copy;
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class PropPageObject final : public DispatchObject, public IPropertyPage {
 public:
  using DispatchObject::DispatchObject;
  ~PropPageObject() override {
    Deactivate();
    Hold<IPropertyPageSite>(site_, nullptr);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IPropertyPage)) return DispatchObject::QueryInterface(iid, object);
    *object = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }

  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override {
    Hold(site_, site);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT position, BOOL) override {
    if (position == nullptr) return E_POINTER;
    if (dialog_ != nullptr) return E_UNEXPECTED;
    dialog_ = CreateDialogParamA(OwnModule(), MAKEINTRESOURCEA(CPermletPropPage::kDialogResource),
                                 parent, PageProc, 0);
    if (dialog_ == nullptr) return E_FAIL;
    return Move(position);
  }
  HRESULT STDMETHODCALLTYPE Deactivate() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    dialog_ = nullptr;
    return S_OK;
  }
  // The page's size is that of its dialog in the dialog font's units, taken
  // as the system's, so that no window is needed yet.
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
    if (info == nullptr) return E_POINTER;
    const LONG units = GetDialogBaseUnits();
    info->cb = sizeof *info;
    info->pszTitle = TaskText(LoadStringResource(CPermletPropPage::kCaptionResource));
    info->size.cx = MulDiv(kPropPageDialog.width, LOWORD(units), 4);
    info->size.cy = MulDiv(kPropPageDialog.height, HIWORD(units), 8);
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return info->pszTitle != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG, IUnknown**) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Show(UINT command) override {
    if (dialog_ == nullptr) return E_UNEXPECTED;
    ShowWindow(dialog_, static_cast<int>(command));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Move(LPCRECT position) override {
    if (position == nullptr) return E_POINTER;
    if (dialog_ == nullptr) return E_UNEXPECTED;
    MoveWindow(dialog_, position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPageDirty() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Apply() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override {
    return dialog_ != nullptr && IsDialogMessageA(dialog_, message) ? S_OK : S_FALSE;
  }

 private:
  IPropertyPageSite* site_ = nullptr;
  HWND dialog_ = nullptr;
};

}  // namespace

HRESULT CreatePageObject(const DispatchClass& dispatchClass, REFIID iid, void** object) {
  return CreateObject<PropPageObject>(dispatchClass, iid, object);
}

}  // namespace permlet::com
