// Kelmora2.exe as the student starts it: on a data file, and on one that does not exist.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "test_files.h"

using namespace kelmora_test;

namespace {

// The program's path in this build, as Wine sees the build folder.
std::wstring ProgramPath() { return testing_support::PathOnDriveZ(KELMORA2_EXE); }

using testing_support::ChildrenOfClass;
using testing_support::ChildWithText;
using testing_support::TextOf;

class Kelmora2Process : public ::testing::Test {
 protected:
  // The program started on `argument`, as the student starts it.
  bool Start(const std::wstring& argument) { return p.Start(ProgramPath(), L"\"" + argument + L"\""); }
  // The program started on the fixture data file; its main window once the set-up, which
  // runs at the first activation, has put the first track bar at its start.
  HWND StartOnTheFixtureFile() {
    WriteFileBytes(data, FixtureFile());
    if (!Start(data)) return nullptr;
    HWND main = testing_support::WaitForProcessWindow(p.Pid(), kMainCaption);
    if (!main) return nullptr;
    bool setUp = testing_support::WaitUntil([&] {
      auto bars = ChildrenOfClass(main, TRACKBAR_CLASSW);
      return !bars.empty() && SendMessageW(bars[0], TBM_GETPOS, 0, 0) == 350;
    });
    EXPECT_TRUE(setUp) << "the set-up at the first activation did not run";
    return main;
  }

  static constexpr const wchar_t* kMainCaption = L"Ταχύτητα Διάδοσης Κυμάτων";
  ScratchFolder folder;
  std::wstring data = folder.File(L"data.txt");
  testing_support::ChildProcess p;
};

TEST_F(Kelmora2Process, StartsOnAFixtureFileAndClosesCleanly) {
  HWND main = StartOnTheFixtureFile();
  ASSERT_TRUE(p.Started());
  ASSERT_NE(main, nullptr);
  auto bars = ChildrenOfClass(main, TRACKBAR_CLASSW);
  auto edits = ChildrenOfClass(main, L"Edit");
  ASSERT_EQ(bars.size(), 3u);
  ASSERT_EQ(edits.size(), 3u);
  const int positions[] = {350, 40, 25};
  const wchar_t* texts[] = {L"3.5", L"0.4", L"0.25"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(SendMessageW(bars[i], TBM_GETPOS, 0, 0), positions[i]);
    EXPECT_EQ(TextOf(edits[i]), texts[i]);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_EQ(ReadFileBytes(data), FixtureFile()) << "closing without changes writes nothing";
}

TEST_F(Kelmora2Process, AMissingFileEndsTheProgramAfterItsMessage) {
  ASSERT_TRUE(Start(folder.File(L"missing.txt")));
  HWND box = testing_support::WaitForProcessWindow(p.Pid(), L"Σφάλμα ανάγνωσης");
  ASSERT_NE(box, nullptr);
  HWND text = ChildWithText(box, L"Το αρχείο δεδομένων δεν βρέθηκε.");
  HWND ok = ChildWithText(box, L"OK");
  EXPECT_NE(text, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_FALSE(p.Ended(200)) << "the program waits for the student";
  PostMessageW(ok, BM_CLICK, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}

// The window's close box while the wave runs: the questions form once more, then the program
// ends by itself.
TEST_F(Kelmora2Process, ClosingWhileTheWaveRunsEndsTheProgram) {
  HWND main = StartOnTheFixtureFile();
  ASSERT_TRUE(p.Started());
  ASSERT_NE(main, nullptr);
  const DWORD pid = p.Pid();
  PostMessageW(ChildWithText(main, L"&2° Πείραμα"), BM_CLICK, 0, 0);
  HWND questions = testing_support::WaitForProcessWindow(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  PostMessageW(questions, WM_CLOSE, 0, 0);
  HWND work = nullptr;
  testing_support::WaitUntil([&] { return (work = ChildWithText(main, L"Έ&ναρξη")) != nullptr; }, 2000, 20);
  ASSERT_NE(work, nullptr);
  testing_support::WaitUntil([&] { return IsWindowEnabled(work) != FALSE; }, 2000, 20);
  PostMessageW(work, BM_CLICK, 0, 0);
  testing_support::WaitUntil([&] { return TextOf(work) == L"&Παύση"; }, 2000, 20);
  ASSERT_EQ(TextOf(work), L"&Παύση");
  PostMessageW(main, WM_CLOSE, 0, 0);
  questions = testing_support::WaitForProcessWindow(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  PostMessageW(questions, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}

}  // namespace
