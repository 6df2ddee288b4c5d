#include "floppy_drive.h"

#include <cstdlib>
#include <stdexcept>

namespace results_tests {
namespace {

std::wstring WindowsPathOfUnix(const std::string& unixPath) {
  // Wine's Z: drive is the unix root.
  std::wstring w = L"Z:";
  for (char c : unixPath) w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

bool DriveAnswers() {
  DWORD attributes = GetFileAttributesW(L"a:\\");
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void RunHostCommand(const std::string& commandLine) {
  // Wine starts a unix program given by its unix path like a Windows one, but hands back no
  // process to wait for: the shell leaves a mark when the command is done.
  static int count = 0;
  std::string mark = "/tmp/kelmora-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
  std::wstring markPath = WindowsPathOfUnix(mark);
  std::string cmd = "/bin/sh -c \"" + commandLine + "; touch " + mark + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    throw std::runtime_error("cannot run " + commandLine);
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  DWORD start = GetTickCount();
  while (GetFileAttributesW(markPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start > 10000) throw std::runtime_error("no end of " + commandLine);
    Sleep(5);
  }
  DeleteFileW(markPath.c_str());
}

FloppyDrive::FloppyDrive(bool present) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) throw std::runtime_error("WINEPREFIX is not set: these tests run under Wine");
  link_ = std::string(prefix) + "/dosdevices/a:";
  unixFolder_ = "/tmp/kelmora-floppy-" + std::to_string(GetCurrentProcessId());
  folder_ = WindowsPathOfUnix(unixFolder_);
  RunHostCommand("/bin/rm -rf " + link_ + " " + unixFolder_);
  if (present) {
    CreateDirectoryW(folder_.c_str(), nullptr);
    RunHostCommand("/bin/ln -s " + unixFolder_ + " " + link_);
  }
  // The drives are looked up again at most once a second.
  for (int i = 0; i < 300 && DriveAnswers() != present; ++i) Sleep(10);
  if (DriveAnswers() != present) throw std::runtime_error("the A: drive did not follow its link");
}

FloppyDrive::~FloppyDrive() {
  try {
    RunHostCommand("/bin/rm -rf " + link_ + " " + unixFolder_);
  } catch (...) {
  }
}

std::string FloppyDrive::Read(const std::wstring& name, bool* exists) const {
  std::wstring path = folder_ + L"\\" + name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (exists) *exists = h != INVALID_HANDLE_VALUE;
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}

}  // namespace results_tests
