// Counting the colour histograms of a picture: the red, green, blue and intensity values of
// every pixel into 256 bins each.
#pragma once
#include <array>
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

// Adds column x of the picture to the four histograms; an overflowing bin is a run-time error.
void CountColumn(const bmp::Image& picture, int x, HistogramBins& red, HistogramBins& green,
                 HistogramBins& blue, HistogramBins& intensity);

// The gauge's per cent after column x of a picture `width` wide: Round(x * 100 / width),
// kept within 0 to 100.
int ColumnPercent(int x, int width);

}  // namespace view
