#include "forms/control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "forms/form.h"
#include "forms/gdi_cache.h"
#include "forms/core/text.h"

namespace forms {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B4C;  // any constant; one subclass per window
const wchar_t kControlProp[] = L"KelmoraControl";

int NextControlId() {
  static int id = 1000;
  return ++id;
}

}  // namespace

unsigned CurrentShiftState() {
  unsigned s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
  return s;
}

static unsigned ShiftOfMouse(WPARAM wp) {
  unsigned s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

Control::Control(Control* parent) : parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  destroying_ = true;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (Control* child : children_) child->parent_ = nullptr;
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    RemovePropW(hwnd_, kControlProp);
    DestroyWindow(hwnd_);
  }
}

void Control::CreateHandle(const wchar_t* windowClass, DWORD style, DWORD exStyle) {
  HWND parentHwnd = parent_ ? parent_->hwnd_ : nullptr;
  HMENU id = nullptr;
  if (parentHwnd) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId()));
  }
  hwnd_ = CreateWindowExW(exStyle, windowClass, L"", style, 0, 0, 0, 0, parentHwnd, id,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("Cannot create window");
  SetPropW(hwnd_, kControlProp, this);
  SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (parent_) font_ = parent_->font_;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(font_)), FALSE);
}

Control* Control::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<Control*>(GetPropW(hwnd, kControlProp));
}

Form* Control::ParentForm() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (auto* f = dynamic_cast<const Form*>(c)) return const_cast<Form*>(f);
  }
  return nullptr;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<Control*>(ref);
  if (self->destroying_ || msg == WM_NCDESTROY) return DefSubclassProc(hwnd, msg, wp, lp);
  try {
    return self->WndProc(msg, wp, lp);
  } catch (...) {
    Application::Get().HandleException();
    return 0;
  }
}

LRESULT Control::CallDefault(UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(hwnd_, msg, wp, lp); }

LRESULT Control::Reflect(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = false;
  switch (msg) {
    case WM_COMMAND:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lp))) {
        handled = true;
        child->HandleCommand(HIWORD(wp));
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (Control* child = FromHandle(hdr->hwndFrom)) {
        handled = true;
        return child->HandleNotify(hdr);
      }
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lp))) {
        handled = true;
        child->HandleScroll(LOWORD(wp));
      }
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (Control* child = FromHandle(item->hwndItem)) {
        handled = child->HandleDrawItem(item);
        if (handled) return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* child = FromHandle(reinterpret_cast<HWND>(lp))) {
        if (HBRUSH b = child->HandleCtlColor(reinterpret_cast<HDC>(wp))) {
          handled = true;
          return reinterpret_cast<LRESULT>(b);
        }
      }
      break;
  }
  return 0;
}

HBRUSH Control::HandleCtlColor(HDC dc) {
  if (!colorSet_ && font_.color == clWindowText) return nullptr;
  SetTextColor(dc, ToColorRef(font_.color));
  SetBkColor(dc, ToColorRef(color_));
  return CachedBrush(color_);
}

void Control::FillBackground(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, CachedBrush(color_));
}

void Control::FocusMoved(bool gained, HWND other) {
  // Enter and exit are moves of the focus between controls of one form: leaving for another
  // program or a message box of the program's own is neither.
  HWND root = GetAncestor(hwnd_, GA_ROOT);
  if (!other || GetAncestor(other, GA_ROOT) != root) return;
  if (gained) {
    if (onEnter) onEnter();
  } else {
    if (onExit) onExit();
  }
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  bool handled = false;
  LRESULT r = Reflect(msg, wp, lp, handled);
  if (handled) return r;
  switch (msg) {
    case WM_SETFOCUS: {
      LRESULT d = CallDefault(msg, wp, lp);
      FocusMoved(true, reinterpret_cast<HWND>(wp));
      return d;
    }
    case WM_KILLFOCUS: {
      LRESULT d = CallDefault(msg, wp, lp);
      FocusMoved(false, reinterpret_cast<HWND>(wp));
      return d;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      MouseButton b = msg == WM_RBUTTONDOWN   ? MouseButton::Right
                      : msg == WM_MBUTTONDOWN ? MouseButton::Middle
                                              : MouseButton::Left;
      if (msg == WM_LBUTTONDBLCLK && onDblClick) onDblClick();
      if (onMouseDown) onMouseDown(b, ShiftOfMouse(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      MouseButton b = msg == WM_RBUTTONUP   ? MouseButton::Right
                      : msg == WM_MBUTTONUP ? MouseButton::Middle
                                            : MouseButton::Left;
      if (onMouseUp) onMouseUp(b, ShiftOfMouse(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    }
    case WM_MOUSEMOVE:
      if (onMouseMove) onMouseMove(ShiftOfMouse(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_ && onCaptureLost) onCaptureLost();
      break;
    case WM_SETCURSOR:
      if (cursor_ && LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd_) {
        ::SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!KeyDownEvent(wp)) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!KeyUpEvent(wp)) return 0;
      break;
    case WM_CHAR:
      if (!KeyPressEvent(wp)) return 0;
      break;
  }
  return CallDefault(msg, wp, lp);
}

bool Control::KeyDownEvent(WPARAM& wp) {
  if (onKeyDown) {
    unsigned key = static_cast<unsigned>(wp);
    onKeyDown(key, CurrentShiftState());
    if (key == 0) return false;
    wp = key;
  }
  return true;
}

bool Control::KeyUpEvent(WPARAM& wp) {
  if (onKeyUp) {
    unsigned key = static_cast<unsigned>(wp);
    onKeyUp(key, CurrentShiftState());
    if (key == 0) return false;
    wp = key;
  }
  return true;
}

bool Control::KeyPressEvent(WPARAM& wp) {
  if (onKeyPress) {
    std::string narrow = Narrow(std::wstring(1, static_cast<wchar_t>(wp)));
    char key = narrow[0];
    onKeyPress(key);
    if (key == 0) return false;
    wp = Widen(std::string(1, key))[0];
  }
  return true;
}

void Control::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  // The platform keeps a resized window's old pixels and asks it to paint only the strip it
  // gained, but most controls draw from their size (bevels at their edges, centred captions, a
  // gauge's share): at a new size the whole control is painted anew. A mere move keeps them.
  if (width != Width() || height != Height()) flags |= SWP_NOCOPYBITS;
  SetWindowPos(hwnd_, nullptr, left, top, width, height, flags);
}

static RECT BoundsInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  if (HWND parent = GetParent(hwnd); parent && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

int Control::Left() const { return BoundsInParent(hwnd_).left; }
int Control::Top() const { return BoundsInParent(hwnd_).top; }
int Control::Width() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}
int Control::Height() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}
void Control::SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
void Control::SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
void Control::SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
void Control::SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
int Control::ClientWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.right;
}
int Control::ClientHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Control::SetText(std::string_view text) {
  std::wstring w = Widen(text);
  SetWindowTextW(hwnd_, w.c_str());
  Invalidate();
}

std::string Control::Text() const {
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd_, w.data(), n + 1);
  w.resize(static_cast<size_t>(std::max(n, 0)));
  return Narrow(w);
}

void Control::SetVisible(bool visible) {
  ShowWindow(hwnd_, visible ? (parent_ ? SW_SHOWNOACTIVATE : SW_SHOW) : SW_HIDE);
}
bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetEnabled(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
  Invalidate();
}
bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::SetFont(const FontSpec& font) {
  font_ = font;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(font_)), TRUE);
  Invalidate();
}

void Control::SetColor(Color color) {
  color_ = color;
  colorSet_ = true;
  Invalidate();
}

void Control::SetTabOrder(int order) {
  tabOrder_ = order;
  if (!parent_) return;
  // The dialog manager walks siblings in z-order: keep them sorted by tab order.
  std::vector<Control*> ordered;
  for (Control* c : parent_->children_) {
    if (c->tabOrder_ >= 0) ordered.push_back(c);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](Control* a, Control* b) { return a->tabOrder_ < b->tabOrder_; });
  HWND after = HWND_TOP;
  for (Control* c : ordered) {
    SetWindowPos(c->hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->hwnd_;
  }
}

void Control::SetTabStop(bool on) {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  style = on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
  SetWindowLongW(hwnd_, GWL_STYLE, style);
}

void Control::SetFocus() { ::SetFocus(hwnd_); }
bool Control::Focused() const { return GetFocus() == hwnd_; }
bool Control::CanFocus() const { return IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_); }

void Control::BringToFront() {
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
void Control::SendToBack() {
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  parent_ = parent;
  if (parent_) parent_->children_.push_back(this);
  ::SetParent(hwnd_, parent_ ? parent_->hwnd_ : nullptr);
}

void Control::Invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }
void Control::Repaint() {
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void Control::SetMouseCapture(bool on) {
  if (on) {
    SetCapture(hwnd_);
  } else if (GetCapture() == hwnd_) {
    ReleaseCapture();
  }
}
bool Control::HasMouseCapture() const { return GetCapture() == hwnd_; }

}  // namespace forms
