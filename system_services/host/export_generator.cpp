// Build step: writes the .def file, the resource scripts with their data and the stand-in
// host's fixture from the export table. It stops, writing nothing, when the compiled objects
// lack a row's function: a function deleted or renamed by mistake fails the build instead of
// silently taking its export and its description with it.
//   rxsystem_export_gen <symbol listing> <output directory> [--plain]
// --plain: the objects are a 64-bit build's, whose symbols carry no decoration.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "system_services/host/description_format.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  f.close();
  if (!f) std::cerr << "rxsystem_export_gen: cannot write " << path << "\n";
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace rxsystem;
  bool plain = argc == 4 && std::string_view(argv[3]) == "--plain";
  if (argc != 3 && !plain) {
    std::cerr << "usage: rxsystem_export_gen <symbol listing> <output directory> [--plain]\n";
    return 2;
  }
  const SymbolConvention convention = plain ? SymbolConvention::Plain64 : SymbolConvention::StandardCall32;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "rxsystem_export_gen: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream listing;
  listing << in.rdbuf();
  std::vector<std::string> problems = ExportProblems(SymbolNames(listing.str()), convention);
  for (const std::string& p : problems) std::cerr << "rxsystem_export_gen: " << p << "\n";
  if (!problems.empty()) return 1;

  std::string dir = argv[2];
  if (!dir.empty() && dir.back() != '/') dir += '/';
  std::vector<std::string_view> names;
  bool ok = true;
  for (const ExportRow& row : ExportTable()) {
    names.push_back(row.name);
    ok &= WriteFile(dir + ResourceName(row.name) + ".bin", DescriptionBytes(row));
  }
  ok &= WriteFile(dir + "index.bin", IndexBytes(names));
  ok &= WriteFile(dir + "descriptions.rc", DescriptionsRcText(dir));
  ok &= WriteFile(dir + "strings.rc", StringTableRcText(MessageTable()));
  ok &= WriteFile(dir + "RXSystem.def", DefFileText(convention));
  ok &= WriteFile(dir + "rxsystem_export_fixture.h", FixtureHeaderText());
  return ok ? 0 : 1;
}
