// A run of either experiment program in the test's own process: what starting afresh puts
// back, and the first thing a student does.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/application.h"
#include "gui_driver.h"
#include "sound_experiment/sound_program.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/wave_program.h"

namespace kelmora_test {

// Ends the run of `form` and puts the unit-level state back as it is when the program loads,
// so that the next run in the same process starts as a fresh program does.
inline void EndProgramRun(std::unique_ptr<Unit1::TForm1>& form) {
  if (form) form->Hide();
  form.reset();
  forms::Application::Get().ResetTerminated();
  Unit1::SetupDone = false;
  Unit1::Questions = {};
  Unit1::Measurements.Clear();
  Unit1::GridRows = 0;
  Unit1::GridCols = 0;
}

// Opens the questions form by its button and closes it, as the student does before anything
// else: the experiment's controls are enabled after it.
inline void OpenAndCloseQuestions(Unit1::TForm1& form) {
  testing_support::Driver d([] {
    if (HWND w = testing_support::WaitForTopWindow(L"Πείραμα 2")) PostMessageW(w, WM_CLOSE, 0, 0);
  });
  SendMessageW(form.peirama_Button->Handle(), BM_CLICK, 0, 0);
  d.Join();
}

// Either program's main window in the test's own process, started as its program block
// starts it. The programs outlive the window that runs them.
class ProgramRun {
  WaveProgram::Program wave_;
  SoundProgram::Program sound_;

 public:
  std::unique_ptr<Unit1::TForm1> form;

  ~ProgramRun() { End(); }

  // Shows Kelmora4's window (`sound`) or Kelmora2's on `file`, with the other forms its
  // program block creates, and returns once the set-up of its first activation is done. A
  // program that refuses the file ends the run there: the caller asks Terminated().
  void Start(bool sound, const std::wstring& file) {
    End();
    Unit1::DataFileArgument = file;
    if (sound) {
      form = std::make_unique<Unit1::TForm1>(sound_);
      SoundProgram::CreateForms();
    } else {
      form = std::make_unique<Unit1::TForm1>(wave_);
      peirama::CreatePeiramaForm();
      results::CreateResultsForm();
    }
    form->Show();
    ASSERT_TRUE(testing_support::PumpUntil([] { return Unit1::SetupDone; })) << "the set-up did not finish";
  }

  void End() { EndProgramRun(form); }
};

}  // namespace kelmora_test
