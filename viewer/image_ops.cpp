#include "viewer/image_ops.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace bmp {

Image MakeImage(int width, int height) {
  Image img;
  img.width = std::max(width, 0);
  img.height = std::max(height, 0);
  img.pixels.assign(static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height), 0u);
  return img;
}

void FillRect(Image& dst, int left, int top, int right, int bottom, std::uint32_t pixel) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, dst.width);
  bottom = std::min(bottom, dst.height);
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row =
        dst.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(dst.width);
    std::fill(row + left, row + std::max(left, right), pixel);
  }
}

void Draw(Image& dst, const Image& src, int left, int top) {
  // 64-bit edges: a view offset near the integer limits must not wrap.
  long long x0 = std::max<long long>(left, 0), y0 = std::max<long long>(top, 0);
  long long x1 = std::min<long long>(static_cast<long long>(left) + src.width, dst.width);
  long long y1 = std::min<long long>(static_cast<long long>(top) + src.height, dst.height);
  if (x0 >= x1 || y0 >= y1) return;
  const std::size_t n = static_cast<std::size_t>(x1 - x0);
  for (long long y = y0; y < y1; ++y) {
    const std::uint32_t* from = src.pixels.data() +
                                static_cast<std::size_t>(y - top) * static_cast<std::size_t>(src.width) +
                                static_cast<std::size_t>(x0 - left);
    std::uint32_t* to = dst.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(dst.width) +
                        static_cast<std::size_t>(x0);
    std::memcpy(to, from, n * sizeof(std::uint32_t));
  }
}

void StretchDraw(Image& dst, const Image& src) {
  if (dst.width <= 0 || dst.height <= 0 || src.width <= 0 || src.height <= 0) return;
  std::vector<std::size_t> column(static_cast<std::size_t>(dst.width));
  for (int x = 0; x < dst.width; ++x) {
    column[static_cast<std::size_t>(x)] = static_cast<std::size_t>(
        (2 * static_cast<long long>(x) + 1) * src.width / (2 * static_cast<long long>(dst.width)));
  }
  for (int y = 0; y < dst.height; ++y) {
    int sy = static_cast<int>((2 * static_cast<long long>(y) + 1) * src.height /
                              (2 * static_cast<long long>(dst.height)));
    const std::uint32_t* from =
        src.pixels.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(src.width);
    std::uint32_t* to = dst.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(dst.width);
    for (int x = 0; x < dst.width; ++x) to[x] = from[column[static_cast<std::size_t>(x)]];
  }
}

}  // namespace bmp
