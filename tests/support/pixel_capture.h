// A 32-bit top-down bitmap selected into a memory DC: a test draws or copies a window into it
// and reads the pixels back (0x00RRGGBB, rows from the top).
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace testing_support {

class PixelCapture {
 public:
  PixelCapture(int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    dib_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, dib_);
  }
  ~PixelCapture() {
    SelectObject(dc_, old_);
    DeleteObject(dib_);
    DeleteDC(dc_);
  }
  PixelCapture(const PixelCapture&) = delete;
  PixelCapture& operator=(const PixelCapture&) = delete;

  HDC DC() const { return dc_; }
  // The pixels as drawn so far, unmasked.
  std::vector<std::uint32_t> Pixels() const {
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits_);
    return std::vector<std::uint32_t>(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// What `window` shows in `area` (its client coordinates; beyond the client area too), rows from
// the top, as COLORREF values (0x00BBGGRR) to compare with the platform's colours. Read through
// the window's own DC: the pixels as painted, which the screen shows a moment later.
inline std::vector<COLORREF> WindowColors(HWND window, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  PixelCapture capture(w, h);
  HDC dc = GetDC(window);
  BitBlt(capture.DC(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, dc);
  std::vector<COLORREF> colours;
  colours.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (std::uint32_t p : capture.Pixels())
    colours.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return colours;
}

}  // namespace testing_support
