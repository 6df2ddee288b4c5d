#include "forms/bevel.h"

#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/paint.h"
#include "forms/panel.h"

namespace forms {

Bevel::Bevel(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE, 0);
  UpdateRegion();
}

void Bevel::SetShape(BevelShape shape) {
  shape_ = shape;
  UpdateRegion();
  Invalidate();
}

void Bevel::SetStyle(BevelStyle style) {
  style_ = style;
  Invalidate();
}

void Bevel::UpdateRegion() {
  int w = ClientWidth();
  int h = ClientHeight();
  UniqueGdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
  auto add = [&](int l, int t, int r, int b) {
    UniqueGdiObject<HRGN> part(CreateRectRgn(l, t, r, b));
    CombineRgn(rgn.get(), rgn.get(), part.get(), RGN_OR);
  };
  auto ring = [&](int thickness) {
    add(0, 0, w, thickness);
    add(0, h - thickness, w, h);
    add(0, 0, thickness, h);
    add(w - thickness, 0, w, h);
  };
  switch (shape_) {
    case BevelShape::Box:
      ring(1);
      break;
    case BevelShape::Frame:
      ring(2);
      break;
    case BevelShape::TopLine:
      add(0, 0, w, 2);
      break;
    case BevelShape::BottomLine:
      add(0, h - 2, w, h);
      break;
    case BevelShape::LeftLine:
      add(0, 0, 2, h);
      break;
    case BevelShape::RightLine:
      add(w - 2, 0, w, h);
      break;
    case BevelShape::Spacer:
      break;
  }
  // The window owns the region from here on and deletes it.
  SetWindowRgn(Handle(), rgn.release(), TRUE);
}

void Bevel::Paint(HDC dc) {
  int w = ClientWidth();
  int h = ClientHeight();
  Color dark = clBtnShadow;
  Color light = clBtnHighlight;
  Color first = style_ == BevelStyle::Lowered ? dark : light;
  Color second = style_ == BevelStyle::Lowered ? light : dark;
  auto fill = [&](int l, int t, int r, int b, Color c) {
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, CachedBrush(c));
  };
  RECT r{0, 0, w, h};
  switch (shape_) {
    case BevelShape::Box:
      DrawFrame3D(dc, r, first, second, 1);
      break;
    case BevelShape::Frame: {
      RECT outer{0, 0, w - 1, h - 1};
      DrawFrame3D(dc, outer, first, first, 1);
      RECT inner{1, 1, w, h};
      DrawFrame3D(dc, inner, second, second, 1);
      break;
    }
    case BevelShape::TopLine:
      fill(0, 0, w, 1, first);
      fill(0, 1, w, 2, second);
      break;
    case BevelShape::BottomLine:
      fill(0, h - 2, w, h - 1, first);
      fill(0, h - 1, w, h, second);
      break;
    case BevelShape::LeftLine:
      fill(0, 0, 1, h, first);
      fill(1, 0, 2, h, second);
      break;
    case BevelShape::RightLine:
      fill(w - 2, 0, w - 1, h, first);
      fill(w - 1, 0, w, h, second);
      break;
    case BevelShape::Spacer:
      break;
  }
}

LRESULT Bevel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = PaintMessage(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *r;
  switch (msg) {
    case WM_SIZE:
      UpdateRegion();
      break;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
