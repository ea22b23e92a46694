#include "permlet/com/control_object.h"

#include "permlet/com/control_window.h"
#include "permlet/com/event_connection.h"

namespace permlet::com {

namespace {

using platform::win32::ToGuid;

// The persistent state is the version alone, 1.0, as major and minor in one
// 32-bit value; none of the six properties is saved.
constexpr DWORD kPersistVersion = MAKELONG(0, 1);

}  // namespace

ControlObject::~ControlObject() {
  InPlaceDeactivate();
  Hold<IOleClientSite>(clientSite_, nullptr);
  Hold<IOleAdviseHolder>(oleAdvise_, nullptr);
  Hold<IAdviseSink>(viewAdvise_, nullptr);
}

HRESULT ControlObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IOleObject)) {
    *object = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
             IsEqualIID(iid, IID_IOleInPlaceObjectWindowless)) {
    *object = static_cast<IOleInPlaceObjectWindowless*>(this);
  } else if (IsEqualIID(iid, IID_IOleControl)) {
    *object = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) {
    *object = static_cast<IViewObject2*>(this);
  } else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
    *object = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(iid, IID_ISpecifyPropertyPages)) {
    *object = static_cast<ISpecifyPropertyPages*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *object = static_cast<IConnectionPointContainer*>(this);
  } else {
    return DispatchObject::QueryInterface(iid, object);
  }
  AddRef();
  return S_OK;
}

HRESULT ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC context,
                            LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                            ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (context == nullptr || bounds == nullptr) return E_INVALIDARG;
  PaintPlaceholder(context, {bounds->left, bounds->top, bounds->right, bounds->bottom});
  return S_OK;
}

HRESULT ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  Hold(viewAdvise_, sink);
  viewAdviseAspects_ = aspects;
  viewAdviseFlags_ = flags;
  return S_OK;
}

HRESULT ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = viewAdviseAspects_;
  if (flags != nullptr) *flags = viewAdviseFlags_;
  if (sink != nullptr) {
    *sink = viewAdvise_;
    if (viewAdvise_ != nullptr) viewAdvise_->AddRef();
  }
  return S_OK;
}

HRESULT ControlObject::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = ToGuid(dispatchClass().clsid);
  return S_OK;
}

HRESULT ControlObject::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  DWORD version = 0;
  ULONG read = 0;
  const HRESULT loaded = stream->Read(&version, sizeof version, &read);
  if (FAILED(loaded)) return loaded;
  if (read != sizeof version) return E_FAIL;
  modified_ = false;
  return S_OK;
}

HRESULT ControlObject::Save(IStream* stream, BOOL clearDirty) {
  if (stream == nullptr) return E_POINTER;
  const HRESULT saved = stream->Write(&kPersistVersion, sizeof kPersistVersion, nullptr);
  if (SUCCEEDED(saved) && clearDirty) modified_ = false;
  return saved;
}

HRESULT ControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = sizeof kPersistVersion;
  return S_OK;
}

HRESULT ControlObject::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (pages->pElems == nullptr) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->cElems = 1;
  pages->pElems[0] = ToGuid(kPermletPropPageClsid);
  return S_OK;
}

HRESULT ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, ToGuid(kDPermletEventsIid))) return CONNECT_E_NOCONNECTION;
  return CreateEventConnection(this, point);
}

HRESULT CreateControlObject(const DispatchClass& dispatchClass, REFIID iid, void** object) {
  return CreateObject<ControlObject>(dispatchClass, iid, object);
}

}  // namespace permlet::com
