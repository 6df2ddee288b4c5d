// The value family under the stand-in host: registry texts under a key of the test's own in
// HKEY_CURRENT_USER, INI values in a folder of its own and in WIN.INI, and host variables
// saved to and loaded from INI sections through the host's variable messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_catcher.h"
#include "file_bytes.h"
#include "library_under_host.h"
#include "registry_keys.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using namespace rxsystem_tests;
using testing_support::PathExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

namespace {

const char kHidden[] = "TLHideErrors";

class Values : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    DeleteKeyTree(HKEY_CURRENT_USER, testKey);
  }
  void TearDown() override {
    DeleteKeyTree(HKEY_CURRENT_USER, testKey);
    LibraryUnderHost::TearDown();
  }
  // The failures of the calls go to TLLastError; no box may come up.
  void HideErrors() { host.variables.Set(kHidden, 1); }
  std::string LastError() { return host.variables.Text("TLLastError").value_or("(none)"); }
  // The host-variable traffic without the reporter's look-ups of the switch.
  std::vector<std::string> VariableTraffic() {
    std::vector<std::string> seen;
    for (const HostMessage& m : host.window.traffic) {
      if (m.name == kHidden || m.name == "TLLastError") continue;
      std::string v = std::holds_alternative<std::string>(m.value) ? std::get<std::string>(m.value) : "#";
      seen.push_back(std::string(m.message == kGetVariable ? "get " : "set ") + m.name +
                     (m.isNumber ? " (number)" : "") + (m.answer ? " failed" : "=" + v));
    }
    return seen;
  }

  const std::string testKey = "Software\\RxSystemTest" + std::to_string(GetCurrentProcessId());
  testing_support::ScratchFolder folder{"rxvalues"};
};

TEST_F(Values, RegistryTextsComeBackAsStoredWithANul) {
  const std::string key = testKey + "\\Demo";
  EXPECT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{1}, key.c_str(), "Name", "abc"), 0);
  RegistryText stored = ReadRegistry(HKEY_CURRENT_USER, key, "Name");
  ASSERT_TRUE(stored.found) << "the key was created";
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
  // The write passes the text's length without its NUL; the platform itself counts in the
  // NUL that follows the text, as NT does.
  EXPECT_EQ(Text(stored), "abc");

  HostString read = host.Call<HostString>("SysReadRegistry", int32_t{1}, key.c_str(), "Name");
  ASSERT_TRUE(read.present);
  EXPECT_EQ(read.text, "abc");
  EXPECT_EQ(read.blockSize, stored.bytes.size() + 1) << "the stored data and one NUL";
  EXPECT_TRUE(read.movable);
  EXPECT_EQ(read.lockCount, 0u);

  // The key's default value, absent SubKey on both sides; a second write replaces the text.
  EXPECT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{1}, key.c_str(), nullptr, "first"), 0);
  EXPECT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{1}, key.c_str(), nullptr, "def"), 0);
  EXPECT_EQ(host.Call<HostString>("SysReadRegistry", int32_t{1}, key.c_str(), nullptr).text, "def");
  // A missing Value stores the empty text.
  EXPECT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{1}, key.c_str(), "Empty", nullptr), 0);
  HostString empty = host.Call<HostString>("SysReadRegistry", int32_t{1}, key.c_str(), "Empty");
  EXPECT_TRUE(empty.present);
  EXPECT_EQ(empty.text, "");

  // Whatever the type, the raw bytes and a NUL.
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened), ERROR_SUCCESS);
  DWORD number = 0x00434241;
  RegSetValueExA(opened, "Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
  RegCloseKey(opened);
  HostString raw = host.Call<HostString>("SysReadRegistry", int32_t{1}, key.c_str(), "Number");
  EXPECT_EQ(raw.text, "ABC");
  EXPECT_EQ(raw.blockSize, 5u);
  EXPECT_TRUE(host.window.traffic.empty()) << "no failure, no look-up of the switch";
}

TEST_F(Values, RegistryFailuresNameWhatEachExportNames) {
  const std::string key = testKey + "\\Demo";
  ASSERT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{1}, key.c_str(), "Name", "abc"), 0);
  const std::string missingKey = testKey + "\\Missing";
  HideErrors();
  struct Case {
    const char* mainKey;
    const char* subKey;
    std::string expected;
  };
  const Case reads[] = {
      {missingKey.c_str(), "Name", "Error opening key \"" + missingKey + "\"."},
      {key.c_str(), "Nothing", "Error getting value of key \"" + key + "\"."},
      {key.c_str(), "", "Error getting value of key \"" + key + "\"."},  // empty is not absent
      {key.c_str(), nullptr, "Error getting key value."},
  };
  for (size_t i = 0; i < std::size(reads); ++i) {
    SCOPED_TRACE("read row " + std::to_string(i));
    host.variables.Erase("TLLastError");
    HostString r = host.Call<HostString>("SysReadRegistry", int32_t{1}, reads[i].mainKey, reads[i].subKey);
    EXPECT_FALSE(r.present);
    EXPECT_EQ(LastError(), reads[i].expected);
  }
  EXPECT_FALSE(ReadRegistry(HKEY_CURRENT_USER, missingKey, nullptr).found) << "reading creates nothing";

  host.variables.Erase("TLLastError");
  EXPECT_EQ(host.Call<int32_t>("SysWriteRegistry", int32_t{5}, key.c_str(), "Name", "x"), -1);
  EXPECT_EQ(LastError(), "Invalid root key specification.");

  // The read's invalid root shows its own plain box whatever the host's switch says.
  BoxCatcher boxes;
  HostString r = host.Call<HostString>("SysReadRegistry", int32_t{-1}, key.c_str(), "Name");
  std::vector<SeenBox> seen = boxes.Stop();
  EXPECT_FALSE(r.present);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Error");
  EXPECT_EQ(seen[0].text, L"Invalid key");
}

TEST_F(Values, ProfileValuesGoToTheNamedFile) {
  const std::string ini = folder.File("values.ini");
  EXPECT_EQ(host.Call<int32_t>("SysWriteValue", ini.c_str(), "Lesson", "Score", "17"), 0);
  EXPECT_EQ(host.Call<int32_t>("SysWriteValue", ini.c_str(), "Lesson", "Note", ""), 0);
  EXPECT_EQ(ReadFileBytes(ini), "[Lesson]\r\nScore=17\r\nNote=\r\n");

  struct Case {
    const char* label;
    const char* fallback;
    const char* expected;
  };
  const Case cases[] = {
      {"Score", "none", "17"},
      {"Note", "none", ""},  // present but empty: not the default
      {"Missing", "none", "none"},
      {"Missing", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    HostString v = host.Call<HostString>("SysReadValue", ini.c_str(), "Lesson", c.label, c.fallback);
    ASSERT_TRUE(v.present);
    EXPECT_EQ(v.text, c.expected);
    EXPECT_EQ(v.blockSize, std::string(c.expected).size() + 1);
  }
}

TEST_F(Values, ProfileValuesWithoutAFileGoToWinIni) {
  const std::string section = "RxSystemTest" + std::to_string(GetCurrentProcessId());
  EXPECT_EQ(host.Call<int32_t>("SysWriteValue", "", section.c_str(), "Label", "in win.ini"), 0);
  char stored[64] = "";
  GetProfileStringA(section.c_str(), "Label", "", stored, sizeof stored);
  EXPECT_STREQ(stored, "in win.ini");
  EXPECT_EQ(host.Call<HostString>("SysReadValue", nullptr, section.c_str(), "Label", "").text, "in win.ini");
  WriteProfileStringA(section.c_str(), nullptr, nullptr);
}

TEST_F(Values, ProfileValueFailures) {
  HideErrors();
  const std::string ini = folder.File("values.ini");
  const std::string unwritable = folder.File("no such folder\\values.ini");
  struct Case {
    const char* file;
    const char* section;
    const char* label;
    const char* value;
    const char* expected;
  };
  const Case writes[] = {
      {ini.c_str(), "S", "", "v", "Missing or invalid parameter passed to function."},
      {ini.c_str(), "S", nullptr, "v", "Missing or invalid parameter passed to function."},
      {ini.c_str(), "S", "L", nullptr, "Missing or invalid parameter passed to function."},
      // Without a section the platform writes nothing yet answers success.
      {ini.c_str(), nullptr, "L", "v", "Missing or invalid parameter passed to function."},
      {unwritable.c_str(), "S", "Label", "v", "Error saving value for \"Label\"."},
  };
  for (size_t i = 0; i < std::size(writes); ++i) {
    SCOPED_TRACE("write row " + std::to_string(i));
    host.variables.Erase("TLLastError");
    const Case& c = writes[i];
    EXPECT_EQ(host.Call<int32_t>("SysWriteValue", c.file, c.section, c.label, c.value), -1);
    EXPECT_EQ(LastError(), c.expected);
  }
  EXPECT_FALSE(PathExists(ini));

  host.variables.Erase("TLLastError");
  EXPECT_FALSE(host.Call<HostString>("SysReadValue", ini.c_str(), "", "L", "d").present);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
  host.variables.Erase("TLLastError");
  EXPECT_FALSE(host.Call<HostString>("SysReadValue", ini.c_str(), "S", nullptr, "d").present);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
}

TEST_F(Values, SavedVariablesAreTheListedOnesTheHostKnows) {
  host.variables.Set("Student", std::string("Ελένη"));
  host.variables.Set("Score", 17);
  const std::string ini = folder.File("vars.ini");
  EXPECT_EQ(host.Call<int32_t>("SysWriteVariables", ini.c_str(), "Vars", "Student\rUnknown\rScore\r"), 0);
  EXPECT_EQ(ReadFileBytes(ini), "[Vars]\r\nStudent=Ελένη\r\nScore=17\r\n");
  EXPECT_EQ(VariableTraffic(),
            (std::vector<std::string>{"get Student=Ελένη", "get Unknown failed", "get Score=17"}));
  EXPECT_TRUE(host.window.traffic.size() == 3) << "a skipped name is no failure";
}

TEST_F(Values, SavingVariablesRefusesWhatItCannotWrite) {
  HideErrors();
  host.variables.Set("A", std::string("1"));
  const std::string ini = folder.File("vars.ini");
  const std::string unwritable = folder.File("no such folder\\vars.ini");
  const std::string longName(256, 'n');
  struct Case {
    const char* file;
    const char* section;
    std::string list;
    std::string expected;
  };
  const Case cases[] = {
      {"", "Vars", "A", "Missing or invalid parameter passed to function."},
      {ini.c_str(), "", "A", "Missing or invalid parameter passed to function."},
      {ini.c_str(), "Vars", "", "Missing or invalid parameter passed to function."},
      {ini.c_str(), "Vars", "A\r" + longName, "Missing or invalid parameter passed to function."},
      {unwritable.c_str(), "Vars", "A", "Error saving value for \"A\"."},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    host.variables.Erase("TLLastError");
    const Case& c = cases[i];
    EXPECT_EQ(host.Call<int32_t>("SysWriteVariables", c.file, c.section, c.list.c_str()), -1);
    EXPECT_EQ(LastError(), c.expected);
  }
  EXPECT_FALSE(PathExists(ini)) << "a refused list writes none of its names";
}

TEST_F(Values, LoadedVariablesComeFromTheSectionInItsOrder) {
  const std::string ini = folder.File("vars.ini");
  ASSERT_TRUE(WriteFileBytes(ini, "[Other]\r\nX=no\r\n[Vars]\r\nStudent=Ελένη\r\nScore=17\r\nNote=a b\r\n"));
  struct Case {
    const char* list;
    std::vector<std::string> sets;
  };
  const Case cases[] = {
      {"", {"set Student=Ελένη", "set Score=17", "set Note=a b"}},
      {nullptr, {"set Student=Ελένη", "set Score=17", "set Note=a b"}},
      {"Note\rStudent", {"set Note=a b", "set Student=Ελένη"}},
      {"Score\r", {"set Score=17"}},
      {"Score\r\rNote", {"set Score=17"}},  // an empty line ends the list
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    host.window.traffic.clear();
    EXPECT_EQ(host.Call<int32_t>("SysReadVariables", ini.c_str(), "Vars", cases[i].list), 0);
    EXPECT_EQ(VariableTraffic(), cases[i].sets);
  }
  EXPECT_EQ(host.variables.Text("Student"), "Ελένη");
  EXPECT_FALSE(host.variables.Get("X").has_value());
}

TEST_F(Values, VariablesSaveAndLoadBackThroughTheFile) {
  host.variables.Set("A", std::string("first"));
  host.variables.Set("B", 2);
  const std::string ini = folder.File("round.ini");
  ASSERT_EQ(host.Call<int32_t>("SysWriteVariables", ini.c_str(), "S", "A\rB"), 0);
  host.variables = VariableStore();
  ASSERT_EQ(host.Call<int32_t>("SysReadVariables", ini.c_str(), "S", ""), 0);
  EXPECT_EQ(host.variables.Text("A"), "first");
  EXPECT_EQ(host.variables.Text("B"), "2");
}

TEST_F(Values, LoadingVariablesStopsAtTheFirstFailure) {
  HideErrors();
  const std::string ini = folder.File("vars.ini");
  const std::string missing = folder.File("missing.ini");
  const std::string emptySection = folder.File("empty.ini");
  ASSERT_TRUE(WriteFileBytes(ini, "[Vars]\r\nA=1\r\nEmpty=\r\nB=2\r\n"));
  ASSERT_TRUE(WriteFileBytes(emptySection, "[Vars]\r\n[Next]\r\nZ=1\r\n"));
  struct Case {
    const char* file;
    const char* section;
    const char* list;
    bool failSetOfB;
    std::string expected;
    std::vector<std::string> sets;
  };
  const std::string readError = "Error reading \"" + ini + "\".";
  const Case cases[] = {
      {"", "Vars", "A", false, "Missing or invalid parameter passed to function.", {}},
      {ini.c_str(), "", "A", false, "Missing or invalid parameter passed to function.", {}},
      {missing.c_str(), "Vars", "A", false, "The file \"" + missing + "\" could not be found.", {}},
      {ini.c_str(), "Vars", "A\rZ\rB", false, readError, {"set A=1"}},  // Z is not in the section
      {ini.c_str(), "Vars", "A\rEmpty\rB", false, readError, {"set A=1"}},
      // 5
      {emptySection.c_str(), "Vars", "", false, "Error reading \"" + emptySection + "\".", {}},
      {ini.c_str(), "Vars", "A\rB", true, "Error setting variable \"B\".", {"set A=1", "set B failed"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    const Case& c = cases[i];
    host.variables = VariableStore();
    HideErrors();
    if (c.failSetOfB) host.variables.FailSet("B");
    host.window.traffic.clear();
    EXPECT_EQ(host.Call<int32_t>("SysReadVariables", c.file, c.section, c.list), -1);
    EXPECT_EQ(LastError(), c.expected);
    EXPECT_EQ(VariableTraffic(), c.sets);
  }
}

TEST_F(Values, LoadingVariablesNeedsAReadableFileAndAHostWindow) {
  const std::string ini = folder.File("vars.ini");
  ASSERT_TRUE(WriteFileBytes(ini, "[Vars]\r\nA=1\r\n"));
  {
    // Another program holds the file open for itself alone.
    HideErrors();
    HANDLE held =
        CreateFileA(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const char* list : {"", "A"}) {
      SCOPED_TRACE(list);
      host.variables.Erase("TLLastError");
      EXPECT_EQ(host.Call<int32_t>("SysReadVariables", ini.c_str(), "Vars", list), -1);
      EXPECT_EQ(LastError(), "Error reading \"" + ini + "\".");
    }
    CloseHandle(held);
    EXPECT_FALSE(host.variables.Get("A").has_value());
  }
  // A record without a window has no one to take the values: a failure, not a success.
  HostContext noWindow = host.context;
  noWindow.HostWindow = nullptr;
  BoxCatcher boxes;
  EXPECT_EQ(host.CallWith<int32_t>(&noWindow, "SysReadVariables", ini.c_str(), "Vars", "A"), -1);
  std::vector<SeenBox> seen = boxes.Stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"Error setting variable \"A\".");
}

TEST_F(Values, VariableFilesStayBelowThirtyThousandBytes) {
  HideErrors();
  const std::string head = "[Vars]\r\nA=";
  struct Case {
    size_t size;
    bool read;
  };
  const Case cases[] = {{29999, true}, {30000, false}, {40000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string ini = folder.File("size" + std::to_string(c.size) + ".ini");
    ASSERT_TRUE(WriteFileBytes(ini, head + std::string(c.size - head.size(), 'v')));
    host.variables.Erase("TLLastError");
    host.variables.Erase("A");
    EXPECT_EQ(host.Call<int32_t>("SysReadVariables", ini.c_str(), "Vars", ""), c.read ? 0 : -1);
    if (c.read) {
      EXPECT_EQ(host.variables.Text("A"), std::string(c.size - head.size(), 'v'));
    } else {
      EXPECT_EQ(LastError(),
                "The file \"" + ini + "\" exceeds the maximum size (64K) that can be processed.");
      EXPECT_FALSE(host.variables.Get("A").has_value());
    }
  }
}

}  // namespace
