// Forms designed at one screen resolution and shown at another keep their proportions: every
// position, size and font height is scaled by the ratio of the two resolutions. Pure.
#pragma once
#include <cstdint>
#include <stdexcept>

#include "forms/core/checked_arithmetic.h"

namespace forms {

// value * numerator / denominator to the nearest integer, halves away from zero, with a
// 64-bit intermediate, as the platform's MulDiv does; a zero denominator or a result beyond
// 32 bits is a range error.
inline std::int32_t ScaleValue(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) throw RangeError();
  std::int64_t p = static_cast<std::int64_t>(value) * numerator;
  std::int64_t d = denominator;
  if (d < 0) {
    p = -p;
    d = -d;
  }
  std::int64_t q = (p >= 0 ? p + d / 2 : p - d / 2) / d;
  if (q < INT32_MIN || q > INT32_MAX) throw RangeError();
  return static_cast<std::int32_t>(q);
}

struct DesignBounds {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const DesignBounds&) const = default;
};

// Scales the edges rather than the sizes, so controls that touch at design time still touch
// after scaling.
class DesignScale {
 public:
  DesignScale(std::int32_t screenPpi, std::int32_t designPpi) : m_(screenPpi), d_(designPpi) {
    if (screenPpi <= 0 || designPpi <= 0) throw RangeError();
  }

  std::int32_t Value(std::int32_t v) const { return ScaleValue(v, m_, d_); }
  DesignBounds Bounds(DesignBounds b) const {
    std::int32_t left = Value(b.left), top = Value(b.top);
    return {left, top, Value(CheckedAdd(b.left, b.width)) - left, Value(CheckedAdd(b.top, b.height)) - top};
  }
  // A font height in pixels (the sign of a character height is kept).
  std::int32_t FontHeight(std::int32_t h) const { return Value(h); }
  bool Identity() const { return m_ == d_; }

 private:
  std::int32_t m_, d_;
};

}  // namespace forms
