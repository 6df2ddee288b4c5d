// Host paths in the shared path operations and the drive family's buffers: every cut keeps a
// prefix of the path at the place its rule names, the levels of a path put back together are
// the path, and a copy either fits its buffer whole or leaves it as it was.
// The first byte is the capacity of the buffers under test; the rest, up to a NUL, the path.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/drives/drive_text.h"
#include "system_services/host/path_text.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// The path in a buffer of exactly its size, so that a write past its NUL is caught.
std::vector<char> Exact(std::string_view path) {
  std::vector<char> buffer(path.begin(), path.end());
  buffer.push_back('\0');
  return buffer;
}

void CheckKeepDir(std::string_view path) {
  const size_t slash = path.rfind('\\');
  const size_t colon = path.rfind(':');
  std::vector<char> with = Exact(path), without = Exact(path);
  rxsystem::KeepDirWithSlash(with.data());
  rxsystem::KeepDirNoSlash(without.data());
  const std::string_view a(with.data()), b(without.data());
  if (slash != std::string_view::npos) {
    Check(a == path.substr(0, slash + 1));
    Check(b == path.substr(0, slash));
  } else if (colon != std::string_view::npos) {
    Check(a == path.substr(0, colon + 1) && b == a);
  } else {
    Check(a.empty() && b.empty());
  }
}

// The levels of CreatePathDirs: the root's separator, then every later backslash, then the
// path's end; each cut is a prefix of the path, and they follow each other to its end.
void CheckLevels(std::string_view path) {
  const size_t first = rxsystem::FirstPathSeparator(path);
  const size_t from = path.starts_with("\\\\") ? 2 : 0;
  if (first == rxsystem::kNoPathLevel) {
    Check(path.find('\\', from) == std::string_view::npos);
    return;
  }
  Check(first >= from && first < path.size() && path[first] == '\\');
  Check(path.substr(from, first - from).find('\\') == std::string_view::npos);
  std::vector<size_t> expected;
  for (size_t i = first + 1; i < path.size(); ++i)
    if (path[i] == '\\') expected.push_back(i);
  expected.push_back(path.size());
  std::vector<size_t> cuts;
  for (size_t cut = rxsystem::NextPathLevel(path, first); cut != rxsystem::kNoPathLevel;
       cut = rxsystem::NextPathLevel(path, cut)) {
    Check(cuts.size() < expected.size());
    cuts.push_back(cut);
  }
  Check(cuts == expected);
}

void CheckDriveTexts(std::string_view path, size_t capacity) {
  const std::vector<char> name = Exact(path);
  char root[4] = {'x', 'x', 'x', 'x'};
  const char* given = rxsystem::DriveRoot(name.data(), root);
  if (path.empty()) {
    Check(given == nullptr && root[0] == 'x');
    Check(rxsystem::DriveRoot(nullptr, root) == nullptr);
  } else {
    Check(given == root && root[0] == path[0] && root[1] == ':' && root[2] == '\\' && root[3] == '\0');
  }

  // A buffer of the capacity under test with a guard pattern, on the heap so that a write
  // past its end is caught.
  std::vector<char> buffer(capacity ? capacity : 1, '#');
  const std::vector<char> before = buffer;
  const bool copied = rxsystem::CopyToBuffer(name.data(), buffer.data(), capacity);
  Check(copied == (path.size() < capacity));
  if (copied) {
    Check(std::memcmp(buffer.data(), name.data(), path.size() + 1) == 0);
  } else {
    Check(buffer == before);
  }

  std::vector<char> closedRoot(capacity ? capacity : 1, '#');
  const bool closed = rxsystem::ClosedDriveRoot(name.data(), closedRoot.data(), capacity);
  std::string expected(path);
  if (expected.empty() || expected.back() != '\\') expected.push_back('\\');
  Check(closed == (expected.size() < capacity));
  if (closed) {
    Check(std::string_view(closedRoot.data()) == expected);
  } else {
    Check(std::all_of(closedRoot.begin(), closedRoot.end(), [](char c) { return c == '#'; }));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // Up to 300, so that the module buffers' 260 and paths on both sides of it are reached.
  const size_t capacity = static_cast<size_t>(data[0]) * 300 / 255;
  std::string_view path(reinterpret_cast<const char*>(data + 1), size - 1);
  path = path.substr(0, path.find('\0'));
  CheckKeepDir(path);
  CheckLevels(path);
  CheckDriveTexts(path, capacity);
  return 0;
}
