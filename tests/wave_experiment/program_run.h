// A run of either experiment program in the test's own process: what starting afresh puts
// back, and the first thing a student does.
#pragma once
#include <windows.h>

#include <memory>

#include "forms/application.h"
#include "gui_driver.h"
#include "wave_experiment/Unit1.h"

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

}  // namespace kelmora_test
