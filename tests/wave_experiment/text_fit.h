// Whether a text fits the box it is shown in, measured as the platform lays it out with the
// box's own font: Wine's fonts are not the design's, so the sizes are never assumed.
#pragma once
#include <windows.h>

#include <string>

#include "forms/control.h"
#include "forms/gdi_cache.h"
#include "forms/core/text.h"

namespace kelmora_test {

// The height that `text` takes, broken into lines at word ends inside `width` pixels, in the
// font `font`. `flags` adds to DT_WORDBREAK (DT_CENTER, DT_EXPANDTABS, DT_NOPREFIX).
inline int WrappedTextHeight(const forms::FontSpec& font, int width, const std::string& text,
                             UINT flags = 0) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, forms::CachedFont(font));
  std::wstring w = forms::Widen(text);
  RECT r{0, 0, width, 0};
  DrawTextW(dc, w.c_str(), -1, &r, DT_WORDBREAK | DT_CALCRECT | flags);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom - r.top;
}

// The height of the control's client area, where its text is drawn.
inline int ClientHeight(const forms::Control& c) {
  RECT r;
  GetClientRect(c.Handle(), &r);
  return r.bottom - r.top;
}

inline int ClientWidth(const forms::Control& c) {
  RECT r;
  GetClientRect(c.Handle(), &r);
  return r.right - r.left;
}

}  // namespace kelmora_test
