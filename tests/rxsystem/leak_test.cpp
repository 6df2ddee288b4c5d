// Every family of the library's exports, driven a few hundred times through the stand-in host
// with its failing paths (missing files, refused dialogs, bad arguments) beside the ones that
// succeed: a handle, GDI object, movable block or window that one path forgets to release
// shows as a count that climbs with the rounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "library_under_host.h"
#include "resource_counts.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using rxsystem_tests::LibraryPath;
using testing_support::CountResources;
using testing_support::ResourceCounts;

namespace {

std::string ChildPath() {
  const std::wstring w = LocalPath(RX_CHILD_PATH);
  char path[MAX_PATH];
  WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, path, MAX_PATH, nullptr, nullptr);
  return path;
}

std::string ClassOf(HWND w) {
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

HWND FindDescendant(HWND parent, const char* className, int id) {
  struct Search {
    const char* className;
    int id;
    HWND found;
  } s{className, id, nullptr};
  EnumChildWindows(
      parent, [](HWND c, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(c) != s->id || lstrcmpiA(ClassOf(c).c_str(), s->className) != 0) return TRUE;
        s->found = c;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// A child that the dialog shows: at WM_INITDIALOG nothing is visible yet, so the style decides.
HWND ShownItem(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) ? item : nullptr;
}

// Answers every dialog of this thread as soon as it is up, from inside the thread's own modal
// loop: no second thread runs while the counts are taken, and no call waits on a poll. A hook
// on the messages the thread sends would see the end of WM_INITDIALOG too, but under Wine
// each of the hundreds of messages of a dialog's start then costs a call to the wineserver
// (about a third of a file dialog's time); so a CBT hook, called a few dozen times a dialog,
// wraps each dialog's window procedure, which sees the end of WM_INITDIALOG itself.
class DialogAnswerer {
 public:
  DialogAnswerer() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &Procedure, nullptr, GetCurrentThreadId());
  }
  ~DialogAnswerer() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  bool Hooked() const { return hook_ != nullptr; }

  // OK, Yes, the first button, a list's rows chosen, a name typed into a file dialog; or else
  // Cancel, No, the close box.
  bool accept = false;
  std::string fileName;  // typed into a file dialog before it is accepted
  int answered = 0;

 private:
  static constexpr int kFileNameField = 0x47C;
  static constexpr int kPromptEdit = 101, kFirstButton = 102, kList = 105;

  static LRESULT CALLBACK Procedure(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && current_) {
      const HWND w = reinterpret_cast<HWND>(wp);
      // The parts of a file dialog are dialogs of their own inside it.
      const CREATESTRUCTW* made = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
      if (!(made->style & WS_CHILD) && ClassOf(w) == "#32770") current_->Wrap(w);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  // Dialogs made by the A and the W calls keep their kind: each is wrapped by its own call.
  void Wrap(HWND dialog) {
    const bool wide = IsWindowUnicode(dialog);
    const LONG_PTR own = reinterpret_cast<LONG_PTR>(wide ? &WrapperW : &WrapperA);
    const LONG_PTR was =
        wide ? SetWindowLongPtrW(dialog, GWLP_WNDPROC, own) : SetWindowLongPtrA(dialog, GWLP_WNDPROC, own);
    if (was) wrapped_[dialog] = reinterpret_cast<WNDPROC>(was);
  }
  static LRESULT CALLBACK WrapperW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Wrapped(w, msg, wp, lp, true);
  }
  static LRESULT CALLBACK WrapperA(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Wrapped(w, msg, wp, lp, false);
  }
  static LRESULT Wrapped(HWND w, UINT msg, WPARAM wp, LPARAM lp, bool wide) {
    const auto at = wrapped_.find(w);
    if (at == wrapped_.end()) return wide ? DefDlgProcW(w, msg, wp, lp) : DefDlgProcA(w, msg, wp, lp);
    const WNDPROC original = at->second;
    if (msg == WM_NCDESTROY) wrapped_.erase(at);
    const LRESULT r =
        wide ? CallWindowProcW(original, w, msg, wp, lp) : CallWindowProcA(original, w, msg, wp, lp);
    if (msg == WM_INITDIALOG && current_) current_->Answer(w);
    return r;
  }

  static void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }

  void Answer(HWND dialog) {
    ++answered;
    if (HWND field = FindDescendant(dialog, "Edit", kFileNameField)) {
      if (accept && !fileName.empty()) SetWindowTextA(field, fileName.c_str());
      Press(dialog, accept ? IDOK : IDCANCEL);
      return;
    }
    if (HWND first = ShownItem(dialog, kFirstButton); first && !ShownItem(dialog, IDOK)) {
      // The library's prompt and list dialogs: their buttons have ids of their own.
      if (!accept) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
      }
      if (HWND edit = GetDlgItem(dialog, kPromptEdit)) SetWindowTextA(edit, "typed");
      if (HWND list = GetDlgItem(dialog, kList)) {
        if (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
          SendMessageA(list, LB_SETSEL, TRUE, -1);
        else
          SendMessageA(list, LB_SETCURSEL, 0, 0);
      }
      Press(dialog, kFirstButton);
      return;
    }
    const int order[] = {IDOK, IDYES, IDCANCEL, IDNO};
    const int refuseOrder[] = {IDCANCEL, IDNO, IDOK, IDYES};
    for (int id : accept ? order : refuseOrder) {
      if (ShownItem(dialog, id)) {
        Press(dialog, id);
        return;
      }
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }

  static inline DialogAnswerer* current_ = nullptr;
  HHOOK hook_ = nullptr;
  // The wrapped procedures outlive the answerer, as a dialog could.
  static inline std::map<HWND, WNDPROC> wrapped_;
};

// A top-level window with a menu bar for the window and menu exports. It stays when asked to
// close, so that every round finds it again.
class TargetWindow {
 public:
  TargetWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) __attribute__((stdcall))->LRESULT {
      if (msg == WM_CLOSE) return 0;
      return DefWindowProcA(w, msg, wp, lp);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RxLeakTarget";
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    HMENU drop = CreatePopupMenu();
    AppendMenuA(drop, MF_STRING, 1, "&First");
    AppendMenuA(drop, MF_STRING, 2, "&Second");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), "&File");
    hwnd_ = CreateWindowA("RxLeakTarget", kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 240, 160, nullptr,
                          bar, wc.hInstance, nullptr);
  }
  ~TargetWindow() {
    DestroyWindow(hwnd_);
    UnregisterClassA("RxLeakTarget", GetModuleHandleA(nullptr));
  }
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;
  HWND Handle() const { return hwnd_; }
  uint32_t Id() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd_)); }
  static constexpr const char* kTitle = "Rx leak target";

 private:
  HWND hwnd_ = nullptr;
};

using testing_support::RemoveTree;
using testing_support::WriteFileBytes;

class Rounds;
using Round = void (Rounds::*)(int round);
using PlatformShare = int (Rounds::*)(int firstRound, int rounds);

struct Family {
  const char* name;
  int rounds;
  Round round;
  // The kernel handles that the platform's own parts keep over these rounds, without the
  // library; null where they keep none.
  PlatformShare platformShare = nullptr;
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

class Rounds : public ::testing::TestWithParam<Family> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Load(LibraryPath())) << host.Problems().front();
    ASSERT_TRUE(answers.Hooked());
    ASSERT_NE(target.Handle(), nullptr);
    errorMode = GetErrorMode();
    GetCurrentDirectoryA(MAX_PATH, startDirectory);
  }
  void TearDown() override {
    SetCurrentDirectoryA(startDirectory);
    SetErrorMode(errorMode);
    if (HostString menu = host.Call<HostString>("SysGetStartMenuDir"); menu.present)
      RemoveTree(menu.text + "\\Programs\\" + group);
    RegDeleteTreeA(HKEY_CURRENT_USER, registryKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, registryKey.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("." + extension).c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ("." + extension).c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, className.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, className.c_str());
    WriteProfileStringA("Extensions", extension.c_str(), nullptr);
    for (const std::string& p : host.window.recordProblems) ADD_FAILURE() << "record: " << p;
  }

  // The round's own directory, made afresh each round so that every round meets the same files.
  void Fresh() {
    // The file dialogs leave the process in the folder they were in, which then could not go.
    SetCurrentDirectoryA(startDirectory);
    RemoveTree(base);
    ASSERT_EQ(GetFileAttributesA(base.c_str()), INVALID_FILE_ATTRIBUTES)
        << "a file of the last round is still open";
    CreateDirectoryA(base.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(P("a.txt"), "one two"));
  }
  std::string P(const std::string& relative) const { return base + "\\" + relative; }

  template <class... A>
  int32_t Int(const char* name, A... args) {
    return host.Call<int32_t>(name, args...);
  }
  template <class... A>
  uint32_t Long(const char* name, A... args) {
    return host.Call<uint32_t>(name, args...);
  }
  template <class... A>
  bool Text(const char* name, A... args) {
    return host.Call<HostString>(name, args...).present;
  }
  template <class... A>
  void Void(const char* name, A... args) {
    host.Call<void>(name, args...);
  }

  // Most rounds store their errors in the host; every tenth shows them, as boxes to answer.
  void Prepare(int round) {
    host.variables.Set("TLHideErrors", round % 10 == 0 ? 0 : 1);
    host.window.traffic.clear();
    answers.accept = round % 2 == 0;
  }

 public:
  // One round of each family: all of its exports, with their failing paths.
  void Files(int) {
    Fresh();
    const std::string a = P("a.txt"), missing = P("none.txt");
    const char* none = "";
    EXPECT_EQ(Int("SysCopyFile", a.c_str(), P("sub\\b.txt").c_str()), 0);
    EXPECT_EQ(Int("SysCopyFile", missing.c_str(), P("x.txt").c_str()), -1);
    EXPECT_EQ(Int("SysCopyFile", none, P("x.txt").c_str()), -1);
    EXPECT_EQ(Int("SysMoveFile", P("sub\\b.txt").c_str(), P("sub\\c.txt").c_str()), 0);
    EXPECT_EQ(Int("SysMoveFile", missing.c_str(), P("sub\\y.txt").c_str()), -1);
    EXPECT_EQ(Int("SysRenameFile", P("sub\\c.txt").c_str(), P("sub\\d.txt").c_str()), 0);
    EXPECT_EQ(Int("SysRenameFile", missing.c_str(), P("e.txt").c_str()), -1);
    EXPECT_EQ(Int("SysCopyFiles", P("*.txt").c_str(), P("copies").c_str(), none, int32_t{1}, int32_t{1}), 0);
    EXPECT_EQ(Int("SysCopyFiles", P("*.txt").c_str(), P("copies").c_str(), none, int32_t{0}, int32_t{0}), 0);
    EXPECT_EQ(Int("SysCopyFiles", "no backslash", P("copies").c_str(), none, int32_t{0}, int32_t{0}), -1);
    EXPECT_EQ(
        Int("SysMoveFiles", P("copies\\*.txt").c_str(), P("moved").c_str(), none, int32_t{1}, int32_t{1}), 0);
    EXPECT_EQ(Int("SysDeleteFiles", P("moved\\*.txt").c_str(), none, int32_t{1}), 0);
    EXPECT_EQ(Int("SysDeleteFiles", P("").c_str(), none, int32_t{0}), -1);
    EXPECT_EQ(Int("SysCopyFileList", (a + "\t" + P("listed\\a.txt")).c_str(), int32_t{1}), 0);
    EXPECT_EQ(Int("SysMoveFileList", (P("listed\\a.txt") + "\t" + P("listed\\b.txt")).c_str(), int32_t{1}),
              0);
    EXPECT_EQ(Int("SysRenameFileList", (P("listed\\b.txt") + "\t" + P("listed\\c.txt")).c_str(), int32_t{1}),
              0);
    EXPECT_EQ(Int("SysDeleteFileList", P("listed\\c.txt").c_str()), 0);
    EXPECT_EQ(Int("SysCopyFileList", (missing + "\t" + P("listed\\z.txt")).c_str(), int32_t{1}), -1);
    EXPECT_EQ(Int("SysDeleteFileList", missing.c_str()), -1);
    EXPECT_EQ(Int("SysDeleteFile", P("sub\\d.txt").c_str()), 0);
    EXPECT_EQ(Int("SysDeleteFile", missing.c_str()), -1);
    EXPECT_EQ(Int("SysFileExists", a.c_str()), 1);
    EXPECT_EQ(Int("SysFileExists", none), -1);
    EXPECT_TRUE(Text("SysFindFiles", P("*.txt").c_str(), none, int32_t{1}, int32_t{0}, int32_t{0}, none, none,
                     int32_t{0}, int32_t{0}));
    EXPECT_TRUE(Text("SysFindFiles", P("*.txt").c_str(), none, int32_t{0}, int32_t{0}, int32_t{1}, "1/1/90",
                     "12/31/137", int32_t{0}, int32_t{0}));
    EXPECT_FALSE(Text("SysFindFiles", P("*.txt").c_str(), none, int32_t{0}, int32_t{0}, int32_t{0}, "bad",
                      none, int32_t{0}, int32_t{0}));
    EXPECT_FALSE(Text("SysFindFiles", "no backslash", none, int32_t{0}, int32_t{0}, int32_t{0}, none, none,
                      int32_t{0}, int32_t{0}));
    EXPECT_TRUE(Text("SysGetFileAttrib", a.c_str()));
    EXPECT_FALSE(Text("SysGetFileAttrib", missing.c_str()));
    EXPECT_EQ(Int("SysSetFileAttrib", a.c_str(), "A"), 0);
    EXPECT_EQ(Int("SysSetFileAttrib", missing.c_str(), "A"), -1);
    EXPECT_TRUE(Text("SysGetFileTime", a.c_str()));
    EXPECT_FALSE(Text("SysGetFileTime", missing.c_str()));
    EXPECT_EQ(Int("SysSetFileTime", a.c_str(), "1/2/99", "3:04"), 0);
    EXPECT_EQ(Int("SysSetFileTime", a.c_str(), "x", "3:04"), -1);
    EXPECT_EQ(Int("SysSetFileTime", missing.c_str(), "1/2/99", "3:04"), -1);
    EXPECT_EQ(Long("SysGetFileSize", a.c_str()), 7u);
    EXPECT_EQ(Long("SysGetFileSize", missing.c_str()), 0xFFFFFFFFu);
  }

  void Directories(int) {
    Fresh();
    const char* none = "";
    EXPECT_EQ(Int("SysCreateDir", P("d1\\d2\\d3").c_str()), 0);
    EXPECT_EQ(Int("SysCreateDir", none), -1);
    EXPECT_EQ(Int("SysRemoveDir", P("d1").c_str(), int32_t{1}), 0);
    EXPECT_EQ(Int("SysRemoveDir", P("none").c_str(), int32_t{0}), -1);
    EXPECT_EQ(Int("SysCreateDir", P("d4").c_str()), 0);
    ASSERT_TRUE(WriteFileBytes(P("d4\\kept.txt"), "x"));
    EXPECT_EQ(Int("SysRemoveDir", P("d4").c_str(), int32_t{1}), -1) << "a file stays, and so does its folder";
    HostString current = host.Call<HostString>("SysGetCurDir");
    EXPECT_TRUE(current.present);
    EXPECT_EQ(Int("SysSetCurDir", base.c_str()), 0);
    EXPECT_EQ(Int("SysSetCurDir", P("none").c_str()), -1);
    EXPECT_TRUE(Text("SysGetTempDir"));
    HostString temp = host.Call<HostString>("SysGetTempFileName", "rxl");
    EXPECT_TRUE(temp.present);
    DeleteFileA(temp.text.c_str());
    EXPECT_TRUE(Text("SysGetCurDrive"));
    EXPECT_EQ(Int("SysSetCurDrive", "C"), 0);
    EXPECT_EQ(Int("SysSetCurDrive", none), -1);
    EXPECT_EQ(Int("SysSetCurDir", current.text.c_str()), 0);
    EXPECT_GT(Long("SysGetFreeDiskSpace", "C:"), 0u);
    EXPECT_GT(Long("SysGetTotalDiskSpace", none), 0u);
    EXPECT_EQ(Long("SysGetFreeDiskSpace", "Q:\\no\\such"), 0u);
    Text("SysGetVolumeName", "C");
    EXPECT_FALSE(Text("SysGetVolumeName", "Q"));
    Int("SysIsCDDrive", "C");
    Text("SysGetCDDrive");
    EXPECT_TRUE(Text("SysGetDriveType", "C"));
    EXPECT_TRUE(Text("SysGetDriveList"));
  }

  // The five kinds of box differ only in their icon; they make two cases of about equal
  // length. Every button set and default button comes round, and a button set out of range.
  void MessageBoxes(int round) {
    for (const char* box : {"SysMessage", "SysInfoMessage", "SysWarningMessage"})
      EXPECT_GE(Int(box, int32_t{round % 5}, int32_t{1 + round % 3}, "Leak box", "A text."), 1) << box;
    EXPECT_EQ(Int("SysMessage", int32_t{9}, int32_t{1}, "Leak box", "A text."), -1);
  }

  void ErrorAndQuestionBoxes(int round) {
    for (const char* box : {"SysErrorMessage", "SysQuestionMessage"})
      EXPECT_GE(Int(box, int32_t{round % 5}, int32_t{1 + round % 3}, "Leak box", "A text."), 1) << box;
    EXPECT_EQ(Int("SysQuestionMessage", int32_t{-1}, int32_t{1}, "Leak box", "A text."), -1);
  }

  void PromptsAndLists(int round) {
    const char* none = nullptr;
    EXPECT_TRUE(Text("SysPrompt", int32_t{10}, int32_t{10}, int32_t{200}, "Leak prompt", "Describe it.",
                     int32_t{0}, int32_t{1}, "Label:", "OK", "Cancel", none, int32_t{1}, int32_t{20},
                     int32_t{1 + round % 3}));
    EXPECT_TRUE(Text("SysPrompt", int32_t{-1}, int32_t{-1}, int32_t{200}, "Leak prompt", none, int32_t{1},
                     int32_t{0}, none, "Yes", "No", "Later", int32_t{2}, int32_t{-5}, int32_t{1}));
    EXPECT_TRUE(Text("SysListPrompt", int32_t{20}, int32_t{20}, int32_t{260}, "Leak list", "Pick some.",
                     int32_t{0}, int32_t{1}, "Name\tSize", "one\t1\rtwo\t22\rthree\t333\r",
                     int32_t{round % 2}, int32_t{round % 4 < 2}, int32_t{round % 3 == 0}, int32_t{5}, "OK",
                     "Cancel", none, int32_t{1}));
    EXPECT_FALSE(Text("SysListPrompt", int32_t{20}, int32_t{20}, int32_t{260}, "Leak list", none, int32_t{0},
                      int32_t{0}, "A\tB", "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\r", int32_t{0}, int32_t{0},
                      int32_t{0}, int32_t{5}, "OK", none, none, int32_t{1}))
        << "a row of more columns than a list can have";
  }

  // Wine's open and save dialogs are slow to come up (a shell view each, a tenth of a second
  // or more): a family each, so that no one case holds the run, and the library's folder
  // chooser a third.
  void OpenDialog(int round) {
    Fresh();
    answers.fileName = P("a.txt");
    EXPECT_EQ(Text("SysPromptOpenFileName", (base + "\\").c_str(), "Leak open", "Text\t*.txt\rAll\t*.*\r",
                   "txt", int32_t{round % 4 < 2}),
              answers.accept);
  }

  void SaveDialog(int) {
    Fresh();
    answers.fileName.clear();
    EXPECT_EQ(Text("SysPromptSaveFileName", base.c_str(), "new.txt", "Leak save", "", "Text\t*.txt\r", "txt"),
              answers.accept);
  }

  void FolderChooser(int) {
    Fresh();
    EXPECT_EQ(Text("SysPromptDirName", base.c_str(), "Leak folder", int32_t{1}), answers.accept);
  }

  // Wine's open and save dialogs keep one registry key each time one is accepted, called by
  // the library or not: the same dialog, accepted as often as in the rounds, straight from
  // the platform.
  int PlatformDialogs(int firstRound, int rounds, bool open) {
    Fresh();
    const int before = CountResources().kernelHandles;
    for (int round = firstRound; round < firstRound + rounds; ++round) {
      if (round % 2 != 0) continue;
      answers.accept = true;
      answers.fileName = open ? P("a.txt") : "";
      char answer[MAX_PATH] = "";
      if (!open) lstrcpyA(answer, "new.txt");
      OPENFILENAMEA r{};
      r.lStructSize = sizeof r;
      r.lpstrFilter = "Text\0*.txt\0";
      r.lpstrFile = answer;
      r.nMaxFile = MAX_PATH - 1;
      r.lpstrInitialDir = base.c_str();
      r.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
      EXPECT_TRUE(open ? GetOpenFileNameA(&r) : GetSaveFileNameA(&r));
    }
    return CountResources().kernelHandles - before;
  }
  int PlatformOpenDialogs(int firstRound, int rounds) { return PlatformDialogs(firstRound, rounds, true); }
  int PlatformSaveDialogs(int firstRound, int rounds) { return PlatformDialogs(firstRound, rounds, false); }

  void WindowsAndClipboard(int round) {
    const uint32_t id = target.Id();
    const char* none = "";
    EXPECT_EQ(Int("SysTextToClipboard", "clipped"), 0);
    EXPECT_EQ(Int("SysTextToClipboard", none), -1);
    EXPECT_TRUE(Text("SysClipboardToText"));
    Void("SysEmptyClipboard");
    EXPECT_FALSE(Text("SysClipboardToText"));
    Void("SysSetCursorPos", int32_t{10}, int32_t{10}, int32_t{0});
    Void("SysSetCursorPos", int32_t{5}, int32_t{5}, int32_t{1});
    Void("SysRestrictCursor", int32_t{0}, int32_t{0}, int32_t{50}, int32_t{50});
    Void("SysReleaseCursor");
    Void("SysMinimizeWindow", id);
    Int("SysIsWindowMinimized", id);
    Void("SysMaximizeWindow", id);
    Int("SysIsWindowMaximized", id);
    Void("SysSetWindowNormal", id);
    Void("SysHideWindow", id);
    Void("SysVeruWindow", id);
    EXPECT_EQ(Int("SysIsWindowVisible", id), 1);
    Void("SysSetWindowTop", id);
    Void(round % 2 ? "SysSetWindowAboveAll" : "SysSetWindowNormal", id);
    Void("SysSetActiveWindow", id);
    Int("SysIsWindowActive", id);
    Long("SysGetActiveWindow");
    EXPECT_EQ(Long("SysFindWindow", none, TargetWindow::kTitle), id);
    EXPECT_TRUE(Text("SysGetWindowClass", TargetWindow::kTitle));
    EXPECT_FALSE(Text("SysGetWindowClass", "No such window anywhere"));
    EXPECT_EQ(Int("SysPosWindow", id, int32_t{30 + round % 7}, int32_t{30}, int32_t{0}, int32_t{0}), 0);
    EXPECT_EQ(Int("SysSizeWindow", id, int32_t{240}, int32_t{160 + round % 5}, int32_t{0}, int32_t{0}), 0);
    EXPECT_EQ(Int("SysSetWindowTitle", id, TargetWindow::kTitle), 0);
    EXPECT_EQ(Int("SysCloseWindow", id), 0);
    Void("SysHideWindowTitle");
    Void("SysVeruWindowTitle");
    EXPECT_EQ(Int("SysEnableMenuItem", id, int32_t{0}, int32_t{0}, int32_t{round % 2}), 0);
    EXPECT_EQ(Int("SysCheckMenuItem", id, int32_t{0}, int32_t{1}, int32_t{round % 2}), 0);
    EXPECT_EQ(Int("SysEnableMenuItem", id, int32_t{5}, int32_t{0}, int32_t{1}), -1);
    EXPECT_EQ(Int("SysCheckMenuItem", uint32_t{0}, int32_t{0}, int32_t{0}, int32_t{1}), -1) << "no menu bar";
  }

  void SystemInformation(int) {
    Void("SysDisableErrors", int32_t{1});
    Void("SysDisableErrors", int32_t{0});
    EXPECT_TRUE(Text("SysGetDOSEnvironment"));
    EXPECT_TRUE(Text("SysGetEnvVariable", "PATH"));
    EXPECT_FALSE(Text("SysGetEnvVariable", "RX_LEAK_NOT_SET"));
    EXPECT_FALSE(Text("SysGetEnvVariable", ""));
    EXPECT_TRUE(Text("SysGetWindowsDir"));
    EXPECT_TRUE(Text("SysGetSystemDir"));
    EXPECT_GT(Int("SysGetSystemFontHeight"), 0);
    const int32_t saver = Int("SysEnableScreenSaver", int32_t{0});
    Int("SysEnableScreenSaver", saver);
    EXPECT_TRUE(Text("SysGetAvailScreenRes", int32_t{0}));
    EXPECT_TRUE(Text("SysGetAvailScreenRes", int32_t{1}));
    EXPECT_TRUE(Text("SysGetOSVersion"));
    EXPECT_TRUE(Text("SysGetVideoVersion"));
    char kernel[MAX_PATH];
    GetSystemDirectoryA(kernel, MAX_PATH);
    EXPECT_TRUE(Text("SysGetFileVersion", (std::string(kernel) + "\\kernel32.dll").c_str()));
    EXPECT_FALSE(Text("SysGetFileVersion", P("none.dll").c_str()));
    Void("SysCloseHelp", "leak.hlp");
    EXPECT_EQ(Int("SysHelp", "", "", "Contents"), -1);
    EXPECT_EQ(Int("SysHelp", "leak.hlp", "", "NoSuchCommand"), -1);
  }

  void Programs(int round) {
    Fresh();
    const std::string missing = P("none.txt");
    const char* none = "";
    Text("SysAppFind", P("a.txt").c_str());
    EXPECT_FALSE(Text("SysAppFind", missing.c_str()));
    EXPECT_FALSE(Text("SysAppFind", none));
    EXPECT_EQ(Int("SysAppOpen", missing.c_str()), -1);
    EXPECT_EQ(Int("SysAppPrint", missing.c_str()), -1);
    EXPECT_EQ(Int("SysAppOpen", none), -1);
    EXPECT_EQ(Int("SysRunProgram", missing.c_str(), int32_t{0}, int32_t{0}), -1);
    // Starting a program is slow; a few rounds are enough for its two handles.
    if (round % 20 == 0) {
      SetEnvironmentVariableA("RX_CHILD_MODE", "exit");
      EXPECT_EQ(Int("SysRunProgram", ChildPath().c_str(), int32_t{3}, int32_t{1}), 0);
      SetEnvironmentVariableA("RX_CHILD_MODE", nullptr);
    }
    EXPECT_TRUE(Text("SysGetStartMenuDir"));
    EXPECT_TRUE(Text("SysGetStartupDir"));
    EXPECT_TRUE(Text("SysGetDesktopDir"));
    const std::string shortcut = "Leak\t" + P("a.txt") + "\r";
    EXPECT_EQ(Int("SysCreateIcons", group.c_str(), shortcut.c_str()), 0);
    EXPECT_EQ(Int("SysCreateIcons", group.c_str(), "Bad\ta\tb\tc\td\te\r"), -1);
    EXPECT_EQ(Int("SysAssociateFileType", className.c_str(), "Rx leak document", extension.c_str(),
                  P("a.ico").c_str(), int32_t{1}, P("app.exe").c_str(), "", "/p"),
              0);
    EXPECT_EQ(Int("SysAssociateFileType", none, "Rx leak document", extension.c_str(), none, int32_t{0},
                  P("app.exe").c_str(), none, none),
              -1);
  }

  void RegistryAndValues(int round) {
    Fresh();
    const std::string ini = P("values.ini");
    const char* none = "";
    EXPECT_EQ(Int("SysWriteRegistry", int32_t{1}, registryKey.c_str(), "Name", "value"), 0);
    EXPECT_TRUE(Text("SysReadRegistry", int32_t{1}, registryKey.c_str(), "Name"));
    EXPECT_FALSE(Text("SysReadRegistry", int32_t{1}, registryKey.c_str(), "None"));
    EXPECT_FALSE(Text("SysReadRegistry", int32_t{1}, (registryKey + "\\None").c_str(), "Name"));
    EXPECT_EQ(Int("SysWriteRegistry", int32_t{9}, registryKey.c_str(), "Name", "value"), -1);
    // A root key out of range always shows its box.
    if (round % 10 == 0) {
      EXPECT_FALSE(Text("SysReadRegistry", int32_t{9}, registryKey.c_str(), "Name"));
    }
    EXPECT_EQ(Int("SysWriteValue", ini.c_str(), "Section", "Label", "value"), 0);
    EXPECT_TRUE(Text("SysReadValue", ini.c_str(), "Section", "Label", "default"));
    EXPECT_EQ(Int("SysWriteValue", ini.c_str(), none, "Label", "value"), -1);
    EXPECT_FALSE(Text("SysReadValue", ini.c_str(), "Section", none, "default"));
    host.variables.Set("RxLeakText", std::string("a text"));
    host.variables.Set("RxLeakNumber", int32_t{7});
    EXPECT_EQ(Int("SysWriteVariables", ini.c_str(), "Vars", "RxLeakText\rRxLeakNumber"), 0);
    EXPECT_EQ(Int("SysReadVariables", ini.c_str(), "Vars", "RxLeakText\rRxLeakNumber"), 0);
    EXPECT_EQ(Int("SysReadVariables", ini.c_str(), "Vars", none), 0);
    EXPECT_EQ(Int("SysReadVariables", P("none.ini").c_str(), "Vars", none), -1);
    EXPECT_EQ(Int("SysWriteVariables", ini.c_str(), none, "RxLeakText"), -1);
  }

 protected:
  StandInHost host;
  DialogAnswerer answers;
  TargetWindow target;
  // Each round's own folder inside the test's; a round makes it afresh.
  testing_support::ScratchFolder scratch{"RxLeak"};
  const std::string base = scratch.File("round");
  const std::string pid = std::to_string(GetCurrentProcessId());
  const std::string group = "RxLeak" + pid;
  const std::string registryKey = "Software\\RxLeak" + pid;
  const std::string extension = "rxl" + pid;
  const std::string className = "RxLeak" + pid + ".Document";
  UINT errorMode = 0;
  char startDirectory[MAX_PATH] = "";
};

// Rounds enough that one leak per round stands far above whatever the platform itself
// settles on. The first rounds, every variant of a round among them, fill the platform's own
// caches before anything is counted. Left out, as in every test under a real session: the
// restart and the display mode (they would end or change the session), documents opened or
// printed and the help viewer shown (they start other programs), the search of every disk.
const Family kFamilies[] = {
    {"FilesAndWildcards", 300, &Rounds::Files},
    {"DirectoriesAndDrives", 300, &Rounds::Directories},
    {"MessageBoxes", 200, &Rounds::MessageBoxes},
    {"ErrorAndQuestionBoxes", 200, &Rounds::ErrorAndQuestionBoxes},
    {"PromptsAndLists", 200, &Rounds::PromptsAndLists},
    {"OpenFileDialog", 100, &Rounds::OpenDialog, &Rounds::PlatformOpenDialogs},
    {"SaveFileDialog", 100, &Rounds::SaveDialog, &Rounds::PlatformSaveDialogs},
    {"FolderChooser", 300, &Rounds::FolderChooser},
    {"WindowsCursorClipboardAndMenus", 300, &Rounds::WindowsAndClipboard},
    {"SystemInformation", 300, &Rounds::SystemInformation},
    {"ProgramsShortcutsAndFileTypes", 200, &Rounds::Programs},
    {"RegistryProfilesAndHostVariables", 300, &Rounds::RegistryAndValues},
};
constexpr int kWarmUpRounds = 20;

TEST_P(Rounds, CountsStayFlat) {
  const Family& family = GetParam();
  // A trace is used in the warm-up too: the first one starts a thread of the test framework.
  auto play = [&](int first, int count) {
    for (int r = first; r < first + count && !HasFailure(); ++r) {
      SCOPED_TRACE("round " + std::to_string(r));
      Prepare(r);
      (this->*family.round)(r);
    }
  };
  play(0, kWarmUpRounds);
  ASSERT_FALSE(HasFailure());
  const ResourceCounts before = CountResources();
  const int answeredBefore = answers.answered;
  play(kWarmUpRounds, family.rounds);
  const ResourceCounts after = CountResources();
  const int answered = answers.answered - answeredBefore;
  ResourceCounts expected = before;
  if (family.platformShare)
    expected.kernelHandles += (this->*family.platformShare)(kWarmUpRounds, family.rounds);
  EXPECT_EQ(after, expected) << "after " << family.rounds << " rounds of " << family.name;
  std::printf("%s: %d rounds, %d dialogs answered; %s, the platform's share %d handles\n", family.name,
              family.rounds, answered, testing::PrintToString(after).c_str(),
              expected.kernelHandles - before.kernelHandles);
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, Rounds, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
