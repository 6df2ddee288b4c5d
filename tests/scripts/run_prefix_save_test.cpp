// The prefix of the run command as a teacher meets it (kelmora_run_prefix in
// scripts/wine-env.sh): its a: drive is the run's floppy folder, and a save through either
// experiment's window says the results were saved and leaves the report in that folder. Run by
// run_prefix_test.sh, which makes the prefix and names the folder in KELMORA_FLOPPY_FOLDER.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "child_process.h"
#include "file_bytes.h"
#include "gui_driver.h"
#include "scratch_folder.h"

using namespace testing_support;

namespace {

// The floppy folder as Wine's Z: drive shows it; empty when the script did not name one.
std::wstring FloppyFolder() {
  const char* folder = std::getenv("KELMORA_FLOPPY_FOLDER");
  return folder && *folder ? PathOnDriveZ(folder) : std::wstring();
}

class RunPrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    floppy = FloppyFolder();
    ASSERT_FALSE(floppy.empty()) << "KELMORA_FLOPPY_FOLDER is not set: run_prefix_test.sh runs this";
  }
  std::wstring floppy;
};

TEST_F(RunPrefix, TheADriveIsTheFloppyFolderAndTakesFiles) {
  ASSERT_TRUE(IsDirectory(std::wstring(L"a:\\"))) << "the prefix has no a: drive";
  const std::string bytes = "a line\r\n";
  ASSERT_TRUE(WriteFileBytes(std::wstring(L"a:\\probe.txt"), bytes))
      << "a: refuses a file: " << GetLastError();
  bool there = false;
  EXPECT_EQ(ReadFileBytes(floppy + L"\\probe.txt", &there), bytes);
  EXPECT_TRUE(there) << "the file written to a: is not in the floppy folder";
  DeleteFileW(L"a:\\probe.txt");
}

// Each experiment started on a working copy of its sample, as the run command starts it; the
// questions form opened and closed, which unlocks the save; the save button; the program's
// exit. The report is read through a: and through the folder.
TEST_F(RunPrefix, ASaveInEitherExperimentWritesItsReportToTheFloppyFolder) {
  struct Case {
    const char* program;
    const char* exe;
    const char* sample;
    const wchar_t* caption;
    const wchar_t* report;
  };
  const Case cases[] = {
      {"Kelmora2", KELMORA2_EXE, KELMORA2_SAMPLE, L"Ταχύτητα Διάδοσης Κυμάτων", L"results1-2.txt"},
      {"Kelmora4", KELMORA4_EXE, KELMORA4_SAMPLE, L"Θερμοκρασία και Ταχύτητα του Ήχου", L"results2-2.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    const ScratchFolder folder{"kelmora-run-"};
    const std::wstring data = folder.File(L"data.txt");
    const std::string sample = ReadFileBytes(PathOnDriveZ(c.sample));
    ASSERT_FALSE(sample.empty());
    ASSERT_TRUE(WriteFileBytes(data, sample));
    ChildProcess program;
    ASSERT_TRUE(program.Start(PathOnDriveZ(c.exe), L"\"" + data + L"\""));
    const DWORD pid = program.Pid();
    HWND main = WaitForProcessWindow(pid, c.caption);
    ASSERT_NE(main, nullptr);

    HWND questionsButton = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (questionsButton = FindChildByText(main, L"&2° Πείραμα")) != nullptr; }));
    ClickChild(questionsButton);
    HWND questions = WaitForProcessWindow(pid, L"Πείραμα 2");
    ASSERT_NE(questions, nullptr);
    ClickChild(FindChildByText(questions, L"OK"));
    HWND save = FindChildByText(main, L"Α&ποθήκευση");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(save) != FALSE; }))
        << "the questions form unlocks the save";

    ClickChild(save);
    EXPECT_EQ(AnswerProcessMessage(pid, L"2ο Πείραμα"), L"Τα αποτελέσματα αποθηκεύτηκαν.");
    bool onA = false, inFolder = false;
    const std::string report = ReadFileBytes(std::wstring(L"a:\\") + c.report, &onA);
    EXPECT_TRUE(onA) << "no report on a:";
    EXPECT_EQ(ReadFileBytes(floppy + L"\\" + c.report, &inFolder), report);
    EXPECT_TRUE(inFolder) << "no report in the floppy folder";
    // The report opens with the sample's first question.
    const std::string question1 = sample.substr(0, sample.find("\r\n"));
    EXPECT_EQ(report.rfind("----------\r\nΕρώτηση 1\r\n" + question1 + "\r\nΑπάντηση 1\r\n", 0), 0u)
        << report.substr(0, 200);

    ClickChild(FindChildByText(main, L"Έξ&οδος"));
    HWND again = WaitForProcessWindow(pid, L"Πείραμα 2");
    ASSERT_NE(again, nullptr);
    ClickChild(FindChildByText(again, L"OK"));
    ASSERT_TRUE(program.Ended(10000)) << "the program ends";
    EXPECT_EQ(program.ExitCode(), 0u);
  }
}

}  // namespace
