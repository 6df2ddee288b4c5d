#include "system_services/host/description_format.h"

#include <cctype>
#include <cstdio>

namespace rxsystem {
namespace {

// US English: the only language the host looks the descriptions up in.
constexpr const char* kLanguageLine = "LANGUAGE 9, 1\n";

std::string ExportName(const ProcedureRow& p) {
  return p.decoratedExport ? "_" + DecoratedName(p.name, kProcedureArgumentBytes) : std::string(p.name);
}

// A quoted literal with every byte outside printable ASCII, and the backslash, as an octal
// escape; a quote is doubled (resource scripts) or escaped too (C++).
std::string OctalQuoted(std::string_view bytes, bool doubleQuotes) {
  std::string q = "\"";
  for (char c : bytes) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' && doubleQuotes) {
      q += "\"\"";
    } else if (c == '"' || c == '\\' || u < 0x20 || u >= 0x7F) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\%03o", u);
      q += esc;
    } else {
      q += c;
    }
  }
  q += '"';
  return q;
}

}  // namespace

std::string DescriptionBytes(const ExportRow& row) {
  std::string b;
  b.push_back('\0');
  b.push_back(row.result);
  b.push_back('\0');
  b.append(row.arguments);
  b.push_back('\0');
  b.append(row.prototype);
  b.push_back('\0');
  return b;
}

std::string IndexBytes(std::span<const std::string_view> names) {
  std::string b;
  for (std::string_view n : names) {
    b.append(n);
    b.push_back('\0');
  }
  b.push_back('\0');
  return b;
}

std::string ResourceName(std::string_view exportName) {
  std::string r(exportName);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string DecoratedName(std::string_view name, int argumentBytes) {
  return std::string(name) + "@" + std::to_string(argumentBytes);
}

std::set<std::string> SymbolNames(std::string_view listing) {
  std::set<std::string> names;
  size_t pos = 0;
  while (pos < listing.size()) {
    size_t end = listing.find('\n', pos);
    if (end == std::string_view::npos) end = listing.size();
    std::string_view line = listing.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    size_t blank = line.find_last_of(" \t");
    std::string_view name = blank == std::string_view::npos ? line : line.substr(blank + 1);
    // Lines naming an object file ("x.obj:") are headers, not symbols.
    if (!name.empty() && name.back() != ':') names.emplace(name);
  }
  return names;
}

Presence PresenceOf(std::string_view name, int argumentBytes, const std::set<std::string>& symbols,
                    SymbolConvention convention) {
  if (convention == SymbolConvention::Plain64)
    return symbols.count(std::string(name)) ? Presence::Matching : Presence::Absent;
  std::string plain = "_" + std::string(name);
  if (symbols.count("_" + DecoratedName(name, argumentBytes))) return Presence::Matching;
  if (symbols.count(plain)) return Presence::Mismatched;
  auto it = symbols.lower_bound(plain + "@");
  if (it != symbols.end() && it->starts_with(plain + "@")) return Presence::Mismatched;
  return Presence::Absent;
}

std::vector<std::string> ExportProblems(const std::set<std::string>& symbols, SymbolConvention convention) {
  std::vector<std::string> problems;
  auto check = [&](std::string_view name, int bytes, std::string_view letters) {
    switch (PresenceOf(name, bytes, symbols, convention)) {
      case Presence::Matching:
        break;
      case Presence::Absent:
        problems.push_back(std::string(name) + " has a row in the export table but no function");
        break;
      case Presence::Mismatched:
        problems.push_back(std::string(name) + " is not defined as a standard call of " +
                           std::to_string(bytes) + " argument bytes (" + std::string(letters) + ")");
        break;
    }
  };
  for (const ExportRow& row : ExportTable())
    check(row.name, ArgumentBytes(row), "letters " + std::string(row.arguments));
  for (const ProcedureRow& p : ProcedureTable()) check(p.name, kProcedureArgumentBytes, "a dialog procedure");
  return problems;
}

std::string DefFileText(SymbolConvention convention) {
  auto symbol = [&](std::string_view name, int bytes) {
    return convention == SymbolConvention::Plain64 ? std::string(name) : DecoratedName(name, bytes);
  };
  std::string t = "; Generated from the export table; do not edit.\nLIBRARY \"RXSystem.dll\"\nEXPORTS\n";
  for (const ExportRow& row : ExportTable()) {
    t += "  " + std::string(row.name) + "=" + symbol(row.name, ArgumentBytes(row)) + "\n";
  }
  for (const ProcedureRow& p : ProcedureTable()) {
    t += "  " + ExportName(p) + "=" + symbol(p.name, kProcedureArgumentBytes) + "\n";
  }
  return t;
}

std::string DescriptionsRcText(std::string_view dataDirectory) {
  std::string dir(dataDirectory);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  std::string t = "// Generated from the export table; do not edit.\n";
  t += kLanguageLine;
  t += "1 DLL_HEADER " + RcQuoted(dir + "index.bin") + "\n";
  for (const ExportRow& row : ExportTable()) {
    std::string name = ResourceName(row.name);
    t += name + " DLL_HEADER " + RcQuoted(dir + name + ".bin") + "\n";
  }
  return t;
}

std::string StringTableRcText(std::span<const MessageText> messages) {
  std::string t = "// Generated from the message table; do not edit.\n";
  t += kLanguageLine;
  t += "STRINGTABLE\nBEGIN\n";
  for (const MessageText& m : messages) {
    t += "  " + std::to_string(m.id) + ", " + RcQuoted(m.text) + "\n";
  }
  t += "END\n";
  return t;
}

std::string RcQuoted(std::string_view text) { return OctalQuoted(text, true); }

std::string CppQuoted(std::string_view bytes) { return OctalQuoted(bytes, false); }

std::string FixtureHeaderText() {
  std::string t =
      "// Generated from the export table; do not edit.\n"
      "#pragma once\n#include <string_view>\n\n"
      "namespace rxsystem_fixture {\n\n"
      "using namespace std::string_view_literals;\n\n"
      "struct Description {\n"
      "  std::string_view name;\n"
      "  std::string_view resourceName;\n"
      "  char result;\n"
      "  std::string_view arguments;\n"
      "  std::string_view bytes;  // the resource's data\n"
      "};\n\n"
      "inline constexpr Description kDescriptions[] = {\n";
  for (const ExportRow& row : ExportTable()) {
    t += "    {" + CppQuoted(row.name) + "sv, " + CppQuoted(ResourceName(row.name)) + "sv, '" + row.result +
         "', " + CppQuoted(row.arguments) + "sv,\n     " + CppQuoted(DescriptionBytes(row)) + "sv},\n";
  }
  t += "};\n\n"
       "struct Procedure {\n"
       "  std::string_view exportName;  // as the export directory lists it\n"
       "};\n\n"
       "inline constexpr Procedure kProcedures[] = {\n";
  for (const ProcedureRow& p : ProcedureTable()) {
    t += "    {" + CppQuoted(ExportName(p)) + "sv},\n";
  }
  t += "};\n\n}  // namespace rxsystem_fixture\n";
  return t;
}

}  // namespace rxsystem
