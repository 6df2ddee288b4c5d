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

}  // namespace testing_support
