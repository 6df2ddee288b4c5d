// Message texts formatted with whatever values the host passed: the text always fits its
// buffer and ends in a NUL, a smaller buffer holds the start of what a larger one holds, and
// where the format keeps to what the C library's printf reads the same way, the text is
// printf's, conversion by conversion.
// Layout: two bytes of capacity, one byte of value kinds (two bits for each of four values),
// four 32-bit integers, then the format and the texts of the values, separated by NULs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/host/message_format.h"

namespace {

using rxsystem::FormatArg;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

std::string Printf(const std::string& directive, auto value) {
  const int n = std::snprintf(nullptr, 0, directive.c_str(), value);
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), directive.c_str(), value);
  out.resize(static_cast<size_t>(n));
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text printf gives, or nullopt where the format leaves what the C library reads alike:
// flags other than the three, '#' other than for hexadecimal, '0' for a text, the size letter
// h, precisions the buffer's digit room does not hold, and a zero with precision 0 (no digits
// in C, one in the platform's printer).
std::optional<std::string> Reference(std::string_view format, const std::vector<FormatArg>& values,
                                     const std::vector<std::string>& texts) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i++];
    if (c == '\0') return std::nullopt;
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    std::string directive = "%";
    bool left = false, zero = false, alternate = false;
    while (i < format.size() && (format[i] == '-' || format[i] == '0' || format[i] == '#')) {
      left |= format[i] == '-';
      zero |= format[i] == '0';
      alternate |= format[i] == '#';
      directive.push_back(format[i++]);
    }
    size_t width = 0;
    while (i < format.size() && IsDigit(format[i])) {
      width = width * 10 + static_cast<size_t>(format[i] - '0');
      if (width > 4000) return std::nullopt;
      directive.push_back(format[i++]);
    }
    bool hasPrecision = false;
    size_t precision = 0;
    if (i < format.size() && format[i] == '.') {
      hasPrecision = true;
      directive.push_back(format[i++]);
      while (i < format.size() && IsDigit(format[i])) {
        precision = precision * 10 + static_cast<size_t>(format[i] - '0');
        if (precision > 40) return std::nullopt;
        directive.push_back(format[i++]);
      }
    }
    bool longSize = false;
    if (i < format.size() && format[i] == 'l') {
      longSize = true;
      ++i;
    }
    if (i >= format.size()) return std::nullopt;
    const char conversion = format[i++];
    if (conversion == '%') {
      if (directive != "%" || longSize) return std::nullopt;
      out.push_back('%');
      continue;
    }
    const bool integer = std::string_view("diuxX").find(conversion) != std::string_view::npos;
    const bool text = conversion == 's' || conversion == 'c';
    if (!integer && !text) return std::nullopt;
    if (alternate && conversion != 'x' && conversion != 'X') return std::nullopt;
    if (text && (zero || longSize)) return std::nullopt;
    if (conversion == 'c' && hasPrecision) return std::nullopt;
    (void)left;
    if (next >= values.size()) continue;
    const FormatArg& v = values[next];
    const std::string& valueText = texts[next];
    ++next;
    if (integer) {
      if (v.kind != FormatArg::Kind::Integer) return std::nullopt;
      if (hasPrecision && precision == 0 && v.integer == 0) return std::nullopt;
      const bool isSigned = conversion == 'd' || conversion == 'i';
      std::string full = directive + (longSize ? "l" : "") + conversion;
      if (isSigned) {
        out += longSize ? Printf(full, static_cast<long>(v.integer)) : Printf(full, v.integer);
      } else {
        const auto u = static_cast<std::uint32_t>(v.integer);
        out +=
            longSize ? Printf(full, static_cast<unsigned long>(u)) : Printf(full, static_cast<unsigned>(u));
      }
    } else if (conversion == 's') {
      if (v.kind != FormatArg::Kind::Text) return std::nullopt;
      out += Printf(directive + 's', v.text ? valueText.c_str() : "(null)");
    } else {
      if (v.kind != FormatArg::Kind::Character || v.integer == 0) return std::nullopt;
      out += Printf(directive + 'c', v.integer);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr size_t kHeader = 2 + 1 + 16;
  if (size < kHeader) return 0;
  // Up to a little past the reporters' 404 characters.
  const size_t capacity = (static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8) % 512;
  const std::uint8_t kinds = data[2];
  std::int32_t integers[4];
  std::memcpy(integers, data + 3, sizeof integers);
  const std::string_view rest(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
  const size_t formatEnd = rest.find('\0');
  const std::string_view format = rest.substr(0, formatEnd);
  std::vector<std::string> texts;
  std::string_view after =
      formatEnd == std::string_view::npos ? std::string_view() : rest.substr(formatEnd + 1);
  for (int i = 0; i < 4; ++i) {
    const size_t end = after.find('\0');
    texts.emplace_back(after.substr(0, end));
    after = end == std::string_view::npos ? std::string_view() : after.substr(end + 1);
  }
  std::vector<FormatArg> values;
  for (int i = 0; i < 4; ++i) {
    switch ((kinds >> (2 * i)) & 3) {
      case 0:
        values.emplace_back(integers[i]);
        break;
      case 1:
        values.emplace_back(texts[static_cast<size_t>(i)].data());
        break;
      case 2:
        values.emplace_back(static_cast<char>(integers[i]));
        break;
      default:
        values.emplace_back(static_cast<const char*>(nullptr));
        break;
    }
  }

  // The buffer on the heap at exactly its capacity, so that a write past it is caught.
  std::vector<char> out(capacity);
  const size_t length = rxsystem::FormatBounded(out.data(), capacity, format, values);
  if (capacity == 0) {
    Check(length == 0);
  } else {
    Check(length < capacity && out[length] == '\0');
  }

  constexpr size_t kLarge = 1 << 16;
  std::vector<char> large(kLarge);
  const size_t largeLength = rxsystem::FormatBounded(large.data(), kLarge, format, values);
  Check(largeLength < kLarge && large[largeLength] == '\0');
  Check(length <= largeLength && (length == 0 || std::memcmp(out.data(), large.data(), length) == 0));
  if (length < largeLength) Check(capacity == 0 || length == capacity - 1);

  if (largeLength + 1 < kLarge) {
    if (const auto expected = Reference(format, values, texts))
      Check(std::string_view(large.data(), largeLength) == *expected);
  }
  return 0;
}
