// What the build generates from the export table: the bytes of the "DLL_HEADER" description
// resources, the resource script, the .def file and the stand-in host's fixture.
#pragma once
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/host/export_table.h"
#include "system_services/host/message_table.h"

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
// How the compiler names a function in the objects. The 32-bit build's standard calls carry
// their argument bytes (_Name@bytes), so a row with the wrong arity is seen; a 64-bit build
// has one calling convention and plain names, so only the name can be checked there (the
// 32-bit build, made on every machine, still checks the arity).
enum class SymbolConvention { StandardCall32, Plain64 };
// Symbols as the object-file lister prints them, one per line, the name last.
std::set<std::string> SymbolNames(std::string_view listing);
Presence PresenceOf(std::string_view name, int argumentBytes, const std::set<std::string>& symbols,
                    SymbolConvention convention = SymbolConvention::StandardCall32);

// What the objects fail to define as the tables ask, one line per row naming it: a row
// without its function, or one defined with other arguments. Empty when every row is there;
// the build stops on anything else.
std::vector<std::string> ExportProblems(const std::set<std::string>& symbols,
                                        SymbolConvention convention = SymbolConvention::StandardCall32);

// Every row of both tables goes into the generated texts. The exported names are the same in
// both conventions; only the symbols they map to differ.
std::string DefFileText(SymbolConvention convention = SymbolConvention::StandardCall32);
// Resource script of the index (id 1) and the descriptions; the bytes of each are the file
// index.bin or <resource name>.bin in dataDirectory.
std::string DescriptionsRcText(std::string_view dataDirectory);
std::string StringTableRcText(std::span<const MessageText> messages);
// A quoted text for a resource script: "" for a quote, octal escapes outside plain ASCII.
std::string RcQuoted(std::string_view text);
// A C++ string literal holding exactly these bytes (octal escapes, never ambiguous).
std::string CppQuoted(std::string_view bytes);
// Header of the stand-in host's expectations: all 102 rows, each with its description bytes,
// and the procedures under the names they are exported by.
std::string FixtureHeaderText();

}  // namespace rxsystem
