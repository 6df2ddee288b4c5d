#include "viewer/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>

namespace bmp {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : b_(bytes) {}
  std::size_t Size() const { return b_.size(); }
  bool Has(std::size_t offset, std::size_t n) const { return offset <= b_.size() && n <= b_.size() - offset; }
  std::uint8_t U8(std::size_t o) const { return b_[o]; }
  std::uint16_t U16(std::size_t o) const { return static_cast<std::uint16_t>(b_[o] | (b_[o + 1] << 8)); }
  std::uint32_t U32(std::size_t o) const {
    return static_cast<std::uint32_t>(b_[o]) | (static_cast<std::uint32_t>(b_[o + 1]) << 8) |
           (static_cast<std::uint32_t>(b_[o + 2]) << 16) | (static_cast<std::uint32_t>(b_[o + 3]) << 24);
  }
  std::int32_t S32(std::size_t o) const { return static_cast<std::int32_t>(U32(o)); }

 private:
  std::span<const std::uint8_t> b_;
};

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its bits (five bits
// abcde become abcdeabc), as the platform widens 555 and 565 pixels.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static std::optional<Channel> Of(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    std::uint32_t run = mask >> c.shift;
    // Holes in a mask make no sense to any writer.
    if ((run & (run + 1)) != 0) return std::nullopt;
    c.bits = std::popcount(run);
    return c;
  }

  std::uint32_t Expand(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    std::uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += bits) {
      int s = 8 - filled - bits;
      out |= s >= 0 ? v << s : v >> -s;
    }
    return out & 0xFFu;
  }
};

struct Header {
  bool core = false;
  std::uint32_t headerSize = 0;
  std::uint32_t dataOffset = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // absolute
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t colorsUsed = 0;
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  std::size_t paletteStart = 0;
};

Error ReadHeader(const Reader& r, Header& h) {
  if (r.Size() < 2 || r.U8(0) != 'B' || r.U8(1) != 'M') return Error::BadSignature;
  if (!r.Has(0, 18)) return Error::Truncated;
  h.dataOffset = r.U32(10);
  h.headerSize = r.U32(14);
  switch (h.headerSize) {
    case 12:
      h.core = true;
      break;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
      break;
    default:
      return Error::BadHeader;
  }
  if (!r.Has(14, h.headerSize)) return Error::Truncated;
  int planes;
  if (h.core) {
    h.width = r.U16(18);
    h.height = r.U16(20);
    planes = r.U16(22);
    h.bitCount = r.U16(24);
  } else {
    h.width = r.S32(18);
    std::int64_t height = r.S32(22);
    planes = r.U16(26);
    h.bitCount = r.U16(28);
    h.compression = r.U32(30);
    h.colorsUsed = r.U32(46);
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
  }
  if (planes != 1) return Error::BadHeader;
  if (h.width <= 0 || h.height <= 0) return Error::BadSize;

  const int b = h.bitCount;
  bool known = b == 1 || b == 4 || b == 8 || b == 24 || (!h.core && (b == 16 || b == 32));
  if (!known) return Error::BadHeader;

  std::size_t afterHeader = 14 + std::size_t{h.headerSize};
  switch (h.compression) {
    case kRgb:
      break;
    case kRle8:
    case kRle4:
      // Run-length streams run bottom-up only.
      if (b != (h.compression == kRle8 ? 8 : 4) || h.topDown) return Error::BadHeader;
      break;
    case kBitFields:
    case kAlphaBitFields: {
      if (b != 16 && b != 32) return Error::BadHeader;
      std::size_t maskAt = 14 + 40;
      if (h.headerSize == 40) {
        // The masks follow the short header.
        std::size_t n = h.compression == kAlphaBitFields ? 16 : 12;
        if (!r.Has(afterHeader, n)) return Error::Truncated;
        afterHeader += n;
      }
      for (int i = 0; i < 3; ++i) h.masks[i] = r.U32(maskAt + 4 * static_cast<std::size_t>(i));
      break;
    }
    default:
      return Error::BadHeader;  // JPEG, PNG and the printer codecs
  }
  h.paletteStart = afterHeader;
  if (h.dataOffset < afterHeader) return Error::BadHeader;
  if (h.dataOffset > r.Size()) return Error::Truncated;
  return Error::None;
}

PixelFormat FormatOf(const Header& h, const Channel (&c)[3]) {
  switch (h.bitCount) {
    case 1:
      return PixelFormat::Bit1;
    case 4:
      return PixelFormat::Bit4;
    case 8:
      return PixelFormat::Bit8;
    case 24:
      return PixelFormat::Bit24;
    case 16:
      if (c[0].mask == 0x7C00 && c[1].mask == 0x03E0 && c[2].mask == 0x001F) return PixelFormat::Bit15;
      if (c[0].mask == 0xF800 && c[1].mask == 0x07E0 && c[2].mask == 0x001F) return PixelFormat::Bit16;
      return PixelFormat::Custom;
    case 32:
      if (c[0].mask == 0xFF0000 && c[1].mask == 0xFF00 && c[2].mask == 0xFF) return PixelFormat::Bit32;
      return PixelFormat::Custom;
  }
  return PixelFormat::Custom;
}

class Palette {
 public:
  Palette(const Reader& r, const Header& h) {
    if (h.bitCount > 8) return;
    std::size_t entry = h.core ? 3 : 4;
    std::size_t nominal = std::size_t{1} << h.bitCount;
    if (!h.core && h.colorsUsed != 0 && h.colorsUsed < nominal) nominal = h.colorsUsed;
    // A short palette ends where the pixels begin; indices past its end are black.
    std::size_t room = (h.dataOffset - h.paletteStart) / entry;
    std::size_t n = std::min(nominal, room);
    for (std::size_t i = 0; i < n; ++i) {
      std::size_t o = h.paletteStart + i * entry;
      colors_[i] = FromRgb(r.U8(o + 2), r.U8(o + 1), r.U8(o));
    }
  }
  std::uint32_t operator[](unsigned index) const { return colors_[index & 0xFFu]; }

 private:
  std::uint32_t colors_[256] = {};
};

void DecodeRows(const Reader& r, const Header& h, const Palette& palette, const Channel (&c)[3],
                std::size_t stride, Image& img) {
  const std::size_t w = static_cast<std::size_t>(img.width);
  const std::size_t rows = static_cast<std::size_t>(img.height);
  const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields || h.bitCount == 16;
  for (std::size_t row = 0; row < rows; ++row) {
    std::size_t y = h.topDown ? row : rows - 1 - row;
    std::uint32_t* out = img.pixels.data() + y * w;
    std::size_t at = h.dataOffset + row * stride;
    switch (h.bitCount) {
      case 1:
      case 4:
      case 8: {
        const unsigned bits = static_cast<unsigned>(h.bitCount);
        const unsigned perByte = 8 / bits;
        const unsigned mask = (1u << bits) - 1;
        for (std::size_t x = 0; x < w; ++x) {
          unsigned byte = r.U8(at + x / perByte);
          unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
          out[x] = palette[(byte >> shift) & mask];
        }
        break;
      }
      case 16:
        for (std::size_t x = 0; x < w; ++x) {
          std::uint32_t p = r.U16(at + 2 * x);
          out[x] = FromRgb(c[0].Expand(p), c[1].Expand(p), c[2].Expand(p));
        }
        break;
      case 24:
        for (std::size_t x = 0; x < w; ++x) {
          std::size_t o = at + 3 * x;
          out[x] = FromRgb(r.U8(o + 2), r.U8(o + 1), r.U8(o));
        }
        break;
      case 32:
        for (std::size_t x = 0; x < w; ++x) {
          std::uint32_t p = r.U32(at + 4 * x);
          out[x] = fields ? FromRgb(c[0].Expand(p), c[1].Expand(p), c[2].Expand(p)) : (p & 0x00FFFFFFu);
        }
        break;
    }
  }
}

// RLE8 and RLE4: pairs of (count, value) with the escapes end of line, end of picture, delta
// and absolute runs. Runs past the right edge and deltas past the top are clipped. A stream
// that stops between commands without its end mark leaves the rest black; one that stops
// inside a command is truncated.
Error DecodeRle(const Reader& r, const Header& h, const Palette& palette, Image& img) {
  const bool four = h.compression == kRle4;
  const std::int64_t w = img.width, rows = img.height;
  std::int64_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](unsigned index) {
    if (x < w && y < rows) {
      img.pixels[static_cast<std::size_t>((rows - 1 - y) * w + x)] = palette[index];
    }
    ++x;
  };
  std::size_t at = h.dataOffset;
  const std::size_t end = r.Size();
  while (y < rows) {
    if (at == end) return Error::None;
    if (!r.Has(at, 2)) return Error::Truncated;
    unsigned count = r.U8(at), value = r.U8(at + 1);
    at += 2;
    if (count > 0) {
      // Past the right edge nothing lands, so the run need not be walked there.
      unsigned n = x >= w ? 0 : static_cast<unsigned>(std::min<std::int64_t>(count, w - x));
      for (unsigned i = 0; i < n; ++i) put(four ? ((i & 1) ? value & 0xFu : value >> 4) : value);
      x += count - n;
      continue;
    }
    switch (value) {
      case 0:
        x = 0;
        ++y;
        break;
      case 1:
        return Error::None;
      case 2:
        if (!r.Has(at, 2)) return Error::Truncated;
        x += r.U8(at);
        y += r.U8(at + 1);
        at += 2;
        break;
      default: {
        std::size_t bytes = four ? (value + 1u) / 2u : value;
        std::size_t padded = bytes + (bytes & 1u);
        if (!r.Has(at, padded)) return Error::Truncated;
        for (unsigned i = 0; i < value; ++i) {
          unsigned byte = r.U8(at + (four ? i / 2 : i));
          put(four ? ((i & 1) ? byte & 0xFu : byte >> 4) : byte);
        }
        at += padded;
        break;
      }
    }
  }
  return Error::None;
}

}  // namespace

const char* ErrorName(Error e) {
  switch (e) {
    case Error::None:
      return "none";
    case Error::BadSignature:
      return "bad signature";
    case Error::BadHeader:
      return "bad header";
    case Error::BadSize:
      return "bad size";
    case Error::Truncated:
      return "truncated";
    case Error::TooLarge:
      return "too large";
  }
  return "?";
}

Decoded Decode(std::span<const std::uint8_t> file, std::size_t maxPixels) {
  Decoded result;
  Reader r(file);
  Header h;
  result.error = ReadHeader(r, h);
  if (!result.ok()) return result;

  Channel c[3];
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    std::uint32_t limit = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
      auto ch = Channel::Of(h.masks[i]);
      if (!ch || (h.masks[i] & ~limit) || (h.masks[i] & seen)) {
        result.error = Error::BadHeader;
        return result;
      }
      seen |= h.masks[i];
      c[i] = *ch;
    }
  } else if (h.bitCount == 16) {
    c[0] = *Channel::Of(0x7C00);
    c[1] = *Channel::Of(0x03E0);
    c[2] = *Channel::Of(0x001F);
  } else if (h.bitCount == 32) {
    c[0] = *Channel::Of(0xFF0000);
    c[1] = *Channel::Of(0xFF00);
    c[2] = *Channel::Of(0xFF);
  }

  // Both factors are below 2^31, so the products fit in 64 bits.
  const std::uint64_t w = static_cast<std::uint64_t>(h.width);
  const std::uint64_t rows = static_cast<std::uint64_t>(h.height);
  if (w * rows > maxPixels || w * rows > std::numeric_limits<std::size_t>::max() / 4) {
    result.error = Error::TooLarge;
    return result;
  }
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  const std::uint64_t stride = (w * static_cast<std::uint64_t>(h.bitCount) + 31) / 32 * 4;
  if (!rle && (stride * rows > r.Size() - h.dataOffset)) {
    result.error = Error::Truncated;
    return result;
  }

  Image& img = result.image;
  img.width = static_cast<int>(h.width);
  img.height = static_cast<int>(h.height);
  img.format = FormatOf(h, c);
  try {
    img.pixels.assign(static_cast<std::size_t>(w * rows), 0u);
  } catch (const std::bad_alloc&) {
    result.error = Error::TooLarge;
    result.image = Image{};
    return result;
  }
  Palette palette(r, h);
  if (rle) {
    result.error = DecodeRle(r, h, palette, img);
    if (!result.ok()) result.image = Image{};
  } else {
    DecodeRows(r, h, palette, c, static_cast<std::size_t>(stride), img);
  }
  return result;
}

}  // namespace bmp
