#include "system_services/dialogs/chooser_rules.h"

#include <cstring>

namespace rxsystem {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool HasDriveLetter(std::string_view path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':'; }

bool IsUnc(std::string_view path) { return path.size() >= 3 && path[0] == '\\' && path[1] == '\\'; }

// Characters outside printable ASCII are refused too: the platform would read them in its own
// code page, not the host's.
bool OutsideAscii(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 32 || u >= 128;
}

}  // namespace

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

PathShape ClassifyPath(std::string_view path) {
  PathShape s;
  if (IsUnc(path)) {
    s.hasDrive = true;
    s.absolute = true;
    s.scanFrom = 2;
  } else if (HasDriveLetter(path)) {
    s.hasDrive = true;
    s.absolute = path.size() >= 3 && path[2] == '\\';
    s.scanFrom = 2;
  } else {
    s.absolute = !path.empty() && path[0] == '\\';
  }
  return s;
}

RuleBreak CheckPathText(std::string_view path, bool requireDrive, bool requireAbsolute) {
  PathShape s = ClassifyPath(path);
  if (requireDrive && !s.hasDrive) return {20, 0};
  if (requireAbsolute && !s.absolute) return {21, 0};
  for (size_t i = s.scanFrom; i < path.size(); ++i) {
    char c = path[i];
    if (OutsideAscii(c) || std::strchr("\"<>:/|?*", c)) return {15, c};
    if (c == '\\' && i > 0 && path[i - 1] == '\\') return {22, 0};
  }
  return {};
}

RuleBreak CheckFolderName(const char* name) {
  for (int i = 0; i <= kLongestFolderName; ++i) {
    char c = name[i];
    if (c == '\0') return {};
    if (OutsideAscii(c) || std::strchr("\"*/:<>?\\|", c)) return {15, c};
  }
  return {17, 0};
}

size_t DriveRootLength(std::string_view path) {
  if (!HasDriveLetter(path)) return 0;
  return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
}

size_t DrivePartLength(std::string_view path) {
  if (HasDriveLetter(path)) return 2;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t end = path.find('\\', 2);
    return end == std::string_view::npos ? path.size() : end;
  }
  return 0;
}

bool ComposeTypedPath(std::string_view current, std::string_view typed, char* out, size_t capacity) {
  bool whole =
      (typed.size() >= 2 && typed[0] == '\\' && typed[1] == '\\') || (typed.size() >= 2 && typed[1] == ':');
  std::string_view drive = whole ? std::string_view{} : current.substr(0, DrivePartLength(current));
  bool slash = !whole && (typed.empty() || typed[0] != '\\');
  size_t length = drive.size() + (slash ? 1 : 0) + typed.size();
  if (length + 1 > capacity) return false;
  char* p = out;
  if (!drive.empty()) std::memcpy(p, drive.data(), drive.size());
  p += drive.size();
  if (slash) *p++ = '\\';
  if (!typed.empty()) std::memcpy(p, typed.data(), typed.size());
  p[typed.size()] = '\0';
  return true;
}

int CompareFolderNames(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void RecentNetworkName(char* name) {
  char* out = name;
  for (const char* in = name; *in;) {
    if (in[0] == '.' && in[1] == '/') {
      *out++ = '\\';
      in += 2;
    } else {
      *out++ = *in++;
    }
  }
  *out = '\0';
}

void CapitalizeLabel(char* label) {
  if (!*label) return;
  label[0] = UpperAscii(label[0]);
  for (char* p = label + 1; *p; ++p) *p = LowerAscii(*p);
}

bool DriveEntryMatches(std::string_view entry, std::string_view path, size_t rootLength) {
  size_t n = rootLength > 0 ? rootLength - 1 : 0;
  if (entry.size() < n || path.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (LowerAscii(entry[i]) != LowerAscii(path[i])) return false;
  }
  return true;
}

size_t PathCutForLevel(std::string_view path, size_t rootLength, unsigned level) {
  size_t pos = rootLength < path.size() ? rootLength : path.size();
  for (unsigned kept = 0; kept < level && pos < path.size(); ++kept) {
    while (pos < path.size() && path[pos] == '\\') ++pos;
    size_t end = path.find('\\', pos);
    pos = end == std::string_view::npos ? path.size() : end;
  }
  return pos;
}

}  // namespace rxsystem
