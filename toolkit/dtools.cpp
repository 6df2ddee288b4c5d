#include "toolkit/dtools.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "forms/core/message_service.h"

namespace dtools {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void InvalidRealMessage() { forms::MessageDlg("Invalid real value.", forms::MsgDlgType::Error, forms::mbOK); }

}  // namespace

// The number syntax of the edit fields, by hand: the C library's parsers would also take
// inf, nan, hex and the locale's decimal comma.
std::optional<double> ParseNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  // The text is now known to be plain decimal, which strtod reads the same in any locale
  // that keeps '.' as its point; the program never changes the C locale.
  std::string number(s.substr(start));
  double v = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::string IntToText(std::int32_t Value) { return std::to_string(Value); }

double TextToReal(std::string_view Text) {
  size_t slash = Text.find('/');
  if (slash == std::string_view::npos) {
    auto v = ParseNumber(Text);
    return v ? *v : InvalidReal;
  }
  auto numerator = ParseNumber(Text.substr(0, slash));
  if (!numerator) {
    InvalidRealMessage();
    return InvalidReal;
  }
  auto denominator = ParseNumber(Text.substr(slash + 1));
  if (!denominator) {
    InvalidRealMessage();
    return InvalidReal;
  }
  double v = *numerator / *denominator;
  if (!std::isfinite(v)) {
    InvalidRealMessage();
    return InvalidReal;
  }
  return v;
}

std::string RealToText(double Value, std::int32_t Decimals) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  if (Decimals < 0) Decimals = 0;
  // The shortest decimal text that reads back as the stored double: cutting it never shows
  // a number one step below the one the user set (0.29 stays 0.29).
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::fixed);
  std::string text(buf, res.ptr);
  size_t point = text.find('.');
  if (point != std::string::npos) {
    size_t keep = Decimals == 0 ? point : point + 1 + static_cast<size_t>(Decimals);
    if (keep < text.size()) text.resize(keep);
    while (text.size() > point && (text.back() == '0' || text.back() == '.')) text.pop_back();
  }
  return text;
}

std::string SpaceString(std::int32_t Count) {
  return Count > 0 ? std::string(static_cast<size_t>(Count), ' ') : std::string();
}

std::string AlignText(std::string_view Text, std::int32_t Width, std::uint8_t Mode) {
  auto len = static_cast<std::int64_t>(Text.size());
  if (len > Width) return Width > 0 ? std::string(Text.substr(0, static_cast<size_t>(Width))) : std::string();
  auto d = static_cast<std::int32_t>(Width - len);
  switch (Mode) {
    case 0:
      return std::string(Text) + SpaceString(d);
    case 2:
      return SpaceString(d) + std::string(Text);
    case 1:
      return SpaceString(d - d / 2) + std::string(Text) + SpaceString(d / 2);
    default:
      return std::string();
  }
}

bool CheckRange(std::int32_t Value, std::int32_t Min, std::int32_t Max, bool VeruError) {
  if (Value < Min) {
    if (VeruError) {
      forms::MessageDlg("Invalid value.\rThe given value must be greater than " + IntToText(Min) + ".",
                        forms::MsgDlgType::Error, forms::mbOK);
    }
    return false;
  }
  if (Value > Max) {
    if (VeruError) {
      forms::MessageDlg("Invalid value.\rThe given value must be less than " + IntToText(Max) + ".",
                        forms::MsgDlgType::Error, forms::mbOK);
    }
    return false;
  }
  return true;
}

}  // namespace dtools
