#include "permlet/control/permlet_prop_page.h"

#include "permlet/control/module.h"

namespace permlet {

namespace {

std::uint32_t ReleasePropPage(CvDispatch* self) {
  delete static_cast<CPermletPropPage*>(self);
  return 0;
}

CvResult InvokePropPage(CvDispatch*, std::int32_t, std::uint16_t, const CvVariant*, std::uint32_t,
                        CvVariant*) {
  return kCvMemberNotFound;
}

constexpr CvDispatchVtbl kPropPageVtbl = {ReleasePropPage, InvokePropPage};

}  // namespace

CPermletPropPage::CPermletPropPage() : CvDispatch{&kPropPageVtbl} { ObjectCreated(); }

CPermletPropPage::~CPermletPropPage() { ObjectReleased(); }

}  // namespace permlet
