#include "gui_driver.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "child_process.h"
#include "forms/application.h"

namespace testing_support {
namespace {

struct Search {
  const std::wstring* caption;
  HWND found;
  bool visibleOnly;
  int count;
};

BOOL CALLBACK EnumTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(w)) return TRUE;
  wchar_t cls[64];
  GetClassNameW(w, cls, 64);
  // Wine's and the IME's helper windows are no windows of the program.
  if (lstrcmpW(cls, L"IME") == 0 || lstrcmpW(cls, L"Message") == 0) return TRUE;
  ++s->count;
  if (s->caption && WindowText(w) != *s->caption) return TRUE;
  if (!s->found) s->found = w;
  return TRUE;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t cls[256];
  int n = GetClassNameW(hwnd, cls, 256);
  return std::wstring(cls, static_cast<size_t>(n > 0 ? n : 0));
}

HWND WaitForTopWindow(const std::wstring& caption, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    Search s{&caption, nullptr, true, 0};
    EnumWindows(EnumTop, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(10);
  }
  return nullptr;
}

HWND WaitForAnyTopWindow(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    Search s{nullptr, nullptr, true, 0};
    EnumWindows(EnumTop, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(10);
  }
  return nullptr;
}

int CountTopWindows(bool visibleOnly) {
  Search s{nullptr, nullptr, visibleOnly, 0};
  EnumWindows(EnumTop, reinterpret_cast<LPARAM>(&s));
  return s.count;
}

std::vector<std::wstring> NonButtonTexts(HWND box) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      box, [](HWND c, LPARAM lp) __attribute__((stdcall))->BOOL {
        if (ClassName(c) != L"Button")
          reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(WindowText(c));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

std::wstring AnswerProcessMessage(DWORD pid, const std::wstring& caption) {
  HWND box = WaitForProcessWindow(pid, caption);
  if (!box) return L"(no \"" + caption + L"\" message)";
  std::wstring text;
  for (const std::wstring& t : NonButtonTexts(box)) text += t;
  ClickChild(FindChildByText(box, L"OK"));
  WaitUntil([&] { return !IsWindowVisible(box); });
  return text;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  struct Find {
    const std::wstring* text;
    HWND found;
  } f{&text, nullptr};
  EnumChildWindows(
      parent, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        if (WindowText(w) == *f->text) {
          f->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

RECT WindowRectOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ChildBounds(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ClickChild(HWND child) {
  RECT r;
  GetClientRect(child, &r);
  LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(child, WM_LBUTTONUP, 0, at);
}

void PressKey(HWND target, UINT vk) {
  PostMessageW(target, WM_KEYDOWN, vk, 1);
  PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(thread, &info);
  return info.hwndFocus;
}

HWND WaitForFocus(DWORD thread, DWORD timeoutMs) {
  HWND focus = nullptr;
  WaitUntil([&] { return (focus = FocusOf(thread)) != nullptr; }, timeoutMs);
  return focus;
}

HWND WaitForFocusIn(DWORD thread, HWND root, DWORD timeoutMs) {
  HWND focus = nullptr;
  WaitUntil(
      [&] {
        focus = FocusOf(thread);
        return focus && GetAncestor(focus, GA_ROOT) == root;
      },
      timeoutMs);
  return focus;
}

void PumpFor(DWORD ms, DWORD stepMs) {
  DWORD until = GetTickCount() + ms;
  do {
    forms::Application::Get().ProcessMessages();
    Sleep(stepMs);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    forms::Application::Get().ProcessMessages();
    Sleep(stepMs);
  }
  return true;
}

bool SendMouse(DWORD flags, int x, int y, DWORD timeoutMs) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  if (SendInput(1, &in, sizeof(in)) != 1) return false;
  return PumpUntil(
      [&] {
        POINT at{};
        GetCursorPos(&at);
        return at.x == x && at.y == y && HIWORD(GetQueueStatus(QS_MOUSE)) == 0;
      },
      timeoutMs);
}

bool DragMouse(POINT from, int dx, int step) {
  bool handled = SendMouse(0, from.x, from.y) && SendMouse(MOUSEEVENTF_LEFTDOWN, from.x, from.y);
  const int sign = dx < 0 ? -1 : 1;
  for (int moved = 0; handled && moved != dx;) {
    moved += sign * std::min(step, std::abs(dx - moved));
    handled = SendMouse(0, from.x + moved, from.y);
  }
  return SendMouse(MOUSEEVENTF_LEFTUP, from.x + dx, from.y) && handled;
}

}  // namespace testing_support
