// A folder of a test's own under the temporary folder, and the removal of a whole tree. The
// library's exports take narrow paths in the system's ANSI code page and the programs take
// wide ones, so the folder gives both.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "file_bytes.h"

namespace testing_support {

// The folder and everything in it. Entries a test made read-only or hidden are cleared of
// that first, since the platform refuses to delete them otherwise.
inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring inner = path + L"\\" + name;
      SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(inner);
      } else {
        DeleteFileW(inner.c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}
inline void RemoveTree(const std::string& path) { RemoveTree(WideOfAnsi(path)); }

// Entries directly inside a folder, files and folders alike; 0 for a folder that is not there.
inline int CountEntries(const std::wstring& folder) {
  int n = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") ++n;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return n;
}

// Made empty when the object is made, removed with all it holds when it goes. The name is
// `prefix`, the process id and a count: unique among the processes of one prefix and among
// the folders of one process. A folder of the same name that a crashed run left is removed
// first.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix = "kelmora") {
    static std::atomic<int> count{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    wide_ = base + L"\\" + WideOfAnsi(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++count);
    narrow_ = AnsiOfWide(wide_);
    RemoveTree(wide_);
    made_ = CreateDirectoryW(wide_.c_str(), nullptr) != FALSE;
  }
  ~ScratchFolder() { RemoveTree(wide_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // False when the folder could not be made; a test checks it before it relies on the folder.
  bool Made() const { return made_; }

  // Without a closing backslash.
  const std::string& Path() const { return narrow_; }
  const std::wstring& WidePath() const { return wide_; }

  // A name inside the folder; it may hold further levels ("sub\\file.txt").
  std::string File(const std::string& name) const { return narrow_ + "\\" + name; }
  std::wstring File(const std::wstring& name) const { return wide_ + L"\\" + name; }

  int CountFiles() const { return CountEntries(wide_); }

 private:
  std::wstring wide_;
  std::string narrow_;
  bool made_ = false;
};

}  // namespace testing_support
