// Whole files in and out: what a test hands a program, and what the program wrote. Paths come
// wide, or narrow in the system's ANSI code page, the form the library's exports take them in;
// both go through the same wide calls, so the two spellings of a path name one file.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

inline std::wstring WideOfAnsi(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

inline std::string AnsiOfWide(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr,
                        nullptr);
  }
  return narrow;
}

// Whether the read may share the file with a writer that still holds it open. A program's
// log it keeps appending to is read while it runs; a test that wants every handle of the code
// under test closed refuses writers, and a handle left open then fails the read.
enum class Writers { Allowed, Refused };

// The bytes of a file; nullopt when it cannot be opened.
inline std::optional<std::string> ReadFileIfAny(const std::wstring& path,
                                                Writers writers = Writers::Allowed) {
  const DWORD share = FILE_SHARE_READ | (writers == Writers::Allowed ? FILE_SHARE_WRITE : 0);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}
inline std::optional<std::string> ReadFileIfAny(const std::string& path, Writers writers = Writers::Allowed) {
  return ReadFileIfAny(WideOfAnsi(path), writers);
}

// The bytes of a file; empty, and `exists` false, when it cannot be opened.
inline std::string ReadFileBytes(const std::wstring& path, bool* exists = nullptr) {
  std::optional<std::string> bytes = ReadFileIfAny(path);
  if (exists) *exists = bytes.has_value();
  return bytes.value_or(std::string());
}
inline std::string ReadFileBytes(const std::string& path, bool* exists = nullptr) {
  return ReadFileBytes(WideOfAnsi(path), exists);
}

// The file replaced by `bytes`; true only when every byte reached it. False when it cannot be
// created (GetLastError tells why) or the write fell short. `written`: how many bytes did.
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes, DWORD* written = nullptr) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (written) *written = 0;
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  if (written) *written = put;
  return ok && put == bytes.size();
}
inline bool WriteFileBytes(const std::string& path, const std::string& bytes, DWORD* written = nullptr) {
  return WriteFileBytes(WideOfAnsi(path), bytes, written);
}

inline bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline bool PathExists(const std::string& path) { return PathExists(WideOfAnsi(path)); }

inline bool IsDirectory(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool IsDirectory(const std::string& path) { return IsDirectory(WideOfAnsi(path)); }

}  // namespace testing_support
