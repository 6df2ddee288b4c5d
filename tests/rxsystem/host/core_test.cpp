// The library's shared host interface linked into the test: the reporters and their host
// switch (through the library's message seam), the host-variable messages against the
// stand-in host's window, the wait cursor, and the path and memory helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hide_errors_cases.h"
#include "library_in_process.h"
#include "scratch_folder.h"
#include "seam_box_recorder.h"
#include "stand_in_host.h"
#include "system_services/drives/directories.h"
#include "system_services/files/file_operations.h"
#include "system_services/host/host_interface.h"

using namespace rxsystem;

namespace {

class HostInterface : public rxsystem_tests::LibraryInProcess {
 protected:
  void TearDown() override {
    RestoreCursor();
    EXPECT_TRUE(window.recordProblems.empty()) << window.recordProblems.front();
  }

  testing_support::SeamBoxRecorder recorder;
};

TEST_F(HostInterface, ReportErrorHonoursTheHostSwitch) {
  for (const rxsystem_tests::HideErrorsCase& c : rxsystem_tests::kHideErrorsCases) {
    SCOPED_TRACE(c.what);
    rxsystem_tests::PrepareHost(c, store, window);
    recorder.Clear();
    LastHostWindow = c.host == rxsystem_tests::SwitchHost::NoWindow ? nullptr : window.Handle();

    ReportError(kErrorDeletingFile, "c:\\data\\a.txt");

    const std::string expected = "Error deleting file \"c:\\data\\a.txt\".";
    if (c.boxShown) {
      ASSERT_EQ(recorder.boxes.size(), 1u);
      EXPECT_EQ(recorder.boxes[0].text, expected);
      EXPECT_EQ(recorder.boxes[0].caption, "RXSystem UCD Error");
      EXPECT_EQ(recorder.boxes[0].flags, static_cast<UINT>(MB_ICONHAND | MB_OK));
      EXPECT_EQ(recorder.boxes[0].owner, GetActiveWindow());
      EXPECT_EQ(recorder.beeps, std::vector<UINT>{MB_ICONHAND});
      EXPECT_FALSE(store.Get("TLLastError").has_value());
    } else {
      EXPECT_TRUE(recorder.boxes.empty());
      EXPECT_TRUE(recorder.beeps.empty());
      EXPECT_EQ(store.Text("TLLastError"), expected);
    }
    if (c.host == rxsystem_tests::SwitchHost::NoWindow) {
      EXPECT_TRUE(window.traffic.empty());
    } else {
      ASSERT_GE(window.traffic.size(), 1u);
      EXPECT_EQ(window.traffic[0].name, "TLHideErrors");
    }
  }
}

TEST_F(HostInterface, TheOtherReportersAlwaysShowTheirBox) {
  store.Set("TLHideErrors", 1);
  LastHostWindow = window.Handle();

  VeruErrorBox(kInsufficientMemory);
  VeruPlainError("no mem");
  VeruPlainError("bad %s %d", "arg", 3);
  recorder.answer = IDYES;
  bool yes = AskYesNo(kDirectoryNotFoundCaption, kCreateDirectoryQuestion, "c:\\new");
  recorder.answer = IDNO;
  bool no = AskYesNo(kDirectoryNotFoundCaption, kCreateDirectoryQuestion, "c:\\new");

  ASSERT_EQ(recorder.boxes.size(), 5u);
  EXPECT_EQ(recorder.boxes[0].text, "Insufficient memory to continue.");
  EXPECT_EQ(recorder.boxes[0].caption, "RXSystem UCD Error");
  EXPECT_EQ(recorder.boxes[1].text, "no mem");
  EXPECT_EQ(recorder.boxes[1].caption, "Error");
  EXPECT_EQ(recorder.boxes[1].flags, static_cast<UINT>(MB_ICONHAND | MB_OK));
  EXPECT_EQ(recorder.boxes[2].text, "bad arg 3");
  EXPECT_EQ(recorder.boxes[3].text, "The directory c:\\new does not exist. Do you wish to create it?");
  EXPECT_EQ(recorder.boxes[3].caption, "Directory Not Found");
  EXPECT_EQ(recorder.boxes[3].flags, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
  EXPECT_TRUE(yes);
  EXPECT_FALSE(no);
  EXPECT_EQ(recorder.beeps,
            (std::vector<UINT>{MB_ICONHAND, MB_ICONHAND, MB_ICONHAND, MB_ICONQUESTION, MB_ICONQUESTION}));
  // None of them asks the host.
  EXPECT_TRUE(window.traffic.empty());
}

TEST_F(HostInterface, MissingTextsAndTheBufferLimits) {
  LastHostWindow = nullptr;
  ReportError(3);
  AskYesNo(4, 6, "x");
  std::string longName(1000, 'n');
  ReportError(kErrorDeletingFile, longName.c_str());
  std::string plain(1000, 'p');
  VeruPlainError("%s", plain.c_str());

  ASSERT_EQ(recorder.boxes.size(), 4u);
  EXPECT_EQ(recorder.boxes[0].text, "Unknown error 3.");
  EXPECT_EQ(recorder.boxes[1].text, "Internal error:  Missing prompt 6.");
  EXPECT_EQ(recorder.boxes[1].caption, "Question");
  EXPECT_EQ(recorder.boxes[2].text.size(), 403u);
  EXPECT_EQ(recorder.boxes[2].text, ("Error deleting file \"" + longName).substr(0, 403));
  EXPECT_EQ(recorder.boxes[3].text, plain.substr(0, 399));
}

TEST_F(HostInterface, HostVariableMessages) {
  store.Set("Count", 42);
  store.Set("Name", std::string("Smith"));
  store.FailSet("Locked");

  EXPECT_EQ(GetHostNumberVariable(window.Handle(), "Count"), 42);
  EXPECT_EQ(GetHostNumberVariable(window.Handle(), "Missing"), 0);
  EXPECT_EQ(SetHostStringVariable(window.Handle(), "Name", "Jones"), 0);
  EXPECT_NE(SetHostStringVariable(window.Handle(), "Locked", "x"), 0);
  EXPECT_EQ(store.Text("Name"), "Jones");
  ASSERT_EQ(window.traffic.size(), 4u);
  EXPECT_EQ(window.traffic[0].message, authorware_host::kGetVariable);
  EXPECT_TRUE(window.traffic[0].isNumber);
  EXPECT_NE(window.traffic[1].answer, 0);
  EXPECT_EQ(window.traffic[2].message, authorware_host::kSetVariable);
  EXPECT_FALSE(window.traffic[2].isNumber);

  // Without a host window nothing is sent: the get answers 0, the set fails.
  EXPECT_EQ(GetHostNumberVariable(nullptr, "Count"), 0);
  EXPECT_NE(SetHostStringVariable(nullptr, "Name", "x"), 0);
  HWND gone = CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(GetHostNumberVariable(gone, "Count"), 0);
  EXPECT_EQ(window.traffic.size(), 4u);
}

int CursorCount() {
  ShowCursor(TRUE);
  return ShowCursor(FALSE);
}

TEST_F(HostInterface, WaitCursorDoesNotNestAndTheReporterRestoresIt) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(arrow);
  int count = CursorCount();

  VeruWaitCursor();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  EXPECT_EQ(CursorCount(), count + 1);
  VeruWaitCursor();
  EXPECT_EQ(CursorCount(), count + 1);

  LastHostWindow = nullptr;
  ReportError(kInvalidParameter);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(CursorCount(), count);
  RestoreCursor();  // nothing left to restore
  EXPECT_EQ(CursorCount(), count);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(recorder.boxes.size(), 1u);
}

TEST_F(HostInterface, CreatePathDirs) {
  const testing_support::ScratchFolder scratch{"rxcore"};
  const std::string root = scratch.Path();
  CloseHandle(CreateFileA((root + "\\file").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  struct Case {
    std::string path;
    int result;
    std::vector<std::string> directories;  // present afterwards
    bool reported;
  };
  const Case cases[] = {
      {root + "\\a\\b\\c", 0, {root + "\\a", root + "\\a\\b", root + "\\a\\b\\c"}, false},
      {root + "\\a\\b", 0, {root + "\\a\\b"}, false},  // already there
      {root + "\\d\\", 0, {root + "\\d"}, false},
      {"C:\\", 0, {}, false},
      {"report.txt", -1, {}, false},
      // 5
      {root + "\\file\\x", -1, {}, true},  // a file stands where a directory must go
      {root + "\\file", 0, {}, false},     // a file counts as present
  };
  LastHostWindow = nullptr;
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.path);
    recorder.boxes.clear();
    std::vector<char> path(c.path.begin(), c.path.end());
    path.push_back('\0');
    EXPECT_EQ(CreatePathDirs(path.data()), c.result);
    for (const std::string& d : c.directories) EXPECT_TRUE(testing_support::IsDirectory(d)) << d;
    ASSERT_EQ(recorder.boxes.size(), c.reported ? 1u : 0u);
    if (c.reported) {
      EXPECT_EQ(recorder.boxes[0].text, "Error creating \"" + root + "\\file\\x\".");
    }
    if (c.result == 0) {
      EXPECT_EQ(std::string(path.data()), c.path) << "the path is mended after each level";
    }
  }
}

TEST_F(HostInterface, CopyToGlobalStringIsALockedMovableCopy) {
  char* copy = CopyToGlobalString("working copy");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "working copy");
  HGLOBAL block = GlobalHandle(copy);
  ASSERT_NE(block, nullptr);
  EXPECT_NE(static_cast<void*>(block), static_cast<void*>(copy));
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
  EXPECT_EQ(GlobalSize(block), 13u);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(HostInterface, ThreadNotificationsKeepTheHostWindow) {
  LastHostWindow = window.Handle();
  LibraryEntry(GetModuleHandleW(nullptr), DLL_THREAD_ATTACH, nullptr);
  LibraryEntry(GetModuleHandleW(nullptr), DLL_THREAD_DETACH, nullptr);
  EXPECT_EQ(LastHostWindow, window.Handle());
  LibraryEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
  EXPECT_EQ(LastHostWindow, nullptr);
  EXPECT_EQ(ModuleInstance, GetModuleHandleW(nullptr));
}

TEST_F(HostInterface, ANullRecordFailsLikeAnyFailure) {
  LastHostWindow = window.Handle();
  store.Set("TLHideErrors", 1);
  EXPECT_EQ(SysDeleteFile(nullptr, "x"), -1);
  EXPECT_EQ(SysGetTempDir(nullptr), nullptr);
  SysDisableErrors(nullptr, 1);
  // No record, no host window to ask: each is a box with the parameter message.
  ASSERT_EQ(recorder.boxes.size(), 3u);
  for (const testing_support::SeamBox& b : recorder.boxes) {
    EXPECT_EQ(b.text, "Missing or invalid parameter passed to function.");
  }
  EXPECT_EQ(LastHostWindow, nullptr);
  EXPECT_TRUE(window.traffic.empty());
}

}  // namespace
