// The floppy drive A: of a test under Wine: a folder of the test's own that the prefix's
// dosdevices/a: link points to, or no A: drive at all. Tests that use it run one at a time.
#pragma once
#include <windows.h>

#include <string>

namespace results_tests {

class FloppyDrive {
 public:
  // present: A: is a fresh empty folder; otherwise the prefix has no A: drive.
  explicit FloppyDrive(bool present);
  ~FloppyDrive();
  FloppyDrive(const FloppyDrive&) = delete;
  FloppyDrive& operator=(const FloppyDrive&) = delete;

  // The bytes of a file on the drive, read through the folder (not through A:); empty and
  // `exists` false when there is none.
  std::string Read(const std::wstring& name, bool* exists = nullptr) const;
  // The folder's Windows path (Z:...).
  const std::wstring& Folder() const { return folder_; }

 private:
  std::string link_;        // unix path of dosdevices/a:
  std::string unixFolder_;  // unix path of the folder
  std::wstring folder_;
};

}  // namespace results_tests
