#include "gui_thread.h"

#include <commctrl.h>

#include "forms/application.h"
#include "forms/core/text.h"
#include "gui_driver.h"

namespace testing_support {
namespace {
constexpr UINT kCall = WM_APP + 0x51;
constexpr UINT kSync = WM_APP + 0x52;
}  // namespace

GuiThread::GuiThread() : thread_(GetCurrentThreadId()) {
  forms::Application::Get().Initialize();
  // A message-only window: never seen, never activated, yet served by the thread's pump.
  window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowSubclass(window_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  synced_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

GuiThread::~GuiThread() {
  RemoveWindowSubclass(window_, Proc, 1);
  DestroyWindow(window_);
  CloseHandle(synced_);
}

LRESULT CALLBACK GuiThread::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<GuiThread*>(ref);
  if (msg == kCall) {
    try {
      (*reinterpret_cast<const std::function<void()>*>(lp))();
    } catch (...) {
      forms::Application::Get().HandleException();
    }
    return 0;
  }
  if (msg == kSync) {
    SetEvent(self->synced_);
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void GuiThread::Call(const std::function<void()>& f) {
  SendMessageW(window_, kCall, 0, reinterpret_cast<LPARAM>(&f));
}

void GuiThread::Sync() {
  // Twice: the characters a key makes are posted while the key is handled, behind the first.
  for (int i = 0; i < 2; ++i) {
    PostMessageW(window_, kSync, 0, 0);
    WaitForSingleObject(synced_, 5000);
  }
}

HWND GuiThread::Focus() const { return testing_support::FocusOf(thread_); }

HWND GuiThread::Target() {
  // Under Wine a late X focus event can deactivate the form for a moment, leaving the thread
  // with no focus; a user's keys would still land where the caret was, so post them there.
  // The moment passes: wait for the focus to come back first, since a key that moved it (Tab)
  // leaves the last target stale; only a focus still gone after that falls back to it.
  for (int i = 0; i < 200 && !Focus(); ++i) Sleep(5);
  if (HWND focus = Focus()) last_target_ = focus;
  return last_target_;
}

void GuiThread::Key(UINT vk) {
  HWND target = Target();
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
  Sync();
}

void GuiThread::Type(const std::string& text) {
  for (wchar_t c : forms::Widen(text)) {
    PostMessageW(Target(), WM_CHAR, c, 1);
    Sync();
  }
}

}  // namespace testing_support
