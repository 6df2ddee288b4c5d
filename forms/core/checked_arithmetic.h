// Checked conversions of reals to integers: the programs never let a value wrap silently.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace forms {

// The run-time error for a value outside its integer range (or NaN); the application's
// general error report shows it.
class RangeError : public std::range_error {
 public:
  RangeError() : std::range_error("Range check error") {}
};

// Integer overflow in the programs' own arithmetic.
class OverflowError : public std::overflow_error {
 public:
  OverflowError() : std::overflow_error("Integer overflow") {}
};

inline std::int32_t CheckedToInt32(double v) {
  // Written so that NaN fails too.
  if (!(v >= -2147483648.0 && v <= 2147483647.0)) throw RangeError();
  return static_cast<std::int32_t>(v);
}

// To nearest, halves to even.
inline std::int32_t Round(double v) {
  if (!std::isfinite(v)) throw RangeError();
  return CheckedToInt32(std::nearbyint(v));
}

// Toward zero.
inline std::int32_t Trunc(double v) {
  if (!std::isfinite(v)) throw RangeError();
  return CheckedToInt32(std::trunc(v));
}

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw OverflowError();
  return r;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw OverflowError();
  return r;
}

inline std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw OverflowError();
  return r;
}

}  // namespace forms
