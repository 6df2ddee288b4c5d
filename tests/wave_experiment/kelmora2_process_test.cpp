// Kelmora2.exe as the student starts it: on a data file, and on one that does not exist.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_files.h"

using namespace kelmora_test;

namespace {

// The program's path in this build, as Wine sees the build folder.
std::wstring ProgramPath() {
  std::string unix = KELMORA2_EXE;
  std::wstring path = L"Z:";
  for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

struct Process {
  PROCESS_INFORMATION pi{};
  explicit Process(const std::wstring& argument) {
    std::wstring cmd = L"\"" + ProgramPath() + L"\" \"" + argument + L"\"";
    STARTUPINFOW si{sizeof(si)};
    ok = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi) != FALSE;
  }
  ~Process() {
    if (!ok) return;
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  bool Ended(DWORD ms) { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  bool ok = false;
};

HWND WaitForWindowOf(DWORD pid, const std::wstring& caption, DWORD ms = 10000) {
  DWORD until = GetTickCount() + ms;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, nullptr, caption.c_str()))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && IsWindowVisible(w)) return w;
    }
    Sleep(20);
  }
  return nullptr;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls) {
  struct Find {
    const std::wstring* cls;
    std::vector<HWND> found;
  } f{&cls, {}};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) __attribute__((stdcall)) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        wchar_t name[64];
        GetClassNameW(w, name, 64);
        if (lstrcmpiW(name, f->cls->c_str()) == 0) f->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::wstring TextOf(HWND w) {
  wchar_t buf[256] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 3000,
                      nullptr);
  return buf;
}

TEST(Kelmora2Process, StartsOnAFixtureFileAndClosesCleanly) {
  TempFolder folder;
  std::wstring data = folder.File(L"data.txt");
  WriteBytes(data, FixtureFile());
  Process p(data);
  ASSERT_TRUE(p.ok);
  HWND main = WaitForWindowOf(p.pi.dwProcessId, L"Ταχύτητα Διάδοσης Κυμάτων");
  ASSERT_NE(main, nullptr);
  // The set-up runs at the first activation; give it its moment.
  Sleep(300);
  auto bars = ChildrenOfClass(main, TRACKBAR_CLASSW);
  auto edits = ChildrenOfClass(main, L"Edit");
  ASSERT_EQ(bars.size(), 3u);
  ASSERT_EQ(edits.size(), 3u);
  const int positions[] = {350, 40, 25};
  const wchar_t* texts[] = {L"3.5", L"0.4", L"0.25"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(SendMessageW(bars[i], TBM_GETPOS, 0, 0), positions[i]);
    EXPECT_EQ(TextOf(edits[i]), texts[i]);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_EQ(ReadBytes(data), FixtureFile()) << "closing without changes writes nothing";
}

TEST(Kelmora2Process, AMissingFileEndsTheProgramAfterItsMessage) {
  TempFolder folder;
  Process p(folder.File(L"missing.txt"));
  ASSERT_TRUE(p.ok);
  HWND box = WaitForWindowOf(p.pi.dwProcessId, L"Σφάλμα ανάγνωσης");
  ASSERT_NE(box, nullptr);
  HWND text = nullptr, ok = nullptr;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    std::wstring t = TextOf(c);
    if (t == L"OK") ok = c;
    if (t == L"Το αρχείο δεδομένων δεν βρέθηκε.") text = c;
  }
  EXPECT_NE(text, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_FALSE(p.Ended(200)) << "the program waits for the student";
  PostMessageW(ok, BM_CLICK, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (TextOf(c) == text) return c;
  }
  return nullptr;
}

// The window's close box while the wave runs: the questions form once more, then the program
// ends by itself.
TEST(Kelmora2Process, ClosingWhileTheWaveRunsEndsTheProgram) {
  TempFolder folder;
  std::wstring data = folder.File(L"data.txt");
  WriteBytes(data, FixtureFile());
  Process p(data);
  ASSERT_TRUE(p.ok);
  DWORD pid = p.pi.dwProcessId;
  HWND main = WaitForWindowOf(pid, L"Ταχύτητα Διάδοσης Κυμάτων");
  ASSERT_NE(main, nullptr);
  Sleep(300);
  PostMessageW(ChildWithText(main, L"&2° Πείραμα"), BM_CLICK, 0, 0);
  HWND questions = WaitForWindowOf(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  PostMessageW(questions, WM_CLOSE, 0, 0);
  HWND work = nullptr;
  for (int i = 0; i < 100 && !(work = ChildWithText(main, L"Έ&ναρξη")); ++i) Sleep(20);
  ASSERT_NE(work, nullptr);
  for (int i = 0; i < 100 && !IsWindowEnabled(work); ++i) Sleep(20);
  PostMessageW(work, BM_CLICK, 0, 0);
  for (int i = 0; i < 100 && TextOf(work) != L"&Παύση"; ++i) Sleep(20);
  ASSERT_EQ(TextOf(work), L"&Παύση");
  Sleep(300);
  PostMessageW(main, WM_CLOSE, 0, 0);
  questions = WaitForWindowOf(pid, L"Πείραμα 2");
  ASSERT_NE(questions, nullptr);
  PostMessageW(questions, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}

}  // namespace
