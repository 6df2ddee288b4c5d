#include "viewer/histogram_count.h"

#include <cstddef>

#include "forms/core/checked_arithmetic.h"
#include "viewer/extended_math.h"

namespace view {
namespace {

// Halves to even without a library call: adding and taking away 2^63 leaves no fraction bits
// in a 64-bit mantissa, so the addition itself rounds (to nearest, ties to even). Values here
// lie between 0 and 256; the caller holds an ExtendedPrecision scope.
inline int RoundSmall(long double v) {
  constexpr long double kShift = 9223372036854775808.0L;  // 2^63
  long double r = (v + kShift) - kShift;
  return static_cast<int>(static_cast<double>(r));
}

inline int Intensity(int R, int G, int B) {
  // Left to right, each step rounded to extended, as the formula reads.
  long double v = 0.3L * R + 0.59L * G + 0.11L * B;
  return RoundSmall(v);
}

inline void Bump(HistogramBins& bins, int index) {
  std::int32_t& bin = bins[static_cast<std::size_t>(index)];
  if (__builtin_add_overflow(bin, 1, &bin)) throw forms::OverflowError();
}

}  // namespace

RGBParts SplitRGB(std::uint32_t colour) {
  return {static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
          static_cast<int>((colour >> 16) & 0xFFu)};
}

int PixelIntensity(int R, int G, int B) {
  ExtendedPrecision scope;
  return Intensity(R, G, B);
}

void CountPixels(const bmp::Image& picture, std::size_t first, std::size_t count, HistogramBins& red,
                 HistogramBins& green, HistogramBins& blue, HistogramBins& intensity) {
  const std::size_t size = picture.pixels.size();
  if (first > size || count > size - first) throw forms::RangeError();
  ExtendedPrecision scope;
  const std::uint32_t* p = picture.pixels.data() + first;
  for (const std::uint32_t* end = p + count; p != end; ++p) {
    std::uint32_t colour = bmp::ToColor(*p);
    RGBParts c = SplitRGB(colour);
    Bump(blue, c.B);
    Bump(green, c.G);
    Bump(red, c.R);
    Bump(intensity, Intensity(c.R, c.G, c.B));
  }
}

int ColumnPercent(int x, int width) {
  ExtendedPrecision scope;
  long double v = static_cast<long double>(x) * 100.0L / static_cast<long double>(width);
  int percent = RoundExtended(v);
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  return percent;
}

int SharePercent(std::size_t counted, std::size_t total, int width) {
  if (total == 0 || width <= 0 || counted > total) throw forms::RangeError();
  // Neither factor reaches 2^32 (a picture holds at most 64 M pixels): the product fits.
  std::uint64_t columns = static_cast<std::uint64_t>(counted) * static_cast<std::uint64_t>(width) /
                          static_cast<std::uint64_t>(total);
  return ColumnPercent(static_cast<int>(columns) - 1, width);
}

}  // namespace view
