#include "system_services/host/center_window.h"

namespace rxsystem {

void CenterWindow(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace rxsystem
