// The library's real message boxes, prompt and list dialogs under the stand-in host, driven
// from a second thread as a user would: typing, clicking buttons and rows, Enter, Escape and
// the close box. Layout is read back from the real controls and compared in the dialog's own
// units (MapDialogRect), never in pixels written into the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "box_catcher.h"
#include "gui_driver.h"
#include "library_under_host.h"
#include "pixel_capture.h"
#include "stand_in_host.h"
#include "system_services/dialogs/dialog_layout.h"

using namespace authorware_host;
using namespace testing_support;

namespace {

constexpr int kEdit = 101, kButton1 = 102, kButton2 = 103, kButton3 = 104, kList = 105;

// What the second thread saw go wrong; reported on the test's thread after the join.
class Problems {
 public:
  void Add(const std::string& p) {
    std::lock_guard<std::mutex> lock(mutex_);
    list_.push_back(p);
  }
  void Check(bool ok, const std::string& p) {
    if (!ok) Add(p);
  }
  void Report() {
    for (const std::string& p : list_) ADD_FAILURE() << p;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> list_;
};

RECT Units(HWND dialog, int x, int y, int cx, int cy) {
  RECT r{x, y, x + cx, y + cy};
  MapDialogRect(dialog, &r);
  return r;
}

// The dialog manager maps an item's position and its size each on its own.
bool SameBox(HWND dialog, const RECT& pixels, int x, int y, int cx, int cy) {
  const RECT at = Units(dialog, x, y, 0, 0);
  const RECT size = Units(dialog, 0, 0, cx, cy);
  return pixels.left == at.left && pixels.top == at.top && pixels.right - pixels.left == size.right &&
         pixels.bottom - pixels.top == size.bottom;
}

// A dialog's items are laid out in its client area.
RECT ClientBounds(HWND dialog, int id) { return ChildBounds(GetDlgItem(dialog, id)); }

std::string Text(HWND w) {
  const int n = GetWindowTextLengthA(w);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(w, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

LONG StyleOf(HWND w) { return GetWindowLongA(w, GWL_STYLE); }

void Type(HWND edit, const std::string& text) {
  for (char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}

// Every key posted before this one has been handled once the marker shows in the field.
bool Settle(HWND edit, char marker) {
  Type(edit, std::string(1, marker));
  return WaitFor([&] { return Text(edit).find(marker) != std::string::npos; });
}

void ClickRow(HWND list, int index, WPARAM keys = 0) {
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
  PostMessageA(list, WM_LBUTTONUP, keys, at);
}

// The screen x where the last word of a list row starts, as drawn; -1 while nothing is drawn.
int LastWordStart(HWND list, int index) {
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 2) return -1;
  PixelCapture capture(w, h);
  HDC dc = GetDC(list);
  BitBlt(capture.DC(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
  ReleaseDC(list, dc);
  const std::vector<uint32_t> pixels = capture.Pixels();
  auto inked = [&](int x) {
    for (int y = 1; y + 1 < h; ++y) {
      const uint32_t p = pixels[static_cast<size_t>(y * w + x)];
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 128) return true;
    }
    return false;
  };
  int start = -1, blank = 0;
  for (int x = 0; x < w; ++x) {
    if (!inked(x)) {
      ++blank;
      continue;
    }
    if (start < 0 || blank >= 5) start = x;
    blank = 0;
  }
  if (start < 0) return -1;
  POINT p{r.left + start, 0};
  ClientToScreen(list, &p);
  return p.x;
}

class Dialogs : public rxsystem_tests::LibraryUnderHost {
 protected:
  // Runs `call` on the test's thread while `act` works the dialog captioned `caption` from
  // a second thread; a dialog that `act` leaves open is closed so that the test ends.
  HostString Drive(const std::wstring& caption, const std::function<void(HWND)>& act,
                   const std::function<HostString()>& call) {
    Driver driver([&] {
      HWND dialog = WaitForTopWindow(caption);
      if (!dialog) {
        problems.Add("no dialog appeared");
        return;
      }
      act(dialog);
      if (!WaitFor([&] { return !IsWindow(dialog); })) {
        problems.Add("the dialog stayed open");
        PostMessageA(dialog, WM_CLOSE, 0, 0);
      }
    });
    HostString result = call();
    driver.Join();
    problems.Report();
    return result;
  }

  HostString Prompt(int32_t left, int32_t top, int32_t width, const char* title, const char* description,
                    int32_t centerDesc, int32_t descLines, const char* label, const char* b1, const char* b2,
                    const char* b3, int32_t defaultButton, int32_t maxEdit, int32_t editLines) {
    return host.Call<HostString>("SysPrompt", left, top, width, title, description, centerDesc, descLines,
                                 label, b1, b2, b3, defaultButton, maxEdit, editLines);
  }

  HostString List(const char* title, const char* heading, const char* items, int32_t sort, int32_t multiple,
                  int32_t fixedFont, const char* b1, const char* b2, int32_t defaultButton,
                  int32_t width = 200) {
    return host.Call<HostString>("SysListPrompt", int32_t{20}, int32_t{20}, width, title,
                                 static_cast<const char*>(nullptr), int32_t{0}, int32_t{0}, heading, items,
                                 sort, multiple, fixedFont, int32_t{5}, b1, b2,
                                 static_cast<const char*>(nullptr), defaultButton);
  }

  Problems problems;
};

TEST_F(Dialogs, PromptTypedTextAndTheFirstButton) {
  HostString r = Drive(
      L"Who",
      [&](HWND d) {
        problems.Check(GetWindow(d, GW_OWNER) == host.window.Handle(), "owned by the host window");
        HWND edit = GetDlgItem(d, kEdit);
        problems.Check(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == 20, "edit limited to 20");
        problems.Check(GetDlgItem(d, kButton3) == nullptr, "Button3 without Button2 counts");
        problems.Check(FindChildByText(d, L"Your name, please") != nullptr, "description shown");
        Type(edit, "Smith");
        WaitFor([&] { return Text(edit) == "Smith"; });
        ClickChild(GetDlgItem(d, kButton1));
      },
      [&] {
        return Prompt(10, 10, 200, "Who", "Your name, please", 0, 1, "Name:", "OK", "", "Later", 1, 20, 1);
      });
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, "1\rSmith");
  EXPECT_TRUE(r.movable);
  EXPECT_EQ(r.lockCount, 0u);
  EXPECT_EQ(r.blockSize >= 23u, true) << "room for 20 characters, the digit, CR and NUL";
}

TEST_F(Dialogs, PromptEnterPressesTheDefaultButton) {
  struct Case {
    int32_t defaultButton;
    std::string result;
  } cases[] = {{1, "1\rabc"}, {2, "2\rabc"}, {3, "3\rabc"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("default " + std::to_string(c.defaultButton));
    HostString r = Drive(
        L"Enter",
        [&](HWND d) {
          HWND edit = GetDlgItem(d, kEdit);
          HWND def = GetDlgItem(d, kButton1 + c.defaultButton - 1);
          problems.Check((StyleOf(def) & 0xF) == BS_DEFPUSHBUTTON, "the named button is the default");
          Type(edit, "abc");
          PressKey(edit, VK_RETURN);
        },
        [&] {
          return Prompt(10, 10, 220, "Enter", nullptr, 0, 0, nullptr, "One", "Two", "Three", c.defaultButton,
                        10, 1);
        });
    EXPECT_EQ(r.text, c.result);
  }
}

TEST_F(Dialogs, PromptWithoutDefaultKeepsOpenOnEnterAndEscapeAndCloses) {
  HostString r = Drive(
      L"Keys",
      [&](HWND d) {
        HWND edit = GetDlgItem(d, kEdit);
        Type(edit, "x");
        PressKey(edit, VK_RETURN);
        PressKey(edit, VK_ESCAPE);
        problems.Check(Settle(edit, 'y'), "the keys reached the field");
        problems.Check(IsWindow(d) && IsWindowVisible(d), "Enter and Escape leave the dialog open");
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
      },
      [&] { return Prompt(10, 10, 150, "Keys", nullptr, 0, 0, nullptr, "OK", "Cancel", nullptr, 0, 10, 1); });
  EXPECT_EQ(r.text, "0\rxy");
}

TEST_F(Dialogs, PromptMultiLineFieldTakesEnter) {
  HostString r = Drive(
      L"Lines",
      [&](HWND d) {
        HWND edit = GetDlgItem(d, kEdit);
        problems.Check((StyleOf(edit) & ES_MULTILINE) != 0, "a multi-line field");
        const RECT e = ClientBounds(d, kEdit);
        const RECT u = Units(d, 0, 0, 0, 28);
        problems.Check(e.bottom - e.top == u.bottom, "three lines are 28 units high");
        for (int id : {kButton1, kButton2})
          problems.Check((StyleOf(GetDlgItem(d, id)) & 0xF) != BS_DEFPUSHBUTTON, "no default button");
        Type(edit, "a");
        PressKey(edit, VK_RETURN);
        // The key's character comes after whatever was typed behind it.
        WaitFor([&] { return Text(edit) == "a\r\n"; });
        Type(edit, "b");
        Settle(edit, 'c');
        problems.Check(IsWindow(d), "Enter stays in the field");
        ClickChild(GetDlgItem(d, kButton2));
      },
      [&] {
        return Prompt(10, 10, 150, "Lines", nullptr, 0, 0, nullptr, "OK", "Cancel", nullptr, 1, 40, 3);
      });
  EXPECT_EQ(r.text, "2\ra\r\nbc");
}

TEST_F(Dialogs, PromptResultHoldsAtMostMaxEditLength) {
  struct Case {
    int32_t maxEdit;
    std::string result;
  } cases[] = {{3, "1\rabc"}, {0, "1\r"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("MaxEditLength " + std::to_string(c.maxEdit));
    HostString r = Drive(
        L"Short",
        [&](HWND d) {
          HWND edit = GetDlgItem(d, kEdit);
          Type(edit, "abcdef");
          WaitFor([&] { return Text(edit).size() >= std::min<size_t>(6, c.maxEdit ? c.maxEdit : 6); });
          ClickChild(GetDlgItem(d, kButton1));
        },
        [&] {
          return Prompt(10, 10, 150, "Short", nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 1, c.maxEdit,
                        1);
        });
    EXPECT_EQ(r.text, c.result);
  }
}

TEST_F(Dialogs, PromptLayoutInDialogUnits) {
  // Left -1 centres the dialog on the screen although Top is positive.
  HostString r = Drive(
      L"Layout",
      [&](HWND d) {
        const RECT w = WindowRectOf(d);
        const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
        problems.Check(w.left == (sx - (w.right - w.left)) / 2 && w.top == (sy - (w.bottom - w.top)) / 2,
                       "centred on the screen");
        RECT client{};
        GetClientRect(d, &client);
        const RECT size = Units(d, 0, 0, 240, 42 + 8 + 8 * 2 + 4);
        problems.Check(client.right == size.right && client.bottom == size.bottom,
                       "240 units wide, 70 high with two description lines");

        // Empty captions leave one "OK" button, 50 units wide, centred: (240 - 58 + 8) / 2.
        HWND ok = GetDlgItem(d, kButton1);
        problems.Check(Text(ok) == "OK", "the button is OK");
        problems.Check(GetDlgItem(d, kButton2) == nullptr, "one button only");
        problems.Check(SameBox(d, ClientBounds(d, kButton1), 95, 28 + 12 + 8, 50, 14),
                       "button at (95, 48), 50 x 14 units");
        problems.Check((StyleOf(ok) & 0xF) == BS_DEFPUSHBUTTON, "OK is the default");

        HWND description = FindChildByText(d, L"Line one");
        problems.Check(SameBox(d, ChildBounds(description), 8, 8, 224, 16),
                       "description 224 x 16 units at (8, 8)");
        problems.Check((StyleOf(description) & SS_TYPEMASK) == SS_CENTER, "centred description");

        // The label is as wide as its text in the dialog's font and the field follows it.
        HWND label = FindChildByText(d, L"Your name:");
        HDC dc = GetDC(d);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32A(dc, "Your name:", 10, &text);
        SelectObject(dc, old);
        ReleaseDC(d, dc);
        const RECT lb = ChildBounds(label);
        const RECT eb = ClientBounds(d, kEdit);
        problems.Check(lb.right - lb.left >= text.cx, "the label fits its text");
        problems.Check(std::abs(eb.left - lb.right) <= 1, "the field starts where the label ends");
        problems.Check(lb.top == Units(d, 0, 30, 0, 0).top, "the label two units below the field's top");
        problems.Check(
            eb.top == Units(d, 0, 28, 0, 0).top && eb.bottom - eb.top == Units(d, 0, 0, 0, 12).bottom,
            "one-line field 12 units high under the description");
        problems.Check(std::abs(eb.right - Units(d, 232, 0, 0, 0).left) <= 1,
                       "the field ends 8 units from the right");
        problems.Check((StyleOf(GetDlgItem(d, kEdit)) &
                        (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_AUTOHSCROLL)) == ES_AUTOHSCROLL,
                       "a one-line field that scrolls sideways only");
        PostMessageA(d, WM_CLOSE, 0, 0);
      },
      [&] { return Prompt(-1, 50, 240, "Layout", "Line one", 1, 2, "Your name:", "", "", "", 1, 10, 0); });
  EXPECT_EQ(r.text, "0\r");
}

// The width of a text in the dialog's own font, in pixels.
int CaptionWidth(HWND dialog, const std::string& text) {
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return size.cx;
}

// Each button stands whole in the dialog's client area, 8 units in from its edges, as wide
// as its caption, where a click on it lands on it.
void CheckButtonsOnTheDialog(HWND d, Problems& problems, int count) {
  RECT client{};
  GetClientRect(d, &client);
  const RECT margin = Units(d, 0, 0, 8, 0);
  for (int i = 0; i < count; ++i) {
    const std::string which = "button " + std::to_string(i + 1);
    HWND button = GetDlgItem(d, kButton1 + i);
    if (!button) {
      problems.Add(which + " is missing");
      continue;
    }
    const RECT b = ClientBounds(d, kButton1 + i);
    problems.Check(b.left >= margin.right && b.right <= client.right - margin.right + 1 && b.top >= 0 &&
                       b.bottom <= client.bottom,
                   which + " at " + std::to_string(b.left) + ".." + std::to_string(b.right) +
                       " inside the client area 0.." + std::to_string(client.right));
    problems.Check(b.right - b.left >= CaptionWidth(d, Text(button)), which + " as wide as its caption");
    const POINT centre{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    problems.Check(ChildWindowFromPoint(d, centre) == button, which + " is where a click lands");
  }
}

TEST_F(Dialogs, LongButtonCaptionsWidenTheDialog) {
  // The three captions need more than the 160 units the author gave.
  const char* const captions[] = {"Save and continue", "Discard my answers", "Cancel"};
  HostString r = Drive(
      L"Wide prompt",
      [&](HWND d) {
        CheckButtonsOnTheDialog(d, problems, 3);
        RECT client{};
        GetClientRect(d, &client);
        problems.Check(client.right > Units(d, 0, 0, 160, 0).right, "wider than the 160 units given");
        // The field spans the widened dialog as it would a wide one.
        const RECT e = ClientBounds(d, kEdit);
        problems.Check(std::abs(e.right - (client.right - Units(d, 0, 0, 8, 0).right)) <= 1,
                       "the field ends 8 units from the right");
        Type(GetDlgItem(d, kEdit), "kept");
        WaitFor([&] { return Text(GetDlgItem(d, kEdit)) == "kept"; });
        ClickChild(GetDlgItem(d, kButton3));
      },
      [&] {
        return Prompt(10, 10, 160, "Wide prompt", nullptr, 0, 0, nullptr, captions[0], captions[1],
                      captions[2], 1, 20, 1);
      });
  EXPECT_EQ(r.text, "3\rkept");

  r = Drive(
      L"Wide list",
      [&](HWND d) {
        CheckButtonsOnTheDialog(d, problems, 3);
        RECT client{};
        GetClientRect(d, &client);
        const RECT l = ClientBounds(d, kList);
        problems.Check(std::abs(l.right - (client.right - Units(d, 0, 0, 8, 0).right)) <= 1,
                       "the list ends 8 units from the right");
        ClickRow(GetDlgItem(d, kList), 1);
        WaitFor([&] { return SendMessageA(GetDlgItem(d, kList), LB_GETCURSEL, 0, 0) == 1; });
        ClickChild(GetDlgItem(d, kButton1));
      },
      [&] {
        return host.Call<HostString>("SysListPrompt", int32_t{20}, int32_t{20}, int32_t{160}, "Wide list",
                                     static_cast<const char*>(nullptr), int32_t{0}, int32_t{0},
                                     static_cast<const char*>(nullptr), "a\rb\rc", int32_t{0}, int32_t{0},
                                     int32_t{0}, int32_t{5}, captions[0], captions[1], captions[2],
                                     int32_t{1});
      });
  EXPECT_EQ(r.text, "1\r2\r");
}

TEST_F(Dialogs, PromptMultiLineFieldTakesTheLengthTheAuthorAllows) {
  // Far more than four lines of the field hold.
  std::string typed;
  for (int i = 0; typed.size() < 500; ++i) typed += "wave " + std::to_string(i) + " ";
  typed.resize(500);
  HostString r = Drive(
      L"Essay",
      [&](HWND d) {
        HWND edit = GetDlgItem(d, kEdit);
        problems.Check((StyleOf(edit) & (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL)) ==
                           (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL),
                       "a multi-line field that scrolls down");
        problems.Check(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == 500, "limited to 500");
        // In runs of fifty, each taken before the next is posted, as a typist's keys come: a
        // flood of five hundred posted at once can starve the dialog's thread on a busy machine.
        for (size_t from = 0; from < typed.size(); from += 50) {
          Type(edit, typed.substr(from, 50));
          WaitFor([&] { return Text(edit).size() >= std::min(typed.size(), from + 50); }, 10000);
        }
        problems.Check(WaitFor([&] { return Text(edit).size() == typed.size(); }, 10000),
                       "all 500 characters taken; the field holds " + std::to_string(Text(edit).size()));
        problems.Check(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0) > 0, "scrolled to the caret");
        ClickChild(GetDlgItem(d, kButton1));
      },
      [&] {
        return Prompt(10, 10, 150, "Essay", nullptr, 0, 0, nullptr, "OK", "Cancel", nullptr, 1, 500, 4);
      });
  EXPECT_EQ(r.text, "1\r" + typed);
}

// The units the library turns Left and Top into: those of its 8-point measuring font on the
// host window, which need not be the dialog's own.
POINT MeasuringUnits(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  HFONT font = CreateFontA(-(GetDeviceCaps(dc, LOGPIXELSY) * 8) / 72, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_SWISS, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE abc{};
  GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &abc);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(window, dc);
  return POINT{x * 4 / (abc.cx / 52), y * 8 / tm.tmHeight};
}

TEST_F(Dialogs, PromptStandsWhereTheAuthorPutsIt) {
  // Left and Top are pixels from the host window's client area.
  RECT expected{};
  POINT client{0, 0};
  HostString r = Drive(
      L"Placed",
      [&](HWND d) {
        ClientToScreen(d, &client);
        const POINT units = MeasuringUnits(host.window.Handle(), 100, 80);
        expected = Units(d, units.x, units.y, 0, 0);
        PostMessageA(d, WM_CLOSE, 0, 0);
      },
      [&] {
        return Prompt(100, 80, 100, "Placed", nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, 1, 5, 1);
      });
  EXPECT_EQ(r.text, "0\r");
  POINT origin{0, 0};
  ClientToScreen(host.window.Handle(), &origin);
  EXPECT_EQ(client.x - origin.x, expected.left);
  EXPECT_EQ(client.y - origin.y, expected.top);
  EXPECT_NEAR(client.x - origin.x, 100, 20) << "roughly where the author meant";
}

TEST_F(Dialogs, LongLabelWidensThePromptAroundItsField) {
  // The label alone runs past the 160 units the author gave: the field after it must still
  // stand inside the dialog, wide enough to read, and take what the learner types.
  const std::string label = "Type your full name as it should appear on your certificate:";
  const std::wstring shownLabel(label.begin(), label.end());
  struct Case {
    int32_t left, top;  // -1: centred on the screen
  } cases[] = {{-1, -1}, {100, 80}};
  for (const Case& c : cases) {
    SCOPED_TRACE("at " + std::to_string(c.left) + ", " + std::to_string(c.top));
    POINT client{0, 0};
    RECT expected{};
    HostString r = Drive(
        L"Certificate",
        [&](HWND d) {
          RECT area{};
          GetClientRect(d, &area);
          problems.Check(area.right > Units(d, 0, 0, 160, 0).right, "wider than the 160 units given");
          HWND edit = GetDlgItem(d, kEdit);
          const RECT e = ClientBounds(d, kEdit);
          const int margin = Units(d, 0, 0, 8, 0).right;
          problems.Check(
              e.left >= 0 && e.top >= 0 && e.right <= area.right - margin + 1 && e.bottom <= area.bottom,
              "the field at " + std::to_string(e.left) + ".." + std::to_string(e.right) +
                  " inside the client area 0.." + std::to_string(area.right));
          const int least = Units(d, 0, 0, rxsystem::kMinPromptEditWidth, 0).right;
          problems.Check(e.right - e.left >= least, "the field " + std::to_string(e.right - e.left) +
                                                        " pixels wide, at least " + std::to_string(least));
          HWND shown = FindChildByText(d, shownLabel);
          problems.Check(shown && ChildBounds(shown).right <= e.left + 1,
                         "the label ends where the field starts");
          const POINT centre{(e.left + e.right) / 2, (e.top + e.bottom) / 2};
          problems.Check(ChildWindowFromPoint(d, centre) == edit, "a click on the field lands on it");
          CheckButtonsOnTheDialog(d, problems, 2);

          const RECT w = WindowRectOf(d);
          if (c.left < 0) {
            const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
            problems.Check(w.left == (sx - (w.right - w.left)) / 2 && w.top == (sy - (w.bottom - w.top)) / 2,
                           "the wider dialog centred on the screen");
          } else {
            ClientToScreen(d, &client);
            const POINT units = MeasuringUnits(host.window.Handle(), c.left, c.top);
            expected = Units(d, units.x, units.y, 0, 0);
          }
          Type(edit, "Maria Papadopoulou");
          WaitFor([&] { return Text(edit) == "Maria Papadopoulou"; });
          PressKey(edit, VK_RETURN);
        },
        [&] {
          return Prompt(c.left, c.top, 160, "Certificate", "", 0, 0, label.c_str(), "OK", "Cancel", "", 1, 40,
                        1);
        });
    EXPECT_EQ(r.text, "1\rMaria Papadopoulou");
    if (c.left >= 0) {
      // Widened to the right of where the author put it, not moved.
      POINT origin{0, 0};
      ClientToScreen(host.window.Handle(), &origin);
      EXPECT_EQ(client.x - origin.x, expected.left);
      EXPECT_EQ(client.y - origin.y, expected.top);
    }
  }
}

TEST_F(Dialogs, ListSingleSelection) {
  struct Case {
    const char* items;
    int32_t sort;
    int click;   // displayed row, -1 none
    int button;  // 1 or 2
    std::string shownFirst;
    std::string result;
    // clang-format off
  } cases[] = {
      {"a\rb\rc", 0, 1, 2, "a", "2\r2\r"},
      {"a\rb\rc\r", 0, 1, 2, "a", "2\r2\r"},
      {"c\ra\rb", 1, 0, 1, "a", "1\r2\r"},
      {"c\ra\rb", 1, 2, 1, "a", "1\r1\r"},
      {"a\rb\rc", 0, -1, 1, "a", "1\r0\r"},
  };
  // clang-format on
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HostString r = Drive(
        L"Pick",
        [&](HWND d) {
          HWND list = GetDlgItem(d, kList);
          problems.Check(SendMessageA(list, LB_GETCOUNT, 0, 0) == 3, "three rows");
          char first[16] = {};
          SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
          problems.Check(first == c.shownFirst, "first row shown is " + c.shownFirst);
          problems.Check((StyleOf(list) & LBS_USETABSTOPS) == 0, "no tab stops without columns");
          if (c.click >= 0) {
            ClickRow(list, c.click);
            WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == c.click; });
          }
          ClickChild(GetDlgItem(d, kButton1 + c.button - 1));
        },
        [&] { return List("Pick", nullptr, c.items, c.sort, 0, 0, "OK", "Cancel", 1); });
    EXPECT_EQ(r.text, c.result);
  }
}

TEST_F(Dialogs, ListMultipleSelection) {
  struct Case {
    int32_t sort;
    std::vector<int> clicks;  // displayed rows; the later ones with Ctrl
    std::string result;
  } cases[] = {
      {0, {0, 2}, "1\r2\r1\r3\r"},
      {0, {}, "1\r0\r"},
      {1, {0, 1}, "1\r2\r2\r3\r"},  // shown as r1 r2 r3 from r3 r1 r2
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    const char* items = c.sort ? "r3\rr1\rr2" : "r1\rr2\rr3";
    HostString r = Drive(
        L"Many",
        [&](HWND d) {
          HWND list = GetDlgItem(d, kList);
          problems.Check((StyleOf(list) & LBS_EXTENDEDSEL) != 0, "extended selection");
          for (size_t i = 0; i < c.clicks.size(); ++i) ClickRow(list, c.clicks[i], i ? MK_CONTROL : 0);
          WaitFor([&] {
            return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == static_cast<LRESULT>(c.clicks.size());
          });
          ClickChild(GetDlgItem(d, kButton1));
        },
        [&] { return List("Many", nullptr, items, c.sort, 1, 0, "OK", nullptr, 1); });
    EXPECT_EQ(r.text, c.result);
  }
}

TEST_F(Dialogs, ListEscapeKeepsOpenAndTheCloseBoxAnswersZero) {
  HostString r = Drive(
      L"Close",
      [&](HWND d) {
        HWND list = GetDlgItem(d, kList);
        PostMessageA(list, LB_SETCURSEL, 1, 0);
        PressKey(list, VK_ESCAPE);
        PressKey(list, VK_RETURN);  // the default names no button
        PostMessageA(list, LB_SETCURSEL, 2, 0);
        WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 2; });
        problems.Check(IsWindow(d), "Escape and Enter leave the dialog open");
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
      },
      [&] { return List("Close", nullptr, "a\rb\rc", 0, 0, 0, "OK", "Cancel", 0); });
  EXPECT_EQ(r.text, "0\r3\r");
}

TEST_F(Dialogs, ListColumnsHeadingAndLayout) {
  HostString r = Drive(
      L"Table",
      [&](HWND d) {
        HWND list = GetDlgItem(d, kList);
        problems.Check((StyleOf(list) & LBS_USETABSTOPS) != 0, "columns use tab stops");
        HWND name = FindChildByText(d, L"Name");
        HWND age = FindChildByText(d, L"Age");
        problems.Check(name && age, "heading columns shown");
        if (!name || !age) {
          PostMessageA(d, WM_CLOSE, 0, 0);
          return;
        }
        const RECT nb = ChildBounds(name), ab = ChildBounds(age);
        const RECT start = Units(d, 10, 8, 0, 8);
        problems.Check(nb.left == start.left && nb.top == start.top, "the first heading at (10, 8)");
        problems.Check(ab.top == nb.top && ab.left >= nb.right - 1 && ab.left <= nb.right + 1,
                       "the second heading follows the first");
        // The first column is as wide as its widest text ("Alexandra") plus the gap.
        HDC dc = GetDC(d);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)));
        SIZE widest{};
        GetTextExtentPoint32A(dc, "Alexandra", 9, &widest);
        SelectObject(dc, old);
        ReleaseDC(d, dc);
        problems.Check(nb.right - nb.left >= widest.cx, "the heading spans its widest row");

        // The list shortens itself to whole rows.
        const RECT lb = ClientBounds(d, kList);
        const RECT la = Units(d, 8, 18, 184, 40);
        problems.Check(SameBox(d, RECT{lb.left, lb.top, lb.right, lb.top}, 8, 18, 184, 0) &&
                           lb.bottom <= la.bottom && lb.bottom > la.bottom - 20,
                       "list at (8, 18), 184 x 40 units under the heading");
        // (200 - 2 x 58 + 8) / 2
        problems.Check(SameBox(d, ClientBounds(d, kButton1), 46, 18 + 40 + 8, 50, 14), "first button");
        problems.Check(SameBox(d, ClientBounds(d, kButton2), 104, 18 + 40 + 8, 50, 14), "second button");

        char row[32] = {};
        SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
        problems.Check(std::string(row) == "Alexandra\t7", "rows keep their tabs");
        // The second column is drawn at its tab stop, under its heading.
        int drawn = -1;
        WaitFor([&] { return (drawn = LastWordStart(list, 1)) >= 0; });
        problems.Check(std::abs(drawn - WindowRectOf(age).left) <= 4,
                       "the 7 drawn at " + std::to_string(drawn) + ", its heading at " +
                           std::to_string(WindowRectOf(age).left));
        ClickRow(list, 1);
        WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; });
        ClickChild(GetDlgItem(d, kButton2));
      },
      [&] { return List("Table", "Name\tAge", "Jo\t42\rAlexandra\t7", 0, 0, 0, "OK", "Back", 1); });
  EXPECT_EQ(r.text, "2\r2\r");
}

TEST_F(Dialogs, ListInTheFixedFont) {
  HostString r = Drive(
      L"Fixed",
      [&](HWND d) {
        HWND list = GetDlgItem(d, kList);
        problems.Check(reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)) ==
                           GetStockObject(SYSTEM_FIXED_FONT),
                       "the list shows the system fixed-pitch font");
        problems.Check(
            reinterpret_cast<HGDIOBJ>(SendMessageA(d, WM_GETFONT, 0, 0)) != GetStockObject(SYSTEM_FIXED_FONT),
            "the rest of the dialog keeps its own font");
        problems.Check(FindChildByText(d, L"Code") != nullptr, "heading shown");
        ClickRow(list, 2);
        WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 2; });
        ClickChild(GetDlgItem(d, kButton1));
      },
      [&] { return List("Fixed", "Code\tName", "A1\tOne\rB2\tTwo\rC3\tThree", 0, 0, 1, "OK", nullptr, 1); });
  EXPECT_EQ(r.text, "1\r3\r");
}

TEST_F(Dialogs, ListWithElevenColumnsIsRefused) {
  BoxCatcher catcher;
  HostString r = List("Wide", nullptr, "a\r1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11", 0, 0, 0, "OK", nullptr, 1);
  std::vector<SeenBox> seen = catcher.Stop();
  EXPECT_FALSE(r.present);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"Maximum number of columns in list box exceeded.");
  EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");

  host.variables.Set("TLHideErrors", 1);
  BoxCatcher none;
  r = List("Wide", "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11", "a", 0, 0, 0, "OK", nullptr, 1);
  EXPECT_TRUE(none.Stop().empty());
  EXPECT_FALSE(r.present);
  EXPECT_EQ(host.variables.Text("TLLastError"), "Maximum number of columns in list box exceeded.");
}

TEST_F(Dialogs, MessageBoxShowsTheAuthorsTexts) {
  BoxCatcher catcher(L"Cancel");
  EXPECT_EQ(host.Call<int32_t>("SysQuestionMessage", int32_t{3}, int32_t{3}, "Quiz \x80",
                               "Save the answers\r\nbefore leaving?"),
            3);
  const std::vector<SeenBox> seen = catcher.Stop();
  ASSERT_EQ(seen.size(), 1u);
  wchar_t caption[16] = {};
  MultiByteToWideChar(CP_ACP, 0, "Quiz \x80", -1, caption, 16);
  EXPECT_EQ(seen[0].caption, caption) << "the host's text in the ANSI code page";
  EXPECT_EQ(seen[0].text, L"Save the answers\r\nbefore leaving?");
  EXPECT_EQ(seen[0].buttons.size(), 3u);
  EXPECT_NE(seen[0].icon, nullptr);
  EXPECT_EQ(seen[0].owner, host.window.Handle());
  EXPECT_TRUE(host.window.traffic.empty()) << "an author's box asks the host nothing";
}

TEST_F(Dialogs, RealMessageBoxes) {
  struct Case {
    const char* name;
    int32_t buttonType, defaultButton;
    UINT key;  // VK_RETURN takes the default, VK_ESCAPE cancels; 0: click `press`
    std::wstring press;
    bool icon;
    size_t buttons;
    int defaultId;  // the box's default button
    int32_t result;
  } cases[] = {
      {"SysMessage", 0, 0, 0, L"OK", false, 1, IDOK, 1},
      {"SysQuestionMessage", 3, 3, VK_RETURN, L"", true, 3, IDCANCEL, 3},
      {"SysQuestionMessage", 3, 0, VK_ESCAPE, L"", true, 3, IDYES, 3},
      {"SysWarningMessage", 2, 2, VK_RETURN, L"", true, 2, IDNO, 2},
      {"SysErrorMessage", 1, 0, VK_RETURN, L"", true, 2, IDOK, 1},
      // 5
      {"SysInfoMessage", 4, 2, VK_RETURN, L"", true, 2, IDCANCEL, 2},
      {"SysInfoMessage", 4, 1, VK_RETURN, L"", true, 2, IDRETRY, 1},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + " " + c.name);
    std::vector<std::wstring> buttons;
    bool icon = false;
    HWND owner = nullptr;
    int defaultId = 0;
    Driver driver([&] {
      HWND box = WaitForTopWindow(L"Caption");
      if (!box) return;
      owner = GetWindow(box, GW_OWNER);
      HWND picture = GetDlgItem(box, 0x440);
      icon = picture && IsWindowVisible(picture) && SendMessageW(picture, STM_GETICON, 0, 0) != 0;
      EnumChildWindows(
          box, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
            if (ClassName(w) == L"Button" && IsWindowVisible(w))
              reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(WindowText(w));
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&buttons));
      for (int id : {IDOK, IDCANCEL, IDRETRY, IDYES, IDNO})
        if (HWND b = GetDlgItem(box, id); b && (GetWindowLongW(b, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON)
          defaultId = id;
      if (c.key) {
        PressKey(box, c.key);
      } else if (HWND b = FindChildByText(box, c.press)) {
        ClickChild(b);
      }
      if (!WaitFor([&] { return !IsWindow(box); })) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    const int32_t result = host.Call<int32_t>(c.name, c.buttonType, c.defaultButton, "Caption", "Text");
    driver.Join();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buttons.size(), c.buttons);
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(defaultId, c.defaultId);
    EXPECT_EQ(owner, host.window.Handle());
  }
}

}  // namespace
