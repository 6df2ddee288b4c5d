// The results button of each program's window: the dialog opens on the table the window has
// chosen, filled by the program that runs that window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "forms/application.h"
#include "gui_driver.h"
#include "program_run.h"
#include "sound_files.h"
#include "test_files.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/results.h"

using namespace kelmora_test;

namespace {

class ResultsButton : public ::testing::Test {
 protected:
  void SetUp() override { forms::Application::Get().Initialize(); }

  // The program started on its fixture file as its program block starts it, and unlocked
  // by the questions form as a student unlocks it.
  void Start(bool sound) {
    std::wstring file = folder.File(sound ? L"sound.txt" : L"wave.txt");
    ASSERT_TRUE(WriteFileBytes(file, sound ? sound_test::SoundFixtureFile() : FixtureFile()));
    run.Start(sound, file);
    if (HasFatalFailure()) return;
    ASSERT_FALSE(forms::Application::Get().Terminated()) << "the program did not take the file";
    OpenAndCloseQuestions(*run.form);
    ASSERT_TRUE(run.form->results_Button->Enabled());
  }

  ScratchFolder folder;
  ProgramRun run;
};

TEST_F(ResultsButton, OpensOnTheTableTheWindowChose) {
  struct Case {
    const char* name;
    bool sound;
    bool longitudinal;  // Kelmora2's "Διαμήκη κύματα" clicked before the button
    const char* word;
    std::int32_t kind;
    const char* heading1;
    const char* cell11;
    const char* cell32;
  };
  const Case cases[] = {
      {"Kelmora2, transverse", false, false, "Εγκάρσια", 1, "Δύναμη F (N)", "3.5", "8.4"},
      {"Kelmora4", true, false, "Διαμήκη", 1, "Θερμοκρασία T (C)", "100", "106"},
      {"Kelmora2, longitudinal", false, true, "Διαμήκη", 2, "Ελ/τητα Ε (Kgr/msec^2)", "Ε1", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.sound);
    if (HasFatalFailure()) return;
    if (c.longitudinal) SendMessageW(run.form->diamhkh_RadioButton->Handle(), BM_CLICK, 0, 0);
    bool opened = false;
    testing_support::Driver d([&opened] {
      HWND w = testing_support::WaitForTopWindow(L" ");
      opened = w != nullptr;
      if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    });
    SendMessageW(run.form->results_Button->Handle(), BM_CLICK, 0, 0);
    d.Join();
    ASSERT_TRUE(opened) << "no results dialog";
    // The dialog keeps what it was filled with when it opened.
    const results::Tresults_form& dialog = *results::results_form;
    const forms::StringGrid& g = dialog.results_StringGrid;
    EXPECT_EQ(dialog.what_Label.Caption(), c.word);
    EXPECT_EQ(results::WaveKind, c.kind);
    EXPECT_EQ(g.Cell(1, 0), c.heading1);
    EXPECT_EQ(g.Cell(1, 1), c.cell11);
    EXPECT_EQ(g.Cell(3, 2), c.cell32);
  }
}

}  // namespace
