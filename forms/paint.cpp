#include "forms/paint.h"

#include <algorithm>

#include "forms/gdi_cache.h"

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
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return std::nullopt;
}

void PaintOffScreen(HWND window, HDC target, const std::function<void(HDC dc, const RECT& client)>& paint) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  paint(dc, client);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBmp);
  DeleteObject(bmp);
  DeleteDC(dc);
}

HBRUSH FaceColors(HDC dc, const FontSpec& font, Color back) {
  SetTextColor(dc, ToColorRef(font.color == clWindowText ? clBtnText : font.color));
  SetBkColor(dc, ToColorRef(back));
  return CachedBrush(back);
}

}  // namespace forms
