// RXSystem.dll under the stand-in Authorware host: what the host reads from it, what it
// exports and imports, and how its failures reach the author, as a box or in TLLastError.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "box_catcher.h"
#include "hide_errors_cases.h"
#include "library_under_host.h"
#include "rxsystem_export_fixture.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using rxsystem_tests::LibraryPath;

namespace {

std::span<const unsigned char> B(std::string_view s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

class Library : public rxsystem_tests::LibraryUnderHost {
 protected:
  testing_support::ScratchFolder scratch{"rxdll"};
};

TEST_F(Library, DescriptionsAreWhatTheExportTableSays) {
  for (const std::string& p : host.Problems()) ADD_FAILURE() << p;

  // Every row of the table is built: exported under its plain name and described.
  std::vector<std::string> expectedIndex;
  for (const auto& d : rxsystem_fixture::kDescriptions) {
    SCOPED_TRACE(std::string(d.name));
    expectedIndex.emplace_back(d.name);
    EXPECT_NE(FindResourceExA(host.Module(), "DLL_HEADER", std::string(d.resourceName).c_str(),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              nullptr);
    EXPECT_NE(GetProcAddress(host.Module(), std::string(d.name).c_str()), nullptr);
    auto it = host.Descriptions().find(std::string(d.name));
    ASSERT_NE(it, host.Descriptions().end());
    EXPECT_EQ(it->second.bytes, d.bytes);
  }
  EXPECT_EQ(host.IndexNames(), expectedIndex);
  EXPECT_EQ(expectedIndex.size(), 102u);
}

TEST_F(Library, AllHundredAndTwoDescriptionsPassTheHostsChecks) {
  std::vector<std::string> names;
  for (const auto& d : rxsystem_fixture::kDescriptions) {
    SCOPED_TRACE(std::string(d.name));
    names.emplace_back(d.name);
    std::string why;
    auto parsed = ParseDescription(B(d.bytes), &why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->result, std::string(1, d.result));
    EXPECT_EQ(parsed->arguments, d.arguments);
    for (const std::string& p : CheckDescription(d.name, *parsed)) ADD_FAILURE() << p;
  }
  EXPECT_EQ(names.size(), 102u);
  for (const std::string& p : CheckIndex(names)) ADD_FAILURE() << p;
}

TEST_F(Library, ExportsExactlyThePlainNamesAndImportsOnlySystemLibraries) {
  std::set<std::string> expected;
  for (const auto& d : rxsystem_fixture::kDescriptions) expected.emplace(d.name);
  for (const auto& p : rxsystem_fixture::kProcedures) expected.emplace(p.exportName);
  std::vector<std::string> names = ExportedNames(host.Module());
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
  EXPECT_EQ(names.size(), expected.size());

  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",    "advapi32.dll",
                                        "shell32.dll",  "ole32.dll",  "comdlg32.dll", "version.dll",
                                        "mpr.dll",      "msvcrt.dll"};
  for (const std::string& m : ImportedModules(host.Module()))
    EXPECT_TRUE(system.count(Lower(m))) << m << " is not a library of the system";
}

// Without the build's copy loaded first, so that the one from the empty directory is used.
TEST(LibraryAlone, LoadsFromADirectoryWithNothingElseInIt) {
  const testing_support::ScratchFolder folder{"rxdll"};
  const std::string dir = folder.Path();
  const std::wstring copy = folder.File(L"RXSystem.dll");
  ASSERT_TRUE(CopyFileW(LibraryPath().c_str(), copy.c_str(), FALSE));
  {
    StandInHost alone;
    EXPECT_TRUE(alone.Load(copy));
    EXPECT_TRUE(alone.Problems().empty());
    wchar_t loaded[MAX_PATH];
    GetModuleFileNameW(alone.Module(), loaded, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(loaded, copy.c_str()), 0);
    alone.variables.Set("TLHideErrors", 1);
    BoxCatcher catcher;
    EXPECT_EQ(alone.Call<int32_t>("SysDeleteFile", (dir + "\\missing").c_str()), -1);
    EXPECT_TRUE(catcher.Stop().empty());
    EXPECT_EQ(alone.variables.Text("TLLastError"), "Error deleting file \"" + dir + "\\missing\".")
        << "the library works from there, string table included";
  }
}

TEST_F(Library, TheTypedHelperRefusesOtherLetters) {
  EXPECT_THROW(host.Call<int32_t>("SysDeleteFile", int32_t{1}), std::logic_error);
  EXPECT_THROW(host.Call<HostString>("SysDeleteFile", "x"), std::logic_error);
  EXPECT_THROW(host.Call<int32_t>("SysNoSuchFunction"), std::logic_error);
}

TEST_F(Library, FailuresReachTheAuthorAsTheHostAsks) {
  const std::string missing = scratch.File("missing.txt");
  const std::string expected = "Error deleting file \"" + missing + "\".";
  for (const rxsystem_tests::HideErrorsCase& c : rxsystem_tests::kHideErrorsCases) {
    SCOPED_TRACE(c.what);
    rxsystem_tests::PrepareHost(c, host.variables, host.window);
    HostContext record = host.context;
    if (c.host == rxsystem_tests::SwitchHost::NoWindow) record.HostWindow = nullptr;

    BoxCatcher catcher;
    // Other programs on the display may take the activation; the box goes to whichever
    // window of this thread is active when it is shown.
    HWND active = GetActiveWindow();
    int32_t result = host.CallWith<int32_t>(&record, "SysDeleteFile", missing.c_str());
    std::vector<SeenBox> seen = catcher.Stop();

    EXPECT_EQ(result, -1);
    if (c.boxShown) {
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");
      EXPECT_EQ(seen[0].text, std::wstring(expected.begin(), expected.end()));
      EXPECT_EQ(seen[0].buttons, std::vector<std::wstring>{L"OK"});
      EXPECT_EQ(seen[0].icon, LoadIcon(nullptr, IDI_HAND));
      EXPECT_EQ(seen[0].owner, active) << "owned by the window active at the call";
      EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
    } else {
      EXPECT_TRUE(seen.empty());
      EXPECT_EQ(host.variables.Text("TLLastError"), expected);
    }
  }
}

TEST_F(Library, HiddenErrorsKeepTheMessageCutAtItsBuffer) {
  host.variables.Set("TLHideErrors", 1);
  std::string longName = "C:\\" + std::string(1000, 'n');
  BoxCatcher catcher;
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFile", longName.c_str()), -1);
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFile", ""), -1);
  EXPECT_TRUE(catcher.Stop().empty());

  ASSERT_EQ(host.window.traffic.size(), 4u);
  const HostMessage& cut = host.window.traffic[1];
  EXPECT_EQ(cut.message, kSetVariable);
  EXPECT_EQ(cut.name, "TLLastError");
  ASSERT_TRUE(std::holds_alternative<std::string>(cut.value));
  EXPECT_EQ(std::get<std::string>(cut.value), ("Error deleting file \"" + longName).substr(0, 403));
  EXPECT_EQ(host.variables.Text("TLLastError"), "Missing or invalid parameter passed to function.");
}

TEST_F(Library, ANullRecordFailsWithABox) {
  host.variables.Set("TLHideErrors", 1);
  BoxCatcher catcher;
  EXPECT_EQ(host.CallWith<int32_t>(nullptr, "SysDeleteFile", "x"), -1);
  HostString s = host.CallWith<HostString>(nullptr, "SysGetTempDir");
  std::vector<SeenBox> seen = catcher.Stop();
  EXPECT_FALSE(s.present);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, L"Missing or invalid parameter passed to function.");
  EXPECT_TRUE(host.window.traffic.empty());
}

TEST_F(Library, DeletesAFile) {
  std::string path = scratch.File("delete.txt");
  CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFile", path.c_str()), 0);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(host.window.traffic.empty());
}

TEST_F(Library, StringResultsAreUnlockedMovableBlocksTheHostFrees) {
  char saved[MAX_PATH] = "";
  DWORD had = GetEnvironmentVariableA("TMP", saved, MAX_PATH);
  struct Case {
    const char* tmp;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\", "C:\\"},
      {"C:\\windows\\", "C:\\windows"},
      {"C:\\windows\\temp", "C:\\windows\\temp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tmp);
    SetEnvironmentVariableA("TMP", c.tmp);
    HostString s = host.Call<HostString>("SysGetTempDir");
    ASSERT_TRUE(s.present);
    EXPECT_EQ(s.text, c.expected);
    EXPECT_TRUE(s.movable);
    EXPECT_EQ(s.lockCount, 0u);
    EXPECT_TRUE(s.terminated);
    EXPECT_EQ(s.blockSize, 261u);
    EXPECT_TRUE(s.freed);
  }
  SetEnvironmentVariableA("TMP", had ? saved : nullptr);
}

TEST_F(Library, DisableErrorsSetsTheProcessErrorMode) {
  UINT before = GetErrorMode();
  host.Call<void>("SysDisableErrors", int32_t{1});
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  host.Call<void>("SysDisableErrors", int32_t{0});
  EXPECT_EQ(GetErrorMode(), 0u);
  SetErrorMode(before);
}

}  // namespace
