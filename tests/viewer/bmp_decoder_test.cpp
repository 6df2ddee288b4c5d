#include "viewer/bmp_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bmp_writer.h"

using bmp::Error;
using bmp::PixelFormat;
using testing_support::BmpLayout;
using testing_support::PackRows;
using testing_support::WriteBmp;

namespace {

constexpr std::uint32_t kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF,
                        kWhite = 0xFFFFFF;

// Sixteen distinct colours for the palettes; index i is (i * 16, 255 - i * 16, i * 5).
std::vector<std::uint32_t> Palette(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(bmp::FromRgb(i * 16 % 256, 255 - i * 16 % 256, i * 5 % 256));
  return p;
}

std::uint32_t Rep5(std::uint32_t v) { return (v << 3) | (v >> 2); }
std::uint32_t Rep6(std::uint32_t v) { return (v << 2) | (v >> 4); }
std::uint32_t Rep4(std::uint32_t v) { return (v << 4) | v; }

using PixelFn = std::function<std::uint32_t(int x, int y)>;

struct ValidCase {
  const char* name;
  std::function<BmpLayout()> layout;
  int width, height;
  PixelFormat format;
  PixelFn expected;  // top-down picture coordinates
};

// Indexed pictures: index (x + 2y) mod n.
BmpLayout Indexed(int header, int bits, int w, int h, bool topDown, int paletteSize, int indexMod) {
  BmpLayout s;
  s.headerSize = header;
  s.width = w;
  s.height = topDown ? -h : h;
  s.bitCount = bits;
  s.palette = Palette(paletteSize);
  s.data = PackRows(w, h, bits, topDown,
                    [&](int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % indexMod); });
  return s;
}

PixelFn IndexedPixels(int known, int indexMod) {
  return [=](int x, int y) {
    int i = (x + 2 * y) % indexMod;
    return i < known ? Palette(16 * 16)[static_cast<size_t>(i)] : kBlack;
  };
}

// Direct colour: a pattern of raw words per bit count.
BmpLayout Direct(int header, int bits, int w, int h, bool topDown, std::uint32_t compression,
                 std::vector<std::uint32_t> masks, std::function<std::uint32_t(int, int)> raw) {
  BmpLayout s;
  s.headerSize = header;
  s.width = w;
  s.height = topDown ? -h : h;
  s.bitCount = bits;
  s.compression = compression;
  for (size_t i = 0; i < masks.size(); ++i) s.masks[i] = masks[i];
  s.writeMasks = !masks.empty();
  s.data = PackRows(w, h, bits, topDown, raw);
  return s;
}

std::uint32_t Raw16(int x, int y) { return static_cast<std::uint32_t>((x * 2731 + y * 40503 + 17) & 0xFFFF); }
std::uint32_t Raw24(int x, int y) { return bmp::FromRgb(x * 40 + 3, y * 70 + 5, (x * y * 13) & 0xFF); }
std::uint32_t Raw32(int x, int y) { return Raw24(x, y) | 0x5A000000u; }

BmpLayout Rle(int bits, int w, int h, std::vector<std::uint8_t> stream) {
  BmpLayout s;
  s.width = w;
  s.height = h;
  s.bitCount = bits;
  s.compression = bits == 8 ? 1 : 2;
  s.palette = {kBlack, kRed, kGreen, kBlue, kWhite};
  s.data = std::move(stream);
  return s;
}

PixelFn Rows(std::vector<std::vector<std::uint32_t>> rows) {
  return [rows](int x, int y) { return rows[static_cast<size_t>(y)][static_cast<size_t>(x)]; };
}

const std::vector<ValidCase>& ValidCases() {
  static const std::vector<ValidCase> cases = {
      {"1-bit, odd width", [] { return Indexed(40, 1, 9, 3, false, 2, 2); }, 9, 3, PixelFormat::Bit1,
       IndexedPixels(2, 2)},
      {"4-bit", [] { return Indexed(40, 4, 5, 3, false, 16, 16); }, 5, 3, PixelFormat::Bit4,
       IndexedPixels(16, 16)},
      {"8-bit top-down", [] { return Indexed(40, 8, 7, 2, true, 256, 256); }, 7, 2, PixelFormat::Bit8,
       IndexedPixels(256, 256)},
      {"8-bit short palette (colours used 3)",
       [] {
         BmpLayout s = Indexed(40, 8, 6, 2, false, 3, 6);
         s.colorsUsed = 3;
         return s;
       },
       6, 2, PixelFormat::Bit8, IndexedPixels(3, 6)},
      {"4-bit colours used 0, palette cut by the data offset",
       [] { return Indexed(40, 4, 8, 2, false, 4, 8); }, 8, 2, PixelFormat::Bit4, IndexedPixels(4, 8)},  // 5
      {"16-bit 555", [] { return Direct(40, 16, 5, 3, false, 0, {}, Raw16); }, 5, 3, PixelFormat::Bit15,
       [](int x, int y) {
         std::uint32_t p = Raw16(x, y);
         return bmp::FromRgb(Rep5((p >> 10) & 31), Rep5((p >> 5) & 31), Rep5(p & 31));
       }},
      {"16-bit 565 bit fields",
       [] {
         return Direct(40, 16, 3, 2, false, 3, {0xF800, 0x07E0, 0x001F}, Raw16);
       },
       3, 2, PixelFormat::Bit16,
       [](int x, int y) {
         std::uint32_t p = Raw16(x, y);
         return bmp::FromRgb(Rep5(p >> 11), Rep6((p >> 5) & 63), Rep5(p & 31));
       }},
      {"16-bit 444 bit fields",
       [] {
         return Direct(40, 16, 3, 2, false, 3, {0x0F00, 0x00F0, 0x000F}, Raw16);
       },
       3, 2, PixelFormat::Custom,
       [](int x, int y) {
         std::uint32_t p = Raw16(x, y);
         return bmp::FromRgb(Rep4((p >> 8) & 15), Rep4((p >> 4) & 15), Rep4(p & 15));
       }},
      {"24-bit bottom-up, padded rows", [] { return Direct(40, 24, 3, 2, false, 0, {}, Raw24); }, 3, 2,
       PixelFormat::Bit24, Raw24},
      {"24-bit top-down", [] { return Direct(40, 24, 5, 4, true, 0, {}, Raw24); }, 5, 4, PixelFormat::Bit24,
       Raw24},  // 10
      {"32-bit, alpha byte ignored", [] { return Direct(40, 32, 4, 3, false, 0, {}, Raw32); }, 4, 3,
       PixelFormat::Bit32, Raw24},
      {"32-bit standard bit fields",
       [] {
         return Direct(40, 32, 2, 2, false, 3, {0xFF0000, 0xFF00, 0xFF}, Raw32);
       },
       2, 2, PixelFormat::Bit32, Raw24},
      {"32-bit swapped bit fields",
       [] {
         return Direct(40, 32, 2, 2, false, 3, {0xFF, 0xFF00, 0xFF0000}, Raw32);
       },
       2, 2, PixelFormat::Custom,
       [](int x, int y) {
         std::uint32_t p = Raw24(x, y);
         return bmp::FromRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
       }},
      {"OS/2 12-byte header, 24-bit", [] { return Direct(12, 24, 3, 3, false, 0, {}, Raw24); }, 3, 3,
       PixelFormat::Bit24, Raw24},
      {"OS/2 12-byte header, 8-bit triples", [] { return Indexed(12, 8, 5, 2, false, 256, 256); }, 5, 2,
       PixelFormat::Bit8, IndexedPixels(256, 256)},  // 15
      {"108-byte header, 32-bit bit fields",
       [] {
         return Direct(108, 32, 3, 2, false, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, Raw32);
       },
       3, 2, PixelFormat::Bit32, Raw24},
      {"124-byte header, 24-bit top-down", [] { return Direct(124, 24, 2, 3, true, 0, {}, Raw24); }, 2, 3,
       PixelFormat::Bit24, Raw24},
      {"56-byte header, 16-bit 565",
       [] {
         return Direct(56, 16, 2, 2, false, 3, {0xF800, 0x07E0, 0x001F, 0}, Raw16);
       },
       2, 2, PixelFormat::Bit16,
       [](int x, int y) {
         std::uint32_t p = Raw16(x, y);
         return bmp::FromRgb(Rep5(p >> 11), Rep6((p >> 5) & 63), Rep5(p & 31));
       }},
      {"40-byte header, alpha bit fields",
       [] {
         return Direct(40, 32, 2, 2, false, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, Raw32);
       },
       2, 2, PixelFormat::Bit32, Raw24},
      {"RLE8: runs, absolute run, delta, end of line and of picture",
       [] {
         return Rle(8, 4, 3, {3, 1, 0, 0,                    // bottom: 3 red
                              0, 3, 2, 3, 4, 0, 1, 4, 0, 0,  // absolute green blue white, 1 white
                              0, 2, 1, 0, 2, 1, 0, 1});      // delta right 1, 2 red, end
       },
       4, 3, PixelFormat::Bit8,
       Rows({{kBlack, kRed, kRed, kBlack},
             {kGreen, kBlue, kWhite, kWhite},
             {kRed, kRed, kRed, kBlack}})},  // 20
      {"RLE4: alternating run and absolute nibbles",
       [] {
         return Rle(4, 5, 2, {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 2, 0x33, 0, 1});
       },
       5, 2, PixelFormat::Bit4,
       Rows({{kBlue, kRed, kGreen, kBlue, kBlue}, {kRed, kGreen, kRed, kGreen, kRed}})},
      {"RLE8: a run past the right edge is clipped",
       [] {
         return Rle(8, 4, 1, {6, 1, 0, 1});
       },
       4, 1, PixelFormat::Bit8, Rows({{kRed, kRed, kRed, kRed}})},
      {"RLE8: no end mark, the rest stays black",
       [] {
         return Rle(8, 2, 2, {2, 3});
       },
       2, 2, PixelFormat::Bit8, Rows({{kBlack, kBlack}, {kBlue, kBlue}})},
      {"RLE8: a delta past the top ends the picture",
       [] {
         return Rle(8, 2, 2, {1, 4, 0, 2, 0, 9, 2, 1});
       },
       2, 2, PixelFormat::Bit8, Rows({{kBlack, kBlack}, {kWhite, kBlack}})},
  };
  return cases;
}

TEST(BmpDecode, EveryKindGivesItsPixels) {
  const auto& cases = ValidCases();
  for (size_t row = 0; row < cases.size(); ++row) {
    const ValidCase& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.name);
    std::vector<std::uint8_t> file = WriteBmp(c.layout());
    bmp::Decoded d = bmp::Decode(file);
    ASSERT_TRUE(d.ok()) << bmp::ErrorName(d.error);
    EXPECT_EQ(d.image.width, c.width);
    EXPECT_EQ(d.image.height, c.height);
    EXPECT_EQ(d.image.format, c.format);
    ASSERT_EQ(d.image.pixels.size(), static_cast<size_t>(c.width * c.height));
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        ASSERT_EQ(d.image.At(x, y), c.expected(x, y)) << "pixel (" << x << "," << y << ")";
      }
    }
  }
}

struct BadCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> file;
  Error error;
};

std::vector<std::uint8_t> Good24() { return WriteBmp(Direct(40, 24, 3, 2, false, 0, {}, Raw24)); }

std::vector<std::uint8_t> With(std::vector<std::uint8_t> f, size_t at, std::vector<std::uint8_t> bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) f.at(at + i) = bytes[i];
  return f;
}
std::vector<std::uint8_t> With32(std::vector<std::uint8_t> f, size_t at, std::uint32_t v) {
  return With(std::move(f), at,
              {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
}
std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> f, size_t size) {
  f.resize(size);
  return f;
}
std::vector<std::uint8_t> Changed24(std::function<void(BmpLayout&)> change) {
  BmpLayout s = Direct(40, 24, 3, 2, false, 0, {}, Raw24);
  change(s);
  return WriteBmp(s);
}

TEST(BmpDecode, MalformedFilesAreRefused) {
  const BadCase cases[] = {
      {"empty", [] { return std::vector<std::uint8_t>{}; }, Error::BadSignature},
      {"signature BA", [] { return With(Good24(), 1, {'A'}); }, Error::BadSignature},
      {"ten bytes", [] { return Cut(Good24(), 10); }, Error::Truncated},
      {"header size 20", [] { return With32(Good24(), 14, 20); }, Error::BadHeader},
      {"header cut short", [] { return Cut(Good24(), 30); }, Error::Truncated},  // 5
      {"width 0", [] { return Changed24([](BmpLayout& s) { s.width = 0; }); }, Error::BadSize},
      {"width negative", [] { return Changed24([](BmpLayout& s) { s.width = -5; }); }, Error::BadSize},
      {"height 0", [] { return Changed24([](BmpLayout& s) { s.height = 0; }); }, Error::BadSize},
      {"7 bits per pixel", [] { return Changed24([](BmpLayout& s) { s.bitCount = 7; }); }, Error::BadHeader},
      {"16 bits in a 12-byte header", [] { return WriteBmp(Direct(12, 16, 2, 2, false, 0, {}, Raw16)); },
       Error::BadHeader},  // 10
      {"two planes", [] { return Changed24([](BmpLayout& s) { s.planes = 2; }); }, Error::BadHeader},
      {"JPEG compression", [] { return Changed24([](BmpLayout& s) { s.compression = 4; }); },
       Error::BadHeader},
      {"bit fields with 24 bits", [] { return Changed24([](BmpLayout& s) { s.compression = 3; }); },
       Error::BadHeader},
      {"RLE8 with 4 bits",
       [] {
         BmpLayout s = Rle(4, 2, 2, {0, 1});
         s.compression = 1;
         return WriteBmp(s);
       },
       Error::BadHeader},
      {"RLE8 top-down",
       [] {
         BmpLayout s = Rle(8, 2, 2, {0, 1});
         s.height = -2;
         return WriteBmp(s);
       },
       Error::BadHeader},  // 15
      {"mask with a hole",
       [] {
         return WriteBmp(Direct(40, 16, 2, 2, false, 3, {0xF0F0, 0x0F00, 0x000F}, Raw16));
       },
       Error::BadHeader},
      {"overlapping masks",
       [] {
         return WriteBmp(Direct(40, 16, 2, 2, false, 3, {0xFF00, 0x0FF0, 0x000F}, Raw16));
       },
       Error::BadHeader},
      {"mask wider than 16 bits",
       [] {
         return WriteBmp(Direct(40, 16, 2, 2, false, 3, {0xF8000, 0x07E0, 0x001F}, Raw16));
       },
       Error::BadHeader},
      {"data offset past the end", [] { return With32(Good24(), 10, 5000); }, Error::Truncated},
      {"data offset inside the header", [] { return With32(Good24(), 10, 20); }, Error::BadHeader},  // 20
      {"pixels one byte short", [] { return Cut(Good24(), Good24().size() - 1); }, Error::Truncated},
      {"width x height overflows",
       [] {
         return Changed24([](BmpLayout& s) {
           s.width = 0x7FFFFFFF;
           s.height = 0x7FFFFFFF;
         });
       },
       Error::TooLarge},
      {"above the memory cap",
       [] {
         return Changed24([](BmpLayout& s) {
           s.width = 10000;
           s.height = 10000;
         });
       },
       Error::TooLarge},
      {"most negative height", [] { return Changed24([](BmpLayout& s) { s.height = INT32_MIN; }); },
       Error::TooLarge},
      {"32-bit row stride past 2^32",
       [] {
         return Changed24([](BmpLayout& s) {
           s.width = 0x7FFFFFFF;
           s.height = 1;
           s.bitCount = 32;
         });
       },
       Error::TooLarge},  // 25
      {"RLE absolute run cut short",
       [] {
         return WriteBmp(Rle(8, 8, 1, {0, 5, 1, 2}));
       },
       Error::Truncated},
      {"RLE delta cut short",
       [] {
         return WriteBmp(Rle(8, 8, 1, {0, 2, 1}));
       },
       Error::Truncated},
      {"RLE pair cut in half",
       [] {
         return WriteBmp(Rle(8, 8, 1, {2, 1, 3}));
       },
       Error::Truncated},
      {"bit-field masks missing",
       [] {
         BmpLayout s = Direct(40, 16, 2, 2, false, 3, {}, Raw16);
         s.data.clear();
         return WriteBmp(s);
       },
       Error::Truncated},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const BadCase& c = cases[row];
    bmp::Decoded d = bmp::Decode(c.file());
    EXPECT_EQ(d.error, c.error) << "row " << row << " (" << c.name << "): got " << bmp::ErrorName(d.error)
                                << ", expected " << bmp::ErrorName(c.error);
    EXPECT_TRUE(d.image.pixels.empty()) << "row " << row;
  }
}

// Every prefix of every valid fixture: each is decoded or refused, and none reads past its end
// (the sanitizer build checks the reads).
TEST(BmpDecode, EveryPrefixOfEveryFixtureIsSafe) {
  for (const ValidCase& c : ValidCases()) {
    std::vector<std::uint8_t> file = WriteBmp(c.layout());
    for (size_t n = 0; n < file.size(); ++n) {
      std::vector<std::uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
      bmp::Decoded d = bmp::Decode(prefix);
      if (d.ok()) {
        ASSERT_EQ(d.image.pixels.size(),
                  static_cast<size_t>(d.image.width) * static_cast<size_t>(d.image.height))
            << c.name << " cut at " << n;
      }
    }
  }
}

TEST(BmpDecode, TheCapCountsPixels) {
  std::vector<std::uint8_t> file = WriteBmp(Direct(40, 24, 10, 10, false, 0, {}, Raw24));
  EXPECT_TRUE(bmp::Decode(file, 100).ok());
  EXPECT_EQ(bmp::Decode(file, 99).error, Error::TooLarge);
}

}  // namespace
