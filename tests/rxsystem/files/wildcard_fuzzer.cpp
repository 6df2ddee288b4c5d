// Patterns and date texts come from course authors: the matcher must give the answer of the
// literal try-every-split reading, in bounded time, and the date readers must not misread.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system_services/files/file_dates.h"
#include "system_services/files/wildcard.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The matcher as its rules read: at a '*', the rest of the alternative against every
// suffix of the name in turn.
bool Literal(std::string_view name, std::string_view alt) {
  size_t p = 0, n = 0;
  while (p < alt.size()) {
    if (alt[p] == '*') {
      while (p < alt.size() && alt[p] == '*') ++p;
      if (p == alt.size()) return true;
      for (size_t from = n; from < name.size(); ++from)
        if (Literal(name.substr(from), alt.substr(p))) return true;
      return false;
    }
    if (n == name.size()) return false;
    char c = name[n], e = alt[p];
    if (e == '?') {
      p += 1;
    } else if (e == '#') {
      if (c < '0' || c > '9') return false;
      p += 1;
    } else if (e == '~') {
      if (p + 1 >= alt.size() || c == alt[p + 1]) return false;
      p += 2;
    } else {
      if (Lower(c) != Lower(e)) return false;
      p += 1;
    }
    ++n;
  }
  return n == name.size();
}

bool LiteralPattern(std::string_view name, std::string_view pattern) {
  for (;;) {
    size_t bar = pattern.find('|');
    std::string_view alt = pattern.substr(0, bar);
    if (!alt.empty() && Literal(name, alt)) return true;
    if (bar == std::string_view::npos) return false;
    pattern.remove_prefix(bar + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t cut = input.find('\0');
  std::string_view name = input.substr(0, cut);
  std::string_view pattern = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  bool matched = rxsystem::MatchWildcard(name, pattern);
  // The literal reading costs exponential time; compare where it stays small.
  size_t stars = 0;
  for (char c : pattern) stars += c == '*';
  if (name.size() <= 24 && stars <= 4 && pattern.size() <= 64 && matched != LiteralPattern(name, pattern))
    __builtin_trap();

  if (auto t = rxsystem::ParseSearchDate(input)) {
    if (!rxsystem::IsCalendarTime(*t)) __builtin_trap();
    char text[25];
    rxsystem::FormatFileTime(*t, text, sizeof text);
    (void)rxsystem::SecondsSince1970(*t);
  }
  if (auto t = rxsystem::ParseFileDateTime(name, pattern)) {
    if (!rxsystem::IsCalendarTime(*t) || t->year < 1000 || t->year > 32767) __builtin_trap();
  }
  return 0;
}
