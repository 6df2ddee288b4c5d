// The program itself, started with its command line as a user starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bmp_writer.h"
#include "forms/text.h"
#include "gui_driver.h"

namespace {

// The build tree's path as Wine's DOS path.
std::wstring VeruExe() {
  std::string unixPath = VERU_EXE;
  using ToDos = wchar_t*(__cdecl*)(const char*);
  if (auto f = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")))) {
    if (wchar_t* dos = f(unixPath.c_str())) {
      std::wstring w = dos;
      HeapFree(GetProcessHeap(), 0, dos);
      return w;
    }
  }
  std::wstring w = L"Z:";
  for (char c : unixPath) w += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return w;
}

struct Found {
  DWORD pid;
  const std::wstring* caption;
  HWND hwnd;
};

// A visible top-level window of process `pid` (with that caption when one is given).
HWND WindowOf(DWORD pid, const std::wstring* caption, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  do {
    Found f{pid, caption, nullptr};
    EnumWindows(
        [](HWND w, LPARAM lp) __attribute__((stdcall)) -> BOOL {
          auto* f = reinterpret_cast<Found*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner != f->pid || !IsWindowVisible(w)) return TRUE;
          if (f->caption && testing_support::WindowText(w) != *f->caption) return TRUE;
          f->hwnd = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.hwnd) return f.hwnd;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

class VeruProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    picture_ = std::wstring(temp) + L"veru_program_" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
    std::vector<std::uint8_t> bytes = testing_support::Bmp24(64, 48, [](int x, int y) { return bmp_pixel(x, y); });
    HANDLE h = CreateFileW(picture_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
  }
  void TearDown() override {
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
    DeleteFileW(picture_.c_str());
  }
  static std::uint32_t bmp_pixel(int x, int y) { return static_cast<std::uint32_t>((x * 4) << 16 | (y * 5) << 8 | 40); }

  void Start(const std::wstring& args) {
    std::wstring cmd = L"\"" + VeruExe() + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
        << "cannot start " << forms::Narrow(cmd);
  }
  // The exit code once the program ends, or -1 when it is still running after the timeout.
  long Ended(DWORD timeoutMs = 10000) {
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }

  std::wstring picture_;
  PROCESS_INFORMATION pi_{};
};

TEST_F(VeruProgram, WithoutAnArgumentItEndsAtOnceWithoutAWindow) {
  Start(L"");
  EXPECT_EQ(Ended(), 0);
  EXPECT_EQ(WindowOf(pi_.dwProcessId, nullptr, 0), nullptr);
}

TEST_F(VeruProgram, AMissingFileIsToldAndEndsTheProgram) {
  Start(L"\"" + picture_ + L".none\" x gr");
  const std::wstring caption = L"Error";
  HWND box = WindowOf(pi_.dwProcessId, &caption);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(testing_support::FindChildByText(box, L"Could not find image file!"), nullptr);
  EXPECT_EQ(Ended(200), -1) << "the program waits for the box";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Ended(), 0);
}

TEST_F(VeruProgram, BorderlessGreekViewerShowsGreekHelpAndEndsOnEsc) {
  Start(L"\"" + picture_ + L"\" off gr");
  const std::wstring title = picture_ + L" (64,48,24-bit) - [1:1]";
  HWND viewer = WindowOf(pi_.dwProcessId, &title);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION, 0);
  RECT client;
  GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);

  PostMessageW(viewer, WM_KEYDOWN, VK_F1, 1);
  const std::wstring info = L"Information";
  HWND box = WindowOf(pi_.dwProcessId, &info);
  ASSERT_NE(box, nullptr);
  // A wide literal: the box must show the Greek letters, whatever the code page of the process.
  EXPECT_NE(testing_support::FindChildByText(
                box, L"Vistrel ε1\r\r\rπλήκτρα λειτουργίας:\r    +/- για zoom in/out\r    F1 για βοήθεια\r"
                     L"    F2 για εμφάνιση ιστογραμμάτων\r\rΠατήστε και κινήστε το mouse για να κινηθείτε στην εικόνα."),
            nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  PostMessageW(viewer, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(Ended(), 0);
}

TEST_F(VeruProgram, FramedViewerEndsOnARightButtonRelease) {
  Start(L"\"" + picture_ + L"\"");
  const std::wstring title = picture_ + L" (64,48,24-bit) - [1:1]";
  HWND viewer = WindowOf(pi_.dwProcessId, &title);
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION, 0);
  HWND image = GetWindow(viewer, GW_CHILD);
  ASSERT_NE(image, nullptr);
  PostMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
  EXPECT_EQ(Ended(300), -1) << "pressing is not yet releasing";
  PostMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(Ended(), 0);
}

}  // namespace
