// The system information exports: for real under the stand-in host where the machine answers
// (environment, directories, font, platform family, file versions, display modes, the screen
// saver switch), and in-process through the system seam for what must not happen for real or
// what the machine cannot show (display changes, restart, the help viewer, older platforms).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "box_catcher.h"
#include "library_under_host.h"
#include "scoped_seam.h"
#include "scratch_folder.h"
#include "seam_box_recorder.h"
#include "stand_in_host.h"
#include "system_services/windows/system_info.h"

using authorware_host::BoxCatcher;
using authorware_host::HostString;
using authorware_host::SeenBox;
using authorware_host::StandInHost;

namespace {

std::string ModulePath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

// The header names the ANSI environment block's query by its plain name only, which a wide
// build turns into the wide one.
#pragma push_macro("GetEnvironmentStrings")
#undef GetEnvironmentStrings
char* AnsiEnvironment() { return GetEnvironmentStrings(); }
#pragma pop_macro("GetEnvironmentStrings")

class SystemInfo : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    host.variables.Set("TLHideErrors", 1);
  }
};

TEST_F(SystemInfo, TheEnvironmentAsOneList) {
  SetEnvironmentVariableA("RXSYSTEM_TEST_VALUE", "Kelmora = waves & sound");
  HostString all = host.Call<HostString>("SysGetDOSEnvironment");
  ASSERT_TRUE(all.present);

  std::string expected;
  char* block = AnsiEnvironment();
  for (const char* e = block; *e; e += std::strlen(e) + 1) (expected += e) += '\r';
  FreeEnvironmentStringsA(block);
  EXPECT_EQ(all.text, expected);
  EXPECT_EQ(all.blockSize, expected.size() + 1) << "the entries, one CR each, and the NUL";
  ASSERT_FALSE(all.text.empty());
  EXPECT_EQ(all.text.back(), '\r');
  EXPECT_NE(all.text.find("\rRXSYSTEM_TEST_VALUE=Kelmora = waves & sound\r"), std::string::npos);
  SetEnvironmentVariableA("RXSYSTEM_TEST_VALUE", nullptr);
}

TEST_F(SystemInfo, OneEnvironmentVariable) {
  const std::string longest(29998, 'v');
  const std::string tooLong(29999, 'w');
  struct Case {
    const char* name;
    const char* value;  // null: not set
    bool present;
    const char* error;
  };
  const Case cases[] = {
      // 0
      {"RXSYSTEM_TEST_A", "c:\\kelmora\\data", true, nullptr},
      {"rxsystem_test_a", "c:\\kelmora\\data", true, nullptr},  // names ignore case
      {"RXSYSTEM_TEST_MISSING", nullptr, false, nullptr},
      {"RXSYSTEM_TEST_LONGEST", longest.c_str(), true, nullptr},
      // Longer than the block: answered like an unset variable, never half read.
      {"RXSYSTEM_TEST_TOO_LONG", tooLong.c_str(), false, nullptr},
      // 5
      {"", nullptr, false, "Missing or invalid parameter passed to function."},
      {nullptr, nullptr, false, "Missing or invalid parameter passed to function."},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    if (c.name && *c.name) SetEnvironmentVariableA(c.name, c.value);
    HostString value = host.Call<HostString>("SysGetEnvVariable", c.name);
    EXPECT_EQ(value.present, c.present);
    if (c.present) {
      EXPECT_EQ(value.text, c.value);
      EXPECT_EQ(value.blockSize, std::strlen(c.value) + 1) << "shrunk to the value";
      EXPECT_TRUE(value.movable);
    }
    EXPECT_EQ(host.variables.Text("TLLastError"),
              c.error ? std::optional<std::string>(c.error) : std::nullopt);
    host.variables.Erase("TLLastError");
    if (c.name && *c.name) SetEnvironmentVariableA(c.name, nullptr);
  }
}

TEST_F(SystemInfo, WindowsAndSystemDirectories) {
  char windows[MAX_PATH], system[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  HostString w = host.Call<HostString>("SysGetWindowsDir");
  HostString s = host.Call<HostString>("SysGetSystemDir");
  EXPECT_EQ(w.text, windows);
  EXPECT_EQ(s.text, system);
  EXPECT_EQ(w.blockSize, 260u);
  EXPECT_EQ(s.blockSize, 260u);
}

TEST_F(SystemInfo, SystemFontHeightOnTheHostWindow) {
  HDC dc = GetDC(host.window.Handle());
  HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, before);
  ReleaseDC(host.window.Handle(), dc);
  ASSERT_GT(metrics.tmHeight, 0);
  EXPECT_EQ(host.Call<int32_t>("SysGetSystemFontHeight"), metrics.tmHeight);
}

TEST_F(SystemInfo, PlatformFamilyAndVideoVersion) {
  HostString os = host.Call<HostString>("SysGetOSVersion");
  EXPECT_EQ(os.text, "NT");
  EXPECT_EQ(os.blockSize, 5u);
  HostString video = host.Call<HostString>("SysGetVideoVersion");
  EXPECT_EQ(video.text, "2.0");
  EXPECT_EQ(video.blockSize, 4u);
  EXPECT_TRUE(video.movable);
}

TEST_F(SystemInfo, FileVersionIsTheFilesNotTheProducts) {
  BoxCatcher boxes;
  HostString own = host.Call<HostString>("SysGetFileVersion", ModulePath().c_str());
  EXPECT_EQ(own.text, "1.2.300.40000");
  EXPECT_EQ(own.blockSize, 30u);

  const testing_support::ScratchFolder folder{"rxinfo"};
  const std::string plain = folder.File("plain.txt");
  ASSERT_TRUE(testing_support::WriteFileBytes(plain, "no resources here")) << plain;
  for (const std::string& name :
       {plain, folder.File("missing.dll"), folder.File("missing\\x.dll"), std::string()}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(host.Call<HostString>("SysGetFileVersion", name.c_str()).present);
  }
  EXPECT_FALSE(host.Call<HostString>("SysGetFileVersion", nullptr).present);
  EXPECT_TRUE(boxes.Stop().empty()) << "no version to be had is no error";
}

TEST_F(SystemInfo, AVersionResourceWithoutFileInformationShowsThePlainBox) {
  const std::wstring wide = authorware_host::LocalPath(BROKEN_VERSION_PATH);
  char path[MAX_PATH];
  ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, path, MAX_PATH, nullptr, nullptr), 0);
  BoxCatcher boxes;
  EXPECT_FALSE(host.Call<HostString>("SysGetFileVersion", path).present);
  std::vector<SeenBox> seen = boxes.Stop();
  ASSERT_EQ(seen.size(), 1u) << "shown although the host hides its errors";
  EXPECT_EQ(seen[0].caption, L"Error");
  EXPECT_EQ(seen[0].text, L"error retrieving version info.");
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

TEST_F(SystemInfo, DisplayModesAsTheDriverEnumeratesThem) {
  HDC dc = GetDC(GetDesktopWindow());
  const DWORD depth = static_cast<DWORD>(GetDeviceCaps(dc, BITSPIXEL));
  ReleaseDC(GetDesktopWindow(), dc);
  std::string all, current;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%lu,%lu,%lu\r", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    if (all.size() + std::strlen(line) < rxsystem::kScreenResBlock) all += line;
    std::snprintf(line, sizeof line, "%lu,%lu\r", mode.dmPelsWidth, mode.dmPelsHeight);
    if (mode.dmBitsPerPel == depth && current.size() + std::strlen(line) < rxsystem::kScreenResBlock)
      current += line;
  }
  ASSERT_FALSE(current.empty()) << "the display's own mode is among them";
  HostString a = host.Call<HostString>("SysGetAvailScreenRes", int32_t{1});
  HostString c = host.Call<HostString>("SysGetAvailScreenRes", int32_t{0});
  EXPECT_EQ(a.text, all);
  EXPECT_EQ(c.text, current);
  EXPECT_EQ(a.blockSize, 2000u);
  EXPECT_EQ(c.blockSize, 2000u);
}

bool ScreenSaverActive() {
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active != FALSE;
}

TEST_F(SystemInfo, ScreenSaverSwitchAnswersTheEarlierState) {
  const bool original = ScreenSaverActive();
  EXPECT_EQ(host.Call<int32_t>("SysEnableScreenSaver", int32_t{0}) != 0, original);
  EXPECT_FALSE(ScreenSaverActive());
  EXPECT_EQ(host.Call<int32_t>("SysEnableScreenSaver", int32_t{7}), 0);
  EXPECT_TRUE(ScreenSaverActive());
  EXPECT_NE(host.Call<int32_t>("SysEnableScreenSaver", int32_t{1}), 0);
  EXPECT_TRUE(ScreenSaverActive());
  EXPECT_NE(host.Call<int32_t>("SysEnableScreenSaver", int32_t{0}), 0);
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, original, nullptr, 0);
  EXPECT_EQ(ScreenSaverActive(), original);
}

TEST_F(SystemInfo, HelpRefusesBadArgumentsWithThePlainBox) {
  struct Case {
    const char* file;
    const char* command;
  };
  // clang-format off
  const Case cases[] = {
      // 0
      {"", "contents"},
      {nullptr, "contents"},
      {"app.hlp", ""},
      {"app.hlp", nullptr},
      {"app.hlp", "index"},  // no such command word
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    BoxCatcher boxes;
    EXPECT_EQ(host.Call<int32_t>("SysHelp", cases[row].file, "proc", cases[row].command), -1);
    std::vector<SeenBox> seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1u) << "shown although the host hides its errors";
    EXPECT_EQ(seen[0].caption, L"Error");
    EXPECT_EQ(seen[0].text, L"bad arg");
    EXPECT_EQ(seen[0].icon, LoadIcon(nullptr, IDI_HAND));
  }
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

// In-process, with the system seam replaced by a recording machine.
struct HelpCall {
  HWND owner;
  std::string file;
  UINT command;
  ULONG_PTR number;
  std::string bytes;  // the text or record the data points to
};

struct RecordingMachine {
  OSVERSIONINFOA version{};
  bool versionFails = false;
  std::vector<DEVMODEA> modes;
  LONG changeAnswer = DISP_CHANGE_SUCCESSFUL;
  std::vector<DEVMODEA> changes;
  std::vector<DWORD> changeFlags;
  BOOL saverActive = TRUE;
  bool saverQueryFails = false;
  std::vector<std::string> calls;
  BOOL openAnswer = TRUE, lookupAnswer = TRUE;
  DWORD tokenAccess = 0;
  TOKEN_PRIVILEGES adjusted{};
  LUID shutdownLuid{};
  BOOL helpAnswer = TRUE;
  std::vector<HelpCall> help;
};
RecordingMachine* machine = nullptr;

std::string HelpBytes(UINT command, ULONG_PTR data) {
  if (!data) return {};
  const char* p = reinterpret_cast<const char*>(data);
  if (command == HELP_PARTIALKEY || command == HELP_COMMAND) return p;
  if (command == HELP_SETWINPOS) {
    uint32_t size;
    std::memcpy(&size, p, 4);
    return std::string(p, size);
  }
  return {};
}

const rxsystem::SystemPlatformSeam kRecording{
    [](OSVERSIONINFOA* info) -> BOOL {
      if (machine->versionFails) return FALSE;
      EXPECT_EQ(info->dwOSVersionInfoSize, sizeof(OSVERSIONINFOA));
      *info = machine->version;
      return TRUE;
    },
    [](DWORD mode, DEVMODEA* settings) -> BOOL {
      EXPECT_EQ(settings->dmSize, 156);
      if (mode >= machine->modes.size()) return FALSE;
      *settings = machine->modes[mode];
      return TRUE;
    },
    [](DEVMODEA* settings, DWORD flags) -> LONG {
      machine->calls.push_back("change");
      machine->changes.push_back(*settings);
      machine->changeFlags.push_back(flags);
      return machine->changeAnswer;
    },
    [](UINT action, UINT parameter, void* value, UINT profileFlags) -> BOOL {
      EXPECT_EQ(profileFlags, 0u) << "neither written to the profile nor broadcast";
      if (action == SPI_GETSCREENSAVEACTIVE) {
        machine->calls.push_back("saver?");
        if (machine->saverQueryFails) return FALSE;
        *static_cast<BOOL*>(value) = machine->saverActive;
        return TRUE;
      }
      EXPECT_EQ(action, static_cast<UINT>(SPI_SETSCREENSAVEACTIVE));
      EXPECT_EQ(value, nullptr);
      machine->calls.push_back("saver " + std::to_string(parameter));
      machine->saverActive = parameter;
      return TRUE;
    },
    [](DWORD access, HANDLE* token) -> BOOL {
      machine->calls.push_back("open token");
      machine->tokenAccess = access;
      if (!machine->openAnswer) return FALSE;
      return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token);
    },
    [](const char* name, LUID* luid) -> BOOL {
      machine->calls.push_back(std::string("look up ") + name);
      if (!machine->lookupAnswer) return FALSE;
      *luid = machine->shutdownLuid;
      return TRUE;
    },
    [](HANDLE, TOKEN_PRIVILEGES* privileges) -> BOOL {
      machine->calls.push_back("adjust");
      machine->adjusted = *privileges;
      return TRUE;
    },
    [](UINT flags, DWORD) -> BOOL {
      machine->calls.push_back("exit " + std::to_string(flags));
      return FALSE;
    },
    [](HWND owner, const char* file, UINT command, ULONG_PTR data) -> BOOL {
      machine->help.push_back({owner, file ? file : "(null)", command, data, HelpBytes(command, data)});
      return machine->helpAnswer;
    }};

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor) {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  v.dwPlatformId = platform;
  v.dwMajorVersion = major;
  v.dwMinorVersion = minor;
  return v;
}

DEVMODEA Mode(DWORD width, DWORD height, DWORD bits, DWORD rate) {
  DEVMODEA m{};
  m.dmSize = 156;
  m.dmPelsWidth = width;
  m.dmPelsHeight = height;
  m.dmBitsPerPel = bits;
  m.dmDisplayFrequency = rate;
  return m;
}

class SystemSeam : public ::testing::Test {
 protected:
  void SetUp() override {
    rxsystem::LibraryEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
    machine = &recorded;
    recorded.version = Version(VER_PLATFORM_WIN32_NT, 5, 1);
    recorded.shutdownLuid.LowPart = 19;
  }
  void TearDown() override { machine = nullptr; }
  static std::string Text(HGLOBAL block) { return StandInHost::TakeString(block).text; }

  RecordingMachine recorded;
  testing_support::ScopedSeam<rxsystem::SystemPlatformSeam> system{rxsystem::ReplaceSystemSeam, kRecording};
  testing_support::SeamBoxRecorder recorder;
  HWND hostWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
  rxsystem::HostContext context{0, hostWindow, 0};
};

TEST_F(SystemSeam, PlatformFamilyWords) {
  struct Case {
    OSVERSIONINFOA version;
    const char* word;  // null: no string
  };
  const Case cases[] = {
      // 0
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10), "98"},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0), "95"},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 90), "95"},
      {Version(VER_PLATFORM_WIN32_NT, 4, 0), "NT"},
      {Version(VER_PLATFORM_WIN32_NT, 10, 0), "NT"},
      // 5
      {Version(VER_PLATFORM_WIN32s, 3, 11), "32s"},
      {Version(3, 5, 0), nullptr},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    recorded.version = cases[row].version;
    HGLOBAL block = SysGetOSVersion(&context);
    ASSERT_EQ(block != nullptr, cases[row].word != nullptr);
    if (!block) continue;
    HostString s = StandInHost::TakeString(block);
    EXPECT_EQ(s.text, cases[row].word);
    EXPECT_EQ(s.blockSize, 5u);
  }
  recorded.versionFails = true;
  EXPECT_EQ(SysGetOSVersion(&context), nullptr);
  EXPECT_TRUE(recorder.boxes.empty());
}

int DesktopDepth() {
  HDC dc = GetDC(GetDesktopWindow());
  int depth = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(GetDesktopWindow(), dc);
  return depth;
}

TEST_F(SystemSeam, DisplayModeListsKeepEveryRepetition) {
  const DWORD depth = static_cast<DWORD>(DesktopDepth());
  const DWORD other = depth == 16 ? 8 : 16;
  recorded.modes = {Mode(640, 480, other, 60), Mode(640, 480, depth, 60), Mode(640, 480, depth, 75),
                    Mode(800, 600, other, 60), Mode(1024, 768, depth, 60)};
  const std::string d = std::to_string(depth), o = std::to_string(other);
  EXPECT_EQ(Text(SysGetAvailScreenRes(&context, 0)), "640,480\r640,480\r1024,768\r");
  EXPECT_EQ(Text(SysGetAvailScreenRes(&context, 1)), "640,480," + o + "\r640,480," + d + "\r640,480," + d +
                                                         "\r800,600," + o + "\r1024,768," + d + "\r");
  recorded.modes.clear();
  HostString none = StandInHost::TakeString(SysGetAvailScreenRes(&context, 1));
  EXPECT_TRUE(none.present);
  EXPECT_EQ(none.text, "");
}

TEST_F(SystemSeam, ADisplayModeListThatOutgrowsItsBlockEndsWithAWholeLine) {
  for (DWORD i = 0; i < 300; ++i) recorded.modes.push_back(Mode(1000 + i, 700 + i, 32, 60));
  HostString list = StandInHost::TakeString(SysGetAvailScreenRes(&context, 1));
  EXPECT_EQ(list.blockSize, 2000u);
  ASSERT_LT(list.text.size(), 2000u);
  std::string expected;
  for (DWORD i = 0;; ++i) {
    std::string line = std::to_string(1000 + i) + "," + std::to_string(700 + i) + ",32\r";
    if (expected.size() + line.size() >= 2000) break;
    expected += line;
  }
  EXPECT_EQ(list.text, expected);
}

TEST_F(SystemSeam, SetScreenResAsksForTheModeAndTheBestRateOnNT) {
  recorded.modes = {Mode(800, 600, 16, 60), Mode(800, 600, 32, 85), Mode(800, 600, 8, 72),
                    Mode(1024, 768, 32, 120), Mode(800, 601, 32, 100)};
  struct Case {
    DWORD platform;
    int32_t width, height, bits;
    DWORD fields;
    DWORD rate;
  };
  const Case cases[] = {
      // 0: the highest rate of any depth of that size
      {VER_PLATFORM_WIN32_NT, 800, 600, 16, 0x5C0000, 85},
      {VER_PLATFORM_WIN32_NT, 800, 600, 0, 0x580000, 85},
      {VER_PLATFORM_WIN32_NT, 640, 480, 32, 0x1C0000, 0},  // no such size: no rate
      {VER_PLATFORM_WIN32_WINDOWS, 800, 600, 32, 0x1C0000, 0},
      {VER_PLATFORM_WIN32_WINDOWS, 1024, 768, -1, 0x180000, 0},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    recorded.version = Version(c.platform, 4, 0);
    recorded.changes.clear();
    recorded.changeFlags.clear();
    EXPECT_EQ(SysSetScreenRes(&context, c.width, c.height, c.bits), 0);
    ASSERT_EQ(recorded.changes.size(), 1u);
    const DEVMODEA& m = recorded.changes[0];
    EXPECT_EQ(m.dmSize, 156);
    EXPECT_EQ(m.dmDriverExtra, 0);
    EXPECT_EQ(m.dmFields, c.fields);
    EXPECT_EQ(m.dmPelsWidth, static_cast<DWORD>(c.width));
    EXPECT_EQ(m.dmPelsHeight, static_cast<DWORD>(c.height));
    EXPECT_EQ(m.dmBitsPerPel, c.bits > 0 ? static_cast<DWORD>(c.bits) : 0u);
    EXPECT_EQ(m.dmDisplayFrequency, c.rate);
    EXPECT_EQ(recorded.changeFlags[0], 0u) << "a dynamic change, not stored";
  }

  struct Answer {
    LONG platform;
    int32_t result;
  };
  const Answer answers[] = {
      // 0
      {DISP_CHANGE_SUCCESSFUL, 0},
      {DISP_CHANGE_RESTART, -2},
      {DISP_CHANGE_FAILED, -1},
      {DISP_CHANGE_BADMODE, -1},
      {DISP_CHANGE_NOTUPDATED, -1},
      // 5
      {DISP_CHANGE_BADPARAM, -1},
  };
  for (size_t row = 0; row < std::size(answers); ++row) {
    SCOPED_TRACE("answer row " + std::to_string(row));
    recorded.changeAnswer = answers[row].platform;
    EXPECT_EQ(SysSetScreenRes(&context, 800, 600, 16), answers[row].result);
  }
}

TEST_F(SystemSeam, SetScreenResLeavesTheHostWindowAsItWas) {
  rxsystem::HostContext other{0, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5678)), 0};
  ASSERT_EQ(Text(SysGetVideoVersion(&context)), "2.0");
  ASSERT_EQ(rxsystem::LastHostWindow, hostWindow);
  SysSetScreenRes(&other, 800, 600, 0);
  EXPECT_EQ(rxsystem::LastHostWindow, hostWindow);
  SysSetScreenRes(nullptr, 800, 600, 0);
  EXPECT_EQ(rxsystem::LastHostWindow, hostWindow);
  EXPECT_TRUE(recorder.boxes.empty()) << "the record is not read at all";
}

TEST_F(SystemSeam, RestartEnablesTheShutdownPrivilegeOnNTAndForcesTheReboot) {
  SysRestart(&context);
  EXPECT_EQ(recorded.calls,
            (std::vector<std::string>{"open token", "look up SeShutdownPrivilege", "adjust", "exit 6"}));
  EXPECT_EQ(recorded.tokenAccess, 40u);
  EXPECT_EQ(recorded.adjusted.PrivilegeCount, 1u);
  EXPECT_EQ(recorded.adjusted.Privileges[0].Luid.LowPart, 19u);
  EXPECT_EQ(recorded.adjusted.Privileges[0].Attributes, static_cast<DWORD>(SE_PRIVILEGE_ENABLED));

  struct Case {
    DWORD platform;
    BOOL open, lookup;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      // 0
      {VER_PLATFORM_WIN32_NT, FALSE, TRUE, {"open token", "exit 6"}},
      {VER_PLATFORM_WIN32_NT, TRUE, FALSE, {"open token", "look up SeShutdownPrivilege", "exit 6"}},
      {VER_PLATFORM_WIN32_WINDOWS, TRUE, TRUE, {"exit 6"}},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    recorded.calls.clear();
    recorded.version = Version(cases[row].platform, 4, 0);
    recorded.openAnswer = cases[row].open;
    recorded.lookupAnswer = cases[row].lookup;
    SysRestart(&context);
    EXPECT_EQ(recorded.calls, cases[row].calls);
  }
  EXPECT_TRUE(recorder.boxes.empty()) << "a refused restart is not reported";
}

TEST_F(SystemSeam, ScreenSaverSwitchWritesNoProfile) {
  recorded.saverActive = TRUE;
  EXPECT_NE(SysEnableScreenSaver(&context, 0), 0);
  EXPECT_EQ(SysEnableScreenSaver(&context, 3), 0);
  EXPECT_EQ(recorded.calls, (std::vector<std::string>{"saver?", "saver 0", "saver?", "saver 1"}));
  recorded.saverQueryFails = true;
  EXPECT_EQ(SysEnableScreenSaver(&context, 1), 0) << "an unanswered query counts as inactive";
  EXPECT_EQ(recorded.calls.back(), "saver 1");
}

std::string WindowRecord(int32_t x, int32_t y, int32_t width, int32_t height, int32_t show,
                         const std::string& name) {
  const int32_t fields[] = {static_cast<int32_t>(name.size() + 28), x, y, width, height, show};
  std::string bytes(reinterpret_cast<const char*>(fields), sizeof fields);
  bytes += name;
  bytes.resize(name.size() + 28, '\0');
  return bytes;
}

TEST_F(SystemSeam, HelpSendsOneRequestPerCommand) {
  struct Case {
    const char* file;
    const char* window;
    const char* command;
    std::string target;
    UINT request;
    ULONG_PTR number;
    std::string bytes;
  };
  const Case cases[] = {
      // 0
      {"app.hlp", "", "contents", "app.hlp", HELP_CONTENTS, 0, ""},
      {"app.hlp", "proc", "Context 42", "app.hlp>proc", HELP_CONTEXT, 42, ""},
      {"app.hlp", nullptr, "POPUP -7x", "app.hlp", HELP_CONTEXTPOPUP, ULONG_PTR{0xFFFFFFF9u}, ""},
      {"app.hlp", "", "context", "app.hlp", HELP_CONTEXT, 0, ""},
      {"app.hlp", "", "topic  Getting started", "app.hlp", HELP_PARTIALKEY, 1, "Getting started"},
      // 5
      {"app.hlp", "", "macro JumpId(\"app.hlp\", \"intro\") ", "app.hlp", HELP_COMMAND, 1,
       "JumpId(\"app.hlp\", \"intro\") "},
      {"app.hlp", "proc", "winpos 2 0 0 1024 1024", "app.hlp>proc", HELP_SETWINPOS, 1,
       WindowRecord(1, 1, 1024, 1024, SW_SHOWMAXIMIZED, "proc")},
      {"app.hlp", "proc", "WINPOS 1", "app.hlp>proc", HELP_SETWINPOS, 1,
       WindowRecord(1, 1, 256, 256, SW_MINIMIZE, "proc")},
      {"app.hlp", "side", "winpos 3 100 200 300 400", "app.hlp>side", HELP_SETWINPOS, 1,
       WindowRecord(100, 200, 300, 400, SW_HIDE, "side")},
      // Without a window name the record names none, for the viewer's main window.
      {"app.hlp", "", "winpos 9 10 10 500 500", "app.hlp", HELP_SETWINPOS, 1,
       WindowRecord(10, 10, 500, 500, SW_SHOWNORMAL, "")},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.command);
    recorded.help.clear();
    EXPECT_EQ(SysHelp(&context, c.file, c.window, c.command), 1);
    ASSERT_EQ(recorded.help.size(), 1u);
    const HelpCall& call = recorded.help[0];
    EXPECT_EQ(call.owner, hostWindow);
    EXPECT_EQ(call.file, c.target);
    EXPECT_EQ(call.command, c.request);
    if (c.bytes.empty())
      EXPECT_EQ(call.number, c.number);
    else
      EXPECT_EQ(call.bytes, c.bytes);
  }
  EXPECT_TRUE(recorder.boxes.empty());

  recorded.help.clear();
  recorded.helpAnswer = FALSE;
  EXPECT_EQ(SysHelp(&context, "app.hlp", "", "contents"), 0) << "the viewer's answer";
  EXPECT_EQ(SysHelp(&context, "app.hlp", "", "nonsense 4"), -1);
  EXPECT_EQ(recorded.help.size(), 1u) << "a word outside the language sends nothing";
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].text, "bad arg");
  EXPECT_EQ(recorder.boxes[0].caption, "Error");
}

TEST_F(SystemSeam, CloseHelpQuitsTheFileForTheHostWindow) {
  SysCloseHelp(&context, "app.hlp");
  SysCloseHelp(&context, nullptr);
  ASSERT_EQ(recorded.help.size(), 2u);
  EXPECT_EQ(recorded.help[0].owner, hostWindow);
  EXPECT_EQ(recorded.help[0].file, "app.hlp");
  EXPECT_EQ(recorded.help[0].command, static_cast<UINT>(HELP_QUIT));
  EXPECT_EQ(recorded.help[0].number, 0u);
  EXPECT_EQ(recorded.help[1].file, "");
}

}  // namespace
