#include "permlet/com/event_connection.h"

#include <vector>

namespace permlet::com {

namespace {

using platform::win32::ToGuid;

class EventConnection final : public IConnectionPoint {
 public:
  explicit EventConnection(IConnectionPointContainer* container) : container_(container) {
    container_->AddRef();
  }
  ~EventConnection() {
    for (IUnknown* sink : sinks_) {
      if (sink != nullptr) sink->Release();
    }
    container_->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint))
      return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (iid == nullptr) return E_POINTER;
    *iid = ToGuid(kDPermletEventsIid);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (container == nullptr) return E_POINTER;
    *container = container_;
    container_->AddRef();
    return S_OK;
  }
  // The cookie is the sink's place plus one.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    sink->AddRef();
    sinks_.push_back(sink);
    *cookie = static_cast<DWORD>(sinks_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    if (cookie == 0 || cookie > sinks_.size() || sinks_[cookie - 1] == nullptr)
      return CONNECT_E_NOCONNECTION;
    sinks_[cookie - 1]->Release();
    sinks_[cookie - 1] = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  LONG references_ = 1;
  IConnectionPointContainer* container_;
  std::vector<IUnknown*> sinks_;  // nullptr once unadvised
};

}  // namespace

HRESULT CreateEventConnection(IConnectionPointContainer* container, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = new (std::nothrow) EventConnection(container);
  return *point != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace permlet::com
