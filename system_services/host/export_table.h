// The one table of the library's exports. The description resources, the .def file and the
// stand-in host's fixture are all generated from it, so what the host is told, what the
// linker exports and what the tests expect cannot drift apart.
#pragma once
#include <span>
#include <string_view>

namespace rxsystem {

// One `Sys` export as the host's description resources give it.
struct ExportRow {
  std::string_view name;
  char result;                 // 'S', 'I', 'L' or 'V'
  std::string_view arguments;  // argument letters, 'A' (the host record) first
  // The prototype line, then CR LF and each description line where the export has any.
  std::string_view prototype;
};

// A window or dialog procedure that the library hands to the platform: exported so the
// platform can reach it, never described to the host.
struct ProcedureRow {
  std::string_view name;
  bool decoratedExport;  // exported as _Name@16 rather than under the plain name
};

// The 102 exports, in the order of the host's description index.
std::span<const ExportRow> ExportTable();
std::span<const ProcedureRow> ProcedureTable();

// Bytes the standard call convention pops for the export: 4 per argument letter.
int ArgumentBytes(const ExportRow& row);
// Bytes of a dialog procedure's arguments: window, message and two parameters.
inline constexpr int kProcedureArgumentBytes = 16;

}  // namespace rxsystem
