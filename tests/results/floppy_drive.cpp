#include "floppy_drive.h"

#include <cstdlib>
#include <stdexcept>

#include "child_process.h"
#include "file_bytes.h"

namespace results_tests {
namespace {

bool DriveAnswers() {
  DWORD attributes = GetFileAttributesW(L"a:\\");
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A unix folder for the marks and the drive's folder: inside the test's own prefix, as the
// Windows process ids in their names are unique only among the processes of one wineserver
// (a folder shared by prefixes, /tmp, would meet another test's).
std::string ScratchFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) throw std::runtime_error("WINEPREFIX is not set: these tests run under Wine");
  return prefix;
}

}  // namespace

void RunHostCommand(const std::string& commandLine) {
  // Wine starts a unix program given by its unix path like a Windows one, but hands back no
  // process to wait for: the shell leaves a mark when the command is done.
  static int count = 0;
  std::string mark = ScratchFolder() + "/kelmora-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++count);
  std::wstring markPath = testing_support::PathOnDriveZ(mark);
  std::string cmd = "/bin/sh -c \"" + commandLine + "; touch " + mark + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    throw std::runtime_error("cannot run " + commandLine);
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (!testing_support::WaitUntil(
          [&] { return GetFileAttributesW(markPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000, 5)) {
    throw std::runtime_error("no end of " + commandLine);
  }
  DeleteFileW(markPath.c_str());
}

FloppyDrive::FloppyDrive(bool present) {
  link_ = ScratchFolder() + "/dosdevices/a:";
  unixFolder_ = ScratchFolder() + "/kelmora-floppy-" + std::to_string(GetCurrentProcessId());
  folder_ = testing_support::PathOnDriveZ(unixFolder_);
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
  return testing_support::ReadFileBytes(folder_ + L"\\" + name, exists);
}

}  // namespace results_tests
