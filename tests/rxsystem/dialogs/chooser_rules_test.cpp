// The chooser's text rules: which typed paths and new folder names pass, with which message,
// and how typed texts, roots, entry order and drive labels come out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system_services/dialogs/chooser_rules.h"

using namespace rxsystem;

namespace {

TEST(ChooserRules, TypedPathsPassOrEarnTheirMessage) {
  struct Case {
    const char* path;
    bool requireDrive;
    bool requireAbsolute;
    int id;
    char character;
  };
  const Case cases[] = {
      {"c:\\windows\\system", true, true, 0, 0},
      {"c:\\", true, true, 0, 0},
      {"\\\\server\\share\\dir", true, true, 0, 0},
      {"c:\\a\\\\b", true, true, 22, 0},
      {"c:\\a|b", true, true, 15, '|'},
      // 5
      {"a:temp", true, true, 21, 0},
      {"\\temp", true, true, 20, 0},
      {"\\temp", false, true, 0, 0},
      {"temp", false, false, 0, 0},
      {"temp", false, true, 21, 0},
      // 10
      {"1:\\x", true, true, 20, 0},
      {"\\\\", true, true, 20, 0},
      {"c:\\a:b", true, true, 15, ':'},
      {"c:\\a\"b", true, true, 15, '"'},
      {"c:\\\xE1\xE2", true, true, 15, '\xE1'},
      // 15
      {"c:\\a\tb", true, true, 15, '\t'},
      {"c:\\a/b", true, true, 15, '/'},
      {"c:\\a*", true, true, 15, '*'},
      {"c:\\dir\\", true, true, 0, 0},
      {"\\\\\\x", true, true, 22, 0},
      // 20: the first rule broken wins
      {"c:\\a|b\\\\c", true, true, 15, '|'},
      {"c:\\a\\\\b|c", true, true, 22, 0},
      {"", true, true, 20, 0},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.path);
    RuleBreak r = CheckPathText(c.path, c.requireDrive, c.requireAbsolute);
    EXPECT_EQ(r.id, c.id);
    if (c.id == 15) {
      EXPECT_EQ(r.character, c.character);
    }
  }
}

TEST(ChooserRules, FolderNamesOfOneTo255CharactersPass) {
  struct Case {
    std::string name;
    int id;
    char character;
  };
  const Case cases[] = {
      {"New Folder", 0, 0},
      {"a.b c-d_e", 0, 0},
      {std::string(255, 'x'), 0, 0},
      {std::string(256, 'x'), 17, 0},
      {std::string(300, 'x') + "*", 17, 0},
      // 5
      {"caf\xE9", 15, '\xE9'},
      {"\xC1\xE8\xDE\xED\xE1", 15, '\xC1'},
      {"a\\b", 15, '\\'},
      {"a:b", 15, ':'},
      {"what?", 15, '?'},
      // 10
      {"<x>", 15, '<'},
      {"a|b", 15, '|'},
      {"say \"hi\"", 15, '"'},
      {"tab\there", 15, '\t'},
      {std::string(254, 'x') + "*", 15, '*'},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    RuleBreak r = CheckFolderName(c.name.c_str());
    EXPECT_EQ(r.id, c.id);
    EXPECT_EQ(r.character, c.character);
  }
}

TEST(ChooserRules, TypedTextsAreTakenFromTheRootOfTheCurrentDrive) {
  struct Case {
    const char* current;
    const char* typed;
    const char* full;
  };
  const Case cases[] = {
      {"c:\\windows", "\\temp", "c:\\temp"},
      {"c:\\windows", "temp", "c:\\temp"},
      {"c:\\windows", "d:\\data", "d:\\data"},
      {"c:\\windows", "a:temp", "a:temp"},
      {"c:\\windows", "\\\\srv\\share", "\\\\srv\\share"},
      // 5
      {"\\\\srv\\share\\dir", "temp", "\\\\srv\\temp"},
      {"\\\\srv\\share\\dir", "\\other\\x", "\\\\srv\\other\\x"},
      {"d:", "x\\y", "d:\\x\\y"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.typed);
    char out[260];
    ASSERT_TRUE(ComposeTypedPath(c.current, c.typed, out, sizeof out));
    EXPECT_STREQ(out, c.full);
  }
  char small[8] = "kept";
  EXPECT_FALSE(ComposeTypedPath("c:\\x", "abcdef", small, sizeof small));
  EXPECT_STREQ(small, "kept");
  EXPECT_TRUE(ComposeTypedPath("c:\\x", "abcd", small, sizeof small));
  EXPECT_STREQ(small, "c:\\abcd");
}

TEST(ChooserRules, RootsLevelsAndDriveEntries) {
  EXPECT_EQ(DriveRootLength("c:\\windows"), 3u);
  EXPECT_EQ(DriveRootLength("c:windows"), 2u);
  EXPECT_EQ(DriveRootLength("c:"), 2u);
  EXPECT_EQ(DriveRootLength("\\\\srv\\share"), 0u);
  EXPECT_EQ(DriveRootLength("windows"), 0u);

  std::string path = "c:\\windows\\system\\drivers";
  EXPECT_EQ(path.substr(0, PathCutForLevel(path, 3, 0)), "c:\\");
  EXPECT_EQ(path.substr(0, PathCutForLevel(path, 3, 1)), "c:\\windows");
  EXPECT_EQ(path.substr(0, PathCutForLevel(path, 3, 2)), "c:\\windows\\system");
  EXPECT_EQ(path.substr(0, PathCutForLevel(path, 3, 3)), path);
  std::string unc = "\\\\srv\\share\\a\\b";
  EXPECT_EQ(unc.substr(0, PathCutForLevel(unc, 12, 1)), "\\\\srv\\share\\a");

  EXPECT_TRUE(DriveEntryMatches("C: Data disk", "c:\\windows", 3));
  EXPECT_FALSE(DriveEntryMatches("D: Fixed", "c:\\windows", 3));
  EXPECT_TRUE(DriveEntryMatches("\\\\SRV\\Share", "\\\\srv\\share\\dir", 12));
  EXPECT_FALSE(DriveEntryMatches("\\\\srv\\sh", "\\\\srv\\share\\dir", 12));
}

TEST(ChooserRules, FolderNamesSortWithLettersInLowerCase) {
  EXPECT_LT(CompareFolderNames("alpha", "Beta"), 0);
  EXPECT_GT(CompareFolderNames("Gamma", "beta"), 0);
  EXPECT_EQ(CompareFolderNames("SYSTEM", "system"), 0);
  EXPECT_LT(CompareFolderNames("abc", "abcd"), 0);
  // '_' lies between the upper and the lower letters: compared with the lower ones.
  EXPECT_LT(CompareFolderNames("Z_", "za"), 0);
  EXPECT_LT(CompareFolderNames("z", "\xE1"), 0);
}

TEST(ChooserRules, LabelsAndRecentConnectionsReadAsListed) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case labels[] = {{"DATA DISK", "Data disk"},
                         {"data", "Data"},
                         {"1ST", "1st"},
                         {"", ""},
                         {"\xC1\xC2 DISK", "\xC1\xC2 disk"}};
  for (const Case& c : labels) {
    char buffer[64];
    std::strcpy(buffer, c.in);
    CapitalizeLabel(buffer);
    EXPECT_STREQ(buffer, c.out) << c.in;
  }
  const Case names[] = {{"././server./share", "\\\\server\\share"},
                        {"plain", "plain"},
                        {"a.b./c", "a.b\\c"},
                        {"./", "\\"},
                        {".", "."}};
  for (const Case& c : names) {
    char buffer[64];
    std::strcpy(buffer, c.in);
    RecentNetworkName(buffer);
    EXPECT_STREQ(buffer, c.out) << c.in;
  }
  EXPECT_EQ(FolderEntryKind(EntryData(6, 0)), 6u);
  EXPECT_EQ(FolderEntryLevel(EntryData(2, 7)), 7u);
  EXPECT_EQ(EntryData(2, 7), 0x00020007u);
}

}  // namespace
