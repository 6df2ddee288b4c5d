#include "system_services/description_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace rxsystem {
namespace {

// US English: the only language the host looks the descriptions up in.
constexpr const char* kLanguageLine = "LANGUAGE 9, 1\n";

bool Contains(const std::vector<const ExportRow*>& rows, const ExportRow& row) {
  return std::find(rows.begin(), rows.end(), &row) != rows.end();
}

bool Contains(const std::vector<const ProcedureRow*>& rows, const ProcedureRow& row) {
  return std::find(rows.begin(), rows.end(), &row) != rows.end();
}

std::string ExportName(const ProcedureRow& p) {
  return p.decoratedExport ? "_" + DecoratedName(p.name, kProcedureArgumentBytes)
                           : std::string(p.name);
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

Presence PresenceOf(std::string_view name, int argumentBytes,
                    const std::set<std::string>& symbols) {
  std::string plain = "_" + std::string(name);
  if (symbols.count("_" + DecoratedName(name, argumentBytes))) return Presence::Matching;
  if (symbols.count(plain)) return Presence::Mismatched;
  auto it = symbols.lower_bound(plain + "@");
  if (it != symbols.end() && it->starts_with(plain + "@")) return Presence::Mismatched;
  return Presence::Absent;
}

BuiltExports SelectBuilt(const std::set<std::string>& symbols) {
  BuiltExports built;
  for (const ExportRow& row : ExportTable()) {
    if (PresenceOf(row.name, ArgumentBytes(row), symbols) != Presence::Absent)
      built.exports.push_back(&row);
  }
  for (const ProcedureRow& p : ProcedureTable()) {
    if (PresenceOf(p.name, kProcedureArgumentBytes, symbols) != Presence::Absent)
      built.procedures.push_back(&p);
  }
  return built;
}

std::string DefFileText(const BuiltExports& built) {
  std::string t = "; Generated from the export table; do not edit.\nLIBRARY \"RXSystem.dll\"\nEXPORTS\n";
  for (const ExportRow* row : built.exports) {
    t += "  " + std::string(row->name) + "=" + DecoratedName(row->name, ArgumentBytes(*row)) + "\n";
  }
  for (const ProcedureRow* p : built.procedures) {
    t += "  " + ExportName(*p) + "=" + DecoratedName(p->name, kProcedureArgumentBytes) + "\n";
  }
  return t;
}

std::string DescriptionsRcText(const BuiltExports& built, std::string_view dataDirectory) {
  std::string dir(dataDirectory);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  std::string t = "// Generated from the export table; do not edit.\n";
  t += kLanguageLine;
  t += "1 DLL_HEADER " + RcQuoted(dir + "index.bin") + "\n";
  for (const ExportRow* row : built.exports) {
    std::string name = ResourceName(row->name);
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

std::string FixtureHeaderText(const BuiltExports& built) {
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
      "  bool exported;           // this build carries the function and its description\n"
      "};\n\n"
      "inline constexpr Description kDescriptions[] = {\n";
  for (const ExportRow& row : ExportTable()) {
    t += "    {" + CppQuoted(row.name) + "sv, " + CppQuoted(ResourceName(row.name)) + "sv, '" +
         row.result + "', " + CppQuoted(row.arguments) + "sv,\n     " +
         CppQuoted(DescriptionBytes(row)) + "sv,\n     " +
         (Contains(built.exports, row) ? "true" : "false") + "},\n";
  }
  t += "};\n\n"
       "struct Procedure {\n"
       "  std::string_view exportName;  // as the export directory lists it\n"
       "  bool exported;\n"
       "};\n\n"
       "inline constexpr Procedure kProcedures[] = {\n";
  for (const ProcedureRow& p : ProcedureTable()) {
    t += "    {" + CppQuoted(ExportName(p)) + "sv, " + (Contains(built.procedures, p) ? "true" : "false") +
         "},\n";
  }
  t += "};\n\n}  // namespace rxsystem_fixture\n";
  return t;
}

}  // namespace rxsystem
