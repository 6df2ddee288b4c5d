#include "description_check.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

namespace authorware_host {
namespace {

bool IsIdentifier(std::string_view s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// The host's sort key: the lower-case name, except that three names take the place just
// before their neighbour.
std::pair<std::string, int> OrderKey(std::string_view name) {
  static const std::pair<std::string_view, std::string_view> kBefore[] = {
      {"SysIsWindowMinimized", "SysIsWindowMaximized"},
      {"SysMinimizeWindow", "SysMaximizeWindow"},
      {"SysSetCursorPos", "SysSetCurDrive"},
  };
  for (const auto& [moved, neighbour] : kBefore) {
    if (name == moved) return {Lower(neighbour), 0};
    if (name == neighbour) return {Lower(neighbour), 1};
  }
  return {Lower(name), 0};
}

std::string Printable(std::string_view s) {
  std::string r;
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) {
      static const char hex[] = "0123456789ABCDEF";
      r += "\\x";
      r += hex[u >> 4];
      r += hex[u & 15];
    } else {
      r += c;
    }
  }
  return r;
}

}  // namespace

std::optional<Description> ParseDescription(std::span<const unsigned char> bytes, std::string* error) {
  std::string texts[4];
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    size_t start = at;
    while (at < bytes.size() && bytes[at] != 0) ++at;
    if (at >= bytes.size()) {
      if (error) *error = "text " + std::to_string(i + 1) + " of 4 runs to the end of the resource";
      return std::nullopt;
    }
    texts[i].assign(reinterpret_cast<const char*>(bytes.data()) + start, at - start);
    ++at;
  }
  if (at != bytes.size()) {
    if (error) *error = std::to_string(bytes.size() - at) + " bytes after the fourth text";
    return std::nullopt;
  }
  return Description{std::move(texts[0]), std::move(texts[1]), std::move(texts[2]), std::move(texts[3])};
}

std::optional<std::vector<std::string>> ParseIndex(std::span<const unsigned char> bytes, std::string* error) {
  std::vector<std::string> names;
  size_t at = 0;
  while (true) {
    size_t start = at;
    while (at < bytes.size() && bytes[at] != 0) ++at;
    if (at >= bytes.size()) {
      if (error) *error = "the index does not end with an empty name";
      return std::nullopt;
    }
    if (at == start) break;
    names.emplace_back(reinterpret_cast<const char*>(bytes.data()) + start, at - start);
    ++at;
  }
  ++at;
  if (at != bytes.size()) {
    if (error) *error = std::to_string(bytes.size() - at) + " bytes after the index's end";
    return std::nullopt;
  }
  return names;
}

std::optional<Prototype> ParsePrototype(std::string_view text, std::string* error) {
  auto fail = [&](std::string why) -> std::optional<Prototype> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  Prototype p;
  size_t lineEnd = text.find("\r\n");
  std::string_view line = text.substr(0, lineEnd);
  if (lineEnd != std::string_view::npos) {
    std::string_view rest = text.substr(lineEnd + 2);
    while (true) {
      size_t next = rest.find("\r\n");
      std::string_view l = rest.substr(0, next);
      if (l.empty()) return fail("an empty description line");
      p.descriptionLines.emplace_back(l);
      if (next == std::string_view::npos) break;
      rest = rest.substr(next + 2);
    }
  }
  for (std::string_view l : p.descriptionLines) {
    for (char c : l) {
      if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in a description line");
    }
  }
  size_t assign = line.find(":= ");
  if (assign != std::string_view::npos) {
    p.resultName = std::string(line.substr(0, assign));
    if (!IsIdentifier(p.resultName)) return fail("the result name is no name");
    line = line.substr(assign + 3);
  }
  for (char c : line) {
    if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in the prototype line");
  }
  size_t open = line.find('(');
  if (open == std::string_view::npos) return fail("no \"(\" after the function name");
  p.function = std::string(line.substr(0, open));
  if (!IsIdentifier(p.function)) return fail("the function name is no name");
  std::string_view inside = line.substr(open + 1);
  if (inside == " )") return p;
  if (inside.size() < 4 || inside[0] != ' ' || !inside.ends_with(" )"))
    return fail("the arguments do not stand between \"( \" and \" )\"");
  inside = inside.substr(1, inside.size() - 3);
  while (true) {
    size_t comma = inside.find(", ");
    std::string_view arg = inside.substr(0, comma);
    if (!IsIdentifier(arg)) return fail("argument \"" + std::string(arg) + "\" is no name");
    p.arguments.emplace_back(arg);
    if (comma == std::string_view::npos) break;
    inside = inside.substr(comma + 2);
  }
  return p;
}

std::vector<std::string> CheckDescription(std::string_view name, const Description& d) {
  std::vector<std::string> problems;
  std::string who = std::string(name) + ": ";
  if (!d.leading.empty()) problems.push_back(who + "the first text is not empty");
  if (d.result.size() != 1 || std::string_view("SILV").find(d.result[0]) == std::string_view::npos)
    problems.push_back(who + "result \"" + Printable(d.result) + "\" is not one of S, I, L, V");
  bool lettersOk = !d.arguments.empty() && d.arguments[0] == 'A' &&
                   std::all_of(d.arguments.begin() + 1, d.arguments.end(),
                               [](char c) { return c == 'S' || c == 'I' || c == 'L'; });
  if (!lettersOk)
    problems.push_back(who + "arguments \"" + Printable(d.arguments) + "\" are not A followed by S, I, L");
  std::string why;
  auto p = ParsePrototype(d.prototype, &why);
  if (!p) {
    problems.push_back(who + "prototype \"" + Printable(d.prototype) + "\": " + why);
    return problems;
  }
  if (p->function != name) problems.push_back(who + "the prototype names " + p->function);
  if (!d.arguments.empty() && p->arguments.size() != d.arguments.size() - 1)
    problems.push_back(who + "the prototype has " + std::to_string(p->arguments.size()) + " arguments for " +
                       std::to_string(d.arguments.size() - 1) + " letters");
  if (!p->resultName.empty() && d.result == "V")
    problems.push_back(who + "a named result for a function without result");
  return problems;
}

bool StandsBefore(std::string_view a, std::string_view b) { return OrderKey(a) < OrderKey(b); }

std::vector<std::string> CheckIndex(const std::vector<std::string>& names) {
  std::vector<std::string> problems;
  std::set<std::string> seen;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& n = names[i];
    if (!n.starts_with("Sys") || !IsIdentifier(n))
      problems.push_back("index entry " + std::to_string(i) + " \"" + Printable(n) + "\" is no Sys name");
    if (!seen.insert(Lower(n)).second) problems.push_back("index entry " + n + " stands twice");
    if (i > 0 && !StandsBefore(names[i - 1], n))
      problems.push_back("index entry " + n + " stands after " + names[i - 1]);
  }
  return problems;
}

}  // namespace authorware_host
