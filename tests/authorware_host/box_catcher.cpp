#include "box_catcher.h"

#include <set>

#include "gui_driver.h"

namespace authorware_host {
namespace {

// The platform's message boxes: dialog-class windows of this process, with the ids the
// platform gives the text and the icon of a box.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x440;

std::vector<HWND> VisibleDialogs() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && testing_support::ClassName(w) == L"#32770")
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

SeenBox Read(HWND box) {
  SeenBox s;
  s.caption = testing_support::WindowText(box);
  if (HWND text = GetDlgItem(box, kBoxTextId)) s.text = testing_support::WindowText(text);
  if (HWND icon = GetDlgItem(box, kBoxIconId))
    s.icon = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
  s.owner = GetWindow(box, GW_OWNER);
  EnumChildWindows(
      box, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        if (testing_support::ClassName(w) == L"Button" && IsWindowVisible(w))
          reinterpret_cast<SeenBox*>(lp)->buttons.push_back(testing_support::WindowText(w));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s;
}

}  // namespace

BoxCatcher::BoxCatcher(std::wstring answer) : answer_(std::move(answer)) {
  thread_ = std::thread([this] { Watch(); });
}

BoxCatcher::~BoxCatcher() { Stop(); }

std::vector<SeenBox> BoxCatcher::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void BoxCatcher::Watch() {
  std::set<HWND> answered;
  while (!stop_) {
    for (HWND box : VisibleDialogs()) {
      if (answered.count(box)) continue;
      SeenBox s = Read(box);
      HWND button = testing_support::FindChildByText(box, answer_);
      if (!button) button = GetDlgItem(box, IDOK);
      if (!button) continue;
      answered.insert(box);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(std::move(s));
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
    }
    // Forget the boxes that are gone, so that a later box with a reused handle is read.
    for (auto it = answered.begin(); it != answered.end();) {
      it = IsWindow(*it) ? std::next(it) : answered.erase(it);
    }
    Sleep(5);
  }
}

}  // namespace authorware_host
