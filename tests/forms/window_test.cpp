

#include <gtest/gtest.h>

#include <stdexcept>

#include "forms/button.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/label.h"
#include "child_process.h"
#include "gui_driver.h"
#include "message_recorder.h"

using namespace testing_support;

namespace {

struct ThreeButtons : forms::Form {
  ThreeButtons() : first(this), second(this), third(this), caption(this) {
    SetClientSize(300, 100);
    first.SetBounds(10, 50, 80, 25);
    second.SetBounds(100, 50, 80, 25);
    third.SetBounds(190, 50, 80, 25);
    first.SetCaption("&Πρώτο");
    second.SetCaption("&Δεύτερο");
    third.SetCaption("&Τρίτο");
    // Tab order differs from creation order on purpose.
    third.SetTabOrder(0);
    first.SetTabOrder(1);
    second.SetTabOrder(2);
    caption.SetBounds(10, 10, 280, 20);
    caption.SetCaption("Ετικέτα");
  }
  forms::Button first, second, third;
  forms::Label caption;
};

class FormsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    forms::Application::Get().ResetTerminated();
  }
};

TEST_F(FormsWindow, TabFollowsTabOrderAndEscapeClicksCancel) {
  ThreeButtons f;
  f.SetCaption("Σειρά");
  f.second.modalResult = forms::mrCancel;
  f.second.SetCancel(true);
  std::vector<std::wstring> focusSeen;
  DWORD thread = GetCurrentThreadId();
  Driver d([&] {
    HWND w = WaitForTopWindow(L"Σειρά");
    if (!w) return;
    for (int i = 0; i < 3; ++i) {
      HWND focus = WaitForFocus(thread);
      focusSeen.push_back(WindowText(focus));
      PressKey(focus, VK_TAB);
      if (!WaitUntil([&] { return FocusOf(thread) != focus; }, 5000)) break;
    }
    HWND focus = WaitForFocus(thread);
    PressKey(focus, VK_ESCAPE);
  });
  int result = f.ShowModal();
  d.Join();
  EXPECT_EQ(result, forms::mrCancel);
  EXPECT_EQ(focusSeen, (std::vector<std::wstring>{L"&Τρίτο", L"&Πρώτο", L"&Δεύτερο"}));
}

TEST_F(FormsWindow, MnemonicClicksItsButton) {
  ThreeButtons f;
  f.SetCaption("Μνημονικά");
  int clicked = 0;
  f.second.onClick = [&] {
    clicked = 2;
    f.SetModalResult(forms::mrOk);
  };
  DWORD thread = GetCurrentThreadId();
  Driver d([&] {
    HWND w = WaitForTopWindow(L"Μνημονικά");
    if (!w) return;
    HWND focus = WaitForFocus(thread);
    // Alt+Δ as the keyboard gives it: a system character after Alt.
    PostMessageW(focus, WM_SYSCHAR, L'δ', 1 << 29);
    // A mnemonic that clicked nothing fails the test instead of hanging the modal loop.
    if (!WaitUntil([&] { return !IsWindowVisible(w); }, 5000)) PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(f.ShowModal(), forms::mrOk);
  d.Join();
  EXPECT_EQ(clicked, 2);
}

TEST_F(FormsWindow, ACharacterForAnotherControlIsNoMnemonic) {
  ThreeButtons f;
  forms::Edit edit(&f);
  edit.SetBounds(10, 80, 100, 20);
  f.first.SetCaption("&2ο Πείραμα");
  int clicked = 0;
  f.first.onClick = [&] { ++clicked; };
  f.Show();
  f.first.SetFocus();
  // Typing reaches a field while a button still has the focus only when it is sent there.
  PostMessageW(edit.Handle(), WM_CHAR, L'2', 1);
  EXPECT_TRUE(PumpUntil([&] { return edit.Text() == "2"; }));
  EXPECT_EQ(clicked, 0);
  PostMessageW(f.first.Handle(), WM_CHAR, L'2', 1);
  PumpUntil([&] { return clicked > 0; });
  EXPECT_EQ(clicked, 1) << "a plain letter on the focused button is its mnemonic";
}

TEST_F(FormsWindow, HandlerErrorIsReportedAndTheProgramGoesOn) {
  testing_support::MessageRecorder rec;
  ThreeButtons f;
  f.SetCaption("Σφάλμα");
  int later = 0;
  f.first.onClick = [] { throw std::range_error("Range check error"); };
  f.second.onClick = [&] { ++later; };
  f.Show();
  SendMessageW(f.first.Handle(), BM_CLICK, 0, 0);
  SendMessageW(f.second.Handle(), BM_CLICK, 0, 0);
  PumpUntil([&] { return rec.Count() > 0; });
  ASSERT_EQ(rec.Count(), 1u);
  EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::ErrorReport);
  EXPECT_EQ(rec.messages[0].text, "Range check error");
  EXPECT_EQ(later, 1);
}

TEST_F(FormsWindow, AnErrorLeavingTheModalRunEnablesTheOtherWindowsAgain) {
  ThreeButtons owner;
  owner.SetCaption("Ιδιοκτήτης");
  owner.Show();
  ThreeButtons dialog;
  dialog.SetCaption("Διάλογος");
  dialog.onShow = [] { throw std::runtime_error("I/O error 5"); };
  EXPECT_THROW(dialog.ShowModal(), std::runtime_error);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
  EXPECT_FALSE(dialog.Modal());
}

TEST_F(FormsWindow, ClosingTheMainFormHidesItAndTerminates) {
  ThreeButtons f;
  f.SetCaption("Κύρια");
  Driver d([&] {
    HWND w = WaitForTopWindow(L"Κύρια");
    if (w) PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  forms::Application::Get().Run(f);
  d.Join();
  EXPECT_TRUE(forms::Application::Get().Terminated());
  EXPECT_TRUE(IsWindow(f.Handle())) << "nothing is destroyed before the loop returns";
  EXPECT_FALSE(IsWindowVisible(f.Handle()));
  forms::Application::Get().ResetTerminated();
}

TEST_F(FormsWindow, GreekTextReadsBackWhateverTheCodePage) {
  ThreeButtons f;
  f.SetCaption("Ταχύτητα Διάδοσης Κυμάτων");
  EXPECT_EQ(WindowText(f.Handle()), L"Ταχύτητα Διάδοσης Κυμάτων");
  EXPECT_EQ(f.Caption(), "Ταχύτητα Διάδοσης Κυμάτων");
  EXPECT_EQ(WindowText(f.caption.Handle()), L"Ετικέτα");
  f.SetClientSize(260, 144);
  EXPECT_EQ(f.ClientWidth(), 260);
  EXPECT_EQ(f.ClientHeight(), 144);
}

}  // namespace
