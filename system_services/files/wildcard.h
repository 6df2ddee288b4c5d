// The library's own file-name patterns: alternatives separated by '|', each made of '*' (any
// run, also none), '?' (one character), '#' (one digit), '~' c (one character that is not c,
// with regard to case) and plain characters (without regard to case). Pure.
#pragma once
#include <string_view>

namespace rxsystem {

// True when the name matches at least one alternative of the pattern. An empty alternative
// matches nothing; a '~' that ends its alternative makes that alternative fail.
bool MatchWildcard(std::string_view name, std::string_view pattern);

}  // namespace rxsystem
