#include "forms/form.h"

#include <exception>
#include <vector>

#include "forms/button.h"
#include "forms/core/message_service.h"
#include "forms/platform/owned_handles.h"
#include "forms/gdi_cache.h"
#include "forms/core/text.h"

namespace forms {

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

static void StylesOf(BorderStyle b, DWORD& style, DWORD& ex) {
  switch (b) {
    case BorderStyle::Sizeable:
      style = WS_OVERLAPPEDWINDOW;
      ex = 0;
      break;
    case BorderStyle::Dialog:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
      ex = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case BorderStyle::Single:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
      ex = 0;
      break;
    case BorderStyle::None:
      style = WS_POPUP;
      ex = 0;
      break;
    case BorderStyle::ToolWindow:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      ex = WS_EX_TOOLWINDOW;
      break;
  }
}

Form::Form() : Control(nullptr) {
  Application::Get().Initialize();
  DWORD style = 0, ex = 0;
  StylesOf(border_, style, ex);
  CreateHandle(kFormClass, style | WS_CLIPCHILDREN, ex | WS_EX_CONTROLPARENT);
  FontSpec f;
  f.height = 11;  // 8 pt
  SetFont(f);
}

Form::~Form() {
  if (modal_) modalResult_ = mrCancel;
  // Destroying an owner destroys the windows it owns, under the forms that hold them: they
  // are let go first and live on as windows of their own.
  EnumThreadWindows(
      GetCurrentThreadId(), [](HWND w, LPARAM owner) __attribute__((stdcall))->BOOL {
        if (GetWindow(w, GW_OWNER) == reinterpret_cast<HWND>(owner)) SetWindowLongPtrW(w, GWLP_HWNDPARENT, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(Handle()));
}

void Form::SetBorderStyle(BorderStyle style) {
  border_ = style;
  DWORD s = 0, ex = 0;
  StylesOf(style, s, ex);
  LONG keep = GetWindowLongW(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(s | WS_CLIPCHILDREN) | keep);
  SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_CONTROLPARENT));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Form::SetMaximizeBox(bool on) {
  LONG s = GetWindowLongW(Handle(), GWL_STYLE);
  SetWindowLongW(Handle(), GWL_STYLE, on ? (s | WS_MAXIMIZEBOX) : (s & ~WS_MAXIMIZEBOX));
}

void Form::SetMinimizeBox(bool on) {
  LONG s = GetWindowLongW(Handle(), GWL_STYLE);
  SetWindowLongW(Handle(), GWL_STYLE, on ? (s | WS_MINIMIZEBOX) : (s & ~WS_MINIMIZEBOX));
}

void Form::SetOwner(Form* owner) {
  ownerLent_ = false;
  // For a top-level window this slot holds the owner, not a parent.
  SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner ? owner->Handle() : nullptr));
}

void Form::RaiseOwnedWindows() {
  // Bottom first, so that the owned windows keep their order among themselves.
  std::vector<HWND> owned;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER) == Handle() && IsWindowVisible(w)) owned.push_back(w);
  }
  // A window already first would not move, nor would its X window: each goes just below the
  // owner (unseen, as only the first window is restacked there) and then to the top.
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (auto w = owned.rbegin(); w != owned.rend(); ++w) {
    SetWindowPos(*w, Handle(), 0, 0, 0, 0, keep | SWP_NOREDRAW);
    SetWindowPos(*w, HWND_TOP, 0, 0, 0, 0, keep);
  }
}

void Form::SetClientSize(int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame may differ from what AdjustWindowRectEx assumed (menus, themes): correct once.
  int dw = width - ClientWidth(), dh = height - ClientHeight();
  if (dw || dh) {
    SetWindowPos(Handle(), nullptr, 0, 0, Width() + dw, Height() + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form::PlaceOnScreen() {
  if (position_ != FormPosition::ScreenCenter) return;
  SetWindowPos(Handle(), nullptr, (ScreenWidth() - Width()) / 2, (ScreenHeight() - Height()) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::FocusFirst() {
  if (activeControl && activeControl->CanFocus()) {
    activeControl->SetFocus();
    return;
  }
  if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
    ::SetFocus(first);
  } else {
    ::SetFocus(Handle());
  }
}

void Form::Show() {
  if (!shownOnce_ || !IsWindowVisible(Handle())) PlaceOnScreen();
  shownOnce_ = true;
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetActiveWindow(Handle());
  if (onShow) onShow();
  HWND focus = GetFocus();
  if (!focus || GetAncestor(focus, GA_ROOT) != Handle()) FocusFirst();
}

int Form::ShowModal() {
  auto& app = Application::Get();
  // Like a dialog: every other window of the program waits while this one is open.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(), [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
        if (IsWindowVisible(w) && IsWindowEnabled(w)) list->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  std::erase(disabled, Handle());
  for (HWND w : disabled) EnableWindow(w, FALSE);
  HWND previousActive = GetActiveWindow();
  // A window manager keeps a window above the window it belongs to (its owner) and above no
  // other: a modal form of no owner's went under the window it was opened from at the first
  // click there, out of sight but holding the keys. A form without an owner of its own is
  // owned by the window it is opened from (else the main form), anew at every run. The owner
  // stays after the run: taking it back while Wine withdraws the hidden window from the
  // manager left the window on the screen.
  if (ownerLent_ || !GetWindow(Handle(), GW_OWNER)) {
    HWND owner = previousActive;
    if (!owner || owner == Handle()) {
      Form* main = Application::Get().MainForm();
      owner = main && main != this && IsWindowVisible(main->Handle()) ? main->Handle() : nullptr;
    }
    // Never a window this form owns itself: owners in a ring would never be above each other.
    for (HWND w = owner; w; w = GetWindow(w, GW_OWNER)) {
      if (w == Handle()) owner = nullptr;
    }
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ownerLent_ = owner != nullptr;
  }

  // Whatever leaves the modal run, an error in onShow or onClose included, the other
  // windows come back enabled.
  struct Reenable {
    std::vector<HWND>& windows;
    bool& modal;
    HWND self;
    ~Reenable() {
      for (HWND w : windows) {
        if (IsWindow(w)) EnableWindow(w, TRUE);
      }
      if (std::uncaught_exceptions() > 0 && IsWindow(self)) ShowWindow(self, SW_HIDE);
      modal = false;
    }
  } reenable{disabled, modal_, Handle()};
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  while (true) {
    app.HandleMessage();
    if (app.Terminated()) {
      modalResult_ = mrCancel;
    } else if (modalResult_ != mrNone && !CloseQuery()) {
      modalResult_ = mrNone;
    }
    if (modalResult_ != mrNone) break;
  }
  int result = modalResult_;
  // Enable the others before hiding, so the activation goes back to the window that was active.
  for (HWND w : disabled) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  if (IsWindow(Handle())) {
    CloseAction action = CloseAction::Hide;
    if (onClose) onClose(action);
    ShowWindow(Handle(), SW_HIDE);
  }
  if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  return result;
}

bool Form::CloseQuery() {
  bool canClose = true;
  if (onCloseQuery) onCloseQuery(canClose);
  return canClose;
}

void Form::Close() {
  if (modal_) {
    if (CloseQuery()) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  CloseAction action = CloseAction::Hide;
  if (onClose) onClose(action);
  if (action == CloseAction::None) return;
  if (action == CloseAction::Minimize) {
    ShowWindow(Handle(), SW_MINIMIZE);
    return;
  }
  ShowWindow(Handle(), SW_HIDE);
  // Closing the main form ends the program once the loop returns; nothing is destroyed here,
  // because a handler further up the stack (an animation frame) may still use the window.
  if (Application::Get().MainForm() == this) Application::Get().Terminate();
}

Button* Form::FocusedButton() const {
  Control* c = Control::FromHandle(GetFocus());
  auto* b = dynamic_cast<Button*>(c);
  if (b && b->ParentForm() == this) return b;
  return nullptr;
}

void Form::ClickCancel() {
  if (cancelButton && cancelButton->CanFocus()) cancelButton->Click();
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && GetAncestor(f, GA_ROOT) == Handle()) lastFocus_ = f;
        if (onDeactivate) onDeactivate();
        return 0;
      } else {
        if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
            IsWindowEnabled(lastFocus_)) {
          ::SetFocus(lastFocus_);
        } else if (!HIWORD(wp)) {
          FocusFirst();
        }
        // Where no window manager stacks the windows, Wine raises a window that takes the
        // focus above everything, the windows it owns included: they come back above it, as
        // an owner brings its windows up with it.
        RaiseOwnedWindows();
        if (onActivate) onActivate();
        return 0;
      }
    case DM_GETDEFID: {
      Button* b = FocusedButton();
      if (!b) b = defaultButton;
      if (b && b->CanFocus()) return MAKELRESULT(GetDlgCtrlID(b->Handle()), DC_HASDEFID);
      return 0;
    }
    case WM_COMMAND:
      // Esc through the dialog manager: it names no control, as none of ours has the id IDCANCEL.
      if (LOWORD(wp) == IDCANCEL && lp == 0) {
        ClickCancel();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      FillBackground(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_PAINT:
      if (onPaint) {
        PaintDC dc(Handle());
        onPaint(dc.get());
        return 0;
      }
      break;
    case WM_SIZE:
      if (onResize) onResize();
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

bool Form::PreTranslate(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto* form = dynamic_cast<Form*>(Control::FromHandle(root));
  if (!form) return false;
  if (form->keyPreview && msg.hwnd != root) {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->onKeyDown) {
      unsigned key = static_cast<unsigned>(msg.wParam);
      form->onKeyDown(key, CurrentShiftState());
      if (key == 0) return true;
      msg.wParam = key;
    } else if (msg.message == WM_CHAR && form->onKeyPress) {
      std::string n = Narrow(std::wstring(1, static_cast<wchar_t>(msg.wParam)));
      char key = n[0];
      form->onKeyPress(key);
      if (key == 0) return true;
      msg.wParam = Widen(std::string(1, key))[0];
    }
  }
  if (form->dialogKeys && (msg.message == WM_SYSCHAR || msg.message == WM_CHAR) && form->ClickMnemonic(msg)) {
    return true;
  }
  if (form->dialogKeys && IsDialogMessageW(root, &msg)) return true;
  return false;
}

// The dialog manager matches mnemonics with a case table that misses the Greek letters, so
// Alt+δ would not find "&Δεύτερο": the forms match them themselves.
bool Form::ClickMnemonic(const MSG& msg) {
  bool alt = msg.message == WM_SYSCHAR;
  if (!alt) {
    // A plain letter is a mnemonic only while a button has the focus, as in a dialog.
    HWND focus = GetFocus();
    if (!focus || msg.hwnd != focus || !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
      return false;
  }
  if (msg.wParam < 0x20) return false;
  char key = UpperCp1253(Narrow(std::wstring(1, static_cast<wchar_t>(msg.wParam)))[0]);
  if (key == '?' && msg.wParam != L'?') return false;
  HWND found = nullptr;
  std::vector<Control*> pending(Children().begin(), Children().end());
  while (!pending.empty() && !found) {
    Control* c = pending.front();
    pending.erase(pending.begin());
    if (!c->Visible() || !c->Enabled()) continue;
    pending.insert(pending.end(), c->Children().begin(), c->Children().end());
    if (!(SendMessageW(c->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) continue;
    std::string text = c->Text();
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '&') continue;
      if (text[i + 1] == '&') {
        ++i;
        continue;
      }
      if (UpperCp1253(text[i + 1]) == key) found = c->Handle();
      break;
    }
  }
  if (!found) return false;
  ::SetFocus(found);
  SendMessageW(found, BM_CLICK, 0, 0);
  return true;
}

}  // namespace forms
