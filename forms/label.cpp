#include "forms/label.h"

#include "forms/application.h"
#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/core/text.h"

namespace forms {

Label::Label(Control* parent) : Control(parent) { CreateHandle(kWindowClass, WS_VISIBLE, 0); }

void Label::SetCaption(std::string_view caption) {
  SetText(caption);
  if (autoSize_) AdjustSize();
}

void Label::SetAlignment(Alignment a) {
  alignment_ = a;
  Invalidate();
}

void Label::SetWordWrap(bool on) {
  wordWrap_ = on;
  if (autoSize_) AdjustSize();
  Invalidate();
}

void Label::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on) AdjustSize();
}

void Label::SetTransparent(bool on) {
  transparent_ = on;
  Invalidate();
}

void Label::SetShowAccelChar(bool on) {
  showAccel_ = on;
  Invalidate();
}

void Label::SetLayoutCenter(bool on) {
  layoutCenter_ = on;
  Invalidate();
}

UINT Label::DrawFlags() const {
  UINT f = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (!showAccel_) f |= DT_NOPREFIX;
  if (alignment_ == Alignment::Center) f |= DT_CENTER;
  if (alignment_ == Alignment::Right) f |= DT_RIGHT;
  return f;
}

void Label::AdjustSize() {
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    WindowDC dc(Handle());
    SelectionGuard font(dc.get(), CachedFont(Font()));
    std::wstring text = Widen(Text());
    if (text.empty()) text = L" ";
    DrawTextW(dc.get(), text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
  }
  SetBounds(Left(), Top(), r.right, r.bottom);
}

LRESULT Label::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      if (autoSize_) {
        LRESULT r = Control::WndProc(msg, wp, lp);
        AdjustSize();
        return r;
      }
      break;
    case WM_PAINT: {
      PaintDC paint(Handle());
      HDC dc = paint.get();
      RECT r;
      GetClientRect(Handle(), &r);
      Color back = GetColor();
      if (transparent_ && Parent()) back = Parent()->GetColor();
      FillRect(dc, &r, CachedBrush(back));
      SelectionGuard font(dc, CachedFont(Font()));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ToColorRef(IsWindowEnabled(Handle()) ? Font().color : clGrayText));
      std::wstring text = Widen(Text());
      UINT flags = DrawFlags();
      if (layoutCenter_) {
        RECT m = r;
        DrawTextW(dc, text.c_str(), -1, &m, flags | DT_CALCRECT);
        int dy = ((r.bottom - r.top) - (m.bottom - m.top)) / 2;
        if (dy > 0) r.top += dy;
      }
      DrawTextW(dc, text.c_str(), -1, &r, flags);
      return 0;
    }
    case WM_NCHITTEST:
      // Clicks go through a label to the parent unless someone listens for them.
      if (!onClick && !onMouseDown && !onMouseUp && !onMouseMove) return HTTRANSPARENT;
      break;
    case WM_LBUTTONUP:
      if (onClick) onClick();
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
