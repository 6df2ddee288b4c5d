// The directory and drive exports: for real under the stand-in host on the machine's own
// directories and drives (C: and Z: under Wine), and in-process through the drive seam for
// what the machine cannot give (old platforms, shares, CD-ROM and removable drives, huge disks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "box_catcher.h"
#include "library_under_host.h"
#include "scoped_seam.h"
#include "scratch_folder.h"
#include "stand_in_host.h"
#include "system_services/drives/directories.h"

using authorware_host::BoxCatcher;
using authorware_host::HostString;
using authorware_host::StandInHost;
using testing_support::IsDirectory;
using testing_support::PathExists;

namespace {

std::string CurrentDirectory() {
  char buffer[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  return std::string(buffer, length);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void MakeFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

uint32_t Kilobytes(ULARGE_INTEGER bytes) { return static_cast<uint32_t>(bytes.QuadPart >> 10); }

// Under the stand-in host, with errors left in TLLastError, in a folder of the test's own; the
// current directory is put back afterwards.
class Directories : public rxsystem_tests::LibraryInScratchFolder {
 protected:
  Directories() : LibraryInScratchFolder("rxdirs") {}
  void SetUp() override {
    LibraryInScratchFolder::SetUp();
    if (HasFatalFailure()) return;
    savedDirectory = CurrentDirectory();
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedDirectory.c_str());
    LibraryInScratchFolder::TearDown();
  }
  // The error the call left for the author, and forgets it.
  std::string TakeLastError() {
    std::string text = host.variables.Text("TLLastError").value_or("(none)");
    host.variables.Erase("TLLastError");
    return text;
  }

  std::string savedDirectory;
};

TEST_F(Directories, CreateDirMakesEveryMissingLevel) {
  const std::string deep = base + "\\a\\b\\c";
  EXPECT_EQ(host.Call<int32_t>("SysCreateDir", deep.c_str()), 0);
  EXPECT_TRUE(IsDirectory(base + "\\a") && IsDirectory(base + "\\a\\b") && IsDirectory(deep));
  MakeFile(deep + "\\kept.txt");
  EXPECT_EQ(host.Call<int32_t>("SysCreateDir", deep.c_str()), 0);
  EXPECT_TRUE(PathExists(deep + "\\kept.txt")) << "an existing directory is left as it is";
  EXPECT_EQ(host.Call<int32_t>("SysCreateDir", (base + "\\trailing\\").c_str()), 0);
  EXPECT_TRUE(IsDirectory(base + "\\trailing"));
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());

  struct Case {
    std::string name;
    int32_t result;
    std::string error;
  };
  MakeFile(base + "\\file.txt");
  const Case cases[] = {
      // 0
      {"", -1, "Missing or invalid parameter passed to function."},
      // A file in the way counts as present; the level below it cannot be made.
      {base + "\\file.txt\\sub", -1, "Error creating \"" + base + "\\file.txt\\sub\"."},
      // Without a backslash there is no level to start from, and nothing is said.
      {"rxdirs_nobackslash", -1, "(none)"},
      {base + "\\" + std::string(300, 'x'), -1,
       "Error creating \"" + base + "\\" + std::string(300, 'x') + "\"."},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    EXPECT_EQ(host.Call<int32_t>("SysCreateDir", c.name.c_str()), c.result);
    EXPECT_EQ(TakeLastError(), c.error.substr(0, 403));
  }
  EXPECT_EQ(host.Call<int32_t>("SysCreateDir", nullptr), -1);
  EXPECT_EQ(TakeLastError(), "Missing or invalid parameter passed to function.");
  EXPECT_FALSE(PathExists("rxdirs_nobackslash"));
}

TEST_F(Directories, RemoveDirTakesOneDirectoryOrAnEmptyTree) {
  const std::string single = base + "\\single";
  CreateDirectoryA(single.c_str(), nullptr);
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", single.c_str(), int32_t{0}), 0);
  EXPECT_FALSE(PathExists(single));

  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", single.c_str(), int32_t{0}), -1);
  EXPECT_EQ(TakeLastError(), "Missing or invalid parameter passed to function.")
      << "a missing directory is a bad argument, not a failed removal";
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", "", int32_t{1}), -1);
  EXPECT_EQ(TakeLastError(), "Missing or invalid parameter passed to function.");

  const std::string tree = base + "\\tree";
  for (const char* d : {"", "\\a", "\\a\\aa", "\\a\\ab", "\\b", "\\..odd", "\\b\\ba"})
    CreateDirectoryA((tree + d).c_str(), nullptr);
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", tree.c_str(), int32_t{0}), -1);
  EXPECT_EQ(TakeLastError(), "Error deleting directory \"" + tree + "\".");
  EXPECT_TRUE(IsDirectory(tree + "\\a\\aa")) << "without RemoveSubDirs the tree stays";

  // A name beginning with ".." is never entered, so its parent cannot go.
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", tree.c_str(), int32_t{1}), -1);
  EXPECT_EQ(TakeLastError(), "Error deleting directory \"" + tree + "\".");
  EXPECT_TRUE(IsDirectory(tree + "\\..odd"));
  EXPECT_FALSE(PathExists(tree + "\\a")) << "the empty levels removed before stay removed";
  EXPECT_FALSE(PathExists(tree + "\\b"));
  RemoveDirectoryA((tree + "\\..odd").c_str());
  ASSERT_TRUE(IsDirectory(tree));
  for (const char* d : {"\\a", "\\a\\aa", "\\a\\aa\\aaa", "\\b"})
    CreateDirectoryA((tree + d).c_str(), nullptr);
  SetFileAttributesA((tree + "\\b").c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", tree.c_str(), int32_t{5}), 0);
  EXPECT_FALSE(PathExists(tree));
  for (const char* d : {"", "\\a", "\\a\\aa"}) CreateDirectoryA((tree + d).c_str(), nullptr);
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", (tree + "\\").c_str(), int32_t{1}), 0);
  EXPECT_FALSE(PathExists(tree)) << "named with its closing backslash";
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

TEST_F(Directories, RemoveDirLeavesThePathToAFile) {
  const std::string tree = base + "\\tree";
  for (const char* d : {"", "\\a", "\\a\\deep", "\\z", "\\z\\empty"})
    CreateDirectoryA((tree + d).c_str(), nullptr);
  MakeFile(tree + "\\a\\deep\\file.txt");
  EXPECT_EQ(host.Call<int32_t>("SysRemoveDir", tree.c_str(), int32_t{1}), -1);
  EXPECT_EQ(TakeLastError(), "Error deleting directory \"" + tree + "\\a\\deep\".");
  EXPECT_TRUE(PathExists(tree + "\\a\\deep\\file.txt")) << "files are never deleted";
  // The walk ends at the first failure: what it had not reached yet is still there.
  EXPECT_TRUE(IsDirectory(tree + "\\a\\deep"));
  EXPECT_TRUE(IsDirectory(tree));
}

TEST_F(Directories, CurrentDirectoryAndDriveAreTheHosts) {
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDir", base.c_str()), 0);
  EXPECT_EQ(Lower(CurrentDirectory()), Lower(base)) << "the process's own directory moved";
  HostString dir = host.Call<HostString>("SysGetCurDir");
  EXPECT_EQ(dir.text, CurrentDirectory());
  EXPECT_EQ(dir.blockSize, 261u);
  EXPECT_TRUE(dir.movable);

  HostString drive = host.Call<HostString>("SysGetCurDrive");
  EXPECT_EQ(drive.text, CurrentDirectory().substr(0, 1));
  EXPECT_EQ(drive.blockSize, 2u);

  EXPECT_EQ(host.Call<int32_t>("SysSetCurDir", (base + "\\missing").c_str()), -1);
  EXPECT_EQ(TakeLastError(), "Invalid file path \"" + base + "\\missing\".");
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDir", ""), -1);
  EXPECT_EQ(TakeLastError(), "Missing or invalid parameter passed to function.");
  EXPECT_EQ(Lower(CurrentDirectory()), Lower(base));

  // Only the first character counts.
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDrive", "z:\\whatever"), 0);
  EXPECT_EQ(Lower(CurrentDirectory()), "z:\\");
  EXPECT_EQ(host.Call<HostString>("SysGetCurDir").text, CurrentDirectory()) << "a root keeps its backslash";
  EXPECT_EQ(Lower(host.Call<HostString>("SysGetCurDrive").text), "z");
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDrive", "C"), 0);
  EXPECT_EQ(Lower(CurrentDirectory()), "c:\\");
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());

  // A drive that is not there fails without a word.
  char missing = 0;
  for (char letter = 'Y'; letter > 'C' && !missing; --letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) missing = letter;
  }
  ASSERT_NE(missing, 0);
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDrive", std::string(1, missing).c_str()), -1);
  EXPECT_EQ(TakeLastError(), "(none)");
  EXPECT_EQ(host.Call<int32_t>("SysSetCurDrive", ""), -1);
  EXPECT_EQ(TakeLastError(), "Missing or invalid parameter passed to function.");
  EXPECT_EQ(Lower(CurrentDirectory()), "c:\\");
}

// The temporary path is read from TMP (then TEMP) of the process, which the test sets.
class TemporaryPath {
 public:
  explicit TemporaryPath(const char* value) {
    for (size_t i = 0; i < 2; ++i) {
      char buffer[MAX_PATH];
      DWORD n = GetEnvironmentVariableA(kNames[i], buffer, MAX_PATH);
      saved_[i] = n ? std::optional<std::string>(std::string(buffer, n)) : std::nullopt;
      SetEnvironmentVariableA(kNames[i], value);
    }
  }
  ~TemporaryPath() {
    for (size_t i = 0; i < 2; ++i)
      SetEnvironmentVariableA(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }

 private:
  static constexpr const char* kNames[2] = {"TMP", "TEMP"};
  std::optional<std::string> saved_[2];
};

TEST_F(Directories, TempDirLosesOnlyTheBackslashOfADeeperDirectory) {
  struct Case {
    std::string tmp;
    std::string result;
  };
  const Case cases[] = {
      // 0
      {base, base},
      {base + "\\", base},
      {"C:\\", "C:\\"},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.tmp);
    TemporaryPath tmp(c.tmp.c_str());
    char platform[MAX_PATH];
    GetTempPathA(MAX_PATH, platform);
    ASSERT_EQ(Lower(platform), Lower(c.tmp.back() == '\\' ? c.tmp : c.tmp + "\\"));
    HostString dir = host.Call<HostString>("SysGetTempDir");
    EXPECT_EQ(Lower(dir.text), Lower(c.result));
    EXPECT_EQ(dir.blockSize, 261u);
  }
}

TEST_F(Directories, TempFileNameMakesTheFileAndAnswersItInLowerCase) {
  const std::string upper = base + "\\Mixed Case";
  CreateDirectoryA(upper.c_str(), nullptr);
  TemporaryPath tmp(upper.c_str());
  struct Case {
    const char* prefix;
    const char* expectedPrefix;
  };
  const Case cases[] = {
      // 0
      {"", "tmp"},
      {nullptr, "tmp"},
      {"KEL", "kel"},
      {"abcdef", "abc"},  // the platform keeps three characters
  };
  std::vector<std::string> made;
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    HostString name = host.Call<HostString>("SysGetTempFileName", c.prefix);
    ASSERT_TRUE(name.present);
    EXPECT_EQ(name.blockSize, 260u);
    EXPECT_EQ(name.text, Lower(name.text));
    const std::string start = Lower(upper) + "\\" + c.expectedPrefix;
    EXPECT_EQ(name.text.substr(0, start.size()), start);
    EXPECT_EQ(name.text.substr(name.text.size() - 4), ".tmp");
    EXPECT_TRUE(PathExists(name.text)) << "the empty file is left for the host";
    for (const std::string& before : made) EXPECT_NE(before, name.text);
    made.push_back(name.text);
  }
  TemporaryPath gone((base + "\\gone").c_str());
  BoxCatcher boxes;
  EXPECT_FALSE(host.Call<HostString>("SysGetTempFileName", "x").present);
  EXPECT_TRUE(boxes.Stop().empty());
}

TEST_F(Directories, DiskSpaceOfTheRealDrives) {
  ULARGE_INTEGER available, total, totalFree;
  for (const char* root : {"C:\\", "Z:\\"}) {
    SCOPED_TRACE(root);
    ASSERT_TRUE(GetDiskFreeSpaceExA(root, &available, &total, &totalFree));
    const std::string letter(root, 1);
    for (const std::string& name : {letter + ":", letter + ":\\", Lower(letter) + ":"}) {
      SCOPED_TRACE(name);
      EXPECT_EQ(host.Call<uint32_t>("SysGetTotalDiskSpace", name.c_str()), Kilobytes(total));
      // Other programs write to the disk meanwhile.
      EXPECT_NEAR(host.Call<uint32_t>("SysGetFreeDiskSpace", name.c_str()), Kilobytes(available),
                  64.0 * 1024);
    }
  }
  // Without a name, the current directory's drive.
  SetCurrentDirectoryA(base.c_str());
  const std::string root = CurrentDirectory().substr(0, 3);
  ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &totalFree));
  EXPECT_EQ(host.Call<uint32_t>("SysGetTotalDiskSpace", ""), Kilobytes(total));
  EXPECT_EQ(host.Call<uint32_t>("SysGetTotalDiskSpace", nullptr), Kilobytes(total));
  // A bare letter is a directory below the current one.
  EXPECT_EQ(host.Call<uint32_t>("SysGetTotalDiskSpace", "C"), 0u);
  CreateDirectoryA((base + "\\C").c_str(), nullptr);
  EXPECT_EQ(host.Call<uint32_t>("SysGetTotalDiskSpace", "C"), Kilobytes(total));
  EXPECT_EQ(host.Call<uint32_t>("SysGetFreeDiskSpace", (base + "\\missing").c_str()), 0u);
  EXPECT_EQ(host.Call<uint32_t>("SysGetFreeDiskSpace", std::string(400, 'c').c_str()), 0u);
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

// The word the exports answer for each type the platform can report, and for one beyond them.
struct TypeAndWord {
  UINT type;
  const char* word;
};
const TypeAndWord kDriveTypeWords[] = {
    // 0
    {DRIVE_UNKNOWN, "error"},
    {DRIVE_NO_ROOT_DIR, "error"},
    {DRIVE_REMOVABLE, "removable"},
    {DRIVE_FIXED, "fixed"},
    {DRIVE_REMOTE, "remote"},
    // 5
    {DRIVE_CDROM, "cdrom"},
    {DRIVE_RAMDISK, "ramdisk"},
    {7, "error"},
};

// The word expected for a drive of the real machine, from the table.
std::string TypeWord(UINT type) {
  for (const TypeAndWord& w : kDriveTypeWords) {
    if (w.type == type) return w.word;
  }
  ADD_FAILURE() << "the machine reports drive type " << type << ", which the table lacks";
  return {};
}

TEST_F(Directories, VolumeNamesAndDriveTypesOfTheRealDrives) {
  for (const char* name : {"C", "z:\\", "c:\\data"}) {
    SCOPED_TRACE(name);
    const char root[] = {name[0], ':', '\\', '\0'};
    char label[MAX_PATH] = "";
    ASSERT_TRUE(GetVolumeInformationA(root, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0));
    HostString volume = host.Call<HostString>("SysGetVolumeName", name);
    EXPECT_EQ(volume.text, label);
    EXPECT_EQ(volume.blockSize, std::strlen(label) + 1);
    HostString type = host.Call<HostString>("SysGetDriveType", name);
    EXPECT_EQ(type.text, TypeWord(GetDriveTypeA(root)));
    EXPECT_EQ(type.blockSize, 15u);
    EXPECT_EQ(host.Call<int32_t>("SysIsCDDrive", name), GetDriveTypeA(root) == DRIVE_CDROM);
  }
  EXPECT_EQ(host.Call<HostString>("SysGetDriveType", "C").text, "fixed");
  SetCurrentDirectoryA("Z:\\");
  char label[MAX_PATH] = "";
  GetVolumeInformationA("Z:\\", label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(host.Call<HostString>("SysGetVolumeName", "").text, label);
  EXPECT_EQ(host.Call<HostString>("SysGetDriveType", nullptr).text, TypeWord(GetDriveTypeA("Z:\\")));

  // A letter without a drive.
  EXPECT_FALSE(host.Call<HostString>("SysGetVolumeName", "q").present);
  EXPECT_EQ(host.Call<HostString>("SysGetDriveType", "q:").text, "error");
  EXPECT_EQ(host.Call<int32_t>("SysIsCDDrive", "q"), 0);
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

TEST_F(Directories, DriveListAndCDDriveOfTheRealMachine) {
  std::string expected;
  char firstCD = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    UINT type = GetDriveTypeA(root);
    if (type > DRIVE_NO_ROOT_DIR) (expected += letter) += '\r';
    if (type == DRIVE_CDROM && letter >= 'C' && !firstCD) firstCD = letter;
  }
  HostString list = host.Call<HostString>("SysGetDriveList");
  EXPECT_EQ(list.text, expected);
  EXPECT_EQ(list.blockSize, 60u);
  EXPECT_NE(list.text.find("C\r"), std::string::npos);
  EXPECT_NE(list.text.find("Z\r"), std::string::npos);
  HostString cd = host.Call<HostString>("SysGetCDDrive");
  EXPECT_EQ(cd.present, firstCD != 0);
  if (firstCD) {
    EXPECT_EQ(cd.text, std::string(1, firstCD));
  }
}

// In-process, with the drive seam replaced by a scripted machine.
struct ScriptedMachine {
  OSVERSIONINFOA version{};
  bool versionFails = false;
  int extendedResult = 0;
  uint64_t available = 0, total = 0;
  BOOL classicResult = TRUE;
  DWORD sectors = 8, bytes = 512, freeClusters = 0, totalClusters = 0;
  DWORD connectResult = NO_ERROR;
  UINT types[26] = {};

  std::vector<std::string> calls;
};
ScriptedMachine* machine = nullptr;

const rxsystem::DrivePlatformSeam kScripted{
    [](OSVERSIONINFOA* info) -> BOOL {
      machine->calls.push_back("version");
      if (machine->versionFails) return FALSE;
      EXPECT_EQ(info->dwOSVersionInfoSize, sizeof(OSVERSIONINFOA));
      *info = machine->version;
      return TRUE;
    },
    [](const char* root, ULARGE_INTEGER* available, ULARGE_INTEGER* total) {
      machine->calls.push_back(std::string("extended ") + root);
      available->QuadPart = machine->available;
      total->QuadPart = machine->total;
      return machine->extendedResult;
    },
    [](const char* root, DWORD* sectors, DWORD* bytes, DWORD* freeClusters, DWORD* totalClusters) {
      machine->calls.push_back(std::string("classic ") + root);
      *sectors = machine->sectors;
      *bytes = machine->bytes;
      *freeClusters = machine->freeClusters;
      *totalClusters = machine->totalClusters;
      return machine->classicResult;
    },
    [](const char* remote, const char* password, const char* local) {
      machine->calls.push_back(std::string("connect ") + remote + " to " + local +
                               (password ? " with a password" : ""));
      return machine->connectResult;
    },
    [](const char* name, BOOL force) -> DWORD {
      machine->calls.push_back(std::string("cancel ") + name + (force ? " forced" : ""));
      return NO_ERROR;
    },
    [](const char* root) -> UINT {
      machine->calls.push_back(std::string("type ") + (root ? root : "(current)"));
      if (!root) return machine->types['C' - 'A'];
      char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
      return letter >= 'A' && letter <= 'Z' ? machine->types[letter - 'A'] : DRIVE_NO_ROOT_DIR;
    }};

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor, DWORD build) {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  v.dwPlatformId = platform;
  v.dwMajorVersion = major;
  v.dwMinorVersion = minor;
  v.dwBuildNumber = build;
  return v;
}

class DriveSeam : public ::testing::Test {
 protected:
  void SetUp() override {
    rxsystem::LibraryEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
    machine = &scripted;
    scripted.version = Version(VER_PLATFORM_WIN32_NT, 5, 1, 2600);
  }
  void TearDown() override { machine = nullptr; }
  uint32_t Free(const char* name) { return SysGetFreeDiskSpace(&context, name); }
  uint32_t Total(const char* name) { return SysGetTotalDiskSpace(&context, name); }
  std::string Text(HGLOBAL block) { return StandInHost::TakeString(block).text; }

  ScriptedMachine scripted;
  testing_support::ScopedSeam<rxsystem::DrivePlatformSeam> drives{rxsystem::ReplaceDriveSeam, kScripted};
  rxsystem::HostContext context{0, nullptr, 0};
};

TEST_F(DriveSeam, ThePlatformVersionChoosesTheQuery) {
  struct Case {
    OSVERSIONINFOA version;
    bool extended;
  };
  const Case cases[] = {
      // 0: Windows 95 as first shipped, and its later builds with the extended query
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6), false},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x04000457), true},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1000), false},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998), true},
      {Version(VER_PLATFORM_WIN32_WINDOWS, 4, 1, 0), true},
      // 5
      {Version(VER_PLATFORM_WIN32_NT, 3, 51, 1057), false},
      {Version(VER_PLATFORM_WIN32_NT, 4, 0, 1381), true},
      {Version(VER_PLATFORM_WIN32_NT, 10, 0, 19045), true},
      {Version(VER_PLATFORM_WIN32s, 3, 10, 0), false},
  };
  scripted.available = 6ull << 30;
  scripted.total = 8ull << 30;
  scripted.freeClusters = 1000;
  scripted.totalClusters = 3000;
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    scripted.version = cases[row].version;
    scripted.calls.clear();
    DWORD freeLow = 7, freeHigh = 7, totalLow = 7, totalHigh = 7;
    EXPECT_EQ(rxsystem::QueryDiskSpace("D:\\", &freeLow, &freeHigh, &totalLow, &totalHigh), 0);
    if (cases[row].extended) {
      EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "extended D:\\"}));
      EXPECT_EQ((uint64_t{freeHigh} << 32) | freeLow, 6ull << 30);
      EXPECT_EQ((uint64_t{totalHigh} << 32) | totalLow, 8ull << 30);
    } else {
      EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "classic D:\\"}));
      EXPECT_EQ(freeLow, 512u * 8 * 1000);
      EXPECT_EQ(totalLow, 512u * 8 * 3000);
      EXPECT_EQ(freeHigh, 0u);
      EXPECT_EQ(totalHigh, 0u);
    }
  }
}

TEST_F(DriveSeam, AFailedQueryAnswersZeroAndHasNoFallback) {
  DWORD freeLow = 7, freeHigh = 7, totalLow = 7, totalHigh = 7;
  scripted.available = 12345;
  scripted.extendedResult = 1;
  EXPECT_NE(rxsystem::QueryDiskSpace("C:\\", &freeLow, &freeHigh, &totalLow, &totalHigh), 0);
  EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "extended C:\\"}));
  EXPECT_EQ(freeLow | freeHigh | totalLow | totalHigh, 0u);
  EXPECT_EQ(Free("C:"), 0u);

  scripted.version = Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950);
  scripted.classicResult = FALSE;
  scripted.freeClusters = 99;
  freeLow = 7;
  EXPECT_NE(rxsystem::QueryDiskSpace("C:\\", &freeLow, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(freeLow, 0u);
  EXPECT_EQ(Total("C:"), 0u);
}

TEST_F(DriveSeam, AShareIsQueriedThroughATemporaryConnection) {
  scripted.version = Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950);
  scripted.freeClusters = 100;
  scripted.totalClusters = 400;
  EXPECT_EQ(Free("\\\\server\\share"), 512u * 8 * 100 / 1024);
  EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "connect \\\\server\\share\\ to z:",
                                                      "classic z:", "cancel z: forced"}));

  scripted.calls.clear();
  scripted.classicResult = FALSE;
  EXPECT_EQ(Total("\\\\server\\share\\"), 0u);
  EXPECT_EQ(scripted.calls.back(), "cancel z: forced") << "cancelled after a failed query too";

  scripted.calls.clear();
  scripted.connectResult = ERROR_ALREADY_ASSIGNED;
  EXPECT_EQ(Total("\\\\server\\share"), 0u);
  EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "connect \\\\server\\share\\ to z:"}))
      << "z: taken: nothing was connected, so nothing is cancelled";
}

TEST_F(DriveSeam, DiskSpaceInKilobytesFromTheRootOfTheName) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string currentRoot = std::string(current, 3);
  const std::string tooLong(259, 'c');                      // no room for the closing backslash
  const std::string closedLong = tooLong.substr(1) + "\\";  // fills the buffer exactly
  struct Case {
    const char* name;
    uint64_t bytes;
    uint32_t kilobytes;
    std::string root;  // empty: no query
  };
  const Case cases[] = {
      // 0
      {"C:", 6ull << 30, 6291456, "C:\\"},
      {"C:\\", 6ull << 30, 6291456, "C:\\"},
      {"c", 1023, 0, "c\\"},
      {"\\\\srv\\share", 1ull << 32, 4194304, "\\\\srv\\share\\"},
      {"", 5000, 4, currentRoot},
      // 5
      {nullptr, 5000, 4, currentRoot},
      {"D:\\data", (4ull << 40) - 1024, 0xFFFFFFFF, "D:\\data\\"},
      // Beyond what 32 bits of kilobytes hold the answer stays at the largest value.
      {"D:", 4ull << 40, 0xFFFFFFFF, "D:\\"},
      {"D:", 9ull << 40, 0xFFFFFFFF, "D:\\"},
      {tooLong.c_str(), 5000, 0, ""},
      // 10
      {closedLong.c_str(), 5000, 4, closedLong},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    for (bool total : {false, true}) {
      scripted.calls.clear();
      scripted.available = total ? 0 : c.bytes;
      scripted.total = total ? c.bytes : 0;
      EXPECT_EQ(total ? Total(c.name) : Free(c.name), c.kilobytes) << (total ? "total" : "free");
      if (!c.root.empty())
        EXPECT_EQ(scripted.calls, (std::vector<std::string>{"version", "extended " + c.root}));
      else
        EXPECT_TRUE(scripted.calls.empty());
    }
  }
  // The classic query's figures of a disk beyond 4 GB do not wrap.
  scripted.version = Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950);
  scripted.bytes = 512;
  scripted.sectors = 64;
  scripted.totalClusters = 200000;  // 6.1 GB
  EXPECT_EQ(Total("E:"), 6400000u);
}

TEST_F(DriveSeam, DriveTypeWordsCDDrivesAndTheDriveList) {
  const auto& cases = kDriveTypeWords;
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    scripted.types['D' - 'A'] = cases[row].type;
    scripted.calls.clear();
    EXPECT_EQ(Text(SysGetDriveType(&context, "d:\\data")), cases[row].word);
    EXPECT_EQ(scripted.calls, std::vector<std::string>{"type d:\\"}) << "the letter as given";
    EXPECT_EQ(SysIsCDDrive(&context, "d"), cases[row].type == DRIVE_CDROM ? 1 : 0);
  }

  std::fill(std::begin(scripted.types), std::end(scripted.types), DRIVE_NO_ROOT_DIR);
  scripted.types[0] = DRIVE_REMOVABLE;
  scripted.types[2] = DRIVE_FIXED;
  scripted.types[3] = DRIVE_CDROM;
  scripted.types[6] = DRIVE_UNKNOWN;
  scripted.types[7] = DRIVE_REMOTE;
  EXPECT_EQ(Text(SysGetDriveList(&context)), "A\rC\rD\rH\r");
  scripted.calls.clear();
  EXPECT_EQ(Text(SysGetCDDrive(&context)), "D");
  EXPECT_EQ(scripted.calls, (std::vector<std::string>{"type C:\\", "type D:\\"}));
  scripted.types[3] = DRIVE_FIXED;
  scripted.types[25] = DRIVE_CDROM;
  EXPECT_EQ(Text(SysGetCDDrive(&context)), "Z");
  scripted.types[25] = DRIVE_FIXED;
  scripted.types[0] = DRIVE_CDROM;  // the search begins at C
  EXPECT_EQ(SysGetCDDrive(&context), nullptr);
  std::fill(std::begin(scripted.types), std::end(scripted.types), DRIVE_FIXED);
  HostString all = StandInHost::TakeString(SysGetDriveList(&context));
  EXPECT_EQ(all.text.size(), 52u);
  EXPECT_EQ(all.text.substr(48), "Y\rZ\r");
}

}  // namespace
