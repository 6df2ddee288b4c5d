// The calculator button and the close path with the calculator stand-in (tests/scicalc,
// built as calc.exe beside this test): started, brought forward, shown again from hiding,
// closed at the exit.
#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"

using namespace kelmora_test;

namespace {

class Calculator : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    log = folder.File(L"calc_log.txt");
    SetEnvironmentVariableW(L"KELMORA_CALC_LOG", log.c_str());
    Start();
    Unlock();
  }
  void TearDown() override {
    if (HWND w = FindWindowA("SciCalc", "Calculator")) {
      PostMessageW(w, WM_CLOSE, 0, 0);
      testing_support::PumpUntil([] { return FindWindowA("SciCalc", "Calculator") == nullptr; });
    }
    MainWindow::TearDown();
  }
  // The stand-in's window, waiting for it while this thread keeps handling messages.
  HWND WaitForCalculator(bool visible) {
    for (int i = 0; i < 300; ++i) {
      HWND w = FindWindowA("SciCalc", "Calculator");
      if (w && (!visible || IsWindowVisible(w))) return w;
      Pump(10);
    }
    return nullptr;
  }
  std::string Log() { return ReadFileBytes(log); }
  bool LogHas(const std::string& line) {
    for (int i = 0; i < 200; ++i) {
      if (Log().find(line + "\r\n") != std::string::npos) return true;
      Pump(10);
    }
    return false;
  }
  std::wstring log;
};

TEST_F(Calculator, StartedBroughtForwardAndClosedAtTheExit) {
  ASSERT_EQ(FindWindowA("SciCalc", "Calculator"), nullptr);
  Click(form->calc_Button->Handle());
  HWND calc = WaitForCalculator(true);
  ASSERT_NE(calc, nullptr);
  EXPECT_TRUE(LogHas("started 5")) << "WinExec with SW_SHOW";

  // Minimised: restored and brought forward; no second calculator.
  ShowWindow(calc, SW_MINIMIZE);
  ASSERT_TRUE(testing_support::PumpUntil([&] { return IsIconic(calc) != FALSE; }));
  Click(form->calc_Button->Handle());
  EXPECT_TRUE(testing_support::PumpUntil([&] { return !IsIconic(calc); })) << "restored";
  EXPECT_EQ(FindWindowA("SciCalc", "Calculator"), calc);
  EXPECT_EQ(Log().find("WM_USER"), std::string::npos) << "a visible calculator gets no call";

  // Hidden: its first private message brings it back.
  ShowWindow(calc, SW_HIDE);
  ASSERT_TRUE(testing_support::PumpUntil([&] { return !IsWindowVisible(calc); }));
  Click(form->calc_Button->Handle());
  EXPECT_TRUE(LogHas("WM_USER"));
  EXPECT_NE(WaitForCalculator(true), nullptr);

  // The exit closes it (after the questions form once more).
  testing_support::Driver d([] {
    if (HWND q = testing_support::WaitForTopWindow(L"Πείραμα 2", 3000)) PostMessageW(q, WM_CLOSE, 0, 0);
  });
  PostMessageW(form->exit_button->Handle(), BM_CLICK, 0, 0);
  forms::Application::Get().Run(*form);
  d.Join();
  EXPECT_TRUE(LogHas("WM_CLOSE"));
  EXPECT_TRUE(LogHas("ended"));
  EXPECT_EQ(FindWindowA("SciCalc", "Calculator"), nullptr);
}

}  // namespace
