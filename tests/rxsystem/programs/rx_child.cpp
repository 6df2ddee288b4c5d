// A small program that the program tests start through the library. The library gives it no
// arguments of its own choosing, so the test tells it what to do through the environment it
// inherits: RX_CHILD_REPORT names a file that receives, one per line, the program's own
// path, its current directory, its command line and the veru state it was started with;
// RX_CHILD_MODE "exit" waits RX_CHILD_DELAY milliseconds, reports and ends; any other mode
// reports and keeps a window titled RX_CHILD_TITLE open until it is closed (20 s at most).
#include <windows.h>

#include <string>

namespace {

std::string Env(const char* name) {
  char value[1024];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n && n < sizeof value ? std::string(value, n) : std::string();
}

void Report() {
  std::string path = Env("RX_CHILD_REPORT");
  if (path.empty()) return;
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, directory);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  std::string text =
      std::string(module) + "\n" + directory + "\n" + GetCommandLineA() + "\n" + std::to_string(show) + "\n";
  // Written aside and renamed, so that the test never reads half a report.
  std::string aside = path + ".part";
  HANDLE file = CreateFileA(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExA(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  if (Env("RX_CHILD_MODE") == "exit") {
    std::string delay = Env("RX_CHILD_DELAY");
    if (!delay.empty()) Sleep(static_cast<DWORD>(std::stoul(delay)));
    Report();
    return 0;
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = "RxChildWindow";
  RegisterClassA(&wc);
  std::string title = Env("RX_CHILD_TITLE");
  HWND hwnd = CreateWindowExA(0, "RxChildWindow", title.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 200, 120,
                              nullptr, nullptr, instance, nullptr);
  // The state the starter put in the start-up information.
  ShowWindow(hwnd, show);
  // A test that failed before closing the window must not leave the program behind: the
  // test runner waits for every process that holds its output.
  SetTimer(hwnd, 1, 20000, nullptr);
  Report();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
