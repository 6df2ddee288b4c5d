// Number formats of chart axis labels, in the toolkit's format-string notation: '0' a digit
// always shown, '#' a digit shown only when significant, ',' anywhere in the integer part
// groups thousands, '.' the decimal point. Pure: no Windows header.
#pragma once
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace forms {

// "#,##" shows 1234 as "1,234" and 0 as nothing at all (no digit is significant); an empty
// format gives the shortest form of the value.
inline std::string FormatAxisNumber(double value, std::string_view format) {
  char buf[64];
  if (!std::isfinite(value)) return value != value ? "NAN" : value > 0 ? "INF" : "-INF";
  if (format.empty()) {
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
  }
  std::string_view intPattern = format.substr(0, format.find('.'));
  std::string_view fracPattern =
      format.find('.') == std::string_view::npos ? std::string_view{} : format.substr(format.find('.') + 1);
  const bool grouping = intPattern.find(',') != std::string_view::npos;
  int minInt = 0;
  for (char c : intPattern) minInt += c == '0';
  int maxFrac = 0, minFrac = 0;
  for (char c : fracPattern) {
    if (c == '0' || c == '#') ++maxFrac;
    if (c == '0') minFrac = maxFrac;
  }
  std::snprintf(buf, sizeof buf, "%.*f", maxFrac, std::fabs(value));
  std::string digits = buf;
  std::string intDigits = digits.substr(0, digits.find('.'));
  std::string frac = maxFrac > 0 ? digits.substr(digits.find('.') + 1) : std::string{};
  while (static_cast<int>(frac.size()) > minFrac && frac.back() == '0') frac.pop_back();
  bool zero = intDigits.find_first_not_of('0') == std::string::npos &&
              frac.find_first_not_of('0') == std::string::npos;
  size_t firstSignificant = intDigits.find_first_not_of('0');
  intDigits = firstSignificant == std::string::npos ? std::string{} : intDigits.substr(firstSignificant);
  while (static_cast<int>(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');
  if (grouping) {
    for (int at = static_cast<int>(intDigits.size()) - 3; at > 0; at -= 3) {
      intDigits.insert(static_cast<size_t>(at), 1, ',');
    }
  }
  std::string out = (value < 0 && !zero) ? "-" : "";
  out += intDigits;
  if (!frac.empty()) out += "." + frac;
  return out;
}

}  // namespace forms
