// The text side of the file walks: file paths split into listing and pattern, and list texts
// walked line by line, both at the edges of the 260-byte path buffers.
#include "system_services/files/file_walk_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace rxsystem;

namespace {

constexpr size_t kCapacity = 260;

TEST(SplitFileSpecText, ListingAndPattern) {
  struct Case {
    std::string filePath;
    int id;
    std::string search;
    std::string pattern;
  };
  const std::string name259(259, 'p'), dir255(255, 'd');
  const Case cases[] = {
      {"C:\\data\\*.txt|*.doc", 0, "C:\\data\\*.*", "*.txt|*.doc"},
      {"\\x", 0, "\\*.*", "x"},
      {"", 51, "", ""},
      {"report.txt", 51, "", ""},
      {"C:\\data\\", 54, "", ""},
      // 5: a pattern of 259 characters fits its buffer; one more does not
      {"\\" + name259, 0, "\\*.*", name259},
      {"\\" + name259 + "p", 57, "", ""},
      // a directory whose listing path takes 259 characters fits; one more does not
      {dir255 + "\\x", 0, dir255 + "\\*.*", "x"},
      {dir255 + "d\\x", 56, "", ""},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    char search[kCapacity] = "old", pattern[kCapacity] = "old";
    EXPECT_EQ(SplitFileSpecText(c.filePath.c_str(), search, pattern, kCapacity), c.id);
    // A refused path leaves both buffers as they were.
    EXPECT_EQ(std::string(search), c.id ? "old" : c.search);
    EXPECT_EQ(std::string(pattern), c.id ? "old" : c.pattern);
  }
  char search[kCapacity], pattern[kCapacity];
  EXPECT_EQ(SplitFileSpecText(nullptr, search, pattern, kCapacity), 51);
}

// The platform of the list tests: which paths are there, which directory cannot be made,
// and every question, report and call in order.
std::vector<std::string> events;
int callbackAnswer = 0;
const std::set<std::string> present = {"D:\\x", "D:\\have.txt"};

bool Exists(const char* path) {
  events.push_back("exists " + std::string(path));
  return present.count(path) != 0;
}
int CreateDirs(char* directory) {
  events.push_back("create " + std::string(directory));
  return std::string(directory) == "E:\\bad" ? -1 : 0;
}
void Report(int id, const char* path) {
  events.push_back("report " + std::to_string(id) + (path ? " " + std::string(path) : ""));
}
int Callback(const char* source, const char* destination) {
  events.push_back("call " + std::string(source) + " > " + std::string(destination));
  return callbackAnswer;
}
constexpr ListWalkPlatform kPlatform = {Exists, CreateDirs, Report};

TEST(WalkListText, EachLineCheckedThenCarriedOut) {
  struct Case {
    std::string list;
    bool withDestination;
    bool skipExisting;
    int answer;  // of the callback
    int result;
    std::vector<std::string> events;
  };
  const std::string long259 = "C:\\" + std::string(256, 'n');
  const Case cases[] = {
      {"C:\\a.txt\rC:\\b.txt\r", false, false, 0, 0, {"call C:\\a.txt > ", "call C:\\b.txt > "}},
      {"ab", false, false, 0, -1, {"report 52 ab"}},
      {"C:\\a.txt\r\rC:\\b.txt", false, false, 0, -1, {"call C:\\a.txt > ", "report 52 "}},
      {long259, false, false, 0, 0, {"call " + long259 + " > "}},
      {long259 + "n", false, false, 0, -1, {"report 56"}},
      // 5: with a destination
      {"C:\\a.txt\tD:\\x\\a.txt", true, false, 0, 0, {"exists D:\\x", "call C:\\a.txt > D:\\x\\a.txt"}},
      {"C:\\a.txt\tD:\\new\\a.txt",
       true,
       false,
       0,
       0,
       {"exists D:\\new", "create D:\\new", "call C:\\a.txt > D:\\new\\a.txt"}},
      {"C:\\a.txt\tD:\\have.txt\rC:\\b.txt\tD:\\b.txt",
       true,
       true,
       0,
       0,
       {"exists D:\\have.txt", "exists D:\\b.txt", "call C:\\b.txt > D:\\b.txt"}},
      {"C:\\a.txt D:\\a.txt", true, false, 0, -1, {"report 55"}},
      {"C:\\a.txt\tD:", true, false, 0, -1, {"report 55"}},
      // 10
      {"C:\\a.txt\tabc", true, false, 0, -1, {"report 52 abc"}},
      {"C:\\a.txt\t" + long259 + "n", true, false, 0, -1, {"report 56"}},
      {"C:\\a.txt\tE:\\bad\\a.txt", true, false, 0, -1, {"exists E:\\bad", "create E:\\bad"}},
      // nothing to create before the name of "\x.txt" or "C:\x.txt"
      {"C:\\a.txt\t\\x.txt\rC:\\b.txt\tC:\\b.txt",
       true,
       false,
       0,
       0,
       {"call C:\\a.txt > \\x.txt", "call C:\\b.txt > C:\\b.txt"}},
      {"ab\tD:\\x\\a.txt", true, false, 0, -1, {"exists D:\\x", "report 52 ab"}},
      // 15: a callback that stops the walk fails it
      {"C:\\a.txt\rC:\\b.txt", false, false, 1, -1, {"call C:\\a.txt > "}},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    events.clear();
    callbackAnswer = c.answer;
    char source[kCapacity] = "", target[kCapacity] = "";
    EXPECT_EQ(WalkListText(c.list, c.withDestination, c.skipExisting, source, target, kCapacity, kPlatform,
                           Callback),
              c.result);
    EXPECT_EQ(events, c.events);
  }
}

TEST(PutPathText, FitsWithItsNulOrLeavesTheBuffer) {
  char buffer[8] = "abcdefg";
  EXPECT_FALSE(PutPathText(buffer, sizeof buffer, 2, "wxyz", "12"));
  EXPECT_STREQ(buffer, "abcdefg");
  EXPECT_TRUE(PutPathText(buffer, sizeof buffer, 2, "wxy", "12"));
  EXPECT_STREQ(buffer, "abwxy12");
  EXPECT_FALSE(PutPathText(buffer, sizeof buffer, 8, "", ""));
}

}  // namespace
