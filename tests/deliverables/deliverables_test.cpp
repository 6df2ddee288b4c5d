// The five 32-bit deliverables as files: what the loader, the Authorware host and Director
// see of them before any of their code runs. Read from the 32-bit build's folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pe_image.h"
#include "system_services/host/description_format.h"
#include "system_services/host/export_table.h"

#ifndef KELMORA_WIN32_BUILD_DIR
#error "KELMORA_WIN32_BUILD_DIR names the 32-bit build folder"
#endif

using namespace std::string_literals;

namespace {

constexpr const char* kRXSystem = "system_services/RXSystem.dll";
constexpr const char* kLmint = "cmi_xtra/LMINT.x32";

std::filesystem::path BuiltFile(const std::string& relative) {
  return std::filesystem::path(KELMORA_WIN32_BUILD_DIR) / relative;
}

std::string Hex(unsigned v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%X", v);
  return b;
}

std::string Lower(std::string_view s) {
  std::string l(s);
  for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return l;
}

// The file's bytes, or a failure saying how to get it.
std::optional<std::vector<std::uint8_t>> BuiltBytes(const std::string& relative) {
  const std::filesystem::path path = BuiltFile(relative);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    ADD_FAILURE() << path.string() << " is missing: build the 32-bit build first (bash scripts/build.sh)";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    ADD_FAILURE() << "cannot read " << path.string();
    return std::nullopt;
  }
  return bytes;
}

// `read` on the image, or a failure naming the file and what the reader found wrong.
template <class Read>
auto Checked(const std::string& relative, Read read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const pe::PeError& e) {
    ADD_FAILURE() << BuiltFile(relative).string() << " is no sound image: " << e.what();
    return std::nullopt;
  }
}

std::optional<pe::Image> LoadImage(const std::string& relative) {
  std::optional<std::vector<std::uint8_t>> bytes = BuiltBytes(relative);
  if (!bytes) return std::nullopt;
  return Checked(relative, [&] { return pe::Image(std::move(*bytes)); });
}

std::string Joined(const std::vector<std::string>& items) {
  std::string j;
  for (const std::string& i : items) j += (j.empty() ? "" : ", ") + i;
  return j;
}

struct Deliverable {
  const char* path;
  bool library;
  const char* testName;
};

void PrintTo(const Deliverable& d, std::ostream* os) { *os << d.path; }

constexpr Deliverable kDeliverables[] = {
    {"wave_experiment/Kelmora2.exe", false, "Kelmora2_exe"},
    {"sound_experiment/Kelmora4.exe", false, "Kelmora4_exe"},
    {"viewer/veru.exe", false, "veru_exe"},
    {kRXSystem, true, "RXSystem_dll"},
    {kLmint, true, "LMINT_x32"},
};

// What every Windows the courseware runs on has: the deliverables must run from a CD on a
// bare machine, with no runtime of their own beside them.
bool IsSystemLibrary(std::string_view dll) {
  static const std::set<std::string> kSystem = {
      "kernel32", "user32", "gdi32", "comctl32", "comdlg32", "advapi32", "shell32", "ole32", "oleaut32",
      "version", "mpr", "msvcrt", "shlwapi", "winmm", "psapi",
      // The forms' gradients and transparent glyphs; part of Windows since 98.
      "msimg32"};
  std::string name = Lower(dll);
  if (name.ends_with(".dll")) name.resize(name.size() - 4);
  return name.starts_with("api-ms-win-") || kSystem.count(name) > 0;
}

class DeliverableImage : public testing::TestWithParam<Deliverable> {};

TEST_P(DeliverableImage, IsA32BitImageOfItsKind) {
  const Deliverable& d = GetParam();
  std::optional<pe::Image> image = LoadImage(d.path);
  if (!image) return;
  EXPECT_EQ(image->magic(), pe::kMagicPe32) << "optional header magic " << Hex(image->magic());
  EXPECT_EQ(image->machine(), pe::kMachineI386) << "machine " << Hex(image->machine());
  const bool dll = (image->characteristics() & pe::kCharacteristicDll) != 0;
  EXPECT_EQ(dll, d.library) << "characteristics " << Hex(image->characteristics());
  // A library's subsystem means nothing to its host; a program's decides whether a console opens.
  if (!d.library) {
    EXPECT_EQ(image->subsystem(), pe::kSubsystemWindowsGui) << "subsystem " << image->subsystem();
  }
}

TEST_P(DeliverableImage, ImportsOnlyFromSystemLibraries) {
  const Deliverable& d = GetParam();
  std::optional<pe::Image> image = LoadImage(d.path);
  if (!image) return;
  std::optional<std::vector<pe::Import>> imports = Checked(d.path, [&] { return image->Imports(); });
  if (!imports) return;
  bool kernel = false;
  for (const pe::Import& im : *imports) {
    kernel = kernel || Lower(im.dll) == "kernel32.dll";
    if (!IsSystemLibrary(im.dll))
      ADD_FAILURE() << d.path << (im.delayed ? " delay-loads " : " imports ") << "from " << im.dll
                    << ", no system library: " << Joined(im.functions);
  }
  // Every image here calls the kernel; without it the table read was not the import table.
  EXPECT_TRUE(kernel) << d.path << ": no import from KERNEL32.dll among " << imports->size() << " libraries";
}

INSTANTIATE_TEST_SUITE_P(Deliverables, DeliverableImage, testing::ValuesIn(kDeliverables),
                         [](const testing::TestParamInfo<Deliverable>& i) {
                           return std::string(i.param.testName);
                         });

// The named exports against `expected`, each way, with every surplus and shortfall named.
void ExpectExactlyExported(const std::string& relative, const std::set<std::string>& expected) {
  std::optional<pe::Image> image = LoadImage(relative);
  if (!image) return;
  std::optional<std::vector<pe::Export>> exports = Checked(relative, [&] { return image->Exports(); });
  if (!exports) return;
  std::set<std::string> exported;
  for (const pe::Export& e : *exports) {
    if (!exported.insert(e.name).second) ADD_FAILURE() << relative << " exports " << e.name << " twice";
    if (e.forwarded) ADD_FAILURE() << relative << " forwards " << e.name << " to another library";
  }
  for (const std::string& n : expected)
    if (!exported.count(n)) ADD_FAILURE() << relative << " does not export " << n;
  for (const std::string& n : exported)
    if (!expected.count(n)) ADD_FAILURE() << relative << " exports " << n << ", which it is not meant to";
}

TEST(RXSystemImage, ExportsExactlyWhatTheTablesName) {
  std::set<std::string> expected;
  for (const rxsystem::ExportRow& row : rxsystem::ExportTable()) expected.emplace(row.name);
  for (const rxsystem::ProcedureRow& p : rxsystem::ProcedureTable())
    expected.insert(p.decoratedExport
                        ? "_" + rxsystem::DecoratedName(p.name, rxsystem::kProcedureArgumentBytes)
                        : std::string(p.name));
  ExpectExactlyExported(kRXSystem, expected);

  // The host looks the functions up by these plain names, the platform the procedures by these.
  EXPECT_EQ(rxsystem::ExportTable().size(), 102u);
  EXPECT_EQ(expected.size(), 107u);
  for (const char* name : {"SysCopyFile", "SysAppFind", "SysWriteVariables", "PromptDlgProc", "ListDlgProc",
                           "_DirDialogProc@16", "_NewDirDialogProc@16", "_ListProc@16"})
    EXPECT_TRUE(expected.count(name)) << name;
  for (const char* name : {"_SysCopyFile@12", "SysCopyFile@12", "DirDialogProc", "_PromptDlgProc@16"})
    EXPECT_FALSE(expected.count(name)) << name;
}

TEST(LmintImage, ExportsTheXtraEntryPointsUndecorated) {
  ExpectExactlyExported(kLmint, {"DllGetClassForm", "DllGetClassInfo", "DllGetClassObject", "DllGetInterface",
                                 "DllCanUnloadNow"});
}

TEST(RXSystemImage, DescriptionResourcesHoldTheTablesBytes) {
  std::optional<pe::Image> image = LoadImage(kRXSystem);
  if (!image) return;
  std::optional<std::vector<pe::Resource>> resources = Checked(kRXSystem, [&] { return image->Resources(); });
  if (!resources) return;

  std::map<std::string, std::string> descriptions;  // by resource name, "#1" for the index
  for (const pe::Resource& r : *resources) {
    if (!r.type.named || r.type.name != "DLL_HEADER") continue;
    // US English: the one language the host asks for.
    EXPECT_EQ(r.language, 0x409u) << r.name.Text();
    if (!descriptions.emplace(r.name.Text(), r.bytes).second)
      ADD_FAILURE() << "DLL_HEADER " << r.name.Text() << " is there twice";
  }
  auto bytesOf = [&](const std::string& name) -> std::optional<std::string> {
    auto it = descriptions.find(name);
    if (it == descriptions.end()) {
      ADD_FAILURE() << "RXSystem.dll has no DLL_HEADER resource " << name;
      return std::nullopt;
    }
    return it->second;
  };

  std::vector<std::string_view> names;
  std::set<std::string> wanted = {"#1"};
  for (const rxsystem::ExportRow& row : rxsystem::ExportTable()) {
    names.push_back(row.name);
    const std::string resource = rxsystem::ResourceName(row.name);
    wanted.insert(resource);
    if (std::optional<std::string> bytes = bytesOf(resource)) {
      EXPECT_EQ(*bytes, rxsystem::DescriptionBytes(row)) << resource;
    }
  }
  for (const auto& [name, bytes] : descriptions)
    if (!wanted.count(name)) ADD_FAILURE() << "DLL_HEADER " << name << " describes no row of the table";

  if (std::optional<std::string> index = bytesOf("#1")) {
    EXPECT_EQ(*index, rxsystem::IndexBytes(names));
    EXPECT_TRUE(index->starts_with("SysAppFind\0SysAppOpen\0SysAppPrint\0"s)) << *index;
    EXPECT_NE(index->find("\0SysIsWindowMinimized\0SysIsWindowMaximized\0"s), std::string::npos);
    EXPECT_TRUE(index->ends_with("\0SysWriteValue\0SysWriteVariables\0\0"s));
  }
  if (std::optional<std::string> drives = bytesOf("SYSGETDRIVETYPE")) {
    EXPECT_EQ(*drives,
              "\0S\0AS\0Type:= SysGetDriveType( DriveName )\r\n"
              "(types: fixed, removable, cdrom, remote, ramdisk, error)\0"s);
  }
  if (std::optional<std::string> copy = bytesOf("SYSCOPYFILE")) {
    EXPECT_EQ(*copy, "\0I\0ASS\0SysCopyFile( SourceFileName, DestFileName )\0"s);
  }
  EXPECT_EQ(descriptions.size(), 103u);
}

// The reader on damaged copies of the library: each must be turned down with its reason, and
// under the sanitizers no damage may make it read outside the bytes.
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint64_t at, std::uint16_t v) {
  b.at(at) = static_cast<std::uint8_t>(v);
  b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::uint64_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v));
  Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
std::uint64_t PeHeader(const Bytes& b) {
  return b.at(0x3C) | b.at(0x3D) << 8 | b.at(0x3E) << 16 | std::uint64_t{b.at(0x3F)} << 24;
}
std::uint64_t OptionalHeader(const Bytes& b) { return PeHeader(b) + 24; }

struct Damage {
  const char* name;
  void (*apply)(Bytes& bytes, const pe::Image& intact);
  const char* reason;  // part of the reader's message
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

const Damage kDamages[] = {
    {"CutInsideTheDosHeader", [](Bytes& b, const pe::Image&) { b.resize(0x30); },
     "reach beyond the end of the file"},
    {"CutInsideTheSectionTable",
     [](Bytes& b, const pe::Image&) {
       b.resize(OptionalHeader(b) + (b[PeHeader(b) + 20] | b[PeHeader(b) + 21] << 8) + 60);
     },
     "the section table"},
    {"CutToHalf", [](Bytes& b, const pe::Image&) { b.resize(b.size() / 2); },
     "reach beyond the end of the file"},
    {"PeHeaderPastTheEnd", [](Bytes& b, const pe::Image&) { Put32(b, 0x3C, 0xFFFFFFF0u); },
     "reach beyond the end of the file"},
    {"NoPeSignature", [](Bytes& b, const pe::Image&) { b.at(PeHeader(b)) = 'X'; }, "no PE signature"},
    {"UnknownOptionalHeaderMagic", [](Bytes& b, const pe::Image&) { Put16(b, OptionalHeader(b), 0x107); },
     "unknown optional header magic 0x107"},
    {"MoreDirectoriesThanTheHeaderHolds",
     [](Bytes& b, const pe::Image&) { Put32(b, OptionalHeader(b) + 92, 0x10000); }, "has room for 16"},
    {"ImportsInNoSection",
     [](Bytes& b, const pe::Image&) {
       Put32(b, OptionalHeader(b) + 96 + 8 * pe::kImportDirectory, 0x7FFFFFF0u);
     },
     "lies in no section's file data"},
    {"MoreExportNamesThanTheSectionHolds",
     [](Bytes& b, const pe::Image& intact) {
       const pe::DataDirectory d = intact.Directory(pe::kExportDirectory);
       Put32(b, intact.FileOffset(d.rva, 40, "") + 24, 0x40000000u);
     },
     "run past the end of their section's file data"},
    {"ExportOrdinalOutOfRange",
     [](Bytes& b, const pe::Image& intact) {
       const std::uint64_t dir = intact.FileOffset(intact.Directory(pe::kExportDirectory).rva, 40, "");
       const std::uint32_t ordinals = b[dir + 36] | b[dir + 37] << 8 | b[dir + 38] << 16 | b[dir + 39] << 24;
       Put16(b, intact.FileOffset(ordinals, 2, ""), 0xFFFF);
     },
     "ordinal index 65535"},
    {"ResourceTreeLoopsBackToItsRoot",
     [](Bytes& b, const pe::Image& intact) {
       const std::uint64_t root = intact.FileOffset(intact.Directory(pe::kResourceDirectory).rva, 24, "");
       Put32(b, root + 20, 0x80000000u);  // the first type's subdirectory: the root again
     },
     "reached twice"},
};

class DamagedImage : public testing::TestWithParam<Damage> {};

TEST_P(DamagedImage, IsTurnedDownWithItsReason) {
  static const std::optional<std::vector<std::uint8_t>> original = BuiltBytes(kRXSystem);
  if (!original) {
    ADD_FAILURE() << "the intact library is needed to damage";
    return;
  }
  std::optional<pe::Image> intact = Checked(kRXSystem, [&] { return pe::Image(*original); });
  if (!intact) return;
  Bytes bytes = *original;
  GetParam().apply(bytes, *intact);
  try {
    pe::Image damaged(bytes);
    damaged.Imports();
    damaged.Exports();
    damaged.Resources();
    ADD_FAILURE() << "the damaged image was read as sound";
  } catch (const pe::PeError& e) {
    EXPECT_THAT(e.what(), testing::HasSubstr(GetParam().reason));
  }
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedImage, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& i) { return std::string(i.param.name); });

}  // namespace
