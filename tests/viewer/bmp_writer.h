// Builds BMP files byte by byte for the viewer's tests: every header kind, bit count and
// compression, with the fields set exactly as a test wants them (right or wrong).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct BmpLayout {
  int headerSize = 40;  // 12, 40, 52, 56, 108, 124
  int width = 1;
  int height = 1;  // as written: negative for top-down
  int bitCount = 24;
  int planes = 1;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as RGBQUAD (RGBTRIPLE for 12)
  // Bit-field masks: inside the header from 52 bytes up, after a 40-byte header otherwise
  // (only when `writeMasks`).
  std::uint32_t masks[4] = {0, 0, 0, 0};
  bool writeMasks = false;
  std::vector<std::uint8_t> data;  // pixel rows or the RLE stream, as stored
  // Written into bfOffBits; 0 means right after the palette.
  std::uint32_t dataOffset = 0;
};

inline void Put16(std::vector<std::uint8_t>& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> WriteBmp(const BmpLayout& s) {
  std::vector<std::uint8_t> h;
  h.push_back('B');
  h.push_back('M');
  Put32(h, 0);  // file size, patched below
  Put32(h, 0);
  Put32(h, 0);  // data offset, patched below
  Put32(h, static_cast<std::uint32_t>(s.headerSize));
  if (s.headerSize == 12) {
    Put16(h, static_cast<unsigned>(s.width));
    Put16(h, static_cast<unsigned>(s.height));
    Put16(h, static_cast<unsigned>(s.planes));
    Put16(h, static_cast<unsigned>(s.bitCount));
  } else {
    Put32(h, static_cast<std::uint32_t>(s.width));
    Put32(h, static_cast<std::uint32_t>(s.height));
    Put16(h, static_cast<unsigned>(s.planes));
    Put16(h, static_cast<unsigned>(s.bitCount));
    Put32(h, s.compression);
    Put32(h, static_cast<std::uint32_t>(s.data.size()));
    Put32(h, 2835);
    Put32(h, 2835);
    Put32(h, s.colorsUsed);
    Put32(h, 0);
    if (s.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) Put32(h, s.masks[i]);
    }
    if (s.headerSize >= 56) Put32(h, s.masks[3]);
    if (s.headerSize >= 108) {
      Put32(h, 0x73524742);  // 'sRGB'
      while (h.size() < 14u + static_cast<unsigned>(s.headerSize)) h.push_back(0);
    }
    if (s.headerSize == 40 && s.writeMasks) {
      for (int i = 0; i < (s.compression == 6 ? 4 : 3); ++i) Put32(h, s.masks[i]);
    }
  }
  for (std::uint32_t c : s.palette) {
    h.push_back(static_cast<std::uint8_t>(c));
    h.push_back(static_cast<std::uint8_t>(c >> 8));
    h.push_back(static_cast<std::uint8_t>(c >> 16));
    if (s.headerSize != 12) h.push_back(0);
  }
  std::uint32_t offset = s.dataOffset ? s.dataOffset : static_cast<std::uint32_t>(h.size());
  while (h.size() < offset) h.push_back(0);
  h.insert(h.end(), s.data.begin(), s.data.end());
  std::uint32_t size = static_cast<std::uint32_t>(h.size());
  for (int i = 0; i < 4; ++i) {
    h[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    h[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }
  return h;
}

// Rows of raw values (palette indices, 16- or 32-bit words, 0x00RRGGBB for 24 bits) packed at
// `bitCount` bits with the padding to four bytes, in file order (bottom-up unless topDown).
inline std::vector<std::uint8_t> PackRows(int width, int height, int bitCount, bool topDown,
                                          const std::function<std::uint32_t(int x, int y)>& value) {
  std::vector<std::uint8_t> out;
  const int stride = (width * bitCount + 31) / 32 * 4;
  for (int row = 0; row < height; ++row) {
    int y = topDown ? row : height - 1 - row;
    std::vector<std::uint8_t> line(static_cast<size_t>(stride), 0);
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = value(x, y);
      switch (bitCount) {
        case 1:
        case 4:
        case 8: {
          int bit = x * bitCount;
          int shift = 8 - bitCount - bit % 8;
          line[static_cast<size_t>(bit / 8)] |= static_cast<std::uint8_t>(v << shift);
          break;
        }
        case 16:
          line[static_cast<size_t>(2 * x)] = static_cast<std::uint8_t>(v);
          line[static_cast<size_t>(2 * x + 1)] = static_cast<std::uint8_t>(v >> 8);
          break;
        case 24:
          line[static_cast<size_t>(3 * x)] = static_cast<std::uint8_t>(v);
          line[static_cast<size_t>(3 * x + 1)] = static_cast<std::uint8_t>(v >> 8);
          line[static_cast<size_t>(3 * x + 2)] = static_cast<std::uint8_t>(v >> 16);
          break;
        case 32:
          for (int i = 0; i < 4; ++i)
            line[static_cast<size_t>(4 * x + i)] = static_cast<std::uint8_t>(v >> (8 * i));
          break;
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

// A plain bottom-up 24-bit file of the picture given by `pixel` (0x00RRGGBB).
inline std::vector<std::uint8_t> Bmp24(int width, int height,
                                       const std::function<std::uint32_t(int x, int y)>& pixel) {
  BmpLayout s;
  s.width = width;
  s.height = height;
  s.bitCount = 24;
  s.data = PackRows(width, height, 24, false, pixel);
  return WriteBmp(s);
}

}  // namespace testing_support
