#include "forms/image.h"

#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"

namespace forms {

Image::Image(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE, 0);
  picture_.GetCanvas().onChange = [this] { PictureChanged(); };
}

void Image::PictureChanged() {
  if (repaintAsked_) return;
  repaintAsked_ = true;
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT Image::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      picture_.SetSize(ClientWidth(), ClientHeight());
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC paint(Handle());
      HDC dc = paint.get();
      repaintAsked_ = false;
      RECT r;
      GetClientRect(Handle(), &r);
      if (!picture_.Empty()) {
        BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), picture_.DC(), 0, 0, SRCCOPY);
      }
      // Whatever the picture does not cover shows the parent's colour, as if see-through.
      Color back = Parent() ? Parent()->GetColor() : GetColor();
      if (picture_.Width() < r.right) {
        RECT right{picture_.Width(), 0, r.right, r.bottom};
        FillRect(dc, &right, CachedBrush(back));
      }
      if (picture_.Height() < r.bottom) {
        RECT below{0, picture_.Height(), picture_.Width(), r.bottom};
        FillRect(dc, &below, CachedBrush(back));
      }
      return 0;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
