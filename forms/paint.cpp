#include "forms/paint.h"

#include <algorithm>

#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"

namespace forms {

std::optional<LRESULT> PaintMessage(HWND window, UINT msg, WPARAM wp, const std::function<void(HDC)>& paint,
                                    bool printClient) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
      if (!printClient) break;
      paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_PAINT: {
      PaintDC dc(window);
      paint(dc.get());
      return 0;
    }
  }
  return std::nullopt;
}

void PaintOffScreen(HWND window, HDC target, const std::function<void(HDC dc, const RECT& client)>& paint) {
  RECT client;
  GetClientRect(window, &client);
  UniqueMemoryDC dc(CreateCompatibleDC(target));
  UniqueGdiObject<HBITMAP> bmp(
      CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
  SelectionGuard selected(dc.get(), bmp.get());
  paint(dc.get(), client);
  BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

HBRUSH FaceColors(HDC dc, const FontSpec& font, Color back) {
  SetTextColor(dc, ToColorRef(font.color == clWindowText ? clBtnText : font.color));
  SetBkColor(dc, ToColorRef(back));
  return CachedBrush(back);
}

}  // namespace forms
