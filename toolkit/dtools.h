// Conversions between numbers and text for edit fields, readouts, the results grid and the
// floppy report. Plain functions without state.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dtools {

// What TextToReal returns for text that is not a number; callers compare with it.
constexpr double InvalidReal = -2147483647.0;

std::string IntToText(std::int32_t Value);
// A plain decimal number: leading spaces, a sign, digits with at most one point, an exponent;
// nothing else, and nothing beyond the range of a double.
std::optional<double> ParseNumber(std::string_view s);
// A plain decimal number, or a fraction numerator/denominator.
double TextToReal(std::string_view Text);
// At most Decimals decimals, cut (never rounded), without trailing zeros or a bare point.
std::string RealToText(double Value, std::int32_t Decimals);
std::string SpaceString(std::int32_t Count);
// Mode 0 left, 1 centred, 2 right; a longer text is cut to Width.
std::string AlignText(std::string_view Text, std::int32_t Width, std::uint8_t Mode);
bool CheckRange(std::int32_t Value, std::int32_t Min, std::int32_t Max, bool VeruError);

}  // namespace dtools
