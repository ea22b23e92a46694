// Embedding the control in a container and activating it in place: without
// a window of its own where the container draws it (through IViewObject),
// else in a child window of the container's that shows its placeholder.
#include "permlet/com/control_object.h"
#include "permlet/com/control_window.h"
#include "permlet/control/resources.h"

namespace permlet::com {

namespace {

using platform::win32::ToGuid;

}  // namespace

HRESULT ControlObject::SetClientSite(IOleClientSite* site) {
  Hold(clientSite_, site);
  return S_OK;
}

HRESULT ControlObject::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_;
  if (clientSite_ != nullptr) clientSite_->AddRef();
  return S_OK;
}

HRESULT ControlObject::Close(DWORD) {
  InPlaceDeactivate();
  if (oleAdvise_ != nullptr) oleAdvise_->SendOnClose();
  return S_OK;
}

// Every verb that shows the control activates it in place; hiding
// deactivates it.
HRESULT ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(site != nullptr ? site : clientSite_);
    case OLEIVERB_HIDE:
      return InPlaceDeactivate();
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

bool ControlObject::CanBeWindowless(IOleInPlaceSite* site) {
  IOleInPlaceSiteWindowless* windowless = nullptr;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                  reinterpret_cast<void**>(&windowless))))
    return false;
  const bool allowed = windowless->CanWindowlessActivate() == S_OK;
  windowless->Release();
  return allowed;
}

HRESULT ControlObject::ActivateInPlace(IOleClientSite* site) {
  if (inPlaceSite_ != nullptr) return S_OK;
  if (site == nullptr) return E_UNEXPECTED;
  IOleInPlaceSite* inPlace = nullptr;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
    return E_NOINTERFACE;
  HWND parent = nullptr;
  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT position{};
  RECT clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  const bool windowless = CanBeWindowless(inPlace);
  HRESULT outcome = inPlace->CanInPlaceActivate() == S_OK ? S_OK : E_FAIL;
  if (SUCCEEDED(outcome) && windowless) {
    IOleInPlaceSiteEx* extended = nullptr;
    outcome = inPlace->QueryInterface(IID_IOleInPlaceSiteEx, reinterpret_cast<void**>(&extended));
    BOOL noRedraw = FALSE;
    if (SUCCEEDED(outcome)) outcome = extended->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
    if (extended != nullptr) extended->Release();
  } else if (SUCCEEDED(outcome)) {
    outcome = inPlace->OnInPlaceActivate();
  }
  const bool activated = SUCCEEDED(outcome);
  if (SUCCEEDED(outcome)) outcome = inPlace->GetWindow(&parent);
  if (SUCCEEDED(outcome))
    outcome = inPlace->GetWindowContext(&frame, &document, &position, &clip, &frameInfo);
  if (frame != nullptr) frame->Release();
  if (document != nullptr) document->Release();
  if (SUCCEEDED(outcome) && !windowless) {
    window_ = CreateControlWindow(parent, position);
    if (window_ == nullptr) outcome = E_FAIL;
  }
  if (FAILED(outcome)) {
    if (activated) inPlace->OnInPlaceDeactivate();
    inPlace->Release();
    return outcome;
  }
  inPlaceSite_ = inPlace;
  return S_OK;
}

HRESULT ControlObject::InPlaceDeactivate() {
  if (inPlaceSite_ == nullptr) return S_OK;
  if (window_ != nullptr) DestroyControlWindow(window_);
  window_ = nullptr;
  inPlaceSite_->OnInPlaceDeactivate();
  Hold<IOleInPlaceSite>(inPlaceSite_, nullptr);
  return S_OK;
}

HRESULT ControlObject::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

HRESULT ControlObject::SetObjectRects(LPCRECT position, LPCRECT) {
  if (position == nullptr) return E_POINTER;
  if (window_ != nullptr)
    MoveWindow(window_, position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  return S_OK;
}

HRESULT ControlObject::GetUserType(DWORD form, LPOLESTR* type) {
  return OleRegGetUserType(ToGuid(dispatchClass().clsid), form, type);
}

HRESULT ControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  *size = extent_;
  return S_OK;
}

HRESULT ControlObject::Advise(IAdviseSink* sink, DWORD* connection) {
  if (oleAdvise_ == nullptr && FAILED(CreateOleAdviseHolder(&oleAdvise_))) return E_OUTOFMEMORY;
  return oleAdvise_->Advise(sink, connection);
}

HRESULT ControlObject::Unadvise(DWORD connection) {
  if (oleAdvise_ == nullptr) return OLE_E_NOCONNECTION;
  return oleAdvise_->Unadvise(connection);
}

HRESULT ControlObject::EnumAdvise(IEnumSTATDATA** advises) {
  if (advises == nullptr) return E_POINTER;
  *advises = nullptr;
  return oleAdvise_ != nullptr ? oleAdvise_->EnumAdvise(advises) : S_OK;
}

HRESULT ControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = kPermletMiscStatus;
  return S_OK;
}

HRESULT ControlObject::GetControlInfo(CONTROLINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

}  // namespace permlet::com
