#include "forms/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace forms {

Bitmap::Bitmap() : dc_(CreateCompatibleDC(nullptr)) {
  if (!dc_) throw std::runtime_error("Cannot create bitmap");
  canvas_.Attach(dc_.get());
}

// The canvas may have left a cached font or pen selected; they outlive the DC by design.
Bitmap::~Bitmap() { canvas_.Attach(nullptr); }

void Bitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  UniqueGdiObject<HBITMAP> dib;
  std::uint32_t* bits = nullptr;
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    dib.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!dib) throw std::runtime_error("Cannot create bitmap");
    bits = static_cast<std::uint32_t*>(p);
    std::fill(bits, bits + static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFFu);
    GdiFlush();
    int keepW = bits_ ? std::min(width, width_) : 0;
    int keepH = bits_ ? std::min(height, height_) : 0;
    for (int y = 0; y < keepH; ++y) {
      std::memcpy(bits + static_cast<size_t>(y) * width, bits_ + static_cast<size_t>(y) * width_,
                  static_cast<size_t>(keepW) * sizeof(std::uint32_t));
    }
  }
  if (dib && selected_) {
    SelectObject(dc_.get(), dib.get());
  } else if (dib) {
    selected_ = SelectionGuard(dc_.get(), dib.get());
  } else {
    selected_.reset();
  }
  dib_ = std::move(dib);
  bits_ = bits;
  width_ = width;
  height_ = height;
}

Color Bitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  GdiFlush();
  std::uint32_t v = bits_[static_cast<size_t>(y) * width_ + x];
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

const std::uint32_t* Bitmap::Bits() const {
  GdiFlush();
  return bits_;
}

bool Bitmap::SameBits(const Bitmap& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  if (!bits_ || !other.bits_) return bits_ == other.bits_;
  GdiFlush();
  size_t n = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  for (size_t i = 0; i < n; ++i) {
    if ((bits_[i] & 0x00FFFFFF) != (other.bits_[i] & 0x00FFFFFF)) return false;
  }
  return true;
}

}  // namespace forms
