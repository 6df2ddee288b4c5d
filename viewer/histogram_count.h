// Counting the colour histograms of a picture: the red, green, blue and intensity values of
// every pixel into 256 bins each.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "viewer/bmp_decoder.h"

namespace view {

using HistogramBins = std::array<std::int32_t, 256>;

struct RGBParts {
  int R, G, B;
};

// A 0x00BBGGRR colour into its parts.
RGBParts SplitRGB(std::uint32_t colour);

// Round(0.3 R + 0.59 G + 0.11 B) in extended precision, halves to even. Double precision
// gives other bins: (0, 50, 0) is 29 here and 30 in doubles.
int PixelIntensity(int R, int G, int B);

// Adds `count` pixels of the picture, from pixel `first` on in memory order (row by row, top
// down), to the four histograms; an overflowing bin is a run-time error, a span beyond the
// picture a range error. The order makes no difference to the bins, only to the speed: a
// column walks memory a whole row at a step.
void CountPixels(const bmp::Image& picture, std::size_t first, std::size_t count, HistogramBins& red,
                 HistogramBins& green, HistogramBins& blue, HistogramBins& intensity);

// The gauge's per cent after column x of a picture `width` wide: Round(x * 100 / width),
// kept within 0 to 100.
int ColumnPercent(int x, int width);

// The gauge's per cent once `counted` of the `total` pixels of a picture `width` wide are in
// the bins: the per cent of the last whole column's worth of pixels counted, so the gauge
// shows the values it showed when it moved a column at a time.
int SharePercent(std::size_t counted, std::size_t total, int width);

}  // namespace view
