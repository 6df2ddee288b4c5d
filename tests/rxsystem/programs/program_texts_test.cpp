// The texts the program, association and variable exports take apart and build.
#include "system_services/programs/program_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rxsystem;

namespace {

TEST(ShellErrorMessage, MapsEachFailureCodeOfTheShell) {
  struct Case {
    intptr_t code;
    MessageId id;
  };
  const Case cases[] = {
      {0, kShellOutOfMemory},
      {2, kShellFileNotFound},
      {3, kShellPathNotFound},
      {5, kShellSharingError},
      {8, kShellNoMemoryToStart},
      // 5
      {11, kShellNotWindowsApplication},
      {14, kShellUnknownType},
      {20, kShellInvalidComponent},
      {31, kShellNoAssociation},
      {1, kShellOtherError},
      // 10
      {26, kShellOtherError},
      {32, kShellOtherError},
      {-1, kShellOtherError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.code));
    EXPECT_EQ(ShellErrorMessage(c.code), c.id);
  }
}

TEST(DocumentDirectory, IsWhereADocumentOrProgramRuns) {
  struct Case {
    const char* file;
    const char* directory;
  };
  const Case cases[] = {
      {"C:\\Docs\\a.txt", "C:\\Docs"},
      {"a.txt", ""},
      {"C:\\a.txt", "C:\\"},  // the root, not drive C's current directory
      {"C:a.txt", "C:"},      // drive C's current directory, not a folder named C
      {"\\\\server\\share\\a.txt", "\\\\server\\share"},
      // 5
      {"\\a.txt", "\\"},
      {"C:\\Docs\\", "C:\\Docs"},
      {"", ""},
      {"..\\x\\a.exe", "..\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(DocumentDirectory(c.file), c.directory);
  }
}

std::string Show(const IconSpecScan& scan) {
  std::string s;
  for (const IconSpec& i : scan.specs)
    s += "[" + i.description + "|" + i.exePath + "|" + i.args + "|" + i.startDir + "|" + i.iconPath + "]";
  return s + (scan.invalid ? " invalid" : "");
}

TEST(ScanIconSpecs, SplitsLinesAndFieldsAndStopsAtABadLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"Calc\tC:\\calc.exe\rNotes\tC:\\notes.exe\t\tC:\\",
       "[Calc|C:\\calc.exe|||][Notes|C:\\notes.exe||C:\\|]"},
      {"A\tB\tC\tD\tE", "[A|B|C|D|E]"},
      {"A\tB\r", "[A|B|||]"},                             // a closing CR makes no further line
      {"A\r\rB\r", "[A||||][B||||]"},                     // nor does an empty line
      {"A\tb\rB\t1\t2\t3\t4\t5\rC", "[A|b|||] invalid"},  // a fifth TAB: C is never reached
      // 5
      {"A\r\tC:\\x.exe", "[A||||] invalid"},  // no Description, no shortcut name
      {"", ""},
      {"\r\r", ""},
      {"Only", "[Only||||]"},
      {"A\t\t\t\t", "[A||||]"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(Show(ScanIconSpecs(cases[i].text)), cases[i].expected);
  }
}

TEST(QuotedProgramPath, QuotesOnlyAProgramWithBlanksNotYetQuoted) {
  struct Case {
    const char* program;
    const char* command;
  };
  const Case cases[] = {
      {"C:\\App\\app.exe", "C:\\App\\app.exe"},  // written as ever, byte for byte
      {"C:\\Program Files\\RX Safe\\viewer.exe", "\"C:\\Program Files\\RX Safe\\viewer.exe\""},
      {"\"C:\\Program Files\\x.exe\"", "\"C:\\Program Files\\x.exe\""},  // quoted already
      {"C:\\Tab\tDir\\x.exe", "\"C:\\Tab\tDir\\x.exe\""},                // a TAB splits a command too
      {"app.exe", "app.exe"},
      // 5
      {"", ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(QuotedProgramPath(cases[i].program), cases[i].command);
  }
}

TEST(AssociationTexts, AreTheKeysAndCommandsOfADocumentType) {
  EXPECT_EQ(ExtensionKeyName("abc"), ".abc");
  EXPECT_EQ(ExtensionKeyName(".abc"), ".abc");
  EXPECT_EQ(DefaultIconValue("C:\\App\\app.exe", 2), "C:\\App\\app.exe,2");
  EXPECT_EQ(DefaultIconValue("i.ico", -1), "i.ico,-1");
  EXPECT_EQ(OpenCommandValue("C:\\App\\app.exe", ""), "C:\\App\\app.exe \"%1\"");
  EXPECT_EQ(OpenCommandValue("C:\\App\\app.exe", "/o %1"), "C:\\App\\app.exe /o %1");
  EXPECT_EQ(PrintCommandValue("C:\\App\\app.exe", "/p \"%1\""), "C:\\App\\app.exe /p \"%1\"");
  EXPECT_EQ(ExtensionsProfileKey(".abc"), "abc");
  EXPECT_EQ(ExtensionsProfileValue("C:\\App\\app.exe", ".abc"), "C:\\App\\app.exe ^.abc");

  // Every command built from a program path with blanks starts with the path quoted.
  const std::string blanks = "C:\\Program Files\\RX Safe\\viewer.exe";
  const std::string quoted = "\"" + blanks + "\"";
  EXPECT_EQ(OpenCommandValue(blanks, ""), quoted + " \"%1\"");
  EXPECT_EQ(OpenCommandValue(blanks, "/o %1"), quoted + " /o %1");
  EXPECT_EQ(PrintCommandValue(blanks, "/p \"%1\""), quoted + " /p \"%1\"");
  EXPECT_EQ(ExtensionsProfileValue(blanks, ".abc"), quoted + " ^.abc");
  EXPECT_EQ(OpenCommandValue(quoted, ""), quoted + " \"%1\"") << "no second pair of quotes";
}

using Names = std::vector<std::string_view>;

TEST(VariableLists, NameTheVariablesOfASaveAndOfALoad) {
  EXPECT_EQ(VariablesToSave("A\rB"), (Names{"A", "B"}));
  EXPECT_EQ(VariablesToSave("A\rB\r"), (Names{"A", "B"}));
  EXPECT_EQ(VariablesToSave("A\r\rB"), (Names{"A", "B"}));
  EXPECT_EQ(VariablesToSave(""), Names{});
  EXPECT_EQ(VariablesToSave("\r"), Names{});

  EXPECT_EQ(VariablesToLoad("A\rB", '\r'), (Names{"A", "B"}));
  EXPECT_EQ(VariablesToLoad("A\rB\r", '\r'), (Names{"A", "B"}));
  EXPECT_EQ(VariablesToLoad("A\r\rB", '\r'), Names{"A"}) << "an empty line ends the list";
  EXPECT_EQ(VariablesToLoad(std::string_view("one\0two\0\0three", 15), '\0'), (Names{"one", "two"}));
  EXPECT_EQ(VariablesToLoad("", '\r'), Names{});
}

}  // namespace
