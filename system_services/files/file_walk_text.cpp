#include "system_services/files/file_walk_text.h"

#include <cstring>
#include <string>

#include "system_services/host/message_table.h"

namespace rxsystem {

bool EqualIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
    if (!x) return true;
  }
}

bool PutPathText(char* buffer, size_t capacity, size_t at, std::string_view text, std::string_view tail) {
  if (at >= capacity || text.size() + tail.size() >= capacity - at) return false;
  std::memcpy(buffer + at, text.data(), text.size());
  std::memcpy(buffer + at + text.size(), tail.data(), tail.size());
  buffer[at + text.size() + tail.size()] = '\0';
  return true;
}

bool IsWalkedDirectory(const char* name) {
  // ".." and everything that begins with it stay out: the parent, and names that some
  // platforms list but no one can enter.
  return std::strcmp(name, ".") != 0 && std::strncmp(name, "..", 2) != 0;
}

int SplitFileSpecText(const char* fileSpec, char* searchPath, char* pattern, size_t capacity) {
  if (!fileSpec || !*fileSpec) return kInvalidParameter;
  const char* slash = std::strrchr(fileSpec, '\\');
  if (!slash) return kInvalidParameter;
  std::string_view name(slash + 1);
  if (name.empty()) return kInvalidPattern;
  if (name.size() >= capacity) return kPatternTooLong;
  if (!PutPathText(searchPath, capacity, 0, std::string_view(fileSpec, slash + 1 - fileSpec), "*.*"))
    return kPathTooLong;
  std::memcpy(pattern, name.data(), name.size() + 1);
  return 0;
}

namespace {

int Fail(const ListWalkPlatform& platform, int id, const char* path = nullptr) {
  platform.report(id, path);
  return -1;
}

void CopyListPath(std::string_view path, char* buffer) {
  std::memcpy(buffer, path.data(), path.size());
  buffer[path.size()] = '\0';
}

}  // namespace

int WalkListLine(std::string_view line, bool withDestination, bool skipExisting, char* source, char* target,
                 size_t capacity, const ListWalkPlatform& platform, WalkCallback callback) {
  std::string_view sourceText = line;
  if (withDestination) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return Fail(platform, kInvalidPathInList);
    const std::string_view destination = line.substr(tab + 1);
    if (destination.size() >= capacity) return Fail(platform, kPathTooLong);
    if (destination.size() < 3) return Fail(platform, kInvalidPathInList);
    CopyListPath(destination, target);
    if (skipExisting && platform.exists(target)) return 0;
    const char* lastSlash = std::strrchr(target, '\\');
    if (!lastSlash) return Fail(platform, kInvalidFilePath, target);
    std::string directory(target, static_cast<size_t>(lastSlash - target));
    // "\x.txt" and "C:\x.txt" have nothing to create before the name.
    if (directory.size() > 2 && !platform.exists(directory.c_str()) &&
        platform.createDirs(directory.data()) != 0)
      return -1;
    sourceText = line.substr(0, tab);
  }
  if (sourceText.size() >= capacity) return Fail(platform, kPathTooLong);
  CopyListPath(sourceText, source);
  if (sourceText.size() < 3) return Fail(platform, kInvalidFilePath, source);
  return callback(source, target) == 0 ? 0 : -1;
}

int WalkListText(std::string_view list, bool withDestination, bool skipExisting, char* source, char* target,
                 size_t capacity, const ListWalkPlatform& platform, WalkCallback callback) {
  std::string_view rest = list;
  while (!rest.empty()) {
    const size_t end = rest.find('\r');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (WalkListLine(line, withDestination, skipExisting, source, target, capacity, platform, callback) != 0)
      return -1;
  }
  return 0;
}

}  // namespace rxsystem
