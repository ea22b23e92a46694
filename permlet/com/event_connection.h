// The connection point of the event interface _DPermletEvents. The control
// fires no events, so a sink is only kept until it is unadvised.
#pragma once

#include "permlet/com/dispatch_object.h"

namespace permlet::com {

// A new connection point of `container` (held while the point lives).
HRESULT CreateEventConnection(IConnectionPointContainer* container, IConnectionPoint** point);

}  // namespace permlet::com
