// A stand-in for the platform calculator, which Wine does not have: a top-level window of
// class "SciCalc" titled "Calculator" that writes what it is sent to a log, one line each, so
// tests can read the program's traffic with it. The log is the file named by KELMORA_CALC_LOG
// (else calc_log.txt in the current folder).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring LogPath() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"KELMORA_CALC_LOG", buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : L"calc_log.txt";
}

void Log(const char* line) {
  HANDLE h = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(h, line, static_cast<DWORD>(strlen(line)), &put, nullptr);
  WriteFile(h, "\r\n", 2, &put, nullptr);
  CloseHandle(h);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  char line[64];
  switch (msg) {
    case WM_USER:
      // The real calculator comes back from the tray on its first private message.
      Log("WM_USER");
      ShowWindow(w, SW_SHOWNORMAL);
      return 0;
    case WM_CLOSE:
      Log("WM_CLOSE");
      DestroyWindow(w);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SHOWWINDOW:
      snprintf(line, sizeof line, "WM_SHOWWINDOW %d", wp ? 1 : 0);
      Log(line);
      break;
    case WM_SYSCOMMAND:
      snprintf(line, sizeof line, "WM_SYSCOMMAND 0x%04X", static_cast<unsigned>(wp & 0xFFF0));
      Log(line);
      break;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char line[64];
  snprintf(line, sizeof line, "started %d", show);
  Log(line);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"SciCalc";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"SciCalc", L"Calculator", WS_OVERLAPPEDWINDOW, 700, 40, 260, 300, nullptr,
                           nullptr, instance, nullptr);
  ShowWindow(w, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Log("ended");
  return 0;
}
