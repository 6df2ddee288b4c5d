// Kelmora4.exe as the student starts it: on a data file, and on one that does not exist.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "sound_files.h"
#include "test_files.h"

using namespace kelmora_test;

namespace {

std::wstring ProgramPath() { return testing_support::PathOnDriveZ(KELMORA4_EXE); }

using testing_support::ChildrenOfClass;
using testing_support::ChildWithText;
using testing_support::TextOf;

class Kelmora4Process : public ::testing::Test {
 protected:
  bool Start(const std::wstring& argument) { return p.Start(ProgramPath(), L"\"" + argument + L"\""); }
  ScratchFolder folder;
  std::wstring data = folder.File(L"sound.txt");
  testing_support::ChildProcess p;
};

TEST_F(Kelmora4Process, StartsOnAFixtureFileWithItsStartValues) {
  WriteFileBytes(data, sound_test::SoundFixtureFile());
  ASSERT_TRUE(Start(data));
  HWND main = testing_support::WaitForProcessWindow(p.Pid(), L"Θερμοκρασία και Ταχύτητα του Ήχου");
  ASSERT_NE(main, nullptr);
  // The set-up runs at the first activation and puts the track bars at their start.
  testing_support::WaitUntil([&] {
    auto bars = ChildrenOfClass(main, TRACKBAR_CLASSW);
    return bars.size() == 2 && SendMessageW(bars[0], TBM_GETPOS, 0, 0) == 100 &&
           SendMessageW(bars[1], TBM_GETPOS, 0, 0) == 1000;
  });
  auto bars = ChildrenOfClass(main, TRACKBAR_CLASSW);
  auto edits = ChildrenOfClass(main, L"Edit");
  ASSERT_EQ(bars.size(), 2u);
  ASSERT_EQ(edits.size(), 2u);
  const int positions[] = {100, 1000};
  const wchar_t* texts[] = {L"100", L"10"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(SendMessageW(bars[i], TBM_GETPOS, 0, 0), positions[i]);
    EXPECT_EQ(TextOf(edits[i]), texts[i]);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_EQ(ReadFileBytes(data), sound_test::SoundFixtureFile()) << "closing without changes writes nothing";
}

TEST_F(Kelmora4Process, AMissingFileEndsTheProgramAfterItsMessage) {
  ASSERT_TRUE(Start(folder.File(L"missing.txt")));
  HWND box = testing_support::WaitForProcessWindow(p.Pid(), L"Σφάλμα ανάγνωσης");
  ASSERT_NE(box, nullptr);
  HWND text = ChildWithText(box, L"Το αρχείο δεδομένων δεν βρέθηκε");
  HWND ok = ChildWithText(box, L"OK");
  EXPECT_NE(text, nullptr) << "no final full stop in this program";
  ASSERT_NE(ok, nullptr);
  EXPECT_FALSE(p.Ended(200)) << "the program waits for the student";
  PostMessageW(ok, BM_CLICK, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}

}  // namespace
