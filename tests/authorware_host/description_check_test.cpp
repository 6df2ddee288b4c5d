// The stand-in host's reading of description resources: what it accepts, what it refuses,
// and that it never reads outside the bytes it was given.
#include "description_check.h"

#include <gtest/gtest.h>

#include <string>

using namespace authorware_host;
using namespace std::string_literals;

namespace {

std::span<const unsigned char> B(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::string Join(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& s : v) r += s + "; ";
  return r;
}

TEST(ParseDescription, FourTextsExactlyFillTheBytes) {
  struct Case {
    std::string bytes;
    bool ok;
    std::string prototype;
  };
  const Case cases[] = {
      {"\0I\0AS\0SysDeleteFile( FileName )\0"s, true, "SysDeleteFile( FileName )"},
      {"\0V\0A\0SysRestart( )\0"s, true, "SysRestart( )"},
      {"\0I\0AS\0SysDeleteFile( FileName )"s, false, ""},      // last NUL missing
      {"\0I\0AS\0SysDeleteFile( FileName )\0\0"s, false, ""},  // a byte too many
      // 5
      {"\0I\0AS"s, false, ""},
      {""s, false, ""},
      {"\0\0\0\0"s, true, ""},  // well-formed bytes; CheckDescription refuses them
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    std::string why;
    // A copy without slack after it, so that the sanitizer sees any read past the end.
    std::vector<unsigned char> exact(c.bytes.begin(), c.bytes.end());
    auto d = ParseDescription(exact, &why);
    EXPECT_EQ(d.has_value(), c.ok) << why;
    if (d && c.ok) {
      EXPECT_EQ(d->prototype, c.prototype);
    }
  }
}

TEST(ParseIndex, NamesEndWithAnEmptyName) {
  std::string why;
  auto names = ParseIndex(B("SysA\0SysB\0\0"s), &why);
  ASSERT_TRUE(names) << why;
  EXPECT_EQ(*names, (std::vector<std::string>{"SysA", "SysB"}));
  EXPECT_TRUE(ParseIndex(B("\0"s), &why)->empty());
  EXPECT_FALSE(ParseIndex(B("SysA\0SysB\0"s), &why));  // no empty name after the last
  EXPECT_FALSE(ParseIndex(B("SysA\0\0x"s), &why));     // bytes after the end
  EXPECT_FALSE(ParseIndex(B(""s), &why));
}

TEST(ParsePrototype, TheHostsLineForms) {
  struct Case {
    std::string text;
    bool ok;
    std::string result{};
    std::string function{};
    size_t arguments = 0;
    size_t lines = 0;
  };
  const Case cases[] = {
      {"SysCopyFile( SourceFileName, DestFileName )", true, "", "SysCopyFile", 2, 0},
      {"DirName:= SysGetCurDir( )", true, "DirName", "SysGetCurDir", 0, 0},
      {"Attrib:= SysGetFileAttrib( FileName )\r\nAttrib = R (read-only)", true, "Attrib", "SysGetFileAttrib",
       1, 1},
      {"SysHelp( A, B, C )\r\nCommands: contents\r\ncontext n", true, "", "SysHelp", 3, 2},
      // 5
      {"SysX(A, B)", false},
      {"SysX( A,B )", false},
      {"SysX()", false},
      {"SysX(  )", false},
      {"SysX( A, )", false},
      // 10
      {"X := SysX( A )", false},
      {"SysX( A )\r\n", false},           // an empty description line
      {"SysX( A )\nmore", false},         // a line feed alone
      {"SysX( A )\r\nline\ttab", false},  // a real tab, not the two characters
      {"SysX( A ) trailing", false},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.text);
    std::string why;
    auto p = ParsePrototype(c.text, &why);
    ASSERT_EQ(p.has_value(), c.ok) << why;
    if (!p) continue;
    EXPECT_EQ(p->resultName, c.result);
    EXPECT_EQ(p->function, c.function);
    EXPECT_EQ(p->arguments.size(), c.arguments);
    EXPECT_EQ(p->descriptionLines.size(), c.lines);
  }
}

TEST(CheckDescription, LettersArityAndName) {
  struct Case {
    Description d;
    size_t problems;
  };
  const Case cases[] = {
      {{"", "I", "AS", "SysDeleteFile( FileName )"}, 0},
      {{"", "V", "A", "SysDeleteFile( )"}, 0},
      {{"x", "I", "AS", "SysDeleteFile( FileName )"}, 1},  // leading text not empty
      {{"", "X", "AS", "SysDeleteFile( FileName )"}, 1},   // unknown result
      {{"", "I", "SA", "SysDeleteFile( FileName )"}, 1},   // A not first
      // 5
      {{"", "I", "AV", "SysDeleteFile( FileName )"}, 1},   // V is no argument
      {{"", "I", "ASS", "SysDeleteFile( FileName )"}, 1},  // arity
      {{"", "I", "AS", "SysRemoveFile( FileName )"}, 1},   // other name
      {{"", "V", "AS", "Done:= SysDeleteFile( FileName )"}, 1},
      {{"", "I", "", "SysDeleteFile( )"}, 1},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    auto problems = CheckDescription("SysDeleteFile", c.d);
    EXPECT_EQ(problems.size(), c.problems) << Join(problems);
  }
}

TEST(CheckIndex, CaseBlindOrderWithTheThreeExceptions) {
  EXPECT_TRUE(CheckIndex({"SysGetCurDir", "SysGetDesktopDir", "SysGetDOSEnvironment"}).empty());
  EXPECT_TRUE(
      CheckIndex({"SysIsWindowActive", "SysIsWindowMinimized", "SysIsWindowMaximized", "SysIsWindowVisible"})
          .empty());
  EXPECT_TRUE(
      CheckIndex({"SysListPrompt", "SysMinimizeWindow", "SysMaximizeWindow", "SysMessage", "SysMoveFile"})
          .empty());
  EXPECT_TRUE(CheckIndex({"SysSetCurDir", "SysSetCursorPos", "SysSetCurDrive", "SysSetFileAttrib"}).empty());
  // Plain alphabetical order is wrong where the host's exceptions stand.
  EXPECT_FALSE(CheckIndex({"SysIsWindowMaximized", "SysIsWindowMinimized"}).empty());
  EXPECT_FALSE(CheckIndex({"SysMaximizeWindow", "SysMessage", "SysMinimizeWindow"}).empty());
  EXPECT_FALSE(CheckIndex({"SysSetCurDrive", "SysSetCursorPos"}).empty());
  EXPECT_FALSE(CheckIndex({"SysB", "SysA"}).empty());
  EXPECT_FALSE(CheckIndex({"SysA", "SysA"}).empty());
  EXPECT_FALSE(CheckIndex({"CopyFile"}).empty());
  EXPECT_FALSE(CheckIndex({"Sys Copy"}).empty());
}

}  // namespace
