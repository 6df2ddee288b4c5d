// The path operations that the families share.
#include "system_services/host/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rxsystem;

namespace {

TEST(PathText, KeepDir) {
  struct Case {
    std::string path;
    std::string withSlash;
    std::string noSlash;
  };
  const Case cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\", "C:\\a"},
      {"C:b", "C:", "C:"},
      {"C:\\b", "C:\\", "C:"},
      {"A:\\", "A:\\", "A:"},
      {"report.txt", "", ""},
      // 5
      {"", "", ""},
      {"\\\\server\\share\\doc.txt", "\\\\server\\share\\", "\\\\server\\share"},
      {"C:\\a\\b\\", "C:\\a\\b\\", "C:\\a\\b"},
      {"d:x:y", "d:x:", "d:x:"},
      {"\\", "\\", ""},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.path);
    std::vector<char> a(c.path.begin(), c.path.end()), b = a;
    a.push_back('\0');
    b.push_back('\0');
    KeepDirWithSlash(a.data());
    KeepDirNoSlash(b.data());
    EXPECT_EQ(std::string(a.data()), c.withSlash);
    EXPECT_EQ(std::string(b.data()), c.noSlash);
  }
}

// The prefixes CreatePathDirs checks, in order; "-" alone when it fails without a message.
std::vector<std::string> Levels(std::string_view path) {
  size_t first = FirstPathSeparator(path);
  if (first == kNoPathLevel) return {"-"};
  std::vector<std::string> levels;
  if (first + 1 == path.size()) return levels;
  for (size_t cut = NextPathLevel(path, first); cut != kNoPathLevel; cut = NextPathLevel(path, cut))
    levels.emplace_back(path.substr(0, cut));
  return levels;
}

TEST(PathText, CreatePathDirsLevels) {
  struct Case {
    std::string path;
    std::vector<std::string> levels;
  };
  const Case cases[] = {
      {"C:\\a\\b", {"C:\\a", "C:\\a\\b"}},
      {"\\\\server\\share\\d", {"\\\\server\\share", "\\\\server\\share\\d"}},
      {"C:\\", {}},
      {"name", {"-"}},
      {"\\\\server", {"-"}},
      // 5
      {"C:\\a\\", {"C:\\a", "C:\\a\\"}},
      {"\\a\\b", {"\\a", "\\a\\b"}},
      {"", {"-"}},
      {"C:\\a", {"C:\\a"}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.path);
    EXPECT_EQ(Levels(c.path), c.levels);
  }
}

}  // namespace
