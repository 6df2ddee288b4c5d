

#include <gtest/gtest.h>

#include <stdexcept>

#include "forms/bevel.h"
#include "forms/button.h"
#include "forms/chart.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/gauge.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/panel.h"
#include "forms/string_grid.h"
#include "child_process.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "resource_counts.h"

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

// Every control that paints itself, painted and measured a few hundred times: what one of them
// selects, creates or borrows from the platform must be back when it is done.
struct EveryPaintedControl : forms::Form {
  EveryPaintedControl()
      : ok(this),
        plain(this),
        label(this),
        panel(this),
        bevel(this),
        gauge(this),
        grid(this),
        image(this),
        chart(this) {
    SetClientSize(520, 300);
    ok.SetBounds(10, 10, 90, 28);
    plain.SetBounds(110, 10, 90, 28);
    plain.SetCaption("Plain");
    label.SetBounds(210, 10, 100, 20);
    label.SetAutoSize(true);
    panel.SetBounds(10, 50, 150, 60);
    panel.SetCaption("Πάνελ");
    bevel.SetBounds(170, 50, 100, 60);
    gauge.SetBounds(280, 50, 200, 24);
    gauge.SetShowText(true);
    grid.SetBounds(10, 120, 250, 120);
    grid.SetColCount(4);
    grid.SetRowCount(5);
    grid.SetFixedRows(1);
    grid.SetCell(1, 1, "1,5");
    image.SetBounds(280, 90, 80, 60);
    chart.SetBounds(280, 160, 230, 130);
    chart.AddTitleLine("Ιστόγραμμα");
    forms::AreaSeries& series = chart.AddSeries();
    for (int i = 0; i < 16; ++i) series.AddY(i * i % 7, {}, i % 3 ? forms::clRed : forms::clBlue);
  }
  forms::BitBtn ok;
  forms::Button plain;
  forms::Label label;
  forms::Panel panel;
  forms::Bevel bevel;
  forms::Gauge gauge;
  forms::StringGrid grid;
  forms::Image image;
  forms::Chart chart;
};

TEST_F(FormsWindow, PaintingEveryControlHundredsOfTimesLeavesNothingBehind) {
  EveryPaintedControl f;
  f.SetCaption("Ζωγραφική");
  f.Show();
  const forms::BitBtnKind kinds[] = {forms::BitBtnKind::OK, forms::BitBtnKind::Cancel, forms::BitBtnKind::Yes,
                                     forms::BitBtnKind::No};
  const forms::BevelShape shapes[] = {forms::BevelShape::Box, forms::BevelShape::Frame,
                                      forms::BevelShape::TopLine, forms::BevelShape::LeftLine};
  auto round = [&](int i) {
    // A new glyph replaces the old one, a new caption is measured, a new shape is a new region.
    f.ok.SetKind(kinds[i % 4]);
    f.label.SetCaption(std::string(1 + i % 9, 'x'));
    f.bevel.SetShape(shapes[i % 4]);
    f.gauge.SetProgress(i % 101);
    f.grid.SetCell(2, 1 + i % 4, std::to_string(i));
    f.image.GetCanvas().Ellipse(i % 40, 5, i % 40 + 20, 25);
    f.chart.PlotRect();
    RedrawWindow(f.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  for (int i = 0; i < 8; ++i) round(i);
  const ResourceCounts before = CountResources();
  for (int i = 8; i < 308; ++i) round(i);
  EXPECT_EQ(CountResources(), before);
}

}  // namespace
