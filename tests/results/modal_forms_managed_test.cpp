// Both experiments' modal windows on a desktop that a window manager manages, as every
// student's desktop has one: the questions form, the results dialog and a Greek message each
// stay above the main window when the student clicks the main window (the window manager
// raises what is clicked, and with it only the windows that belong to it), and the keys still
// reach them. The clicks and keys go through the X server, where the window manager sees them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "child_process.h"
#include "file_bytes.h"
#include "gui_driver.h"
#include "scratch_folder.h"
#include "x_desktop.h"

using namespace testing_support;

namespace {

struct Program {
  const char* name;
  const char* exe;
  const char* sample;
  const wchar_t* mainCaption;
};

void PrintTo(const Program& p, std::ostream* os) { *os << p.name; }

const Program kPrograms[] = {
    {"Kelmora2", KELMORA2_EXE, KELMORA2_SAMPLE, L"Ταχύτητα Διάδοσης Κυμάτων"},
    {"Kelmora4", KELMORA4_EXE, KELMORA4_SAMPLE, L"Θερμοκρασία και Ταχύτητα του Ήχου"},
};

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// A point of the main window's client area that `form` does not cover: a click there reaches
// the main window itself.
POINT UncoveredPointOf(HWND main, HWND form) {
  RECT client{};
  GetClientRect(main, &client);
  RECT covered = ScreenRect(form);
  const POINT candidates[] = {{12, client.bottom / 2},
                              {client.right - 12, client.bottom / 2},
                              {client.right / 2, 12},
                              {client.right / 2, client.bottom - 12},
                              {12, 12},
                              {client.right - 12, client.bottom - 12}};
  for (POINT p : candidates) {
    ClientToScreen(main, &p);
    if (!PtInRect(&covered, p)) return p;
  }
  ADD_FAILURE() << "the form covers the whole main window";
  return {};
}

class UnderWindowManager : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteFileBytes(data, ReadFileBytes(std::string(GetParam().sample))));
    ASSERT_TRUE(program.Start(PathOnDriveZ(GetParam().exe), L"\"" + data + L"\""));
    main = WaitForProcessWindow(program.Pid(), GetParam().mainCaption);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(XWindowOf(main), 0u);
    // The desktop is managed: the manager lists the main window.
    auto stack = ManagedStacking();
    ASSERT_NE(std::find(stack.begin(), stack.end(), XWindowOf(main)), stack.end())
        << "no window manager manages this desktop";
  }

  // The student clicks the main window while `form` is open: the form stays above it, where it
  // was, and is still the window the keys go to.
  void ClickTheMainWindowUnder(HWND form) {
    RECT before = ScreenRect(form);
    ASSERT_TRUE(ManagerStacksAbove(form, main)) << "the form opened below the main window";
    XClickAt(UncoveredPointOf(main, form));
    // The manager raises and activates what is clicked; the program hands the activation on
    // to the form, which takes a moment.
    Sleep(200);
    EXPECT_TRUE(WaitUntil([&] { return ManagerActiveWindow() == XWindowOf(form); }, 3000))
        << "the form is not the active window";
    EXPECT_TRUE(ManagerStacksAbove(form, main)) << "the click on the main window buried the form";
    RECT after = ScreenRect(form);
    EXPECT_TRUE(EqualRect(&before, &after)) << "the form moved";
  }

  // The window captioned `caption` that the main window's button `button` opens.
  HWND OpenedBy(const wchar_t* button, const wchar_t* caption) {
    PostMessageW(ChildWithText(main, button), BM_CLICK, 0, 0);
    return WaitForProcessWindow(program.Pid(), caption);
  }

  ScratchFolder folder{"kelmora-managed-"};
  std::wstring data = folder.File(L"data.txt");
  ChildProcess program;
  HWND main = nullptr;
};

TEST_P(UnderWindowManager, ModalFormsStayAboveTheMainWindowAndKeepTheKeys) {
  const DWORD pid = program.Pid();

  // The questions form: typed letters land in its first answer.
  HWND opener = ChildWithText(main, L"&2° Πείραμα");
  ASSERT_NE(opener, nullptr);
  RECT r = ScreenRect(opener);
  XClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  HWND questions = WaitForProcessWindow(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  {
    SCOPED_TRACE("questions form");
    ClickTheMainWindowUnder(questions);
    std::vector<HWND> memos = ChildrenOfClass(questions, L"Edit");
    ASSERT_EQ(memos.size(), 2u);
    std::sort(memos.begin(), memos.end(),
              [](HWND a, HWND b) { return ChildBounds(a).top < ChildBounds(b).top; });
    std::wstring answer = TextOf(memos[0]);
    XKeys("x y z");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(memos[0]) == answer + L"xyz"; }, 5000))
        << "the keys did not reach the questions form: " << AnsiOfWide(TextOf(memos[0]));
  }
  ClickChild(ChildWithText(questions, L"OK"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(questions); }));

  // The results dialog: Esc closes it.
  HWND results = OpenedBy(L"&Πίνακας Μετρήσεων", L" ");
  ASSERT_NE(results, nullptr);
  {
    SCOPED_TRACE("results dialog");
    ClickTheMainWindowUnder(results);
    XKeys("Escape");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(results); }, 5000))
        << "Esc did not reach the results dialog";
  }

  // A Greek message: the save finds no floppy drive here and says so; Enter closes the
  // message, and the next one comes.
  HWND message = OpenedBy(L"Α&ποθήκευση", L"Σφάλμα δισκέτας");
  ASSERT_NE(message, nullptr);
  {
    SCOPED_TRACE("Greek message");
    ClickTheMainWindowUnder(message);
    XKeys("Return");
    HWND next = WaitForProcessWindow(pid, L"2ο Πείραμα", 5000);
    EXPECT_NE(next, nullptr) << "Enter did not reach the message";
    if (next) {
      ClickTheMainWindowUnder(next);
      XKeys("Return");
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(next); }, 5000));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothExperiments, UnderWindowManager, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
