#include "viewer/histogram_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "column_count.h"
#include "forms/core/checked_arithmetic.h"
#include "viewer/image_ops.h"

namespace {

// The exact value of 0.3 R + 0.59 G + 0.11 B is n / 100 with n = 30 R + 59 G + 11 B; away from
// the halves the extended result must round like the exact one.
int ExactRound(int R, int G, int B) {
  int n = 30 * R + 59 * G + 11 * B;
  int q = n / 100, r = n % 100;
  return r > 50 ? q + 1 : r < 50 ? q : q + (q & 1);
}

TEST(PixelIntensity, KnownValues) {
  struct Case {
    int R, G, B, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {255, 255, 255, 255},
      {0, 50, 0, 29},  // 29.5 exactly in doubles (30); just below in
                       // extended
      {0, 150, 0, 88},
      {0, 250, 0, 148},  // 5
      {255, 0, 0, 76},
      {0, 0, 255, 28},
      {10, 20, 30, 18},
      {200, 100, 50, 124},  // 124.5
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(view::PixelIntensity(c.R, c.G, c.B), c.expected) << "row " << row;
  }
  for (int v = 0; v < 256; ++v) EXPECT_EQ(view::PixelIntensity(v, v, v), v) << "grey " << v;
}

// Away from the halves every colour against the exact rounding (one blue in seventeen keeps
// it quick); at the halves, where the representation of 0.3, 0.59 and 0.11 decides, the bins
// of every colour against their fingerprint, which the Windows and the native builds share.
TEST(PixelIntensity, MatchesExactRoundingAndTheSharedFingerprintAtHalves) {
  for (int R = 0; R < 256; ++R) {
    for (int G = 0; G < 256; ++G) {
      for (int B = 0; B < 256; B += 17) {
        int n = 30 * R + 59 * G + 11 * B;
        if (n % 100 == 50) continue;
        ASSERT_EQ(view::PixelIntensity(R, G, B), ExactRound(R, G, B)) << R << "," << G << "," << B;
      }
    }
  }
  std::uint64_t hash = 1469598103934665603ull;
  int halves = 0, belowHalf = 0;
  for (int R = 0; R < 256; ++R) {
    for (int G = 0; G < 256; ++G) {
      for (int B = 0; B < 256; ++B) {
        int n = 30 * R + 59 * G + 11 * B;
        if (n % 100 != 50) continue;
        int bin = view::PixelIntensity(R, G, B);
        ++halves;
        if (bin == n / 100) ++belowHalf;
        hash = (hash ^ static_cast<std::uint64_t>(bin)) * 1099511628211ull;
      }
    }
  }
  EXPECT_EQ(halves, 167836);
  EXPECT_EQ(belowHalf, 94439);
  EXPECT_EQ(hash, 0x095e224d47bf5428ull);
}

#if defined(__i386__) || defined(__x86_64__)
// A runtime that leaves the x87 unit at double precision (the usual Windows default) must not
// change a bin.
TEST(PixelIntensity, StaysExtendedUnderDoublePrecisionControl) {
  std::uint16_t saved, dbl, after;
  asm volatile("fnstcw %0" : "=m"(saved));
  dbl = static_cast<std::uint16_t>((saved & ~0x0300u) | 0x0200u);
  asm volatile("fldcw %0" : : "m"(dbl));
  int bin = view::PixelIntensity(0, 50, 0);
  asm volatile("fnstcw %0" : "=m"(after));
  asm volatile("fldcw %0" : : "m"(saved));
  EXPECT_EQ(bin, 29);
  EXPECT_EQ(after, dbl) << "the caller's control word comes back";
}
#endif

TEST(SplitRGB, ColourParts) {
  view::RGBParts p = view::SplitRGB(0x00332211);
  EXPECT_EQ(p.R, 0x11);
  EXPECT_EQ(p.G, 0x22);
  EXPECT_EQ(p.B, 0x33);
}

using Counted = viewer_test::Bins;
using viewer_test::CountByColumns;

// The whole picture in spans of `span` pixels (the last one shorter).
Counted CountAll(const bmp::Image& img, std::size_t span) {
  Counted c;
  for (std::size_t first = 0; first < img.pixels.size(); first += span) {
    view::CountPixels(img, first, std::min(span, img.pixels.size() - first), c.red, c.green, c.blue,
                      c.intensity);
  }
  return c;
}
Counted CountAll(const bmp::Image& img) { return CountAll(img, img.pixels.size()); }

long long Sum(const view::HistogramBins& b) { return std::accumulate(b.begin(), b.end(), 0ll); }

TEST(CountPixels, BinsAddUpAndFlatPicturesFillOneBin) {
  struct Case {
    const char* name;
    int width, height;
    std::uint32_t pixel;  // 0 for a pattern
    int bin;              // the one bin of a flat picture
  };
  const Case cases[] = {
      {"pattern", 7, 5, 0, -1},
      {"grey 77", 4, 3, bmp::FromRgb(77, 77, 77), 77},
      {"white", 3, 6, 0xFFFFFF, 255},
      {"black", 1, 1, 0x000000, 0},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    bmp::Image img = bmp::MakeImage(c.width, c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        img.pixels[static_cast<size_t>(y * c.width + x)] =
            c.pixel || c.bin >= 0 ? c.pixel : bmp::FromRgb(x * 30, y * 50, x * y * 7);
      }
    }
    Counted n = CountAll(img);
    const long long all = static_cast<long long>(c.width) * c.height;
    for (const auto* b : {&n.red, &n.green, &n.blue, &n.intensity}) {
      EXPECT_EQ(Sum(*b), all) << "row " << row << " " << c.name;
      if (c.bin >= 0) {
        EXPECT_EQ((*b)[static_cast<size_t>(c.bin)], all) << "row " << row << " " << c.name;
      }
    }
  }
  // The pattern's red channel, bin by bin: column x holds red x * 30 in every row.
  bmp::Image img = bmp::MakeImage(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) img.pixels[static_cast<size_t>(y * 7 + x)] = bmp::FromRgb(x * 30, 0, 0);
  Counted n = CountAll(img);
  for (int x = 0; x < 7; ++x) EXPECT_EQ(n.red[static_cast<size_t>(x * 30)], 5) << "red " << x * 30;
}

// However the picture is cut into spans, across rows or within one, the bins are those of a
// count column by column.
TEST(CountPixels, AnySpansGiveTheBinsOfTheColumnOrder) {
  const int W = 301, H = 97;
  bmp::Image img = bmp::MakeImage(W, H);
  std::uint32_t h = 2166136261u;
  for (std::uint32_t& p : img.pixels) {
    h = (h ^ (h >> 13)) * 16777619u + 0x9E3779B9u;
    p = h & 0xFFFFFFu;
  }
  Counted want = CountByColumns(img);
  const std::size_t spans[] = {1, 7, 300, 301, 302, 4096, img.pixels.size(), img.pixels.size() + 5};
  for (std::size_t span : spans) {
    EXPECT_TRUE(CountAll(img, span) == want) << "spans of " << span;
  }
}

TEST(CountPixels, AnOverflowingBinIsARunTimeErrorAndASpanBeyondThePictureARangeError) {
  bmp::Image img = bmp::MakeImage(3, 2);
  Counted c;
  c.blue[0] = INT32_MAX;
  EXPECT_THROW(view::CountPixels(img, 0, 1, c.red, c.green, c.blue, c.intensity), forms::OverflowError);
  c.blue[0] = 0;
  const std::pair<std::size_t, std::size_t> outside[] = {{0, 7}, {6, 1}, {7, 0}, {1, SIZE_MAX}};
  for (const auto& [first, count] : outside) {
    EXPECT_THROW(view::CountPixels(img, first, count, c.red, c.green, c.blue, c.intensity), forms::RangeError)
        << first << " + " << count;
  }
  Counted none;
  view::CountPixels(img, 6, 0, none.red, none.green, none.blue, none.intensity);
  EXPECT_EQ(Sum(none.red), 0) << "an empty span at the end counts nothing";
}

TEST(ColumnPercent, RoundsHalvesToEvenWithinZeroToHundred) {
  struct Case {
    int x, width, percent;
  };
  const Case cases[] = {
      {0, 640, 0}, {639, 640, 100}, {320, 640, 50},  {1, 200, 0},  {3, 200, 2},  // 5
      {5, 200, 2}, {7, 200, 4},     {700, 640, 100}, {-5, 640, 0},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    EXPECT_EQ(view::ColumnPercent(cases[row].x, cases[row].width), cases[row].percent) << "row " << row;
  }
}

// The gauge moves as it did column by column: at a share of the picture it shows the per cent
// of the last whole column's worth of pixels counted.
TEST(SharePercent, ThePercentOfTheLastWholeColumnCounted) {
  struct Case {
    std::size_t counted, total;
    int width, percent;
  };
  const Case cases[] = {
      {1920, 1920, 640, 100},  // all of a 640 x 3 picture: Round(639 * 100 / 640)
      {3, 1920, 640, 0},       // the first column's worth
      {640, 1920, 640, 33},    // a row of three: 213 columns, Round(212 * 100 / 640)
      {0, 1920, 640, 0},
      {10000, 10000, 100, 99},        // 5: a narrow picture ends at 99, its last column still being counted
      {1, 1, 1, 0},                   // one pixel: Round(0 * 100 / 1)
      {6000000, 12000000, 4000, 50},  // half of 4000 x 3000: 2000 columns, Round(1999 / 40)
      {11999999, 12000000, 4000, 100},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(view::SharePercent(c.counted, c.total, c.width), c.percent) << "row " << row;
  }
  EXPECT_THROW(view::SharePercent(5, 4, 2), forms::RangeError);
  EXPECT_THROW(view::SharePercent(0, 0, 2), forms::RangeError);
}

}  // namespace
