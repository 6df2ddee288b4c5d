// Holds a test desktop open for the whole test run. Wine's desktop process ends a few
// seconds after the last program that used it, and the next window test then waits many
// seconds for a new one: with this program running, every test finds the desktop up. The
// file named by the argument is made once the desktop answers, for the script that waits.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  GetDesktopWindow();
  HWND w =
      CreateWindowExW(0, L"STATIC", L"keepalive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  (void)w;
  if (argc > 1) {
    HANDLE f = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  }
  Sleep(INFINITE);
  return 0;
}
