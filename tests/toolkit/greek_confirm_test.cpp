#include "toolkit/GreekConfirm.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "child_process.h"
#include "gui_driver.h"
#include "message_recorder.h"

using namespace testing_support;

namespace {

const wchar_t kCaption[] = L"Μήνυμα προς τον μαθητή";
const char kCaptionCp[] = "Μήνυμα προς τον μαθητή";

struct Seen {
  int formWidth = 0;
  int formLeft = 0, formTop = 0, formHeight = 0;
  int labelWidth = 0;
  std::map<std::wstring, int> buttonLefts;  // visible buttons by caption
  std::wstring labelText;
};

// A window of the dialog's thread that answers a posted mark: a thread's posted messages are
// handled in the order they came, so when the mark posted after a key is handled, so is the
// key; the mark goes round the queue a few times, to come after what the key's handling
// posted in turn (its character, a click). Whether the dialog was still up then tells what
// the key did.
class KeyMark {
 public:
  KeyMark() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KeyMarkWindow";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~KeyMark() { DestroyWindow(window_); }
  // Posted after the key to `dialog`; `round` tells this mark from one of an earlier round
  // that is handled late, after its dialog had ended.
  void Post(HWND dialog, int round) {
    dialog_ = dialog;
    PostMessageW(window_, WM_APP, static_cast<WPARAM>(round), kTurns);
  }
  int Seen() const { return seen_; }
  bool DialogWasUp() const { return dialogWasUp_; }

 private:
  static constexpr LPARAM kTurns = 4;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) {
      if (lp > 1) {
        PostMessageW(w, WM_APP, wp, lp - 1);
        return 0;
      }
      auto* self = reinterpret_cast<KeyMark*>(GetWindowLongPtrW(w, GWLP_USERDATA));
      HWND dialog = self->dialog_;
      self->dialogWasUp_ = IsWindow(dialog) && IsWindowVisible(dialog);
      self->seen_ = static_cast<int>(wp);
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND window_ = nullptr;
  std::atomic<HWND> dialog_{nullptr};
  std::atomic<int> seen_{0};
  std::atomic<bool> dialogWasUp_{false};
};

Seen Inspect(HWND form) {
  Seen s;
  RECT r = WindowRectOf(form);
  s.formLeft = r.left;
  s.formTop = r.top;
  s.formWidth = r.right - r.left;
  s.formHeight = r.bottom - r.top;
  EnumChildWindows(
      form, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* s = reinterpret_cast<Seen*>(lp);
        RECT b = ChildBounds(w);
        if (ClassName(w) == L"Button") {
          if (IsWindowVisible(w)) s->buttonLefts[WindowText(w)] = b.left;
        } else {
          s->labelWidth = b.right - b.left;
          s->labelText = WindowText(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s;
}

struct Layout {
  int kind;
  int formWidth;
  int labelWidth;
  std::map<std::wstring, int> lefts;
};

const Layout kLayouts[] = {
    {0, 218, 193, {{L"OK", 56}}},
    {1, 298, 273, {{L"OK", 24}, {L"&Ακύρωση", 168}}},
    {2, 298, 273, {{L"&Ναι", 24}, {L"&Οχι", 168}}},
    {3, 378, 353, {{L"&Ναι", 16}, {L"&Οχι", 136}, {L"&Ακύρωση", 256}}},
};

const std::map<std::wstring, int> kResults = {{L"OK", 1}, {L"&Ακύρωση", 2}, {L"&Ναι", 6}, {L"&Οχι", 7}};

class GreekConfirmWindow : public ::testing::Test {
 protected:
  void SetUp() override { forms::Application::Get().Initialize(); }
  DWORD thread_ = GetCurrentThreadId();
};

TEST_F(GreekConfirmWindow, LayoutsShowTheirButtonsCentredOnScreen) {
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE("layout " + std::to_string(layout.kind));
    Seen seen;
    Driver d([&] {
      HWND w = WaitForTopWindow(kCaption);
      if (!w) return;
      seen = Inspect(w);
      PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    int result = GreekConfirm::VeruGreekConfirm(kCaptionCp, "Το κείμενο του μηνύματος",
                                                static_cast<std::uint8_t>(layout.kind));
    d.Join();
    EXPECT_EQ(result, 2) << "the close box gives Cancel";
    EXPECT_EQ(seen.formWidth, layout.formWidth);
    EXPECT_EQ(seen.labelWidth, layout.labelWidth);
    EXPECT_EQ(seen.buttonLefts, layout.lefts);
    EXPECT_EQ(seen.labelText, L"Το κείμενο του μηνύματος");
    EXPECT_EQ(seen.formLeft, (GetSystemMetrics(SM_CXSCREEN) - seen.formWidth) / 2);
    EXPECT_EQ(seen.formTop, (GetSystemMetrics(SM_CYSCREEN) - seen.formHeight) / 2);
  }
}

TEST_F(GreekConfirmWindow, EachButtonGivesItsResult) {
  for (const Layout& layout : kLayouts) {
    for (const auto& [caption, left] : layout.lefts) {
      SCOPED_TRACE("layout " + std::to_string(layout.kind));
      Driver d([&, caption = caption] {
        HWND w = WaitForTopWindow(kCaption);
        if (!w) return;
        ClickChild(FindChildByText(w, caption));
        // A click that went nowhere fails the case instead of hanging the modal loop.
        for (int i = 0; i < 200 && IsWindowVisible(w); ++i) Sleep(5);
        if (IsWindowVisible(w)) PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      });
      int result =
          GreekConfirm::VeruGreekConfirm(kCaptionCp, "κείμενο", static_cast<std::uint8_t>(layout.kind));
      d.Join();
      EXPECT_EQ(result, kResults.at(caption));
    }
  }
}

TEST_F(GreekConfirmWindow, EnterAndEscape) {
  struct Case {
    int kind;
    UINT key;
    int expected;  // 0: the key does nothing, the close box ends the dialog instead
    int defaultResult = forms::mrNone;
  };
  // Esc on the Yes/No layout is neither answer, whichever button Enter presses.
  const Case cases[] = {
      {0, VK_RETURN, 1},
      {0, VK_ESCAPE, 0},
      {1, VK_RETURN, 1},
      {1, VK_ESCAPE, 2},
      {2, VK_RETURN, 7},
      {2, VK_ESCAPE, 2},
      {3, VK_RETURN, 7},
      {3, VK_ESCAPE, 2},
      {2, VK_RETURN, 6, forms::mrYes},
      {2, VK_ESCAPE, 2, forms::mrYes},
      {3, VK_RETURN, 6, forms::mrYes},
      {3, VK_ESCAPE, 2, forms::mrYes},
  };
  KeyMark mark;
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("layout " + std::to_string(c.kind) + (c.key == VK_RETURN ? " Enter" : " Esc") +
                 ", default " + std::to_string(c.defaultResult));
    std::atomic<bool> stillOpen{false};
    ++round;
    Driver d([&] {
      HWND w = WaitForTopWindow(kCaption);
      if (!w) return;
      HWND focus = WaitForFocus(thread_);
      PressKey(focus ? focus : w, c.key);
      mark.Post(w, round);
      // Either the key ended the dialog, or the mark after it came while the dialog was up.
      WaitUntil([&] { return !IsWindowVisible(w) || (mark.Seen() == round && mark.DialogWasUp()); }, 10000);
      if (IsWindowVisible(w)) {
        stillOpen = true;
        PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
    });
    int result = GreekConfirm::VeruGreekConfirm(kCaptionCp, "κείμενο", static_cast<std::uint8_t>(c.kind),
                                                c.defaultResult);
    d.Join();
    if (c.expected == 0) {
      EXPECT_TRUE(stillOpen);
      EXPECT_EQ(result, 2);
    } else {
      EXPECT_FALSE(stillOpen);
      EXPECT_EQ(result, c.expected);
    }
  }
}

TEST_F(GreekConfirmWindow, LongTextWrapsInsideTheLabel) {
  Seen seen;
  int lineHeight = 0;
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    seen = Inspect(w);
    HWND label = nullptr;
    EnumChildWindows(
        w, [](HWND c, LPARAM lp) __attribute__((stdcall))->BOOL {
          if (ClassName(c) != L"Button") *reinterpret_cast<HWND*>(lp) = c;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&label));
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    lineHeight = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  forms::FontSpec f;
  std::string longText;
  for (int i = 0; i < 12; ++i) longText += "Η ταχύτητα διάδοσης του κύματος ";
  GreekConfirm::VeruGreekConfirm(kCaptionCp, longText, 0);
  d.Join();
  EXPECT_EQ(seen.labelWidth, 193);
  EXPECT_GT(lineHeight, 0);
}

TEST_F(GreekConfirmWindow, HundredCallsLeaveNoWindowBehind) {
  int before = CountTopWindows(false);
  std::atomic<bool> stop{false};
  Driver d([&] {
    for (int i = 0; i < 100; ++i) {
      HWND w = WaitForTopWindow(kCaption);
      if (!w) return;
      PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      while (IsWindow(w) && IsWindowVisible(w)) Sleep(1);
    }
  });
  for (int i = 0; i < 100; ++i)
    GreekConfirm::VeruGreekConfirm(kCaptionCp, "κείμενο", static_cast<std::uint8_t>(i % 4));
  d.Join();
  EXPECT_EQ(CountTopWindows(false), before);
  EXPECT_EQ(GreekConfirm::GreekConfirmForm, nullptr);
}

TEST(GreekConfirmRecorded, RecorderSeesCaptionTextAndLayout) {
  testing_support::MessageRecorder rec;
  rec.answers.push_back(6);
  EXPECT_EQ(GreekConfirm::VeruGreekConfirm("Λάθος", "Μη έγκυρη τιμή", 2), 6);
  ASSERT_EQ(rec.Count(), 1u);
  EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::GreekConfirm);
  EXPECT_EQ(rec.messages[0].caption, "Λάθος");
  EXPECT_EQ(rec.messages[0].text, "Μη έγκυρη τιμή");
  EXPECT_EQ(rec.messages[0].buttons, 2u);
}

}  // namespace
