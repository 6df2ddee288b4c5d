// A panel of the forms layer (one without a caption) as it should look, worked out from its
// bounds, bevels and colour alone, and what its window really shows.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "forms/gdi_cache.h"
#include "forms/panel.h"
#include "pixel_capture.h"

namespace testing_support {

// The colour of pixel (x, y) of a w x h panel: nested one-pixel frames from the outside in
// (the outer bevel, the border in the panel's colour, the inner bevel), each lit at its top and
// left and shaded at its bottom and right (the other way round when lowered, the bottom and
// right lines running through the corners), then the panel's colour.
inline COLORREF PanelPixel(const forms::Panel& panel, int w, int h, int x, int y) {
  struct Ring {
    COLORREF topLeft, bottomRight;
  };
  const COLORREF light = forms::ToColorRef(forms::clBtnHighlight);
  const COLORREF dark = forms::ToColorRef(forms::clBtnShadow);
  const COLORREF colour = forms::ToColorRef(panel.GetColor());
  std::vector<Ring> rings;
  auto bevel = [&](forms::BevelCut cut) {
    if (cut == forms::BevelCut::None) return;
    for (int i = 0; i < panel.BevelWidth(); ++i)
      rings.push_back(cut == forms::BevelCut::Raised ? Ring{light, dark} : Ring{dark, light});
  };
  bevel(panel.BevelOuter());
  for (int i = 0; i < panel.BorderWidth(); ++i) rings.push_back({colour, colour});
  bevel(panel.BevelInner());
  const int depth = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
  if (depth >= static_cast<int>(rings.size())) return colour;
  const Ring& ring = rings[static_cast<size_t>(depth)];
  return x == w - 1 - depth || y == h - 1 - depth ? ring.bottomRight : ring.topLeft;
}

// Where the window does not show `panel` as PanelPixel says, as "N of M pixels ... wrong, first
// at (x,y) 0x... for 0x...", or empty when it shows all of it; the panel is expected uncovered.
inline std::string PanelMismatches(const forms::Panel& panel) {
  const int w = panel.Width(), h = panel.Height();
  const std::vector<COLORREF> seen = WindowColors(panel.Handle(), {0, 0, w, h});
  int wrong = 0;
  std::string first;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      COLORREF want = PanelPixel(panel, w, h, x, y);
      COLORREF got = seen[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
      if (got == want) continue;
      if (++wrong <= 4) {
        char at[80];
        snprintf(at, sizeof(at), " (%d,%d) 0x%06lx for 0x%06lx", x, y, static_cast<unsigned long>(got),
                 static_cast<unsigned long>(want));
        first += at;
      }
    }
  }
  if (wrong == 0) return {};
  return std::to_string(wrong) + " of " + std::to_string(w * h) + " pixels of the " + std::to_string(w) +
         " x " + std::to_string(h) + " panel wrong, first at" + first;
}

}  // namespace testing_support
