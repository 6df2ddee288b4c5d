// Files of a test's own: a temporary folder and the fixture data file.
#pragma once
#include <windows.h>

#include <string>

#include "file_bytes.h"

namespace kelmora_test {

// A folder of the test's own under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"kelmora2_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") {
          SetFileAttributesW((path_ + L"\\" + n).c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW((path_ + L"\\" + n).c_str());
        }
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  const std::wstring& Path() const { return path_; }
  int CountFiles() const {
    int n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
      std::wstring f = fd.cFileName;
      if (f != L"." && f != L"..") ++n;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
  }

 private:
  std::wstring path_;
};

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

// A data file of the program (code page 1253, CR LF): two questions, answers, two 2 x 3
// tables.
inline std::string FixtureFile() {
  const char* lines[] = {
      "Πώς εξαρτάται η ταχύτητα από τη δύναμη;", "----------", "Αυξάνεται με τη δύναμη.",
      "----------", "Πώς εξαρτάται από την πυκνότητα;", "----------", "", "----------", "2", "2",
      "3", "3.5", "0.4", "11.8", "7", "0.1", "8.4", "2", "3", "Ε1", "d1", "", "", "", "x"};
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

}  // namespace kelmora_test
