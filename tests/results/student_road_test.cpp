// The whole road of one student through Kelmora2.exe, driven from outside as the student's
// keys and clicks would drive it: the questions and answers, the three quantities, start and
// pause, the ruler stretched to one wavelength, the results table, save, exit. The data file
// and the floppy report are then checked byte for byte. A: is a folder of the test's own.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "child_process.h"
#include "file_bytes.h"
#include "floppy_drive.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "scratch_folder.h"

using results_tests::FloppyDrive;
using namespace testing_support;

namespace {

std::wstring ProgramPath() { return PathOnDriveZ(KELMORA2_EXE); }

std::string Lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) all.push_back(c);
  return all;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The child of `parent` at these bounds (the design's), null when none.
HWND ChildAt(HWND parent, int left, int top, int width, int height) {
  for (HWND c : Children(parent)) {
    RECT r = ChildBounds(c);
    if (r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height) return c;
  }
  return nullptr;
}

HWND ChildOfSize(HWND parent, int width, int height, bool deep = false) {
  for (HWND c : deep ? Descendants(parent) : Children(parent)) {
    RECT r = WindowRectOf(c);
    if (r.right - r.left == width && r.bottom - r.top == height) return c;
  }
  return nullptr;
}

void Key(HWND target, UINT vk) {
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void Chars(HWND target, const std::string& cp1253) {
  for (wchar_t c : forms::Widen(cp1253)) PostMessageW(target, WM_CHAR, c, 1);
}

const char kQuestion1[] = "Πώς μεταβάλλεται η ταχύτητα διάδοσης όταν αυξάνεται η δύναμη F;";
const char kQuestion2[] = "Πώς μεταβάλλεται το μήκος κύματος όταν αυξάνεται η συχνότητα;";

// The data file as the course hands it out: the questions, no answers, two empty 5 x 5 tables.
std::string CourseDataFile() {
  std::vector<std::string> l = {kQuestion1,   "----------", "",           "----------", kQuestion2,
                                "----------", "",           "----------", "2"};
  for (int k = 0; k < 2; ++k) {
    l.push_back("5");
    l.push_back("5");
    for (int i = 0; i < 25; ++i) l.push_back("");
  }
  return Lines(l);
}

std::string BlankRow(int n) { return std::to_string(n) + "η μέτρηση" + std::string(105, ' '); }

TEST(StudentRoad, QuestionsQuantitiesAnimationRulerTableSaveAndExit) {
  FloppyDrive floppy(true);
  const ScratchFolder folder{"kelmora-road-"};
  const std::wstring dataFile = folder.File(L"data.txt");
  WriteFileBytes(dataFile, CourseDataFile());
  ChildProcess program;
  ASSERT_TRUE(program.Start(ProgramPath(), L"\"" + dataFile + L"\""));
  const DWORD pid = program.Pid();

  HWND main = WaitForProcessWindow(pid, L"Ταχύτητα Διάδοσης Κυμάτων");
  ASSERT_NE(main, nullptr);
  HWND E_edit = ChildAt(main, 728, 40, 57, 24), d_edit = ChildAt(main, 728, 104, 57, 24);
  HWND E_TrackBar = ChildAt(main, 616, 40, 113, 33), d_TrackBar = ChildAt(main, 616, 104, 113, 33);
  ASSERT_TRUE(E_edit && d_edit && E_TrackBar && d_TrackBar);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(E_edit) == L"3.5"; })) << "the set-up ran";

  // 1. The questions, and the answers typed with Enter between the lines.
  ClickChild(FindChildByText(main, L"&2° Πείραμα"));
  HWND questions = WaitForProcessWindow(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  std::vector<HWND> memos;
  for (HWND c : Children(questions)) {
    if (ClassName(c) == L"Edit") memos.push_back(c);
  }
  ASSERT_EQ(memos.size(), 2u);
  std::sort(memos.begin(), memos.end(),
            [](HWND a, HWND b) { return ChildBounds(a).top < ChildBounds(b).top; });
  Chars(memos[0], "Αυξάνεται ανάλογα");
  Key(memos[0], VK_RETURN);
  // The key's new line comes as a character made when the key is handled: wait for it
  // before typing on.
  EXPECT_TRUE(WaitUntil([&] { return TextOf(memos[0]) == L"Αυξάνεται ανάλογα\r\n"; }));
  Chars(memos[0], "με τη ρίζα της δύναμης.");
  Chars(memos[1], "Μικραίνει.");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(memos[0]) == L"Αυξάνεται ανάλογα\r\nμε τη ρίζα της δύναμης."; }))
      << forms::Narrow(TextOf(memos[0]));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(memos[1]) == L"Μικραίνει."; }));
  ClickChild(FindChildByText(questions, L"OK"));
  HWND work = FindChildByText(main, L"Έ&ναρξη");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(questions) && IsWindowEnabled(work); }))
      << "the questions form unlocks the experiment";

  // 2. The quantities: F = 4 and μ = 0.25, typed and confirmed with Enter (v stays 0.25).
  SendMessageTimeoutW(E_edit, EM_SETSEL, 0, -1, SMTO_BLOCK, 3000, nullptr);
  Chars(E_edit, "4");
  Key(E_edit, VK_RETURN);
  SendMessageTimeoutW(d_edit, EM_SETSEL, 0, -1, SMTO_BLOCK, 3000, nullptr);
  Chars(d_edit, "0.25");
  Key(d_edit, VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(E_TrackBar, TBM_GETPOS, 0, 0) == 400; }));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(d_TrackBar, TBM_GETPOS, 0, 0) == 25; }));

  // 3. Start, and pause while the wave runs.
  ClickChild(work);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(work) == L"&Παύση"; }));
  ClickChild(work);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(work) == L"Έ&ναρξη"; }));

  // 4. The ruler, stretched by its right end until it reads one wavelength: u = sqrt(4 / 0.25)
  // = 4, λ = u / v = 16.
  ClickChild(FindChildByText(main, L"&Χάρακας"));
  HWND distance = ChildOfSize(ChildAt(main, 136, 36, 137, 49), 97, 16);
  HWND frequency = ChildOfSize(ChildAt(main, 368, 36, 137, 49), 105, 16);
  ASSERT_TRUE(distance && frequency);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(distance) && !WindowText(distance).empty(); }));
  HWND ruler = nullptr;
  for (HWND c : Descendants(main)) {
    RECT r = WindowRectOf(c);
    if (IsWindowVisible(c) && r.right - r.left == 97 && r.bottom - r.top == 9) ruler = c;
  }
  ASSERT_NE(ruler, nullptr);
  // Each mouse message is handled before the next is sent, so the readout read after it is
  // the one for that position.
  auto mouse = [&](UINT message, WPARAM keys, int x) {
    SendMessageTimeoutW(ruler, message, keys, MAKELPARAM(x, 4), SMTO_BLOCK, 3000, nullptr);
  };
  int x = 94;
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, x);
  bool reached = false;
  for (int step = 0; step < 600 && !reached; ++step) {
    int units = _wtoi(WindowText(distance).c_str());
    reached = units == 16;
    if (reached) break;
    x += units < 16 ? 1 : -1;
    mouse(WM_MOUSEMOVE, MK_LBUTTON, x);
  }
  mouse(WM_LBUTTONUP, 0, x);
  ASSERT_TRUE(reached) << "the ruler reads " << forms::Narrow(WindowText(distance));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(frequency) == L"0.25"; }))
      << forms::Narrow(WindowText(frequency));
  COLORREF rulerColour = 0;
  WaitUntil([&] {
    // From the screen: the window's own surface belongs to the other process.
    HDC dc = GetDC(nullptr);
    RECT r = WindowRectOf(ruler);
    rulerColour = GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, dc);
    return rulerColour == RGB(255, 0, 0);
  });
  EXPECT_EQ(rulerColour, RGB(255, 0, 0)) << "red at one wavelength";

  // 5. The results table: the first measurement, cell after cell with Tab.
  ClickChild(FindChildByText(main, L"&Πίνακας Μετρήσεων"));
  HWND dialog = WaitForProcessWindow(pid, L" ");
  ASSERT_NE(dialog, nullptr);
  HWND grid = nullptr, editor = nullptr;
  for (HWND c : Children(dialog)) {
    for (HWND e : Children(c)) {
      if (ClassName(e) == L"Edit") grid = c, editor = e;
    }
  }
  ASSERT_TRUE(grid && editor);
  const char* row1[] = {"4", "0.25", "16", "4", "4"};
  for (int c = 0; c < 5; ++c) {
    SCOPED_TRACE(row1[c]);
    std::string text = row1[c];
    // The first key opens the editor on the cell; the rest go to the editor.
    Chars(grid, text.substr(0, 1));
    Chars(editor, text.substr(1));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(editor) && TextOf(editor) == forms::Widen(text); }));
    if (c < 4) {
      Key(editor, VK_TAB);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(editor); }));
    }
  }
  // OK straight from the open editor.
  ClickChild(FindChildByText(dialog, L"&OK"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));

  // 6. Save: the data file and the report, and the outcome in Greek.
  ClickChild(FindChildByText(main, L"Α&ποθήκευση"));
  EXPECT_EQ(AnswerProcessMessage(pid, L"2ο Πείραμα"), L"Τα αποτελέσματα αποθηκεύτηκαν.");

  // 7. Exit: the questions form once more, with the answers as they were; then the end.
  ClickChild(FindChildByText(main, L"Έξ&οδος"));
  HWND again = WaitForProcessWindow(pid, L"Πείραμα 2");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(TextOf(memos[0]), L"Αυξάνεται ανάλογα\r\nμε τη ρίζα της δύναμης.\r\n");
  ClickChild(FindChildByText(again, L"OK"));
  ASSERT_TRUE(program.Ended(10000)) << "the program ends";
  EXPECT_EQ(program.ExitCode(), 0u);

  std::vector<std::string> data = {kQuestion1,
                                   "----------",
                                   "Αυξάνεται ανάλογα",
                                   "με τη ρίζα της δύναμης.",
                                   "----------",
                                   kQuestion2,
                                   "----------",
                                   "Μικραίνει.",
                                   "----------",
                                   "2",
                                   "5",
                                   "5",
                                   "4",
                                   "0.25",
                                   "16",
                                   "4",
                                   "4"};
  for (int i = 0; i < 20; ++i) data.push_back("");
  data.push_back("5");
  data.push_back("5");
  for (int i = 0; i < 25; ++i) data.push_back("");
  EXPECT_EQ(ReadFileBytes(dataFile), Lines(data));

  std::vector<std::string> report = {
      "----------",
      "Ερώτηση 1",
      kQuestion1,
      "Απάντηση 1",
      "Αυξάνεται ανάλογα",
      "με τη ρίζα της δύναμης.",
      "----------",
      "Ερώτηση 2",
      kQuestion2,
      "Απάντηση 2",
      "Μικραίνει.",
      "----------",
      "Πίνακας Μετρήσεων  - Εγκάρσια κύματα ",
      "",
      "               Δύναμη              Γρ. πυκνότητα       Μήκος κύματος       Περίοδος            "
      "Ταχύτητα            ",
      "1η μέτρηση     4                   0.25                16                  4                   4      "
      "             ",
      BlankRow(2),
      BlankRow(3),
      BlankRow(4),
      BlankRow(5),
      "----------",
      "Πίνακας Μετρήσεων  - Διαμήκη κύματα ",
      "",
      "               Ελαστικότητα        Πυκνότητα           Μήκος κύματος       Περίοδος            "
      "Ταχύτητα            ",
      BlankRow(1),
      BlankRow(2),
      BlankRow(3),
      BlankRow(4),
      BlankRow(5),
  };
  EXPECT_EQ(floppy.Read(L"results1-2.txt"), Lines(report));
}

}  // namespace
