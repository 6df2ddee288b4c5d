// The program family under the stand-in host: programs started and documents opened through
// the shell (a small program of the tests reports how it was started), the user's shell
// folders, Start Menu shortcuts read back through the shell-link object, and a document type
// registered under a test extension of its own in HKEY_CLASSES_ROOT and WIN.INI.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

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
using testing_support::RemoveTree;
using testing_support::WriteFileBytes;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kPid = std::to_string(GetCurrentProcessId());

std::string ChildPath() {
  std::wstring w = LocalPath(RX_CHILD_PATH);
  char path[MAX_PATH];
  WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, path, MAX_PATH, nullptr, nullptr);
  return path;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string LongName(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetLongPathNameA(path.c_str(), full, MAX_PATH);
  return n && n < MAX_PATH ? std::string(full) : path;
}

// What the child program wrote about its start.
struct ChildReport {
  bool found = false;
  std::string module, directory, commandLine;
  int show = -2;
};

ChildReport WaitForReport(const std::string& path, DWORD timeoutMs = 10000) {
  ChildReport r;
  for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
    std::string text = ReadFileBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    if (lines.size() == 4) {
      r.found = true;
      r.module = lines[0];
      r.directory = lines[1];
      r.commandLine = lines[2];
      r.show = std::stoi(lines[3]);
      return r;
    }
    Sleep(20);
  }
  return r;
}

// Tells the child programs this test starts what to do.
void ChildMode(const std::string& report, const char* mode, const char* delayMs = "0",
               const std::string& title = "") {
  DeleteFileA(report.c_str());
  SetEnvironmentVariableA("RX_CHILD_REPORT", report.c_str());
  SetEnvironmentVariableA("RX_CHILD_MODE", mode);
  SetEnvironmentVariableA("RX_CHILD_DELAY", delayMs);
  SetEnvironmentVariableA("RX_CHILD_TITLE", title.c_str());
}

// Closes the child's window and waits for the program to end; false when it did not.
bool CloseChild(HWND window) {
  if (!window) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
  if (process) CloseHandle(process);
  return ended;
}

class Programs : public rxsystem_tests::LibraryUnderHost {
 protected:
  void TearDown() override {
    LibraryUnderHost::TearDown();
    SetEnvironmentVariableA("RX_CHILD_REPORT", nullptr);
  }
  void HideErrors() { host.variables.Set("TLHideErrors", 1); }
  std::string LastError() { return host.variables.Text("TLLastError").value_or("(none)"); }

  testing_support::ScratchFolder folder{"rx prog"};  // a blank in the path, as in "Program Files"
  const std::string report = folder.File("report.txt");
};

TEST_F(Programs, RunProgramStartsTheProgramInItsFolderAndState) {
  // A program in a folder with a blank, next to a program named like the name's first word.
  const std::string program = folder.File("my child.exe");
  ASSERT_TRUE(CopyFileA(ChildPath().c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(ChildPath().c_str(), folder.File("my.exe").c_str(), FALSE));
  struct Case {
    int32_t state;
    int show;
  };
  const Case cases[] = {
      {0, SW_SHOWNORMAL}, {1, SW_MINIMIZE}, {2, SW_SHOWMAXIMIZED}, {3, SW_HIDE}, {7, SW_SHOWNORMAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("State " + std::to_string(c.state));
    const std::string title = "rx child " + kPid + " " + std::to_string(c.state);
    ChildMode(report, "window", "0", title);
    // Whatever fails below, the program does not outlive the row.
    struct Closer {
      const std::string& title;
      ~Closer() { CloseChild(FindWindowA("RxChildWindow", title.c_str())); }
    } closer{title};
    ASSERT_EQ(host.Call<int32_t>("SysRunProgram", program.c_str(), c.state, int32_t{0}), 0);
    ChildReport r = WaitForReport(report);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(Lower(LongName(r.module)), Lower(LongName(program))) << "not the program the blank cuts off";
    EXPECT_EQ(Lower(LongName(r.directory)), Lower(LongName(folder.Path())));
    EXPECT_EQ(r.show, c.show);
    HWND window = FindWindowA("RxChildWindow", title.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IsWindowVisible(window) != FALSE, c.state != 3);
    EXPECT_EQ(IsIconic(window) != FALSE, c.state == 1);
    EXPECT_EQ(IsZoomed(window) != FALSE, c.state == 2);
    EXPECT_TRUE(CloseChild(window));
  }
  EXPECT_TRUE(host.window.traffic.empty());
}

TEST_F(Programs, RunProgramWithWaitReturnsWhenTheProgramHasEnded) {
  ChildMode(report, "exit", "400");
  EXPECT_EQ(host.Call<int32_t>("SysRunProgram", ChildPath().c_str(), int32_t{0}, int32_t{1}), 0);
  EXPECT_TRUE(PathExists(report)) << "the program reports just before it ends";

  ChildMode(report, "exit", "400");
  EXPECT_EQ(host.Call<int32_t>("SysRunProgram", ChildPath().c_str(), int32_t{0}, int32_t{0}), 0);
  EXPECT_FALSE(PathExists(report)) << "without Wait the call is back at once";
  EXPECT_TRUE(WaitForReport(report).found);
}

TEST_F(Programs, RunProgramFailures) {
  HideErrors();
  const std::string missing = folder.File("missing.exe");
  const std::string withArgs = ChildPath() + " /x";
  const std::string notAProgram = folder.File("plain.txt");
  ASSERT_TRUE(WriteFileBytes(notAProgram, "not a program"));
  struct Case {
    const char* program;
    std::string expected;
  };
  const Case cases[] = {
      {"", "Missing or invalid parameter passed to function."},
      {nullptr, "Missing or invalid parameter passed to function."},
      {missing.c_str(), "The file \"" + missing + "\" could not be found."},
      {withArgs.c_str(), "The file \"" + withArgs + "\" could not be found."},
      {notAProgram.c_str(), "Error executing \"" + notAProgram + "\"."},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    host.variables.Erase("TLLastError");
    EXPECT_EQ(host.Call<int32_t>("SysRunProgram", cases[i].program, int32_t{0}, int32_t{1}), -1);
    EXPECT_EQ(LastError(), cases[i].expected);
  }
}

TEST_F(Programs, ShellFoldersAreTheUsersRegistryValues) {
  struct Case {
    const char* exportName;
    const char* value;
  };
  const Case cases[] = {
      {"SysGetStartMenuDir", "Start Menu"}, {"SysGetStartupDir", "Startup"}, {"SysGetDesktopDir", "Desktop"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exportName);
    std::string expected = Text(ReadRegistry(HKEY_CURRENT_USER, kShellFolders, c.value));
    ASSERT_FALSE(expected.empty());
    HostString s = host.Call<HostString>(c.exportName);
    ASSERT_TRUE(s.present);
    EXPECT_EQ(s.text, expected);
    EXPECT_EQ(s.blockSize, expected.size() + 1);
    EXPECT_TRUE(s.movable);
    EXPECT_EQ(s.lockCount, 0u);
  }
}

TEST_F(Programs, ShellFolderFailuresGoToTheHostOfTheLatestCall) {
  // This process's HKEY_CURRENT_USER becomes an empty key of the test's own.
  const std::string fakeUser = "Software\\RxSystemTestUser" + kPid;
  HKEY fake = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, fakeUser.c_str(), &fake), ERROR_SUCCESS);
  HideErrors();
  // An earlier call leaves the host's window as the one to tell.
  EXPECT_EQ(host.Call<int32_t>("SysAppOpen", ""), -1);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, fake), ERROR_SUCCESS);
  HostContext noWindow = host.context;
  noWindow.HostWindow = nullptr;
  BoxCatcher boxes;
  std::vector<std::string> errors;
  for (const char* name : {"SysGetStartMenuDir", "SysGetStartupDir", "SysGetDesktopDir"}) {
    host.variables.Erase("TLLastError");
    HostString s = host.CallWith<HostString>(&noWindow, name);
    EXPECT_FALSE(s.present) << name;
    errors.push_back(LastError());
  }
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(fake);
  DeleteKeyTree(HKEY_CURRENT_USER, fakeUser);
  EXPECT_TRUE(boxes.Stop().empty()) << "a record without a window did not replace the host's";
  EXPECT_EQ(errors, std::vector<std::string>(3, "Unable to obtain directory path of start menu."));
}

std::string StartMenu() { return Text(ReadRegistry(HKEY_CURRENT_USER, kShellFolders, "Start Menu")); }

// A shortcut as the shell-link object reads it back.
struct Shortcut {
  bool loaded = false;
  std::string path, args, startDir, description, iconPath;
  int iconIndex = -1;
};

Shortcut ReadShortcut(const std::string& file) {
  Shortcut s;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      std::wstring wide(file.begin(), file.end());
      if (SUCCEEDED(persist->Load(wide.c_str(), STGM_READ))) {
        s.loaded = true;
        char text[1024];
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        s.path = text;
        link->GetArguments(text, sizeof text);
        s.args = text;
        link->GetWorkingDirectory(text, sizeof text);
        s.startDir = text;
        link->GetDescription(text, sizeof text);
        s.description = text;
        link->GetIconLocation(text, sizeof text, &s.iconIndex);
        s.iconPath = text;
      }
      persist->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return s;
}

class Shortcuts : public Programs {
 protected:
  void TearDown() override {
    RemoveTree(groupRoot);
    Programs::TearDown();
  }
  const std::string group = "RxTest" + kPid;
  const std::string groupRoot = StartMenu() + "\\Programs\\" + group;
};

TEST_F(Shortcuts, OneShortcutPerLineInTheGroupUnderPrograms) {
  const std::string child = ChildPath();
  const std::string icon = child;
  const std::string specs = "Calc\t" + child + "\r" + "Notes\t" + child + "\t\tC:\\\r" + "Full\t" + child +
                            "\t/a \"b c\"\t" + folder.Path() + "\t" + icon;
  const std::string groupName = group + "\\Tools";
  ASSERT_EQ(host.Call<int32_t>("SysCreateIcons", groupName.c_str(), specs.c_str()), 0);
  const std::string tools = groupRoot + "\\Tools";
  struct Case {
    const char* name;
    std::string args, startDir, iconPath;
  };
  const Case cases[] = {
      {"Calc", "", "", ""},
      {"Notes", "", "C:\\", ""},
      {"Full", "/a \"b c\"", folder.Path(), icon},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shortcut s = ReadShortcut(tools + "\\" + c.name + ".lnk");
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(Lower(s.path), Lower(child));
    EXPECT_EQ(s.args, c.args);
    EXPECT_EQ(s.startDir, c.startDir);
    EXPECT_EQ(s.description, c.name);
    EXPECT_EQ(s.iconPath, c.iconPath);
  }
  EXPECT_TRUE(host.window.traffic.empty());
}

TEST_F(Shortcuts, ABadLineStopsAfterTheShortcutsBeforeIt) {
  HideErrors();
  const std::string child = ChildPath();
  const std::string specs = "Good\t" + child + "\rBad\ta\tb\tc\td\te\rNever\t" + child;
  BoxCatcher boxes;
  EXPECT_EQ(host.Call<int32_t>("SysCreateIcons", group.c_str(), specs.c_str()), -1);
  EXPECT_TRUE(boxes.Stop().empty());
  EXPECT_EQ(LastError(), "Invalid program icon specification.");
  EXPECT_TRUE(PathExists(groupRoot + "\\Good.lnk"));
  EXPECT_FALSE(PathExists(groupRoot + "\\Bad.lnk"));
  EXPECT_FALSE(PathExists(groupRoot + "\\Never.lnk"));
}

TEST_F(Shortcuts, AFailedSaveAlwaysShowsItsBoxThenReportsTheLine) {
  HideErrors();
  const std::string specs = "First\t" + ChildPath() + "\rno such folder\\Second\t" + ChildPath();
  BoxCatcher boxes;
  EXPECT_EQ(host.Call<int32_t>("SysCreateIcons", group.c_str(), specs.c_str()), -1);
  std::vector<SeenBox> seen = boxes.Stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");
  EXPECT_EQ(seen[0].text, L"Unable to create shortcut.");
  EXPECT_EQ(LastError(), "Invalid program icon specification.");
  EXPECT_TRUE(PathExists(groupRoot + "\\First.lnk")) << "what was saved stays";
}

TEST_F(Shortcuts, FoldersThatCannotBeMadeOrNamedAreRefused) {
  HideErrors();
  const std::string spec = "Calc\t" + ChildPath();
  struct Case {
    std::string groupName;
    std::string specs;
    std::string expected;
  };
  const std::string blocked = group + "\\file";
  const Case cases[] = {
      // The group's path passes through a file.
      {blocked + "\\Tools", spec, "Error creating \"" + groupRoot + "\\file\\Tools\"."},
      {group + "\\" + std::string(300, 'g'), spec, "The specified file path exceeds the maximum length."},
      {group, std::string(360, 'd') + "\t" + ChildPath(),
       "The specified file path exceeds the maximum length."},
  };
  RemoveTree(groupRoot);
  ASSERT_TRUE(CreateDirectoryA(groupRoot.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(groupRoot + "\\file", "in the way"));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    host.variables.Erase("TLLastError");
    EXPECT_EQ(host.Call<int32_t>("SysCreateIcons", cases[i].groupName.c_str(), cases[i].specs.c_str()), -1);
    EXPECT_EQ(LastError(), cases[i].expected);
  }
}

TEST_F(Shortcuts, LeavesTheCallersComInitialisationAsItFoundIt) {
  // The host has COM up on its thread already; the export's own start answers S_FALSE.
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  const std::string specs = "Calc\t" + ChildPath();
  EXPECT_EQ(host.Call<int32_t>("SysCreateIcons", group.c_str(), specs.c_str()), 0);
  CoUninitialize();
  // Balanced: with the host's one uninitialisation COM is down again.
  HRESULT again = CoInitialize(nullptr);
  EXPECT_EQ(again, S_OK);
  if (SUCCEEDED(again)) CoUninitialize();
  EXPECT_TRUE(PathExists(groupRoot + "\\Calc.lnk"));
}

// Registers a document type of the test's own; removes it again.
class Associations : public Programs {
 protected:
  void TearDown() override {
    DeleteKeyTree(HKEY_CLASSES_ROOT, extensionKey);
    DeleteKeyTree(HKEY_CLASSES_ROOT, className);
    WriteProfileStringA("Extensions", extension.c_str(), nullptr);
    Programs::TearDown();
  }
  std::string WinIniExtension() {
    char value[MAX_PATH * 2] = "";
    GetProfileStringA("Extensions", extension.c_str(), "", value, sizeof value);
    return value;
  }
  const std::string extension = "rxt" + kPid;
  const std::string extensionKey = "." + extension;
  const std::string className = "RxTestDocument" + kPid;
};

TEST_F(Associations, RegistersTheTypeItsIconAndItsCommands) {
  const std::string app = "C:\\App\\app.exe";
  const std::string spaced = "C:\\Program Files\\RX Safe\\viewer.exe";
  const std::string quoted = "\"" + spaced + "\"";
  struct Case {
    const std::string& program;
    const char* extension;
    const char* icon;
    const char* openParams;
    const char* printParams;
    const char* defaultIcon;  // null: no DefaultIcon key
    std::string open;
    std::string print;  // empty: no print command
    std::string winIni;
  };
  const std::string dotted = "." + extension;
  const Case cases[] = {
      {app, extension.c_str(), "C:\\App\\doc.ico", "", "/p %1", "C:\\App\\doc.ico,3", app + " \"%1\"",
       "C:\\App\\app.exe /p %1", app + " ^" + extensionKey},
      {app, dotted.c_str(), "", "/o \"%1\"", "", nullptr, app + " /o \"%1\"", "", app + " ^" + extensionKey},
      // A program path with blanks heads every command quoted, or the blanks would cut it.
      {spaced, extension.c_str(), "C:\\Program Files\\RX Safe\\doc.ico", "", "/p \"%1\"",
       "C:\\Program Files\\RX Safe\\doc.ico,3", quoted + " \"%1\"", quoted + " /p \"%1\"",
       quoted + " ^" + extensionKey},
      {quoted, extension.c_str(), "", "/o %1", "/p %1", nullptr, quoted + " /o %1", quoted + " /p %1",
       quoted + " ^" + extensionKey},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    const Case& c = cases[i];
    DeleteKeyTree(HKEY_CLASSES_ROOT, className);
    ASSERT_EQ(host.Call<int32_t>("SysAssociateFileType", className.c_str(), "Rx test document", c.extension,
                                 c.icon, int32_t{3}, c.program.c_str(), c.openParams, c.printParams),
              0);
    EXPECT_EQ(Text(ReadRegistry(HKEY_CLASSES_ROOT, extensionKey, nullptr)), className);
    EXPECT_EQ(Text(ReadRegistry(HKEY_CLASSES_ROOT, className, nullptr)), "Rx test document");
    RegistryText icon = ReadRegistry(HKEY_CLASSES_ROOT, className + "\\DefaultIcon", nullptr);
    EXPECT_EQ(icon.found, c.defaultIcon != nullptr);
    EXPECT_EQ(Text(icon), c.defaultIcon ? c.defaultIcon : "");
    EXPECT_EQ(Text(ReadRegistry(HKEY_CLASSES_ROOT, className + "\\shell\\open\\command", nullptr)), c.open);
    RegistryText print = ReadRegistry(HKEY_CLASSES_ROOT, className + "\\shell\\print\\command", nullptr);
    EXPECT_EQ(print.found, !c.print.empty());
    EXPECT_EQ(Text(print), c.print);
    EXPECT_EQ(WinIniExtension(), c.winIni);
  }
  EXPECT_FALSE(ReadRegistry(HKEY_CLASSES_ROOT, "." + dotted, nullptr).found) << "no second dot";
}

TEST_F(Associations, DocumentsOfTheTypeOpenAndPrintWithItsProgram) {
  // The program in a folder with a blank, beside one named like the name's first word: an
  // unquoted command would start that one with the document.
  const std::string child = folder.File("my child.exe");
  ASSERT_TRUE(CopyFileA(ChildPath().c_str(), child.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(ChildPath().c_str(), folder.File("my.exe").c_str(), FALSE));
  ASSERT_EQ(host.Call<int32_t>("SysAssociateFileType", className.c_str(), "Rx test document",
                               extension.c_str(), "", int32_t{0}, child.c_str(), "", "/p \"%1\""),
            0);
  const std::string document = folder.File("lesson." + extension);
  ASSERT_TRUE(WriteFileBytes(document, "a document"));

  HostString found = host.Call<HostString>("SysAppFind", document.c_str());
  ASSERT_TRUE(found.present);
  EXPECT_EQ(Lower(LongName(found.text)), Lower(LongName(child)));
  EXPECT_EQ(found.blockSize, 260u);

  struct Case {
    const char* exportName;
    int show;
    const char* verbMark;  // what only the verb's command line carries
  };
  const Case cases[] = {{"SysAppOpen", SW_SHOWNORMAL, ""}, {"SysAppPrint", SW_MINIMIZE, "/p "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exportName);
    ChildMode(report, "exit");
    ASSERT_EQ(host.Call<int32_t>(c.exportName, document.c_str()), 0);
    ChildReport r = WaitForReport(report);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(Lower(LongName(r.module)), Lower(LongName(child))) << "not the program the blank cuts off";
    EXPECT_EQ(Lower(LongName(r.directory)), Lower(LongName(folder.Path()))) << "the document's folder";
    EXPECT_NE(Lower(r.commandLine).find(Lower(std::string(c.verbMark) + "\"" + document + "\"")),
              std::string::npos)
        << r.commandLine;
    EXPECT_EQ(r.show, c.show);
  }

  // A bare name opens in the current directory.
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
  ChildMode(report, "exit");
  int32_t opened = host.Call<int32_t>("SysAppOpen", ("lesson." + extension).c_str());
  SetCurrentDirectoryA(saved);
  ASSERT_EQ(opened, 0);
  ChildReport r = WaitForReport(report);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(Lower(LongName(r.directory)), Lower(LongName(folder.Path())));
}

TEST_F(Associations, DocumentFailuresNameTheDocument) {
  HideErrors();
  const std::string unassociated = folder.File("plain.rxnone" + kPid);
  ASSERT_TRUE(WriteFileBytes(unassociated, "x"));
  const std::string missing = folder.File("missing.txt");
  struct Case {
    const char* exportName;
    const char* file;
    std::string expected;
  };
  const std::string invalid = "Missing or invalid parameter passed to function.";
  const Case cases[] = {
      {"SysAppFind", "", invalid},
      {"SysAppOpen", nullptr, invalid},
      {"SysAppPrint", "", invalid},
      {"SysAppFind", unassociated.c_str(),
       "Error opening \"" + unassociated + "\". No application is associated with this document type."},
      {"SysAppOpen", missing.c_str(), "The file \"" + missing + "\" could not be found."},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    const Case& c = cases[i];
    host.variables.Erase("TLLastError");
    if (std::string(c.exportName) == "SysAppFind")
      EXPECT_FALSE(host.Call<HostString>(c.exportName, c.file).present);
    else
      EXPECT_EQ(host.Call<int32_t>(c.exportName, c.file), -1);
    EXPECT_EQ(LastError(), c.expected);
  }

  // Without a class, a description, an extension or a program nothing is registered.
  const char* given[] = {className.c_str(), "Rx test document", extension.c_str(), "C:\\app.exe"};
  for (int leftOut = 0; leftOut < 4; ++leftOut) {
    SCOPED_TRACE("argument " + std::to_string(leftOut) + " empty");
    const char* a[4] = {given[0], given[1], given[2], given[3]};
    a[leftOut] = "";
    host.variables.Erase("TLLastError");
    EXPECT_EQ(host.Call<int32_t>("SysAssociateFileType", a[0], a[1], a[2], "", int32_t{0}, a[3], "", ""), -1);
    EXPECT_EQ(LastError(), invalid);
  }
  EXPECT_FALSE(ReadRegistry(HKEY_CLASSES_ROOT, extensionKey, nullptr).found);
  EXPECT_EQ(WinIniExtension(), "");
}

}  // namespace
