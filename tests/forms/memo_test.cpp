#include "forms/memo.h"

#include <gtest/gtest.h>

#include "forms/button.h"
#include "forms/core/message_service.h"
#include "forms/form.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "gui_thread.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

const wchar_t kCaption[] = L"Απαντήσεις δοκιμής";

class MemoForm : public forms::Form {
 public:
  MemoForm() : memo1(this), memo2(this), ok(this) {
    SetBorderStyle(forms::BorderStyle::Dialog);
    SetCaption("Απαντήσεις δοκιμής");
    SetClientSize(402, 240);
    memo1.SetBounds(16, 16, 369, 57);
    memo1.SetTabOrder(0);
    memo2.SetBounds(16, 90, 369, 57);
    memo2.SetTabOrder(1);
    ok.SetKind(forms::BitBtnKind::OK);
    ok.SetBounds(149, 180, 105, 33);
    ok.SetTabOrder(2);
  }
  forms::Memo memo1;
  forms::Memo memo2;
  forms::BitBtn ok;
};

TEST(MemoWindow, EnterMakesLinesAndTabMovesOnWhileTheDefaultButtonWaits) {
  forms::Application::Get().ResetTerminated();
  GuiThread gui;
  MemoForm form;
  bool stillOpenAfterEnter = false;
  HWND focusAfterTab = nullptr;
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    gui.Call([&] { form.memo1.SetFocus(); });
    gui.Type("Η ταχύτητα");
    gui.Key(VK_RETURN);
    gui.Key(VK_RETURN);
    gui.Type("αυξάνεται");
    stillOpenAfterEnter = IsWindowVisible(w) != FALSE;
    gui.Key(VK_TAB);
    focusAfterTab = gui.Focus();
    gui.Type("μένει ίδια");
    // Enter in the second memo is a new line too, not OK.
    gui.Key(VK_RETURN);
    ClickChild(form.ok.Handle());
  });
  int result = form.ShowModal();
  d.Join();
  EXPECT_EQ(result, forms::mrOk);
  EXPECT_TRUE(stillOpenAfterEnter);
  EXPECT_EQ(focusAfterTab, form.memo2.Handle());
  EXPECT_EQ(form.memo1.Lines(), (Lines{"Η ταχύτητα", "", "αυξάνεται"}));
  // The final Enter leaves an empty last line, which is no line of the answer.
  EXPECT_EQ(form.memo2.Lines(), (Lines{"μένει ίδια"}));
}

TEST(MemoLines, SetAndReadBack) {
  forms::Application::Get().Initialize();
  forms::Form form;
  forms::Memo memo(&form);
  struct Case {
    Lines set;
    std::string text;  // the window's text
    Lines read;
  };
  const Case cases[] = {
      {{}, "", {}},
      {{""}, "\r\n", {""}},  // one empty line stays one line
      {{"", ""}, "\r\n\r\n", {"", ""}},
      {{"α", "β"}, "α\r\nβ\r\n", {"α", "β"}},
      {{"a\nb"}, "a\nb\r\n", {"a\nb"}},  // 5: a lone line feed is text of its line
      {{"----------"}, "----------\r\n", {"----------"}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(++row));
    memo.SetLines(c.set);
    EXPECT_EQ(memo.Text(), c.text);
    EXPECT_EQ(memo.Lines(), c.read);
  }
  // A long answer is not cut at the platform's default limit.
  std::string longLine(40000, 'x');
  memo.SetLines({longLine});
  EXPECT_EQ(memo.Lines(), (Lines{longLine}));
}

TEST(MemoLines, SplitAtCrLfOnly) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"abc", {"abc"}},
      {"abc\r\n", {"abc"}},
      {"abc\r\n\r\n", {"abc", ""}},
      {"\r\nabc", {"", "abc"}},  // 5
      {"a\rb", {"a\rb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(forms::SplitMemoText(c.text), c.lines);
  }
}

}  // namespace
