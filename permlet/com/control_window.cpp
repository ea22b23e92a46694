#include "permlet/com/control_window.h"

#include "permlet/com/own_module.h"

namespace permlet::com {

namespace {

constexpr const char* kWindowClass = "PermletCtrlWindow";

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC context = BeginPaint(window, &paint);
  RECT bounds;
  GetClientRect(window, &bounds);
  PaintPlaceholder(context, bounds);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

void PaintPlaceholder(HDC context, const RECT& bounds) {
  FillRect(context, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Ellipse(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
}

// The window class lives only while a window of it does: the library may be
// unloaded between two activations, and a class left behind would point into
// the unloaded code.
HWND CreateControlWindow(HWND parent, const RECT& position) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ControlWindowProc;
  windowClass.hInstance = OwnModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly while another window has it
  return CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                         position.left, position.top, position.right - position.left,
                         position.bottom - position.top, parent, nullptr, OwnModule(), nullptr);
}

void DestroyControlWindow(HWND window) {
  DestroyWindow(window);
  UnregisterClassA(kWindowClass, OwnModule());  // fails while another window has it
}

}  // namespace permlet::com
