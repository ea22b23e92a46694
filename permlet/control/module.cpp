// The library's exports for the component services: class factories and the
// unload check.
#include "permlet/control/module.h"

#include "permlet/control/type_library.h"

namespace permlet {

namespace {

// The factories live as long as the library: releasing one does nothing.
struct ClassFactory : CvClassFactory {
  CvGuid clsid;
  CvResult (*create)(const CvGuid& iid, CvDispatch** object);
};

std::uint32_t ReleaseFactory(CvClassFactory*) { return 1; }

CvResult CreateInstance(CvClassFactory* self, const CvGuid* iid, CvDispatch** object) {
  if (object == nullptr) return kCvPointer;
  *object = nullptr;
  if (iid == nullptr) return kCvPointer;
  return static_cast<ClassFactory*>(self)->create(*iid, object);
}

CvResult LockServer(CvClassFactory*, std::int32_t lock) {
  LockModule(lock != 0);
  return kCvOk;
}

constexpr CvClassFactoryVtbl kFactoryVtbl = {ReleaseFactory, CreateInstance, LockServer};

ClassFactory controlFactory{{&kFactoryVtbl}, kPermletClsid, CreatePermletObject};
ClassFactory propPageFactory{{&kFactoryVtbl}, kPermletPropPageClsid, CreatePropPageObject};

}  // namespace

}  // namespace permlet

CV_EXPORT CvResult DllGetClassObject(const CvGuid* clsid, const CvGuid* iid,
                                     CvClassFactory** factory) {
  if (factory == nullptr) return kCvPointer;
  *factory = nullptr;
  if (clsid == nullptr || iid == nullptr) return kCvPointer;
  if (!platform::SameGuid(*iid, platform::kIidClassFactory)) return kCvNoInterface;
  for (permlet::ClassFactory* candidate : {&permlet::controlFactory, &permlet::propPageFactory}) {
    if (platform::SameGuid(*clsid, candidate->clsid)) {
      *factory = candidate;
      return kCvOk;
    }
  }
  return kCvClassNotAvailable;
}

CV_EXPORT CvResult DllCanUnloadNow() { return permlet::CanUnloadNow() ? kCvOk : kCvFalse; }
