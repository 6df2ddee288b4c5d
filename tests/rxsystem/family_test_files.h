// Files, folders and registry keys of the program and value tests: each test makes its own,
// under names that carry the process id, and removes them again.
#pragma once
#include <windows.h>

#include <string>

namespace rxsystem_tests {

// A new empty folder under the temporary directory, removed with everything in it when the
// object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + name + std::to_string(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string inner = path + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(inner);
        } else {
          SetFileAttributesA(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(inner.c_str());
        }
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  }

 private:
  std::string path_;
};

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// The whole file, or nothing when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char chunk[4096];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);
  return bytes;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Removes a registry key with all its subkeys.
inline void DeleteKeyTree(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    while (true) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      DeleteKeyTree(key, name);
    }
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, path.c_str());
}

// The default value (no name) or a named value of a key, as text; nullopt-like empty flag.
struct RegistryText {
  bool found = false;
  DWORD type = 0;
  std::string bytes;  // as stored, without anything added
};
inline RegistryText ReadRegistry(HKEY root, const std::string& path, const char* value) {
  RegistryText r;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return r;
  char data[4096];
  DWORD size = sizeof data;
  if (RegQueryValueExA(key, value, nullptr, &r.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
    r.found = true;
    r.bytes.assign(data, size);
  }
  RegCloseKey(key);
  return r;
}

// A registry text without the NUL that most writers store after it.
inline std::string Text(const RegistryText& r) {
  std::string s = r.bytes;
  while (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

}  // namespace rxsystem_tests
