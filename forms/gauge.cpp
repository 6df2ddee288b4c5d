#include "forms/gauge.h"

#include <algorithm>
#include <string>

#include "forms/application.h"
#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/paint.h"

namespace forms {

Gauge::Gauge(Control* parent) : Control(parent) { CreateHandle(kWindowClass, WS_VISIBLE, 0); }

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
  // Drawn off screen first: a gauge that changes a hundred times a second must not flicker.
  PaintOffScreen(Handle(), target, [this](HDC dc, const RECT& all) { Draw(dc, all); });
}

void Gauge::Draw(HDC dc, const RECT& all) {
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
    SelectionGuard font(dc, CachedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    // The text takes the colour of the part it does not lie on, so it reads over both.
    {
      SavedDCState clipped(dc);
      IntersectClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
      SetTextColor(dc, ToColorRef(foreColor_));
      DrawTextW(dc, text.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SavedDCState clipped(dc);
    IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
    SetTextColor(dc, ToColorRef(backColor_));
    DrawTextW(dc, text.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

LRESULT Gauge::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = PaintMessage(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *r;
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
