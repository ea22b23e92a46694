// The property page's COM object: the page "General" that a container shows
// for the control, from the library's dialog resource. It exchanges no
// properties.
#pragma once

#include "permlet/com/dispatch_object.h"

namespace permlet::com {

HRESULT CreatePageObject(const DispatchClass& dispatchClass, REFIID iid, void** object);

}  // namespace permlet::com
