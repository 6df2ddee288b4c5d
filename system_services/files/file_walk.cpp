#include "system_services/files/file_walk.h"

#include <cstring>
#include <string_view>

#include "system_services/host/host_interface.h"
#include "system_services/files/wildcard.h"

namespace rxsystem {

namespace {

// Copies text into a module buffer; false (after the over-long path message) when it does
// not fit.
bool PutPath(char* buffer, size_t at, std::string_view text, std::string_view tail = {}) {
  if (!PutPathText(buffer, kPathBuffer, at, text, tail)) {
    ReportError(kPathTooLong);
    return false;
  }
  return true;
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

int SplitFileSpec(const char* fileSpec) {
  const int id = SplitFileSpecText(fileSpec, SearchPath, WalkPattern, kPathBuffer);
  if (id != 0) {
    ReportError(id);
    return -1;
  }
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

void ReportListError(int id, const char* path) {
  if (path) {
    ReportError(id, path);
  } else {
    ReportError(id);
  }
}

constexpr ListWalkPlatform kListPlatform = {PathExists, CreatePathDirs, ReportListError};

}  // namespace

int WalkFileList(const char* list, bool withDestination, bool skipExisting, WalkCallback callback) {
  const WaitCursorGuard waiting;
  return WalkListText(list ? list : "", withDestination, skipExisting, SearchPath, TargetPath, kPathBuffer,
                      kListPlatform, callback);
}

}  // namespace rxsystem
