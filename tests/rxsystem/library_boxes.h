// Reads and answers, from a second thread, the message boxes that the library shows while one
// of its own dialogs is open. BoxCatcher cannot serve here: it presses OK in every dialog-class
// window, the library's own dialogs included. A box is told apart by its text static and by
// having no edit field.
#pragma once
#include <windows.h>

#include <optional>
#include <set>
#include <string>

#include "child_process.h"
#include "gui_driver.h"

namespace rxsystem_tests {

struct AnsweredBox {
  std::string caption;
  std::string text;  // in the system's ANSI code page, as the library formatted it
};

inline bool IsMessageBox(HWND w) {
  if (testing_support::ClassName(w) != L"#32770" || !GetDlgItem(w, 0xFFFF)) return false;
  bool edit = false;
  EnumChildWindows(
      w, [](HWND c, LPARAM lp) __attribute__((stdcall))->BOOL {
        std::wstring cls = testing_support::ClassName(c);
        if (cls == L"Edit" || cls == L"ComboBox" || cls == L"ListBox") *reinterpret_cast<bool*>(lp) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&edit));
  return !edit;
}

inline HWND FindMessageBox() {
  struct Search {
    HWND found = nullptr;
  } s;
  EnumWindows(
      [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && IsMessageBox(w)) {
          reinterpret_cast<Search*>(lp)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

inline std::string TextOf(HWND w) {
  char text[1024] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// Waits for the next box, reads it and presses the button with this id; nothing when no box
// came within the time.
inline std::optional<AnsweredBox> AnswerBox(int buttonId = IDOK, DWORD timeoutMs = 3000) {
  HWND box = nullptr;
  if (!testing_support::WaitUntil([&] { return (box = FindMessageBox()) != nullptr; }, timeoutMs, 5))
    return std::nullopt;
  AnsweredBox a{TextOf(box), TextOf(GetDlgItem(box, 0xFFFF))};
  HWND button = GetDlgItem(box, buttonId);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  testing_support::WaitUntil([&] { return !IsWindow(box); }, timeoutMs, 5);
  return a;
}

}  // namespace rxsystem_tests
