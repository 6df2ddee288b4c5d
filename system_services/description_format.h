// What the build generates from the export table: the bytes of the "DLL_HEADER" description
// resources, the resource script, the .def file and the stand-in host's fixture.
#pragma once
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/export_table.h"
#include "system_services/message_table.h"

namespace rxsystem {

// Four NUL-terminated texts: an empty one, the result letter, the argument letters and the
// prototype with its description lines.
std::string DescriptionBytes(const ExportRow& row);
// Each name NUL-terminated, then one more NUL.
std::string IndexBytes(std::span<const std::string_view> names);
// The resource name of a description: the export's name in capitals.
std::string ResourceName(std::string_view exportName);
// The stdcall symbol of a function without its leading underscore: Name@bytes.
std::string DecoratedName(std::string_view name, int argumentBytes);

// How far the compiled library defines an export.
enum class Presence {
  Absent,      // no function of that name
  Matching,    // defined with the argument bytes of its letters
  Mismatched,  // defined, but with other arguments (or not as a standard call)
};
// Symbols as the object-file lister prints them, one per line, the name last.
std::set<std::string> SymbolNames(std::string_view listing);
Presence PresenceOf(std::string_view name, int argumentBytes, const std::set<std::string>& symbols);

struct BuiltExports {
  std::vector<const ExportRow*> exports;        // described and exported, in index order
  std::vector<const ProcedureRow*> procedures;  // exported only
};
// Every row whose function exists, matching or not: a mismatched one still goes into the
// .def under its letters' decoration, so that the link fails on it.
BuiltExports SelectBuilt(const std::set<std::string>& symbols);

std::string DefFileText(const BuiltExports& built);
// Resource script of the index (id 1) and the descriptions; the bytes of each are the file
// index.bin or <resource name>.bin in dataDirectory.
std::string DescriptionsRcText(const BuiltExports& built, std::string_view dataDirectory);
std::string StringTableRcText(std::span<const MessageText> messages);
// A quoted text for a resource script: "" for a quote, octal escapes outside plain ASCII.
std::string RcQuoted(std::string_view text);
// A C++ string literal holding exactly these bytes (octal escapes, never ambiguous).
std::string CppQuoted(std::string_view bytes);
// Header of the stand-in host's expectations: all 102 rows, each with its description bytes
// and whether this build exports it, and the procedures.
std::string FixtureHeaderText(const BuiltExports& built);

}  // namespace rxsystem
