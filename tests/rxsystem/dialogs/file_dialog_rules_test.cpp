// What the file dialogs hand the platform (the filter list, the starting directory, the
// proposed save name) and how the answer reaches the host.
#include <gtest/gtest.h>

#include <string>

#include "system_services/dialogs/file_dialog_rules.h"

using namespace rxsystem;

namespace {

std::string FilterOf(const char* types) {
  std::string block(FilterListBytes(types), '\x7F');
  WriteFilterList(types, block.data());
  return block;
}

TEST(FileDialogRules, FilterListsReplaceTabsAndReturnsByNuls) {
  using namespace std::string_literals;
  struct Case {
    const char* types;
    std::string filter;
  };
  const Case cases[] = {
      {nullptr, "All Files (*.*)\0*.*\0\0\0\0\0\0"s},
      {"", "All Files (*.*)\0*.*\0\0\0\0\0\0"s},
      {"Text files\t*.txt\rAll files\t*.*", "Text files\0*.txt\0All files\0*.*\0\0"s},
      {"Text files\t*.txt\rAll files\t*.*\r", "Text files\0*.txt\0All files\0*.*\0\0\0"s},
      {"Pictures\t*.bmp;*.dib", "Pictures\0*.bmp;*.dib\0\0"s},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    EXPECT_EQ(FilterOf(c.types), c.filter);
  }
  // With or without the final CR, the dialog reads the same lines up to the double NUL.
  std::string with = FilterOf("A\t*.a\r");
  std::string without = FilterOf("A\t*.a");
  EXPECT_EQ(with.substr(0, with.find("\0\0"s)), without.substr(0, without.find("\0\0"s)));
}

TEST(FileDialogRules, TheDirectoryLosesOneTrailingBackslash) {
  struct Case {
    const char* directory;
    bool kept;
    const char* buffer;
  };
  const Case cases[] = {
      {"C:\\Temp\\", true, "C:\\Temp"}, {"C:\\", true, "C:"}, {"C:\\Data", true, "C:\\Data"},
      {"C:\\a\\\\", true, "C:\\a\\"},   {"", false, ""},      {nullptr, false, ""},
  };
  for (const Case& c : cases) {
    char buffer[260] = "old";
    EXPECT_EQ(KeepDialogDirectory(c.directory, buffer, sizeof buffer), c.kept)
        << (c.directory ? c.directory : "null");
    EXPECT_STREQ(buffer, c.buffer);
  }
  std::string tooLong(260, 'a');
  char buffer[260] = "old";
  EXPECT_FALSE(KeepDialogDirectory(tooLong.c_str(), buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
}

TEST(FileDialogRules, TheSaveDialogProposesDirectoryAndName) {
  struct Case {
    const char* directory;
    const char* name;
    const char* proposed;
  };
  const Case cases[] = {
      {"C:\\Out", "Report.txt", "C:\\Out\\Report.txt"},
      {"C:\\Out", "", "*.*"},
      {"C:\\Out", nullptr, "*.*"},
      {"", "Report.txt", "Report.txt"},
      {"C:", "Report.txt", "C:\\Report.txt"},
  };
  for (const Case& c : cases) {
    char out[260] = {};
    ProposeSaveName(c.directory, c.name, out, sizeof out);
    EXPECT_STREQ(out, c.proposed);
  }
  std::string dir(200, 'd');
  std::string name(70, 'n');
  char out[260] = {};
  ProposeSaveName(dir.c_str(), name.c_str(), out, sizeof out);
  EXPECT_EQ(std::string(out), name);
  std::string huge(300, 'n');
  ProposeSaveName("C:\\Out", huge.c_str(), out, sizeof out);
  EXPECT_STREQ(out, "*.*");
}

TEST(FileDialogRules, OnlyTheFirstPartIsLowerCased) {
  using namespace std::string_literals;
  std::string several = "C:\\Data\0One.TXT\0Two.txt\0THREE.dat\0\0"s;
  LowerFirstPart(several.data());
  EXPECT_EQ(several.substr(0, 8), "c:\\data\0"s);
  size_t length = JoinSelectedParts(several.data(), several.size());
  EXPECT_EQ(several.substr(0, length), "c:\\data\rOne.TXT\rTwo.txt\rTHREE.dat\r");
  EXPECT_EQ(several[length], '\0');

  std::string one = "C:\\Data\\One.TXT\0\0"s;
  LowerFirstPart(one.data());
  length = JoinSelectedParts(one.data(), one.size());
  EXPECT_EQ(one.substr(0, length), "c:\\data\\one.txt\r");

  std::string greek = "C:\\\xC1\xE1\\X\0"s;
  LowerFirstPart(greek.data());
  EXPECT_EQ(greek, "c:\\\xC1\xE1\\x\0"s);

  // An answer without its closing empty part stops at the buffer's end with a NUL.
  std::string unterminated = "AB\0CD"s;
  length = JoinSelectedParts(unterminated.data(), unterminated.size());
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(unterminated, "AB\rC\0"s);
}

}  // namespace
