// The library's own file-name patterns.
#include "system_services/files/wildcard.h"

#include <gtest/gtest.h>

#include <string>

using rxsystem::MatchWildcard;

namespace {

TEST(MatchWildcard, PatternLanguage) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"Report.TXT", "*.txt|*.doc", true},
      {"a.doc", "*.txt|*.doc", true},
      {"a.txt.bak", "*.txt|*.doc", false},
      {"data01", "data##", true},
      {"data1x", "data##", false},
      // 5
      {"b.txt", "~a*", true},
      {"a.txt", "~a*", false},
      {"A.txt", "~a*", true},  // '~' compares with regard to case
      {"abcd", "abc|abcd", true},
      {"abc", "abcd|abc", true},
      // 10
      {"ab", "abc", false},    // the name runs out first
      {"abcd", "abc", false},  // the pattern runs out first
      {"", "*", true},
      {"", "**", true},
      {"x", "", false},  // an empty alternative matches nothing
      // 15
      {"x", "|", false},
      {"x", "a||x", true},
      {"", "", false},
      {"ab", "a~", false},  // a '~' that ends its alternative fails it
      {"ab", "a~|ab", true},
      // 20
      {"ab", "a~~", true},  // '~' takes the next character, '~' included
      {"a~", "a~~", false},
      {"a*", "a~*", false},
      {"ab", "a~*", true},
      {"abc", "a***c", true},
      // 25
      {"ac", "a*?c", false},
      {"abc", "a*?c", true},
      {"aXbXc", "*x*x*", true},
      {"aXbXc", "*x*x*x*", false},
      {"data.~b1", "data.~b?", false},
      // 30
      {"data.~c1", "data.~b?", false},  // "~b" takes the '~' of the name, which is not 'b'
      {"data.c1", "data.~b?", true},
      {"9", "#", true},
      {"a", "#", false},
      {"", "?", false},
      // 35
      {"mississippi.txt", "*iss*ippi.*", true},
      {"mississippi.txt", "*iss*z*", false},
      {"ABC", "a?C", true},
      {"x.doc", "*.txt|", false},
      {"x", "*.txt|*", true},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": '" + c.name + "' against '" + c.pattern + "'");
    EXPECT_EQ(MatchWildcard(c.name, c.pattern), c.matches);
  }
}

// Every split of a long name tried one after the other would take longer than any test runs.
TEST(MatchWildcard, ManyStarsOnALongNameStayCheap) {
  const std::string name(259, 'a');
  const std::string pattern = std::string(60, 'a') + "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
  EXPECT_FALSE(MatchWildcard(name, pattern));
  EXPECT_TRUE(MatchWildcard(name + "b", pattern));
}

}  // namespace
