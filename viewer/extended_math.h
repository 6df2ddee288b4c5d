// Extended-precision arithmetic as the viewer's formulas expect it: 80-bit reals with a 64-bit
// mantissa, rounded to nearest with halves to even.
#pragma once
#include <cmath>
#include <cstdint>

#include "forms/core/checked_arithmetic.h"

namespace view {

// On x86 `long double` lives in the x87 unit, whose precision control the C runtime may have
// set to 53 bits (the usual Windows default) or 64. The scope makes it 64 bits and rounding
// to nearest, and gives back what was there.
class ExtendedPrecision {
 public:
#if defined(__i386__) || defined(__x86_64__)
  ExtendedPrecision() {
    asm volatile("fnstcw %0" : "=m"(saved_) : : "memory");
    std::uint16_t wanted = static_cast<std::uint16_t>((saved_ & ~0x0F00u) | 0x0300u);
    if (wanted != saved_) asm volatile("fldcw %0" : : "m"(wanted) : "memory");
  }
  ~ExtendedPrecision() {
    std::uint16_t now;
    asm volatile("fnstcw %0" : "=m"(now) : : "memory");
    if (now != saved_) asm volatile("fldcw %0" : : "m"(saved_) : "memory");
  }

 private:
  std::uint16_t saved_ = 0;
#else
  ExtendedPrecision() = default;
#endif
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;
};

// Round of an extended value, halves to even, with the range check of every real-to-integer
// conversion. Call it inside an ExtendedPrecision scope.
inline std::int32_t RoundExtended(long double v) {
  long double r = std::nearbyint(v);
  if (!(r >= -2147483648.0L && r <= 2147483647.0L)) throw forms::RangeError();
  return static_cast<std::int32_t>(r);
}

}  // namespace view
