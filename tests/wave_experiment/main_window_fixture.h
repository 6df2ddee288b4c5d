// The wave program's main window in the test's own process, started on a data file of the
// test's own, as the program block starts it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/application.h"
#include "test_files.h"
#include "message_recorder.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/wave_program.h"

namespace kelmora_test {

// Pumps messages for `ms` milliseconds.
inline void Pump(DWORD ms) {
  DWORD until = GetTickCount() + ms;
  do {
    forms::Application::Get().ProcessMessages();
    Sleep(2);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    forms::Application::Get().ResetTerminated();
    dataFile = folder.File(L"data.txt");
    WriteBytes(dataFile, FixtureFile());
    Unit1::DataFileArgument = dataFile;
  }
  void TearDown() override {
    if (form) form->Hide();
    forms::Application::Get().ResetTerminated();
  }

  // A fresh program run in the same process: the unit-level state as at load.
  void ResetProgram() {
    if (form) form->Hide();
    form.reset();
    forms::Application::Get().ResetTerminated();
    Unit1::SetupDone = false;
    Unit1::Questions = {};
    Unit1::Measurements.Clear();
    Unit1::GridRows = 0;
    Unit1::GridCols = 0;
  }

  // Creates the forms as the program block does and shows the main window, which runs the
  // set-up at its first activation.
  void Start() {
    form = std::make_unique<Unit1::TForm1>(program);
    peirama::CreatePeiramaForm();
    results::CreateResultsForm();
    form->Show();
    Pump(50);
  }

  TempFolder folder;
  std::wstring dataFile;
  WaveProgram::Program program;
  std::unique_ptr<Unit1::TForm1> form;
};

}  // namespace kelmora_test
