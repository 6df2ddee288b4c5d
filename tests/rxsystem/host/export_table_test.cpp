// The export table against the host's rules, and what the build generates from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "description_check.h"
#include "system_services/host/description_format.h"
#include "system_services/host/export_table.h"
#include "system_services/host/message_table.h"

using namespace rxsystem;

namespace {

std::span<const unsigned char> B(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

TEST(ExportTable, EveryRowPassesTheHostsChecks) {
  std::vector<std::string> names;
  for (const ExportRow& row : ExportTable()) {
    SCOPED_TRACE(std::string(row.name));
    names.emplace_back(row.name);
    std::string why;
    auto d = authorware_host::ParseDescription(B(DescriptionBytes(row)), &why);
    ASSERT_TRUE(d) << why;
    for (const std::string& p : authorware_host::CheckDescription(row.name, *d)) ADD_FAILURE() << p;
  }
  EXPECT_EQ(names.size(), 102u);
  for (const std::string& p : authorware_host::CheckIndex(names)) ADD_FAILURE() << p;
}

TEST(ExportTable, ProceduresAreNoDescribedExports) {
  std::set<std::string_view> described;
  for (const ExportRow& row : ExportTable()) described.insert(row.name);
  int decorated = 0;
  for (const ProcedureRow& p : ProcedureTable()) {
    EXPECT_FALSE(described.count(p.name)) << p.name;
    decorated += p.decoratedExport;
  }
  EXPECT_EQ(ProcedureTable().size(), 5u);
  EXPECT_EQ(decorated, 3);
}

TEST(DescriptionFormat, ResourceBytesAndNames) {
  const ExportRow& help = *std::find_if(ExportTable().begin(), ExportTable().end(),
                                        [](const ExportRow& r) { return r.name == "SysHelp"; });
  std::string bytes = DescriptionBytes(help);
  using namespace std::string_literals;
  EXPECT_EQ(bytes.substr(0, 8), "\0I\0ASSS\0"s);
  EXPECT_NE(bytes.find("\r\ntopic \"topic\"\r\nmacro \"macro\"\r\n"), std::string::npos);
  EXPECT_EQ(bytes.back(), '\0');
  EXPECT_EQ(ResourceName("SysCopyFile"), "SYSCOPYFILE");
  std::string_view two[] = {"SysA", "SysB"};
  EXPECT_EQ(IndexBytes(two), "SysA\0SysB\0\0"s);
  EXPECT_EQ(IndexBytes({}), "\0"s);
}

TEST(DescriptionFormat, PresenceFromTheObjectSymbols) {
  std::set<std::string> symbols = SymbolNames(
      "\nbuild/host_interface.cpp.obj:\n00000a40 T _SysDisableErrors@8\n"
      "00000000 T _SysCopyFile@8\r\n00000010 T _SysGetTempDir\n00000020 T _PromptDlgProc@16\n"
      "00000030 T _DirDialogProc@16\n");
  EXPECT_EQ(PresenceOf("SysDisableErrors", 8, symbols), Presence::Matching);
  EXPECT_EQ(PresenceOf("SysCopyFile", 12, symbols), Presence::Mismatched);
  EXPECT_EQ(PresenceOf("SysGetTempDir", 4, symbols), Presence::Mismatched);
  EXPECT_EQ(PresenceOf("SysCopy", 12, symbols), Presence::Absent);
  EXPECT_EQ(PresenceOf("SysCopyFiles", 24, symbols), Presence::Absent);

  // A row without its function, or with other arguments, is a problem that names the row.
  std::vector<std::string> problems = ExportProblems(symbols);
  auto named = [&](std::string_view what) {
    return std::count_if(problems.begin(), problems.end(),
                         [&](const std::string& p) { return p.starts_with(std::string(what) + " "); });
  };
  EXPECT_EQ(named("SysDisableErrors"), 0);
  EXPECT_EQ(named("PromptDlgProc"), 0);
  EXPECT_EQ(named("SysCopyFile"), 1);
  EXPECT_EQ(named("SysCopyFiles"), 1);
  EXPECT_EQ(named("ListProc"), 1);
  EXPECT_NE(std::find(problems.begin(), problems.end(),
                      "SysCopyFile is not defined as a standard call of 12 argument bytes (letters ASS)"),
            problems.end());
  EXPECT_EQ(problems.size(), ExportTable().size() + ProcedureTable().size() - 3);
}

TEST(DescriptionFormat, EveryRowOfTheTablesIsBuilt) {
  std::string listing;
  for (const ExportRow& row : ExportTable())
    listing += "00000000 T _" + DecoratedName(row.name, ArgumentBytes(row)) + "\n";
  for (const ProcedureRow& p : ProcedureTable())
    listing += "00000000 T _" + DecoratedName(p.name, kProcedureArgumentBytes) + "\n";
  std::set<std::string> symbols = SymbolNames(listing);
  EXPECT_TRUE(ExportProblems(symbols).empty());
  std::string dropped = "_" + DecoratedName(ExportTable()[7].name, ArgumentBytes(ExportTable()[7]));
  symbols.erase(dropped);
  std::vector<std::string> problems = ExportProblems(symbols);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            std::string(ExportTable()[7].name) + " has a row in the export table but no function");

  std::string def = DefFileText();
  for (const ExportRow& row : ExportTable()) {
    std::string line =
        "  " + std::string(row.name) + "=" + DecoratedName(row.name, ArgumentBytes(row)) + "\n";
    EXPECT_NE(def.find(line), std::string::npos) << line;
  }
  EXPECT_NE(def.find("  SysCopyFile=SysCopyFile@12\n"), std::string::npos) << def;
  EXPECT_NE(def.find("  SysDisableErrors=SysDisableErrors@8\n"), std::string::npos);
  EXPECT_NE(def.find("  PromptDlgProc=PromptDlgProc@16\n"), std::string::npos);
  EXPECT_NE(def.find("  _DirDialogProc@16=DirDialogProc@16\n"), std::string::npos);

  std::string rc = DescriptionsRcText("/gen");
  EXPECT_NE(rc.find("1 DLL_HEADER \"/gen/index.bin\"\n"), std::string::npos) << rc;
  EXPECT_NE(rc.find("SYSCOPYFILE DLL_HEADER \"/gen/SYSCOPYFILE.bin\"\n"), std::string::npos);
  EXPECT_NE(rc.find("LANGUAGE 9, 1\n"), std::string::npos);
  EXPECT_EQ(rc.find("PROMPTDLGPROC"), std::string::npos);
  for (const ExportRow& row : ExportTable()) {
    std::string line = ResourceName(row.name) + " DLL_HEADER \"/gen/" + ResourceName(row.name) + ".bin\"\n";
    EXPECT_NE(rc.find(line), std::string::npos) << line;
  }
}

// A 64-bit build's objects name their functions plainly: only a missing function shows, and
// the .def keeps the exported names of the 32-bit build, mapped to the plain symbols.
TEST(DescriptionFormat, PlainSymbolsOfA64BitBuild) {
  constexpr auto plain = SymbolConvention::Plain64;
  std::set<std::string> symbols = SymbolNames(
      "0000000000000a40 T SysDisableErrors\n0000000000000000 T _SysCopyFile@12\n"
      "0000000000000010 T DirDialogProc\n");
  EXPECT_EQ(PresenceOf("SysDisableErrors", 8, symbols, plain), Presence::Matching);
  EXPECT_EQ(PresenceOf("SysDisableErrors", 12, symbols, plain), Presence::Matching);
  EXPECT_EQ(PresenceOf("SysCopyFile", 12, symbols, plain), Presence::Absent);
  EXPECT_EQ(PresenceOf("DirDialogProc", 16, symbols, plain), Presence::Matching);

  std::string listing;
  for (const ExportRow& row : ExportTable()) listing += "0000000000000000 T " + std::string(row.name) + "\n";
  for (const ProcedureRow& p : ProcedureTable())
    listing += "0000000000000000 T " + std::string(p.name) + "\n";
  std::set<std::string> all = SymbolNames(listing);
  EXPECT_TRUE(ExportProblems(all, plain).empty());
  EXPECT_EQ(ExportProblems(all).size(), ExportTable().size() + ProcedureTable().size());
  all.erase("SysCopyFile");
  std::vector<std::string> problems = ExportProblems(all, plain);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "SysCopyFile has a row in the export table but no function");

  std::string def = DefFileText(plain);
  EXPECT_NE(def.find("  SysCopyFile=SysCopyFile\n"), std::string::npos) << def;
  EXPECT_NE(def.find("  PromptDlgProc=PromptDlgProc\n"), std::string::npos);
  EXPECT_NE(def.find("  _DirDialogProc@16=DirDialogProc\n"), std::string::npos);
  for (const ProcedureRow& p : ProcedureTable())
    EXPECT_EQ(def.find("=" + std::string(p.name) + "@"), std::string::npos)
        << p.name << " mapped to a decorated symbol";
}

TEST(DescriptionFormat, QuotingForTheResourceScriptAndTheFixture) {
  EXPECT_EQ(RcQuoted("Error \"%s\"."), "\"Error \"\"%s\"\".\"");
  EXPECT_EQ(RcQuoted("a\\b\r\n\xE9"), "\"a\\134b\\015\\012\\351\"");
  using namespace std::string_literals;
  EXPECT_EQ(CppQuoted("\0I\0\"x\\"s), "\"\\000I\\000\\042x\\134\"");
  std::string table = StringTableRcText(MessageTable());
  EXPECT_NE(table.find("  58, \"Error deleting file \"\"%s\"\".\"\n"), std::string::npos);
  EXPECT_NE(table.find("  1, \"RXSystem UCD Error\"\n"), std::string::npos);
}

TEST(MessageTable, AscendingIdsAndTheTextsTheFamiliesCite) {
  int previous = 0;
  for (const MessageText& m : MessageTable()) {
    EXPECT_GT(m.id, previous);
    previous = m.id;
  }
  EXPECT_EQ(MessageTable().size(), 59u);
  EXPECT_EQ(*MessageById(kErrorCaption), "RXSystem UCD Error");
  EXPECT_EQ(*MessageById(kFileNotFound), *MessageById(kShellFileNotFound));
  EXPECT_FALSE(MessageById(3));
  EXPECT_FALSE(MessageById(97));
}

}  // namespace
