// Drives real windows from a second thread while the test's thread runs a modal loop or the
// message loop: find a window, read it, click it, type into it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// The visible top-level window of this process whose caption is `caption` (UTF-16), waiting
// up to `timeoutMs`; null when none appeared.
HWND WaitForTopWindow(const std::wstring& caption, DWORD timeoutMs = 5000);
// A visible top-level window of this process other than those in `except`.
HWND WaitForAnyTopWindow(DWORD timeoutMs = 5000);
// Top-level windows of this process (visible or not).
int CountTopWindows(bool visibleOnly);
std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// The child whose text is `text`.
HWND FindChildByText(HWND parent, const std::wstring& text);
// The texts of a box's children other than its buttons, in the system's order: what it says.
std::vector<std::wstring> NonButtonTexts(HWND box);
// What the message box of process `pid` captioned `caption` says (its NonButtonTexts, joined),
// once its OK has been pressed and the box has gone; a note naming the caption when no such
// box came.
std::wstring AnswerProcessMessage(DWORD pid, const std::wstring& caption);
RECT WindowRectOf(HWND hwnd);
// The bounds of a child in its parent's client coordinates.
RECT ChildBounds(HWND child);
// A left click at the centre of a child, as the mouse would give it.
void ClickChild(HWND child);
void PressKey(HWND target, UINT vk);
// The window that has the keyboard focus in `thread`; null when none has.
HWND FocusOf(DWORD thread);
// The focus of `thread` as soon as it has one; null when none came within `timeoutMs`.
HWND WaitForFocus(DWORD thread, DWORD timeoutMs = 1000);
// The focus of `thread` as soon as it is inside the top-level window `root`, which takes it a
// moment after it is shown; once `timeoutMs` passed, the focus as it is then (null when none).
HWND WaitForFocusIn(DWORD thread, HWND root, DWORD timeoutMs = 1000);

// The application's messages handled for `ms` milliseconds (at least once), resting
// `stepMs` between rounds.
void PumpFor(DWORD ms, DWORD stepMs = 5);
// The application's messages handled until `done` holds; false when `timeoutMs` passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000, DWORD stepMs = 1);

// The real mouse, as a hand moves it (SendInput): the pointer goes to (x, y) on the screen,
// pressing or releasing the left button when `flags` holds MOUSEEVENTF_LEFTDOWN or
// MOUSEEVENTF_LEFTUP. The application's messages are handled until the pointer is there and no
// mouse input waits in this thread's queue; false when that did not come within `timeoutMs`.
bool SendMouse(DWORD flags, int x, int y, DWORD timeoutMs = 5000);
// A drag with the left button from `from` (on the screen) by `dx` pixels across, in moves of
// `step` pixels as a hand drags; false when any of its inputs was not handled.
bool DragMouse(POINT from, int dx, int step = 2);

// Runs `body` on a second thread; joins in the destructor.
class Driver {
 public:
  explicit Driver(std::function<void()> body) : thread_(std::move(body)) {}
  ~Driver() {
    if (thread_.joinable()) thread_.join();
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace testing_support
