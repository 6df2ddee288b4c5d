#include "system_services/windows/window_geometry.h"

#include <algorithm>
#include <limits>

namespace rxsystem {
namespace {

// Host arguments are any 32-bit values: the arithmetic runs wide and lands on the nearest
// coordinate the window manager can take instead of wrapping round.
int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t PlacedEdge(int32_t given, int32_t placement, int32_t screenExtent, int32_t windowExtent) {
  const int64_t freeSpace = int64_t{screenExtent} - windowExtent;
  switch (placement) {
    case 1:
      return Saturated(freeSpace / 2);
    case 2:
      return Saturated(freeSpace);
    default:
      return given;
  }
}

int32_t SizedExtent(int32_t given, int32_t percent, int32_t screenExtent) {
  if (percent <= 0) return given;
  return Saturated(int64_t{percent} * screenExtent / 100);
}

}  // namespace rxsystem
