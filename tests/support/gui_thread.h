// Lets a driver thread act on the test's GUI thread in step with it: run code there, wait
// until every message posted so far has been handled, and type into whatever has the focus.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace testing_support {

class GuiThread {
 public:
  // Made on the GUI thread.
  GuiThread();
  ~GuiThread();
  GuiThread(const GuiThread&) = delete;
  GuiThread& operator=(const GuiThread&) = delete;

  // From the driver: runs f on the GUI thread and returns when it is done.
  void Call(const std::function<void()>& f);
  template <typename T>
  T Get(const std::function<T()>& f) {
    T value{};
    Call([&] { value = f(); });
    return value;
  }
  // From the driver: returns when the GUI thread has handled what was posted before (and the
  // characters that the keys posted then made).
  void Sync();
  HWND Focus() const;
  // Key down and up to the focused window, through the GUI thread's own pump and dialog keys.
  void Key(UINT vk);
  // Characters, one at a time, each to whatever has the focus when it is typed (cp1253).
  void Type(const std::string& text);

 private:
  HWND Target();
  // On the GUI thread: keeps its focus, when it has one, as where the caret was.
  void NoteFocus();
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND window_ = nullptr;
  DWORD thread_ = 0;
  HANDLE synced_ = nullptr;
  std::atomic<HWND> last_focus_{nullptr};
};

}  // namespace testing_support
