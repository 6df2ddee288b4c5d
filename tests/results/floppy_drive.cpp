#include "floppy_drive.h"

#include <stdexcept>

#include "child_process.h"
#include "file_bytes.h"
#include "x_desktop.h"

namespace results_tests {

using testing_support::PrefixFolder;
using testing_support::RunHostCommand;

namespace {

bool DriveAnswers() {
  DWORD attributes = GetFileAttributesW(L"a:\\");
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FloppyDrive::FloppyDrive(bool present) {
  link_ = PrefixFolder() + "/dosdevices/a:";
  unixFolder_ = PrefixFolder() + "/kelmora-floppy-" + std::to_string(GetCurrentProcessId());
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
