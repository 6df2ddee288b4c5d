#include "x_desktop.h"

#include <cstdlib>
#include <stdexcept>

#include "child_process.h"
#include "file_bytes.h"

namespace testing_support {

std::string PrefixFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) throw std::runtime_error("WINEPREFIX is not set: these tests run under Wine");
  return prefix;
}

std::string RunHostCommand(const std::string& commandLine, DWORD timeoutMs) {
  if (commandLine.find('"') != std::string::npos)
    throw std::invalid_argument("a double quote in " + commandLine);
  // Wine starts a unix program given by its unix path like a Windows one, but hands back no
  // process to wait for: the shell leaves a mark when the command is done.
  static int count = 0;
  std::string base = PrefixFolder() + "/kelmora-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++count);
  std::string output = base + ".out", mark = base + ".done";
  std::wstring markPath = PathOnDriveZ(mark), outputPath = PathOnDriveZ(output);
  // Process ids come round again: a command of an earlier process of the same id that ran
  // out of time may have left its files behind.
  DeleteFileW(markPath.c_str());
  DeleteFileW(outputPath.c_str());
  std::string cmd = "/bin/sh -c \"(" + commandLine + ") >" + output + " 2>&1; touch " + mark + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    throw std::runtime_error("cannot run " + commandLine);
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (!WaitUntil([&] { return GetFileAttributesW(markPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs,
                 5)) {
    throw std::runtime_error("no end of " + commandLine);
  }
  std::string printed = ReadFileBytes(outputPath);
  DeleteFileW(markPath.c_str());
  DeleteFileW(outputPath.c_str());
  return printed;
}

unsigned long XWindowOf(HWND hwnd) {
  return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, L"__wine_x11_whole_window")));
}

std::vector<unsigned long> ParseWindowList(const std::string& xpropOutput) {
  std::vector<unsigned long> windows;
  size_t at = xpropOutput.find('#');
  if (at == std::string::npos) return windows;
  const char* p = xpropOutput.c_str() + at + 1;
  while (*p) {
    char* end = nullptr;
    unsigned long w = std::strtoul(p, &end, 16);
    if (end == p) break;
    windows.push_back(w);
    p = end;
    while (*p == ',' || *p == ' ') ++p;
    if (*p == '\n' || *p == '\r') break;
  }
  return windows;
}

std::vector<unsigned long> ManagedStacking() {
  return ParseWindowList(RunHostCommand("xprop -root _NET_CLIENT_LIST_STACKING"));
}

bool ManagerStacksAbove(HWND upper, HWND lower) {
  unsigned long up = XWindowOf(upper), low = XWindowOf(lower);
  int upAt = -1, lowAt = -1, i = 0;
  for (unsigned long w : ManagedStacking()) {
    if (w == up) upAt = i;
    if (w == low) lowAt = i;
    ++i;
  }
  return upAt >= 0 && lowAt >= 0 && upAt > lowAt;
}

unsigned long ManagerActiveWindow() {
  auto windows = ParseWindowList(RunHostCommand("xprop -root _NET_ACTIVE_WINDOW"));
  return windows.empty() ? 0 : windows.front();
}

void XClickAt(POINT screen) {
  // No --sync: it waits for a move, and a pointer already there never moves. The server takes
  // the move before the click all the same.
  RunHostCommand("xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                 " click 1");
}

void XKeys(const std::string& keyNames) { RunHostCommand("xdotool key --delay 30 " + keyNames); }

}  // namespace testing_support
