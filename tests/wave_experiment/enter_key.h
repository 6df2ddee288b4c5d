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

}  // namespace kelmora_test
