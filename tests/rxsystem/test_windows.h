// Real top-level windows for the window family's tests: one made on the test's thread (with a
// menu bar of two drop-downs unless asked otherwise), and one that lives on a thread of its
// own as another program's window would. They count the close requests they are sent and
// stay alive after them, so that the test can look.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace rxsystem_tests {

inline constexpr wchar_t kTestWindowClass[] = L"RXSystemWindowTest";

// Items of the menu bar, by position: "File" holds Open, Save, Exit; "Edit" holds Copy, Paste.
inline constexpr int kDropDowns = 2;
inline constexpr int kItemsIn[kDropDowns] = {3, 2};

inline uint32_t IdOf(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

// A title no other process on the display uses.
inline std::wstring UniqueTitle(const wchar_t* what) {
  static int serial = 0;
  return std::wstring(L"RX ") + what + L" " + std::to_wstring(GetCurrentProcessId()) + L"." +
         std::to_wstring(++serial);
}

inline HMENU MakeMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 101, L"&Open");
  AppendMenuW(file, MF_STRING, 102, L"&Save");
  AppendMenuW(file, MF_STRING, 103, L"E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, 201, L"&Copy");
  AppendMenuW(edit, MF_STRING, 202, L"&Paste");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  return bar;
}

class TestWindow {
 public:
  struct Options {
    bool menuBar = true;
    DWORD style = WS_OVERLAPPEDWINDOW;
    const wchar_t* className = kTestWindowClass;
    int width = 320;
    int height = 240;
    DWORD closeDelayMs = 0;  // the close request takes this long to handle
  };

  TestWindow() : TestWindow(Options{}) {}
  explicit TestWindow(const Options& options) : options_(options), title_(UniqueTitle(L"window")) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TestWindow::Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = options.className;
    RegisterClassW(&wc);  // fails harmlessly when the class is there already
    hwnd_ = CreateWindowExW(0, options.className, title_.c_str(), options.style, 60, 50, options.width,
                            options.height, nullptr, options.menuBar ? MakeMenuBar() : nullptr,
                            GetModuleHandleW(nullptr), this);
  }
  ~TestWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  uint32_t Id() const { return IdOf(hwnd_); }
  const std::wstring& Title() const { return title_; }
  std::string NarrowTitle() const { return std::string(title_.begin(), title_.end()); }

  std::atomic<int> closeRequests{0};  // with both parameters 0
  std::atomic<int> otherCloseRequests{0};

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_CLOSE) {
      if (self->options_.closeDelayMs) Sleep(self->options_.closeDelayMs);
      ++(wp == 0 && lp == 0 ? self->closeRequests : self->otherCloseRequests);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  Options options_;
  std::wstring title_;
  HWND hwnd_ = nullptr;
};

// A window made, pumped and destroyed on a thread of its own.
class ThreadWindow {
 public:
  explicit ThreadWindow(TestWindow::Options options = {}) {
    thread_ = std::thread([this, options] {
      TestWindow window(options);
      window_ = &window;
      threadId_ = GetCurrentThreadId();
      ready_ = true;
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      window_ = nullptr;
    });
    while (!ready_) Sleep(1);
  }
  ~ThreadWindow() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  ThreadWindow(const ThreadWindow&) = delete;
  ThreadWindow& operator=(const ThreadWindow&) = delete;

  TestWindow& Window() { return *window_; }
  HWND Handle() const { return window_->Handle(); }
  uint32_t Id() const { return window_->Id(); }

 private:
  std::thread thread_;
  std::atomic<bool> ready_{false};
  TestWindow* window_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace rxsystem_tests
