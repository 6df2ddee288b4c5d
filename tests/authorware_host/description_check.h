// What the Authorware host reads from a user-code library's "DLL_HEADER" resources, parsed
// within the resource's bytes and checked against the host's expectations. Pure: the
// resources come in as bytes.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace authorware_host {

// The four NUL-terminated texts of a function's description.
struct Description {
  std::string leading;    // always empty
  std::string result;     // one letter
  std::string arguments;  // letters, 'A' first
  std::string prototype;  // the prototype line, then CR LF and any description lines
};

struct Prototype {
  std::string resultName;  // empty when the function has no named result
  std::string function;
  std::vector<std::string> arguments;
  std::vector<std::string> descriptionLines;
};

// Exactly four texts, each ended by a NUL inside the bytes, and nothing after them.
std::optional<Description> ParseDescription(std::span<const unsigned char> bytes, std::string* error);
// Names each ended by a NUL, then an empty name; nothing after it.
std::optional<std::vector<std::string>> ParseIndex(std::span<const unsigned char> bytes, std::string* error);
// Result:= Name( Arg1, Arg2 ) or Name( Arg1, Arg2 ), "( )" without arguments, each further
// line after a CR LF.
std::optional<Prototype> ParsePrototype(std::string_view text, std::string* error);

// Every way in which the description of `name` falls short of what the host accepts; empty
// when it is sound.
std::vector<std::string> CheckDescription(std::string_view name, const Description& d);
// The index: well-formed unique names in the host's order (alphabetical without regard to
// case, with its three local exceptions).
std::vector<std::string> CheckIndex(const std::vector<std::string>& names);
// True when `a` must stand before `b` in the index.
bool StandsBefore(std::string_view a, std::string_view b);

}  // namespace authorware_host
