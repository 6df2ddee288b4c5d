// The wave program's main window in the test's own process, started on a data file of the
// test's own, as the program block starts it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "forms/application.h"
#include "gui_driver.h"
#include "test_files.h"
#include "message_recorder.h"
#include "probe_program.h"
#include "program_run.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/wave_program.h"

namespace kelmora_test {

// Pumps messages for `ms` milliseconds.
inline void Pump(DWORD ms) { testing_support::PumpFor(ms, 2); }

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    forms::Application::Get().ResetTerminated();
    dataFile = folder.File(L"data.txt");
    WriteFileBytes(dataFile, FixtureFile());
    Unit1::DataFileArgument = dataFile;
  }
  void TearDown() override {
    if (form) form->Hide();
    forms::Application::Get().ResetTerminated();
  }

  // A fresh program run in the same process: the unit-level state as at load.
  void ResetProgram() { EndProgramRun(form); }

  // Creates the forms as the program block does and shows the main window, which runs the
  // set-up at its first activation.
  void Start() {
    form = std::make_unique<Unit1::TForm1>(program);
    peirama::CreatePeiramaForm();
    results::CreateResultsForm();
    form->Show();
    Pump(50);
  }

  // Opens the questions form by its button, as the student does, and closes it: the
  // experiment's controls are enabled after it.
  void Unlock() {
    OpenAndCloseQuestions(*form);
    Pump(20);
  }

  // A click the button's window handles at once (the handler runs inside this call).
  static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
  static void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

  ScratchFolder folder;
  std::wstring dataFile;
  ProbeProgram<WaveProgram::Program> program;
  std::unique_ptr<Unit1::TForm1> form;
};

}  // namespace kelmora_test
