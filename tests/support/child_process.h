// A program of this build started as a user starts it, and the windows it shows, found from
// outside its process.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Polls `done` every `stepMs` until it holds; false when `timeoutMs` passed first.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000, DWORD stepMs = 10) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(stepMs);
  }
  return true;
}

// A unix path as Wine's Z: drive (the unix root) shows it.
inline std::wstring PathOnDriveZ(const std::string& unixPath) {
  std::wstring w = L"Z:";
  for (char c : unixPath) w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

// A visible top-level window of process `pid` whose caption is `*caption` (any caption when
// null), waiting up to `timeoutMs`; looked for at least once; null when none appeared.
inline HWND WaitForProcessWindow(DWORD pid, const std::wstring* caption, DWORD timeoutMs = 10000) {
  struct Found {
    DWORD pid;
    const std::wstring* caption;
    HWND hwnd;
  };
  DWORD start = GetTickCount();
  do {
    Found f{pid, caption, nullptr};
    EnumWindows(
        [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
          auto* f = reinterpret_cast<Found*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner != f->pid || !IsWindowVisible(w)) return TRUE;
          if (f->caption) {
            int n = GetWindowTextLengthW(w);
            std::wstring text(static_cast<size_t>(n) + 1, L'\0');
            n = GetWindowTextW(w, text.data(), n + 1);
            text.resize(static_cast<size_t>(n > 0 ? n : 0));
            if (text != *f->caption) return TRUE;
          }
          f->hwnd = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.hwnd) return f.hwnd;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

inline HWND WaitForProcessWindow(DWORD pid, const std::wstring& caption, DWORD timeoutMs = 10000) {
  return WaitForProcessWindow(pid, &caption, timeoutMs);
}

// A top-level window of process `pid` captioned `caption`, shown or not: the program makes
// its windows at start and shows them later.
inline HWND ProcessWindowShownOrNot(DWORD pid, const std::wstring& caption) {
  struct Found {
    DWORD pid;
    const std::wstring* caption;
    HWND hwnd;
  } f{pid, &caption, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t text[64] = {};
        GetWindowTextW(w, text, 64);
        if (owner != f->pid || *f->caption != text) return TRUE;
        f->hwnd = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.hwnd;
}

// A started program; one still running when the test ends is ended.
class ChildProcess {
 public:
  ChildProcess() = default;
  // Starts `program` with `arguments` after it on the command line.
  ChildProcess(const std::wstring& program, const std::wstring& arguments) { Start(program, arguments); }
  ~ChildProcess() { End(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False when it could not be started.
  bool Start(const std::wstring& program, const std::wstring& arguments) {
    commandLine_ = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::wstring cmd = commandLine_;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    return CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) !=
           FALSE;
  }
  bool Started() const { return pi_.hProcess != nullptr; }
  DWORD Pid() const { return pi_.dwProcessId; }
  const std::wstring& CommandLine() const { return commandLine_; }
  // Ends the program if it still runs and lets go of it.
  void End() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 9);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    pi_ = {};
  }
  // True once the program has ended, waiting up to `timeoutMs`.
  bool Ended(DWORD timeoutMs) const { return WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
  std::wstring commandLine_;
};

// Text of a window of the other process, asked of the window itself (edits keep their own).
inline std::wstring TextOf(HWND w) {
  wchar_t buf[2048] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 3000, nullptr);
  return buf;
}

// The first visible direct child of a window of the other process whose text is `text`.
inline HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c) && TextOf(c) == text) return c;
  }
  return nullptr;
}

// The children (at any depth) of a window whose class is `cls`, in the system's order.
inline std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls) {
  struct Find {
    const std::wstring* cls;
    std::vector<HWND> found;
  } f{&cls, {}};
  EnumChildWindows(
      parent, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        wchar_t name[64];
        GetClassNameW(w, name, 64);
        if (lstrcmpiW(name, f->cls->c_str()) == 0) f->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

}  // namespace testing_support
