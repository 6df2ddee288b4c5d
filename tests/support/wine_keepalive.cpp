// Holds the test desktop open for the whole test run. Wine's desktop process ends a few
// seconds after the last program that used it, and the next window test then waits many
// seconds for a new one: with this program running, every test finds the desktop up.
#include <windows.h>

int main() {
  GetDesktopWindow();
  HWND w = CreateWindowExW(0, L"STATIC", L"keepalive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  (void)w;
  Sleep(INFINITE);
  return 0;
}
