// This library's own module handle, for its resources and window classes.
#pragma once

#include "platform/win32/win32_support.h"

namespace permlet::com {

HINSTANCE OwnModule();

}  // namespace permlet::com
