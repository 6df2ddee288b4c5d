// Windows BMP files to 32-bit pixels. The bytes come from whatever file the user names, so
// every read is checked against the file's end and every size against overflow and a cap.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace bmp {

// The pixel format of the file, as the viewer's caption names it.
enum class PixelFormat { DeviceDepth, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32, Custom };

// Top-down rows of 0x00RRGGBB values: the memory layout of a 32-bit DIB, so a picture goes to
// the screen without conversion.
struct Image {
  int width = 0;
  int height = 0;
  PixelFormat format = PixelFormat::Bit32;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// A DIB pixel as the toolkit's 0x00BBGGRR colour.
constexpr std::uint32_t ToColor(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}
constexpr std::uint32_t FromRgb(unsigned r, unsigned g, unsigned b) {
  return ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

enum class Error {
  None,
  BadSignature,  // not "BM"
  BadHeader,     // unknown header size, bit count, compression, masks or offsets
  BadSize,       // zero or negative width, zero height
  Truncated,     // the file ends before its header, palette or pixels do
  TooLarge,      // more pixels than the cap, or no memory for them
};

const char* ErrorName(Error e);

// 64 M pixels (256 MB decoded): far above any picture the courseware ships, far below what a
// 32-bit process can hold twice (the viewer keeps the picture and its zoomed copy).
constexpr std::size_t kMaxPixels = std::size_t{64} << 20;

struct Decoded {
  Error error = Error::None;
  Image image;
  bool ok() const { return error == Error::None; }
};

// Reads BITMAPCOREHEADER (12 bytes) and BITMAPINFOHEADER with its later versions (40, 52, 56,
// 108, 124 bytes): 1, 4 and 8 bits with palettes, RLE8 and RLE4, 16 bits (555 or bit fields),
// 24 and 32 bits, bottom-up and top-down. Pixels that an RLE stream skips are black.
Decoded Decode(std::span<const std::uint8_t> file, std::size_t maxPixels = kMaxPixels);

}  // namespace bmp
