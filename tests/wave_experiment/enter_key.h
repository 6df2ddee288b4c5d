// Enter pressed in a value edit of the main window as the keyboard gives it, with the
// "Λάθος τιμή" message that a bad value brings closed by Enter too: the key goes down in the
// window that has the focus and comes up in the window that has it then.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "child_process.h"
#include "forms/edit.h"
#include "gui_driver.h"

namespace kelmora_test {

// Types `text` into `edit` and presses Enter on this (the window's) thread; every message
// that comes is closed by Enter. Returns the number of messages shown.
inline int TypeAndPressEnter(forms::Edit& edit, const std::string& text) {
  using namespace testing_support;
  edit.SetFocus();
  edit.SetText(text);
  const DWORD gui = GetCurrentThreadId();
  const HWND main = GetAncestor(edit.Handle(), GA_ROOT);
  std::atomic<int> keyUps{0}, boxes{0};
  std::atomic<bool> done{false}, finished{false};
  auto inner = edit.onKeyUp;
  edit.onKeyUp = [&](unsigned& key, unsigned shift) {
    ++keyUps;
    if (inner) inner(key, shift);
  };
  Driver d([&] {
    while (!done) {
      HWND box = WaitForTopWindow(L"Λάθος τιμή", 20);
      if (!box) continue;
      ++boxes;
      PostMessageW(FocusOf(gui), WM_KEYDOWN, VK_RETURN, 1);
      WaitUntil([&] { return !IsWindowVisible(box); });
      HWND back = nullptr;
      WaitUntil([&] {
        back = FocusOf(gui);
        return back && GetAncestor(back, GA_ROOT) == main;
      });
      PostMessageW(back, WM_KEYUP, VK_RETURN, 0xC0000001);
    }
    finished = true;
  });
  PostMessageW(edit.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(edit.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  // Every key-up handled: the one typed, and one for each message closed.
  bool handled = PumpUntil([&] { return keyUps >= 1 + boxes; }, 10000);
  done = true;
  // The driver reads window texts, which this thread answers.
  PumpUntil([&] { return finished.load(); });
  d.Join();
  edit.onKeyUp = inner;
  EXPECT_TRUE(handled) << "the Enter keys were not all handled";
  return boxes;
}

// How the student puts the "Λάθος τιμή" message away.
enum class MessageAway { Enter, OkButton, CloseBox };

// Puts `text` into `edit` and presses `leave` (VK_RETURN or VK_TAB) in it on this (the
// window's) thread; every message that comes is put away by `away`. Returns the number of
// messages shown.
inline int LeaveWithABadValue(forms::Edit& edit, const std::string& text, UINT leave, MessageAway away) {
  using namespace testing_support;
  edit.SetFocus();
  edit.SetText(text);
  const DWORD gui = GetCurrentThreadId();
  const HWND main = GetAncestor(edit.Handle(), GA_ROOT);
  std::atomic<int> boxes{0};
  std::atomic<bool> settled{false}, done{false}, finished{false};
  Driver d([&] {
    while (!done) {
      HWND box = WaitForTopWindow(L"Λάθος τιμή", 20);
      if (!box) continue;
      ++boxes;
      switch (away) {
        case MessageAway::Enter: {
          const HWND focus = WaitForFocusIn(gui, box, 3000);
          PostMessageW(focus ? focus : box, WM_KEYDOWN, VK_RETURN, 1);
          break;
        }
        case MessageAway::OkButton:
          ClickChild(FindChildByText(box, L"OK"));
          break;
        case MessageAway::CloseBox:
          PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
      }
      WaitUntil([&] { return !IsWindowVisible(box); });
      HWND back = nullptr;
      WaitUntil([&] {
        back = FocusOf(gui);
        return back && GetAncestor(back, GA_ROOT) == main;
      });
      // The Enter comes up in the window that has the focus once the message is gone.
      if (away == MessageAway::Enter && back) PostMessageW(back, WM_KEYUP, VK_RETURN, 0xC0000001);
      settled = true;
    }
    finished = true;
  });
  PressKey(edit.Handle(), leave);
  EXPECT_TRUE(PumpUntil([&] { return settled.load(); }, 10000)) << "no message came";
  // What the driver posted last, the key coming up, handled too.
  PumpFor(50, 2);
  done = true;
  // The driver reads window texts, which this thread answers.
  PumpUntil([&] { return finished.load(); });
  d.Join();
  return boxes;
}

}  // namespace kelmora_test
