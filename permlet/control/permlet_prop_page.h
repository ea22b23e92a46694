// The control's one property page. The server's platform shows it from the
// dialog resource kPropPageDialog under the caption resource "General"; it
// exchanges no properties, so its object answers no dispatch call.
#pragma once

#include "permlet/control/resources.h"
#include "platform/component.h"

namespace permlet {

struct CPermletPropPage : CvDispatch {
  static constexpr int kCaptionResource = kIdsPermletPpgCaption;
  static constexpr int kDialogResource = kPropPageDialog.id;

  CPermletPropPage();
  ~CPermletPropPage();
};

}  // namespace permlet
