#include "system_services/host/message_format.h"

#include <cstring>

namespace rxsystem {
namespace {

class BoundedWriter {
 public:
  BoundedWriter(char* out, size_t capacity) : out_(out), room_(capacity ? capacity - 1 : 0) {}

  void Put(char c) {
    if (length_ < room_) out_[length_++] = c;
  }
  void Put(const char* s, size_t n) {
    for (size_t i = 0; i < n; ++i) Put(s[i]);
  }
  void Pad(char c, size_t n) {
    for (size_t i = 0; i < n; ++i) Put(c);
  }
  size_t Finish(size_t capacity) {
    if (capacity) out_[length_] = '\0';
    return length_;
  }

 private:
  char* out_;
  size_t room_;
  size_t length_ = 0;
};

struct Spec {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  size_t width = 0;
  bool hasPrecision = false;
  size_t precision = 0;
};

// Digits of an unsigned value in the given base, least significant last; returns the count.
size_t Digits(uint32_t v, unsigned base, bool upper, char* buf) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char rev[16];
  size_t n = 0;
  do {
    rev[n++] = set[v % base];
    v /= base;
  } while (v);
  for (size_t i = 0; i < n; ++i) buf[i] = rev[n - 1 - i];
  return n;
}

void PutField(BoundedWriter& w, const Spec& spec, std::string_view prefix, const char* body, size_t length,
              bool numeric) {
  size_t total = prefix.size() + length;
  size_t pad = spec.width > total ? spec.width - total : 0;
  if (spec.left) {
    w.Put(prefix.data(), prefix.size());
    w.Put(body, length);
    w.Pad(' ', pad);
  } else if (spec.zero && numeric) {
    w.Put(prefix.data(), prefix.size());
    w.Pad('0', pad);
    w.Put(body, length);
  } else {
    w.Pad(' ', pad);
    w.Put(prefix.data(), prefix.size());
    w.Put(body, length);
  }
}

void PutNumber(BoundedWriter& w, Spec spec, char conversion, int32_t value) {
  char digits[16];
  std::string_view prefix;
  uint32_t magnitude;
  unsigned base = 10;
  bool upper = false;
  if (conversion == 'd' || conversion == 'i') {
    if (value < 0) {
      prefix = "-";
      magnitude = 0u - static_cast<uint32_t>(value);
    } else {
      magnitude = static_cast<uint32_t>(value);
    }
  } else {
    magnitude = static_cast<uint32_t>(value);
    if (conversion == 'x' || conversion == 'X') {
      base = 16;
      upper = conversion == 'X';
      if (spec.alternate && magnitude) prefix = upper ? "0X" : "0x";
    }
  }
  size_t n = Digits(magnitude, base, upper, digits);
  if (spec.hasPrecision) {
    // A precision sets the least number of digits, as the print rules have it.
    char widened[48];
    size_t want = spec.precision < sizeof(widened) ? spec.precision : sizeof(widened) - 1;
    if (want > n) {
      std::memset(widened, '0', want - n);
      std::memcpy(widened + (want - n), digits, n);
      spec.zero = false;
      PutField(w, spec, prefix, widened, want, true);
      return;
    }
    spec.zero = false;
  }
  PutField(w, spec, prefix, digits, n, true);
}

}  // namespace

size_t FormatBounded(char* out, size_t capacity, std::string_view format, std::span<const FormatArg> values) {
  BoundedWriter w(out, capacity);
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i++];
    if (c != '%') {
      w.Put(c);
      continue;
    }
    size_t start = i - 1;
    Spec spec;
    for (; i < format.size(); ++i) {
      char f = format[i];
      if (f == '-')
        spec.left = true;
      else if (f == '0')
        spec.zero = true;
      else if (f == '#')
        spec.alternate = true;
      else
        break;
    }
    // Widths beyond any buffer are clamped so that the count cannot overflow.
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      if (spec.width < 100000) spec.width = spec.width * 10 + static_cast<size_t>(format[i] - '0');
      ++i;
    }
    if (i < format.size() && format[i] == '.') {
      spec.hasPrecision = true;
      ++i;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        if (spec.precision < 100000)
          spec.precision = spec.precision * 10 + static_cast<size_t>(format[i] - '0');
        ++i;
      }
    }
    while (i < format.size() && (format[i] == 'h' || format[i] == 'l')) ++i;
    if (i >= format.size()) {
      w.Put(format.data() + start, format.size() - start);
      break;
    }
    char conversion = format[i++];
    if (conversion == '%') {
      w.Put('%');
      continue;
    }
    bool known = conversion == 's' || conversion == 'c' || conversion == 'd' || conversion == 'i' ||
                 conversion == 'u' || conversion == 'x' || conversion == 'X';
    if (!known) {
      w.Put(format.data() + start, i - start);
      continue;
    }
    if (next >= values.size()) continue;
    const FormatArg& v = values[next++];
    switch (conversion) {
      case 's': {
        if (v.kind == FormatArg::Kind::Text) {
          const char* s = v.text ? v.text : "(null)";
          size_t limit = spec.hasPrecision ? spec.precision : static_cast<size_t>(-1);
          size_t n = 0;
          while (n < limit && s[n]) ++n;
          PutField(w, spec, {}, s, n, false);
        } else if (v.kind == FormatArg::Kind::Character) {
          char ch = static_cast<char>(v.integer);
          PutField(w, spec, {}, &ch, ch ? 1 : 0, false);
        } else {
          PutNumber(w, spec, 'd', v.integer);
        }
        break;
      }
      case 'c': {
        char ch =
            v.kind == FormatArg::Kind::Text ? (v.text ? v.text[0] : '\0') : static_cast<char>(v.integer);
        // A NUL would end the message where the character stands.
        PutField(w, spec, {}, &ch, ch ? 1 : 0, false);
        break;
      }
      default:
        PutNumber(w, spec, conversion, v.kind == FormatArg::Kind::Text ? 0 : v.integer);
        break;
    }
  }
  return w.Finish(capacity);
}

}  // namespace rxsystem
