// What a student types into an edit field, and what the data file's cells hold: the number
// reader must take exactly the texts of its syntax, with the value the C library reads from
// them, and refuse the rest; a fraction shows its message only when a side fails; the texts
// written from numbers read back.
// The first eight bytes are a double, the next two a count of decimals and a width for the
// writers; the rest is the typed text.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

#include "forms/core/message_service.h"
#include "toolkit/dtools.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The syntax of the edit fields as one regular expression.
bool ReferenceSyntax(std::string_view text) {
  static const std::regex number(R"(^ *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$)",
                                 std::regex::ECMAScript | std::regex::optimize);
  return std::regex_match(text.begin(), text.end(), number);
}

// The value of a text of that syntax: from_chars takes no leading spaces and no "+".
std::from_chars_result ReferenceValue(std::string_view text, double& value) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  return std::from_chars(text.data(), text.data() + text.size(), value);
}

void CheckNumber(std::string_view text) {
  const std::optional<double> parsed = dtools::ParseNumber(text);
  if (parsed) Check(std::isfinite(*parsed));
  // Long texts are left to the value check alone: the regular expression recurses per character.
  if (text.size() > 400) return;
  if (!ReferenceSyntax(text)) {
    Check(!parsed);
    return;
  }
  double value = 0;
  const std::from_chars_result r = ReferenceValue(text, value);
  if (r.ec == std::errc()) {
    Check(r.ptr == text.data() + text.size());
    Check(parsed && SameDouble(*parsed, value));
  } else {
    // Out of range: too large is refused, too small for a normal double reads as what the
    // platform's reader makes of it.
    Check(r.ec == std::errc::result_out_of_range);
    Check(!parsed || std::fabs(*parsed) < DBL_MIN);
  }
}

void CheckFraction(std::string_view text) {
  int messages = 0;
  forms::ScopedMessageRecorder recorder([&](const forms::MessageRequest& request) {
    Check(request.text == "Invalid real value.");
    ++messages;
    return static_cast<int>(forms::mrOk);
  });
  const double result = dtools::TextToReal(text);
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) {
    const std::optional<double> v = dtools::ParseNumber(text);
    Check(messages == 0 && SameDouble(result, v ? *v : dtools::InvalidReal));
    return;
  }
  const std::optional<double> numerator = dtools::ParseNumber(text.substr(0, slash));
  const std::optional<double> denominator = dtools::ParseNumber(text.substr(slash + 1));
  if (numerator && denominator && std::isfinite(*numerator / *denominator)) {
    Check(messages == 0 && SameDouble(result, *numerator / *denominator));
  } else {
    Check(messages == 1 && SameDouble(result, dtools::InvalidReal));
  }
}

void CheckWriters(double value, std::uint8_t count, std::int8_t signedWidth, std::string_view text) {
  const std::int32_t decimals = count % 24;
  const std::string shown = dtools::RealToText(value, decimals);
  if (std::isnan(value)) {
    Check(shown == "NAN");
  } else if (std::isinf(value)) {
    Check(shown == (value > 0 ? "INF" : "-INF"));
  } else {
    const std::optional<double> back = dtools::ParseNumber(shown);
    Check(back.has_value());
    Check(shown.find_first_of("eE") == std::string::npos);
    const size_t point = shown.find('.');
    if (point != std::string::npos) {
      Check(shown.size() - point - 1 <= static_cast<size_t>(decimals));
      Check(shown.back() != '0' && shown.back() != '.');
    }
    // Cut, never rounded: the text never shows more than the value holds, and falls short by
    // less than one step of its last decimal.
    Check(std::fabs(*back) <= std::fabs(value));
    const double step = std::pow(10.0, -decimals);
    const double ulp = std::nextafter(std::fabs(value), HUGE_VAL) - std::fabs(value);
    Check(std::fabs(value) - std::fabs(*back) <= step * (1 + 1e-9) + 2 * ulp);
    // With room for every digit the text is the value itself.
    const std::optional<double> whole = dtools::ParseNumber(dtools::RealToText(value, 1100));
    Check(whole && SameDouble(*whole, value));
  }

  std::int32_t integer;
  std::memcpy(&integer, &value, sizeof integer);
  const std::string digits = dtools::IntToText(integer);
  std::int32_t read = 0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), read);
  Check(r.ec == std::errc() && r.ptr == digits.data() + digits.size() && read == integer);

  const std::int32_t width = signedWidth;
  const std::uint8_t mode = count % 4;
  const std::string aligned = dtools::AlignText(text, width, mode);
  if (static_cast<std::int64_t>(text.size()) > width) {
    Check(aligned == text.substr(0, static_cast<size_t>(std::max(width, 0))));
  } else if (mode == 3) {
    Check(aligned.empty());
  } else {
    const size_t d = static_cast<size_t>(width) - text.size();
    const size_t left = mode == 0 ? 0 : mode == 2 ? d : d - d / 2;
    Check(aligned.size() == static_cast<size_t>(width) && aligned.compare(left, text.size(), text) == 0);
    Check(aligned.substr(0, left).find_first_not_of(' ') == std::string::npos);
    Check(aligned.substr(left + text.size()).find_first_not_of(' ') == std::string::npos);
  }
  Check(dtools::SpaceString(width) == std::string(static_cast<size_t>(std::max(width, 0)), ' '));

  int messages = 0;
  forms::ScopedMessageRecorder recorder([&](const forms::MessageRequest&) {
    ++messages;
    return static_cast<int>(forms::mrOk);
  });
  const std::int32_t low = width, high = width + count % 7 - 3;
  const bool inside = low <= integer && integer <= high;
  Check(dtools::CheckRange(integer, low, high, false) == inside && messages == 0);
  Check(dtools::CheckRange(integer, low, high, true) == inside && messages == (inside ? 0 : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const std::string_view text(reinterpret_cast<const char*>(data + 10), size - 10);
  CheckNumber(text);
  CheckFraction(text);
  CheckWriters(value, data[8], static_cast<std::int8_t>(data[9]), text);
  return 0;
}
