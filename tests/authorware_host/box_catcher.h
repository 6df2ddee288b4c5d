// Watches, from a second thread, for the message boxes that a library shows on the test's
// thread: reads each one as the user would see it and presses a button, so that a call
// that shows a box returns and one that should show none cannot hang.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace authorware_host {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
  std::vector<std::wstring> buttons;  // in creation order
  HWND owner = nullptr;
  HICON icon = nullptr;  // the picture the box shows, null without one
};

class BoxCatcher {
 public:
  // Presses the button with this text in every box (the first button when none has it).
  explicit BoxCatcher(std::wstring answer = L"OK");
  ~BoxCatcher();
  BoxCatcher(const BoxCatcher&) = delete;
  BoxCatcher& operator=(const BoxCatcher&) = delete;

  // Stops watching and returns every box seen.
  std::vector<SeenBox> Stop();

 private:
  void Watch();

  std::wstring answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};

}  // namespace authorware_host
