#include "forms/panel.h"

#include <algorithm>

#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/paint.h"
#include "forms/core/text.h"

namespace forms {

void DrawFrame3D(HDC dc, RECT& r, Color topLeft, Color bottomRight, int width) {
  HBRUSH tl = CachedBrush(topLeft);
  HBRUSH br = CachedBrush(bottomRight);
  for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
    RECT top{r.left, r.top, r.right - 1, r.top + 1};
    RECT left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
    RECT right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, tl);
    FillRect(dc, &left, tl);
    FillRect(dc, &bottom, br);
    FillRect(dc, &right, br);
    InflateRect(&r, -1, -1);
  }
}

Panel::Panel(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void Panel::SetBevelOuter(BevelCut cut) {
  outer_ = cut;
  Realign();
  Invalidate();
}

void Panel::SetBevelInner(BevelCut cut) {
  inner_ = cut;
  Realign();
  Invalidate();
}

void Panel::SetBevelWidth(int width) {
  bevelWidth_ = std::max(width, 1);
  Realign();
  Invalidate();
}

void Panel::SetBorderWidth(int width) {
  borderWidth_ = std::max(width, 0);
  Realign();
  Invalidate();
}

RECT Panel::InnerRect() const {
  RECT r;
  GetClientRect(Handle(), &r);
  int inset = borderWidth_;
  if (outer_ != BevelCut::None) inset += bevelWidth_;
  if (inner_ != BevelCut::None) inset += bevelWidth_;
  InflateRect(&r, -inset, -inset);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void Panel::AlignClient(Control* child) {
  if (std::find(aligned_.begin(), aligned_.end(), child) == aligned_.end()) {
    aligned_.push_back(child);
  }
  Realign();
}

void Panel::Realign() {
  RECT r = InnerRect();
  // A child destroyed before the panel has left the panel's children: skip it.
  const auto& kids = Children();
  for (Control* c : aligned_) {
    if (std::find(kids.begin(), kids.end(), c) == kids.end()) continue;
    c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
}

void Panel::Paint(HDC dc) {
  RECT r;
  GetClientRect(Handle(), &r);
  auto colours = [](BevelCut cut, Color& tl, Color& br) {
    tl = cut == BevelCut::Raised ? clBtnHighlight : clBtnShadow;
    br = cut == BevelCut::Raised ? clBtnShadow : clBtnHighlight;
  };
  Color tl, br;
  if (outer_ != BevelCut::None) {
    colours(outer_, tl, br);
    DrawFrame3D(dc, r, tl, br, bevelWidth_);
  }
  DrawFrame3D(dc, r, GetColor(), GetColor(), borderWidth_);
  if (inner_ != BevelCut::None) {
    colours(inner_, tl, br);
    DrawFrame3D(dc, r, tl, br, bevelWidth_);
  }
  FillRect(dc, &r, CachedBrush(GetColor()));
  std::wstring caption = Widen(Text());
  if (!caption.empty()) {
    SelectionGuard font(dc, CachedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(Font().color));
    DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

LRESULT Panel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = PaintMessage(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *r;
  switch (msg) {
    case WM_SIZE: {
      LRESULT res = Control::WndProc(msg, wp, lp);
      Realign();
      return res;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
