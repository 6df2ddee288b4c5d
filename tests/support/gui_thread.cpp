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
    self->NoteFocus();
    return 0;
  }
  if (msg == kSync) {
    self->NoteFocus();
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

void GuiThread::NoteFocus() {
  if (HWND focus = GetFocus()) last_focus_ = focus;
}

HWND GuiThread::Target() {
  // Under Wine without a window manager, a late X focus event can deactivate the form and
  // leave the thread with no focus, mostly for a moment: wait for the focus to come back.
  // When it stays away, the user clicks back where the caret was, that is the focus the GUI
  // thread itself saw last (at a call or a sync of this driver: a focus remembered from an
  // earlier showing of the window, or one read from here just as it went, would be stale).
  // A key posted to a window left inactive would not do what it does: a Tab there starts
  // from no focus and goes to the first field.
  for (int i = 0; i < 200 && !Focus(); ++i) Sleep(5);
  if (HWND focus = Focus()) return focus;
  HWND caret = last_focus_;
  if (caret) {
    Call([caret] {
      SetForegroundWindow(GetAncestor(caret, GA_ROOT));
      SetFocus(caret);
    });
  }
  return caret;
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
