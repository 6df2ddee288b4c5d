#include "toolkit/okgraph3_used.h"

#include <array>
#include <memory>

namespace okgraph3_used {
namespace {

// Indexed by the bitmaps' numbers less one.
std::array<std::unique_ptr<forms::Bitmap>, 5>& Bitmaps() {
  // Never destroyed: the plotter's pictures live as long as the process.
  static auto* bitmaps = new std::array<std::unique_ptr<forms::Bitmap>, 5>();
  return *bitmaps;
}

forms::Bitmap& Number(size_t n) {
  auto& b = Bitmaps()[n - 1];
  if (!b) CreateGraphBitmaps();
  return *b;
}

}  // namespace

void CreateGraphBitmaps() {
  for (auto& b : Bitmaps()) b = std::make_unique<forms::Bitmap>();
}

forms::Bitmap& CleanBitmap() { return Number(1); }
forms::Bitmap& PlotCopyBitmap() { return Number(2); }
forms::Bitmap& FrameBitmap() { return Number(3); }
forms::Bitmap& SpareBitmap() { return Number(4); }
forms::Bitmap& BackBitmap() { return Number(5); }

}  // namespace okgraph3_used
