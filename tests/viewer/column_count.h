// The bins of a picture counted as the viewer first counted them, column by column, one pixel
// at a time through the two public steps: the reference for the count in memory order.
#pragma once
#include <cstddef>

#include "viewer/bmp_decoder.h"
#include "viewer/histogram_count.h"

namespace viewer_test {

struct Bins {
  view::HistogramBins red{}, green{}, blue{}, intensity{};
  bool operator==(const Bins&) const = default;
};

inline Bins CountByColumns(const bmp::Image& img) {
  Bins c;
  for (int x = 0; x < img.width; ++x) {
    for (int y = 0; y < img.height; ++y) {
      view::RGBParts p = view::SplitRGB(bmp::ToColor(img.At(x, y)));
      ++c.red[static_cast<std::size_t>(p.R)];
      ++c.green[static_cast<std::size_t>(p.G)];
      ++c.blue[static_cast<std::size_t>(p.B)];
      ++c.intensity[static_cast<std::size_t>(view::PixelIntensity(p.R, p.G, p.B))];
    }
  }
  return c;
}

}  // namespace viewer_test
