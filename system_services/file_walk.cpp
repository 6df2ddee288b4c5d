#include "system_services/file_walk.h"

#include <cstring>
#include <string_view>

#include "system_services/host_interface.h"
#include "system_services/wildcard.h"

namespace rxsystem {

namespace {

// Copies text into a module buffer; false (after the over-long path message) when it does
// not fit.
bool PutPath(char* buffer, size_t at, std::string_view text, std::string_view tail = {}) {
  if (at + text.size() + tail.size() >= kPathBuffer) {
    ReportError(kPathTooLong);
    return false;
  }
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

// Lists the directory with the listing closed on every way out.
class Listing {
 public:
  explicit Listing(const char* searchPath) : handle_(FindFirstFileA(searchPath, &entry_)) {}
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  bool Started() const { return static_cast<bool>(handle_); }
  const WIN32_FIND_DATAA& Entry() const { return entry_; }
  bool Next() { return FindNextFileA(handle_.get(), &entry_) != FALSE; }

 private:
  WIN32_FIND_DATAA entry_{};
  forms::UniqueFind handle_;
};

}  // namespace

bool EqualIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
    if (!x) return true;
  }
}

int SplitFileSpec(const char* fileSpec) {
  if (!fileSpec || !*fileSpec) {
    ReportError(kInvalidParameter);
    return -1;
  }
  const char* slash = std::strrchr(fileSpec, '\\');
  if (!slash) {
    ReportError(kInvalidParameter);
    return -1;
  }
  std::string_view pattern(slash + 1);
  if (pattern.empty()) {
    ReportError(kInvalidPattern);
    return -1;
  }
  if (pattern.size() >= kPathBuffer) {
    ReportError(kPatternTooLong);
    return -1;
  }
  if (!PutPath(SearchPath, 0, std::string_view(fileSpec, slash + 1 - fileSpec), "*.*")) return -1;
  std::memcpy(WalkPattern, pattern.data(), pattern.size() + 1);
  return 0;
}

namespace {

// The destination folder of the walk as a full path: a destination inside the source tree is
// listed with the rest, and entering it would mirror it into itself until the paths outgrow
// their buffers.
char DestinationRoot[kPathBuffer];

bool IsDestinationRoot(const char* directory) {
  if (!DestinationRoot[0]) return false;
  char full[kPathBuffer];
  DWORD length = GetFullPathNameA(directory, kPathBuffer, full, nullptr);
  return length > 0 && length < kPathBuffer && EqualIgnoringAsciiCase(full, DestinationRoot);
}

int WalkLevel(const char* pattern, bool withDestination, bool recurse, bool skipExisting,
              WalkCallback callback) {
  size_t destinationEnd = 0;
  if (withDestination) {
    if (!PathExists(TargetPath) && !CreateDirectoryA(TargetPath, nullptr)) {
      ReportError(kErrorCreatingDirectory, static_cast<const char*>(TargetPath));
      return -1;
    }
    destinationEnd = std::strlen(TargetPath);
    if (destinationEnd == 0 || TargetPath[destinationEnd - 1] != '\\') {
      if (!PutPath(TargetPath, destinationEnd, "\\")) return -1;
      ++destinationEnd;
    }
  }
  const char* lastSlash = std::strrchr(SearchPath, '\\');
  const size_t namePlace = lastSlash ? static_cast<size_t>(lastSlash + 1 - SearchPath) : 0;

  Listing listing(SearchPath);
  if (!listing.Started()) return 0;
  do {
    const WIN32_FIND_DATAA& entry = listing.Entry();
    const char* name = entry.cFileName;
    if (!PutPath(SearchPath, namePlace, name)) return -1;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!recurse || !IsWalkedDirectory(name) || (withDestination && IsDestinationRoot(SearchPath)))
        continue;
      if (withDestination && !PutPath(TargetPath, destinationEnd, name)) return -1;
      if (!PutPath(SearchPath, namePlace, name, "\\*.*")) return -1;
      int result = WalkLevel(pattern, withDestination, true, skipExisting, callback);
      if (result == 1 || result == -1) return result;
    } else if (MatchWildcard(name, pattern)) {
      if (withDestination) {
        if (!PutPath(TargetPath, destinationEnd, name)) return -1;
        if (skipExisting && PathExists(TargetPath)) continue;
      }
      int result = callback(SearchPath, TargetPath);
      if (result == 1) return 1;
      if (result != 0) return -1;
    }
  } while (listing.Next());
  return 0;
}

}  // namespace

int WalkDirectory(const char* pattern, bool withDestination, bool recurse, bool skipExisting,
                  WalkCallback callback) {
  DestinationRoot[0] = '\0';
  if (withDestination && recurse) {
    // Its full path is known only once the folder is there; WalkLevel would make it too.
    if (!PathExists(TargetPath) && !CreateDirectoryA(TargetPath, nullptr)) {
      ReportError(kErrorCreatingDirectory, static_cast<const char*>(TargetPath));
      return -1;
    }
    DWORD length = GetFullPathNameA(TargetPath, kPathBuffer, DestinationRoot, nullptr);
    if (length == 0 || length >= kPathBuffer) length = 0;
    // The same folder written with or without its final backslash.
    if (length > 3 && DestinationRoot[length - 1] == '\\') --length;
    DestinationRoot[length] = '\0';
    int result = WalkLevel(pattern, withDestination, recurse, skipExisting, callback);
    DestinationRoot[0] = '\0';
    return result;
  }
  return WalkLevel(pattern, withDestination, recurse, skipExisting, callback);
}

namespace {

int FailList(int id) {
  ReportError(id);
  return -1;
}

int FailList(int id, const char* path) {
  ReportError(id, path);
  return -1;
}

// One line of a list, carried out; 0 or -1 (reported).
int WalkListLine(std::string_view line, bool withDestination, bool skipExisting,
                 WalkCallback callback) {
  std::string_view source = line;
  if (withDestination) {
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return FailList(kInvalidPathInList);
    std::string_view destination = line.substr(tab + 1);
    if (destination.size() >= kPathBuffer) return FailList(kPathTooLong);
    if (destination.size() < 3) return FailList(kInvalidPathInList);
    std::memcpy(TargetPath, destination.data(), destination.size());
    TargetPath[destination.size()] = '\0';
    if (skipExisting && PathExists(TargetPath)) return 0;
    const char* lastSlash = std::strrchr(TargetPath, '\\');
    if (!lastSlash) return FailList(kInvalidFilePath, TargetPath);
    char directory[kPathBuffer];
    const size_t directoryLength = static_cast<size_t>(lastSlash - TargetPath);
    std::memcpy(directory, TargetPath, directoryLength);
    directory[directoryLength] = '\0';
    // "\x.txt" and "C:\x.txt" have nothing to create before the name.
    if (directoryLength > 2 && !PathExists(directory) && CreatePathDirs(directory) != 0) return -1;
    source = line.substr(0, tab);
  }
  if (source.size() >= kPathBuffer) return FailList(kPathTooLong);
  std::memcpy(SearchPath, source.data(), source.size());
  SearchPath[source.size()] = '\0';
  if (source.size() < 3) return FailList(kInvalidFilePath, SearchPath);
  return callback(SearchPath, TargetPath) == 0 ? 0 : -1;
}

}  // namespace

int WalkFileList(const char* list, bool withDestination, bool skipExisting, WalkCallback callback) {
  VeruWaitCursor();
  std::string_view rest(list ? list : "");
  while (!rest.empty()) {
    size_t end = rest.find('\r');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (WalkListLine(line, withDestination, skipExisting, callback) != 0) {
      RestoreCursor();
      return -1;
    }
  }
  RestoreCursor();
  return 0;
}

}  // namespace rxsystem
