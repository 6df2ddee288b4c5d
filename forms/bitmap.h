// An off-screen picture: a 32-bit top-down DIB section in its own memory device context, so
// colours are exact (no palette, no dithering) and tests can read every pixel directly.
#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/canvas.h"
#include "forms/platform/owned_handles.h"

namespace forms {

class Bitmap {
 public:
  Bitmap();
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // A new size keeps the overlapping top-left part of the picture; new pixels are white.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  Canvas& GetCanvas() { return canvas_; }
  const Canvas& GetCanvas() const { return canvas_; }
  HDC DC() const { return dc_.get(); }

  // Pixels as 0x00BBGGRR; outside the picture: clNone.
  Color Pixel(int x, int y) const;
  // Rows top-down, each pixel 0x00RRGGBB as the DIB holds it; null when empty.
  const std::uint32_t* Bits() const;
  bool SameBits(const Bitmap& other) const;

 private:
  // In this order: the DC's own bitmap goes back in before the picture is deleted, and the
  // DC goes last.
  UniqueMemoryDC dc_;
  UniqueGdiObject<HBITMAP> dib_;
  SelectionGuard selected_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Canvas canvas_;
};

}  // namespace forms
