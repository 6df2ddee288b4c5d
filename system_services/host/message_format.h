// Message texts formatted by the platform's formatted-print rules, but into a fixed buffer
// and cut at its end: the values are typed, so a text never reads a value it was not given
// and never writes past the buffer, whatever the host passed in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rxsystem {

struct FormatArg {
  enum class Kind { Integer, Text, Character };

  FormatArg(int v) : kind(Kind::Integer), integer(v) {}
  FormatArg(long v) : kind(Kind::Integer), integer(static_cast<int32_t>(v)) {}
  FormatArg(unsigned v) : kind(Kind::Integer), integer(static_cast<int32_t>(v)) {}
  FormatArg(unsigned long v) : kind(Kind::Integer), integer(static_cast<int32_t>(v)) {}
  FormatArg(char c) : kind(Kind::Character), integer(static_cast<unsigned char>(c)) {}
  FormatArg(const char* s) : kind(Kind::Text), text(s) {}
  FormatArg(char* s) : kind(Kind::Text), text(s) {}

  Kind kind;
  int32_t integer = 0;
  const char* text = nullptr;  // null shows as "(null)"
};

// Fills out[0 .. capacity) with the formatted text, NUL-terminated, cut to capacity - 1
// characters; returns the length written. Conversions: %s %c %d %i %u %x %X and %%, with the
// flags '-', '0' and '#', a width, a precision and the size letters h and l (ignored, all
// values are 32-bit). A conversion without a value left shows nothing; anything after '%'
// that is no conversion is shown as written.
size_t FormatBounded(char* out, size_t capacity, std::string_view format, std::span<const FormatArg> values);

}  // namespace rxsystem
