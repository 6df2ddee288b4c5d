#include "cmi_xtra/aicc_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cmi_xtra/message_table.h"
#include "visible_text.h"

namespace {

using testing_support::Visible;

struct SectionCase {
  const char* file;
  const char* section;
  const char* expected;
};

TEST(SectionText, ReadsTheSectionsLinesAsTheHostWroteThem) {
  const SectionCase cases[] = {
      // 0: a middle section loses the CR LF after its last line
      {"[Core]\r\nA=1\r\n[Core_Lesson]\r\nline one\r\nline two\r\n[Core_Vendor]\r\nv\r\n", "Core_Lesson",
       "line one\r\nline two"},
      // the last section keeps it
      {"[Core]\r\nA=1\r\n[Core_Vendor]\r\nv\r\n", "Core_Vendor", "v\r\n"},
      {"[Core]\r\nA=1\r\n", "Core_Lesson", ""},
      {"", "Core_Lesson", ""},
      {"[core_lesson]\r\nx\r\n", "Core_Lesson", "x\r\n"},
      // 5: the header may go on after its bracket, but a longer name is another section
      {"[Core_Lesson] ; kept\r\nx\r\n", "Core_Lesson", "x\r\n"},
      {"[Core_Lessons]\r\nx\r\n", "Core_Lesson", ""},
      {"[S]\ra\rb\r[T]\rc\r", "S", "a\r\nb"},
      {"[S]\na\nb\n[T]\nc\n", "S", "a\r\nb"},
      {"[S]\r\na\r\n\r\nb\r\n[T]\r\n", "S", "a\r\n\r\nb"},
      // 10
      {"[S]\r\na\r\n\r\n[T]\r\n", "S", "a\r\n"},
      {"[S]\r\n[T]\r\n", "S", ""},
      {"[T]\r\nx=[S]\r\n[S]\r\nreal\r\n", "S", "real\r\n"},
      {"[S]\r\nabc", "S", "abc\r\n"},
      {"[S]", "S", ""},
      // 15: a header is only at the start of a line
      {"a[S]\r\nb\r\n", "S", ""},
      {"[S]\r\na\r\n[not closed\r\nb\r\n", "S", "a"},
      {"[S]\r\na\n\rb\r\n", "S", "a\r\n\r\nb\r\n"},
      {"[S]\r\n  indented = kept  \r\n", "S", "  indented = kept  \r\n"},
      {"[S]\r\nfirst\r\n[S]\r\nsecond\r\n", "S", "first"},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const SectionCase& c = cases[row];
    EXPECT_EQ(Visible(lmint::sectionText(c.file, c.section)), Visible(c.expected))
        << "row " << row << " file '" << Visible(c.file) << "' section " << c.section;
  }
}

TEST(SectionText, StopsBeforeTheTextWouldPassThirtyThousandBytes) {
  std::string file = "[S]\r\n";
  for (int i = 0; i < 4000; ++i) file += "123456789\r\n";
  const std::string text = lmint::sectionText(file, "S");
  // Each line costs 11 bytes; the 2728th would make 29997 + 1 + 9 > 30000.
  EXPECT_EQ(text.size(), 2727u * 11u);
  EXPECT_EQ(text.substr(text.size() - 11), "123456789\r\n");
}

struct SpliceCase {
  std::optional<const char*> file;
  const char* section;
  const char* text;
  const char* expected;
};

TEST(WithSection, ReplacesOrAddsTheSection) {
  const SpliceCase cases[] = {
      // 0: a new file
      {std::nullopt, "comments", "<1>a<e.1>", "[comments]\r\n<1>a<e.1>"},
      {"[Core]\r\nScore=5\r\n", "comments", "X", "[Core]\r\nScore=5\r\n\r\n[comments]\r\nX"},
      {"[Core]\r\nScore=5", "comments", "X", "[Core]\r\nScore=5\r\n[comments]\r\nX"},
      {"[Core]\r\nA=1\r\n[comments]\r\nold\r\nolder\r\n", "comments", "new",
       "[Core]\r\nA=1\r\n[comments]\r\nnew"},
      {"[comments]\r\nold\r\n[Core]\r\nA=1\r\n", "comments", "new", "[comments]\r\nnew\r\n[Core]\r\nA=1\r\n"},
      // 5: lone CRs in the text become CR LF; CR LF stays
      {std::nullopt, "S", "a\rb\r", "[S]\r\na\r\nb\r\n"},
      {std::nullopt, "S", "a\r\nb", "[S]\r\na\r\nb"},
      // the section's own name inside a value is no header
      {"[comments]\r\n<1>see [comments]<e.1>\r\n[Core]\r\nA=1\r\n", "comments", "new",
       "[comments]\r\nnew\r\n[Core]\r\nA=1\r\n"},
      {"[T]\r\nx=[comments]\r\n", "comments", "new", "[T]\r\nx=[comments]\r\n\r\n[comments]\r\nnew"},
      {"[comments]\nold\n[Core]\nA=1\n", "comments", "new", "[comments]\r\nnew\n[Core]\nA=1\n"},
      // 10
      {"[comments]\rold\r[Core]\r", "comments", "new", "[comments]\r\nnew\r[Core]\r"},
      {"[COMMENTS]\r\nold\r\n", "comments", "new", "[comments]\r\nnew"},
      {"", "comments", "X", "\r\n[comments]\r\nX"},
      {"[S]\r\nfirst\r\n[S]\r\nsecond\r\n", "S", "new", "[S]\r\nnew\r\n[S]\r\nsecond\r\n"},
      {"[S]\r\n[T]\r\n", "S", "new", "[S]\r\nnew\r\n[T]\r\n"},
      // 15: a name that begins another section's name is not that section
      {"[Core_Lessons]\r\nx\r\n", "Core_Lesson", "y", "[Core_Lessons]\r\nx\r\n\r\n[Core_Lesson]\r\ny"},
      {"[A]\r\n1\r\n[S]\r\nold\r\n[B]\r\n2\r\n", "s", "", "[A]\r\n1\r\n[s]\r\n\r\n[B]\r\n2\r\n"},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const SpliceCase& c = cases[row];
    std::optional<std::string_view> file;
    if (c.file) file = *c.file;
    EXPECT_EQ(Visible(lmint::withSection(file, c.section, c.text)), Visible(c.expected)) << "row " << row;
  }
}

TEST(Sections, LongNamesAreUsedWhole) {
  const std::string name(200, 'n');
  const std::string file = lmint::withSection("[" + name + "x]\r\nother\r\n", name, "mine");
  EXPECT_EQ(file, "[" + name + "x]\r\nother\r\n\r\n[" + name + "]\r\nmine");
  EXPECT_EQ(lmint::sectionText(file, name), "mine\r\n");
  EXPECT_EQ(lmint::sectionText(file, name + "x"), "other\r\n");
}

TEST(WithSection, WhatIsWrittenReadsBack) {
  const std::string text = "one\r\ntwo\rthree";
  const std::string file = lmint::withSection("[Core]\r\nA=1\r\n[S]\r\nold\r\n[B]\r\nb=1\r\n", "S", text);
  EXPECT_EQ(Visible(lmint::sectionText(file, "S")), Visible("one\r\ntwo\r\nthree"));
  EXPECT_EQ(Visible(lmint::sectionText(file, "B")), Visible("b=1\r\n"));
}

TEST(LineEnds, ExpandLoneCRAndTrimLineEnd) {
  struct Case {
    const char* text;
    const char* expanded;
    const char* trimmed;
  };
  const Case cases[] = {
      {"", "", ""},
      {"a\rb", "a\r\nb", "a\rb"},
      {"a\r\nb\r\n", "a\r\nb\r\n", "a\r\nb"},
      {"\r\r\n\r", "\r\n\r\n\r\n", ""},
      {"a\n\r", "a\n\r\n", "a"},  // 5
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(Visible(lmint::expandLoneCR(c.text)), Visible(c.expanded)) << "row " << row;
    std::string t = c.text;
    lmint::trimLineEnd(t);
    EXPECT_EQ(Visible(t), Visible(c.trimmed)) << "row " << row;
  }
}

TEST(StatusWords, HasLetter) {
  struct Case {
    const char* status;
    char letter;
    bool expected;
  };
  const Case cases[] = {
      {"Completed,Time-out", 'C', true},
      {"Completed,Time-out", 'P', false},
      {"Completed,Time-out", 'T', true},
      {"2c", 'C', true},
      {"", 'C', false},
      {"xc", 'C', false},  // 5
      {"incomplete", 'I', true},
      {"a,p", 'P', true},
      {"passed", 'F', false},
      {" f", 'F', true},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(lmint::statusHasLetter(c.status, c.letter), c.expected)
        << "row " << row << " status '" << c.status << "' letter " << c.letter;
  }
}

TEST(StatusWords, SetLetter) {
  struct Case {
    const char* status;
    char letter;
    std::string_view set;
    const char* expected;
  };
  const Case cases[] = {
      {"I", 'C', lmint::lessonStatusLetters, "C"},
      {"C,T", 'P', lmint::lessonStatusLetters, "T,P"},
      {"P", 'T', lmint::exitLetters, "P,T"},
      {"P,T", 'L', lmint::exitLetters, "P,L"},
      {"", 'F', lmint::lessonStatusLetters, "F"},
      {"C", 'c', lmint::lessonStatusLetters, "c"},  // 5
      {"incomplete,logout", 'T', lmint::exitLetters, "incomplete,T"},
      {"Time-out", 'P', lmint::lessonStatusLetters, "Time-out,P"},
      {"P,", 'L', lmint::exitLetters, "P,L"},
      {"passed, browsed", 'F', lmint::lessonStatusLetters, "browsed,F"},
      // 10: a long status has no fixed buffer to overflow
      {"passed,xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
       "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
       'T', lmint::exitLetters,
       "passed,xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
       "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx,T"},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(lmint::statusSetLetter(c.status, c.letter, c.set), c.expected)
        << "row " << row << " status '" << c.status << "' letter " << c.letter;
  }
}

TEST(Numbers, DecimalValueIsAtol) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"  42x", 42},
      {"-7", -7},
      {"+3", 3},
      {"", 0},
      {"abc", 0},  // 5
      {"\t\r\n 12", 12},
      {"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
      {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"- 5", 0},  // 10
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    EXPECT_EQ(lmint::decimalValue(cases[row].text), cases[row].expected) << "row " << row;
  }
}

TEST(Numbers, TimeBothWays) {
  struct ReadCase {
    const char* text;
    std::int32_t seconds;
  };
  // clang-format off
  const ReadCase reads[] = {
      {"1:2:5", 3725},
      {"5", 18000},
      {"01:02:05", 3725},
      {"", 0},
      {"1:xx:5", 3605},  // 5
      {"0:90", 5400},
      {"999999:0:0", std::numeric_limits<std::int32_t>::max()},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(reads); ++row) {
    EXPECT_EQ(lmint::timeToSeconds(reads[row].text), reads[row].seconds) << "row " << row;
  }
  struct WriteCase {
    std::int32_t seconds;
    const char* text;
  };
  const WriteCase writes[] = {
      {3725, "01:02:05"}, {0, "00:00:00"}, {59, "00:00:59"}, {360000, "100:00:00"}, {86399, "23:59:59"},
  };
  for (size_t row = 0; row < std::size(writes); ++row) {
    EXPECT_EQ(lmint::secondsToTime(writes[row].seconds), writes[row].text) << "row " << row;
  }
}

TEST(Keys, NumbersAreWrittenWhole) {
  EXPECT_EQ(lmint::numberedKey("J_ID", 7), "J_ID.7");
  // A 16-bit print would have made this SCORE.4464.
  EXPECT_EQ(lmint::numberedKey("SCORE", 70000), "SCORE.70000");
  EXPECT_EQ(lmint::numberedKey("LESSON_STATUS", -1), "LESSON_STATUS.-1");
}

TEST(Launch, ParamPath) {
  EXPECT_EQ(lmint::paramPathIn("C:\\WINDOWS"), "C:\\WINDOWS\\PARAM.CMI");
  EXPECT_EQ(lmint::paramPathIn("C:\\"), "C:\\PARAM.CMI");
}

TEST(Launch, FileNamesAreTakenInTheLaunchFilesDirectory) {
  struct Case {
    const char* directory;
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\", "result.cmi", "C:\\WINDOWS\\result.cmi"},
      {"C:\\WINDOWS", "result.cmi", "C:\\WINDOWS\\result.cmi"},
      {"C:\\WINDOWS\\", "lessons\\result.cmi", "C:\\WINDOWS\\lessons\\result.cmi"},
      {"C:\\WINDOWS\\", "..\\out\\result.cmi", "C:\\WINDOWS\\..\\out\\result.cmi"},
      {"C:\\", "result.cmi", "C:\\result.cmi"},
      // 5: absolute names as they are
      {"C:\\WINDOWS\\", "D:\\lumeno\\result.cmi", "D:\\lumeno\\result.cmi"},
      {"C:\\WINDOWS\\", "d:/lumeno/result.cmi", "d:/lumeno/result.cmi"},
      {"C:\\WINDOWS\\", "\\\\server\\share\\result.cmi", "\\\\server\\share\\result.cmi"},
      // the root of the launch file's drive or share
      {"C:\\WINDOWS\\", "\\lumeno\\result.cmi", "C:\\lumeno\\result.cmi"},
      {"\\\\server\\share\\win\\", "\\result.cmi", "\\\\server\\share\\result.cmi"},
      // 10: a drive's current directory: the launch file's on its own drive
      {"C:\\WINDOWS\\", "c:result.cmi", "C:\\WINDOWS\\result.cmi"},
      {"C:\\WINDOWS\\", "D:result.cmi", "D:result.cmi"},
      {"C:\\WINDOWS\\", "", ""},
      {"", "result.cmi", "result.cmi"},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row) + ": " + cases[row].name);
    EXPECT_EQ(lmint::resolvedFilePath(cases[row].directory, cases[row].name), cases[row].path);
  }
}

TEST(Comments, OneLineEach) {
  EXPECT_EQ(lmint::commentEntry(3, "first\r\nsecond"), "<3>first<cr>second<e.3>");
  EXPECT_EQ(lmint::commentEntry(1000, "x"), "<1000>x<e.1000>");
  EXPECT_EQ(lmint::commentEntry(1, "a\nb\r"), "<1>ab<cr><e.1>");
  EXPECT_EQ(lmint::commentEntry(-2, ""), "<-2><e.-2>");
}

TEST(Interactions, CustomTokens) {
  using V = std::vector<std::string>;
  EXPECT_EQ(lmint::customTokens("a=1\r\nb=2"), (V{"a", "1", "b", "2"}));
  EXPECT_EQ(lmint::customTokens("==a==\r\n\r\n"), (V{"a"}));
  EXPECT_EQ(lmint::customTokens(""), V{});
  const std::string longName(150, 'k');
  const std::string longValue(300, 'v');
  EXPECT_EQ(lmint::customTokens(longName + "=" + longValue), (V{longName, longValue}));
  std::string many;
  for (int i = 0; i < 80; ++i) many += "n" + std::to_string(i) + "=v\n";
  const V tokens = lmint::customTokens(many);
  ASSERT_EQ(tokens.size(), 100u);
  EXPECT_EQ(tokens.back(), "v");
  EXPECT_EQ(tokens[98], "n49");
}

TEST(Interactions, HeaderAndRecordLines) {
  const std::string plainHeader =
      "\"course_id\",\"student_id\",\"lesson_id\",\"date\",\"time\",\"interaction_id\","
      "\"objective_id\",\"type_interaction\",\"correct_response\",\"student_response\","
      "\"result\",\"weighting\",\"latency\"";
  EXPECT_EQ(lmint::interactionHeader({}), plainHeader + "\r\n");
  EXPECT_EQ(lmint::interactionHeader({"a", "1", "b", "2"}), plainHeader + ",\"a\",\"b\"\r\n");

  lmint::InteractionRecord r{"PHYS1", "S042", "24/05/99", "10:15:00", "q1", "obj1",
                             "C",     "b",    "b",        "C",        "1",  "00:00:12"};
  EXPECT_EQ(lmint::interactionLine(r, {}),
            "\"PHYS1\",\"S042\",\"\",\"24/05/99\",\"10:15:00\",\"q1\",\"obj1\",\"C\",\"b\",\"b\","
            "\"C\",\"1\",\"00:00:12\"\r\n");
  r.studentResponse = "say \"hi\", twice";
  EXPECT_EQ(lmint::interactionLine(r, {"a", "1", "b"}),
            "\"PHYS1\",\"S042\",\"\",\"24/05/99\",\"10:15:00\",\"q1\",\"obj1\",\"C\",\"b\","
            "\"say \"\"hi\"\", twice\",\"C\",\"1\",\"00:00:12\",\"1\",\"\"\r\n");
}

TEST(MessageTable, EqualsTheFixtureByteForByte) {
  std::ifstream in(LMINT_FIXTURES "/msg_table.txt", std::ios::binary);
  ASSERT_TRUE(in) << LMINT_FIXTURES "/msg_table.txt";
  const std::string fixture((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string& text = lmint::messageTableText();
  EXPECT_EQ(text, fixture);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 52);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

}  // namespace
