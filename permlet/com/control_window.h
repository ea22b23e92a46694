// The control's placeholder picture and, when a container activates the
// control in place, the child window that shows it.
#pragma once

#include "platform/win32/win32_support.h"

namespace permlet::com {

// The whole of `bounds` with the stock white brush, then an ellipse inscribed
// in them with the context's current pen and brush.
void PaintPlaceholder(HDC context, const RECT& bounds);

// A visible child window of `parent` at `position` that paints the
// placeholder; nullptr when it cannot be made.
HWND CreateControlWindow(HWND parent, const RECT& position);
void DestroyControlWindow(HWND window);

}  // namespace permlet::com
