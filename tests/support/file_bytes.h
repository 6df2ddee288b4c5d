// Whole files in and out: what a test hands a program, and what the program wrote.
#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

// The bytes of a file; empty, and `exists` false, when it cannot be opened. A program may
// still hold it open for writing (a log it keeps appending to).
inline std::string ReadFileBytes(const std::wstring& path, bool* exists = nullptr) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (exists) *exists = h != INVALID_HANDLE_VALUE;
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}

// The file replaced by `bytes`; false (GetLastError tells why) when it cannot be created.
// `written`: how many bytes reached it.
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes, DWORD* written = nullptr) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (written) *written = 0;
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  if (written) *written = put;
  return true;
}

}  // namespace testing_support
