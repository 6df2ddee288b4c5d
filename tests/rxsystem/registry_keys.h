// Registry keys of the program and value tests: each test makes its own, under names that
// carry the process id, and removes them again.
#pragma once
#include <windows.h>

#include <string>

namespace rxsystem_tests {

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
