#include "system_services/files/wildcard.h"

namespace rxsystem {

namespace {

// The host's texts are ANSI; only the ASCII letters fold, the same on every code page.
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the element at pattern[at] accepts c, and how many pattern characters it spans
// (0 when it is a '~' with nothing after it, which accepts nothing).
bool ElementAccepts(std::string_view pattern, size_t at, char c, size_t* span) {
  char p = pattern[at];
  *span = 1;
  switch (p) {
    case '?':
      return true;
    case '#':
      return c >= '0' && c <= '9';
    case '~':
      if (at + 1 >= pattern.size()) {
        *span = 0;
        return false;
      }
      *span = 2;
      return c != pattern[at + 1];
    default:
      return Lower(p) == Lower(c);
  }
}

// One alternative against the whole name. Every element but '*' takes exactly one character,
// so going back to the last '*' and letting it take one character more finds a match
// whenever trying every split would, in time bounded by the product of the two lengths
// (a pattern from the host could otherwise cost exponential time).
bool MatchAlternative(std::string_view name, std::string_view alt) {
  if (alt.empty()) return false;
  size_t n = 0, p = 0;
  size_t starP = std::string_view::npos, starN = 0;
  for (;;) {
    if (p < alt.size() && alt[p] == '*') {
      while (p < alt.size() && alt[p] == '*') ++p;
      if (p == alt.size()) return true;
      starP = p;
      starN = n;
      continue;
    }
    if (n == name.size()) return p == alt.size();
    size_t span = 0;
    if (p < alt.size() && ElementAccepts(alt, p, name[n], &span)) {
      p += span;
      ++n;
      continue;
    }
    if (starP == std::string_view::npos) return false;
    n = ++starN;
    p = starP;
  }
}

}  // namespace

bool MatchWildcard(std::string_view name, std::string_view pattern) {
  size_t start = 0;
  for (;;) {
    size_t bar = pattern.find('|', start);
    std::string_view alt =
        pattern.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    if (MatchAlternative(name, alt)) return true;
    if (bar == std::string_view::npos) return false;
    start = bar + 1;
  }
}

}  // namespace rxsystem
