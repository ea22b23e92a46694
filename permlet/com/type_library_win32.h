// The type library PERMLETLib carried in this library's resources.
#pragma once

#include "platform/win32/com_bridge.h"

namespace permlet::com {

// The type information of an interface or class of the type library.
HRESULT OwnTypeInfo(const GUID& guid, ITypeInfo** info);

}  // namespace permlet::com
