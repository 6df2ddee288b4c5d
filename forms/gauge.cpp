#include "forms/gauge.h"

#include <algorithm>
#include <string>

#include "forms/application.h"
#include "forms/gdi_cache.h"

namespace forms {

Gauge::Gauge(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE, 0);
}

void Gauge::SetProgress(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == progress_) return;
  progress_ = percent;
  Invalidate();
  if (onChange) onChange(progress_);
}

void Gauge::SetForeColor(Color c) {
  foreColor_ = c;
  Invalidate();
}

void Gauge::SetBackColor(Color c) {
  backColor_ = c;
  Invalidate();
}

void Gauge::SetShowText(bool on) {
  showText_ = on;
  Invalidate();
}

void Gauge::Paint(HDC target) {
  RECT all;
  GetClientRect(Handle(), &all);
  // Drawn off screen first: a gauge that changes a hundred times a second must not flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, std::max<LONG>(all.right, 1), std::max<LONG>(all.bottom, 1));
  HGDIOBJ oldBmp = SelectObject(dc, bmp);

  FillRect(dc, &all, CachedBrush(clBlack));
  RECT inner = all;
  InflateRect(&inner, -1, -1);
  int doneWidth = (inner.right - inner.left) * progress_ / 100;
  RECT done{inner.left, inner.top, inner.left + doneWidth, inner.bottom};
  RECT rest{done.right, inner.top, inner.right, inner.bottom};
  FillRect(dc, &done, CachedBrush(foreColor_));
  FillRect(dc, &rest, CachedBrush(backColor_));

  if (showText_) {
    std::wstring text = std::to_wstring(progress_) + L"%";
    HGDIOBJ oldFont = SelectObject(dc, CachedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    // The text takes the colour of the part it does not lie on, so it reads over both.
    SaveDC(dc);
    IntersectClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
    SetTextColor(dc, ToColorRef(foreColor_));
    DrawTextW(dc, text.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, -1);
    SaveDC(dc);
    IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
    SetTextColor(dc, ToColorRef(backColor_));
    DrawTextW(dc, text.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, -1);
    SelectObject(dc, oldFont);
  }
  BitBlt(target, 0, 0, all.right, all.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBmp);
  DeleteObject(bmp);
  DeleteDC(dc);
}

LRESULT Gauge::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
