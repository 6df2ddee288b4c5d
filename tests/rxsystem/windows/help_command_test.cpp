// The help command language: splitting a command, the words it knows, its numbers, and the
// window-position record a "winpos" command becomes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system_services/windows/help_command.h"

using namespace rxsystem;

namespace {

TEST(HelpCommand, SplitsTheWordFromItsOperand) {
  struct Case {
    const char* command;
    const char* word;
    const char* operand;
  };
  const Case cases[] = {
      // 0
      {"Context 42", "context", "42"},
      {"topic  Getting started", "topic", "Getting started"},
      {"macro   JumpId(\"a.hlp\", \"x\")  ", "macro", "JumpId(\"a.hlp\", \"x\")  "},
      {"CONTENTS", "contents", ""},
      {"contents   ", "contents", ""},
      // 5
      {"WinPos 2 0 0", "winpos", "2 0 0"},
      {" context 4", "", "context 4"},
      {"", "", ""},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": \"" + c.command + "\"");
    HelpCommandParts parts = SplitHelpCommand(c.command);
    EXPECT_EQ(parts.word, c.word);
    EXPECT_EQ(parts.operand, c.operand);
  }
}

TEST(HelpCommand, KnowsExactlyItsSixWords) {
  struct Case {
    const char* word;
    bool known;
    uint32_t request;
    HelpOperandKind operand;
  };
  const Case cases[] = {
      // 0
      {"contents", true, 3, HelpOperandKind::None},
      {"context", true, 1, HelpOperandKind::Number},
      {"popup", true, 8, HelpOperandKind::Number},
      {"topic", true, 0x105, HelpOperandKind::Text},
      {"macro", true, 0x102, HelpOperandKind::Text},
      // 5
      {"winpos", true, 0x203, HelpOperandKind::WindowPosition},
      {"Context", false, 0, HelpOperandKind::None},  // words arrive lower-cased
      {"contexts", false, 0, HelpOperandKind::None},
      {"cont", false, 0, HelpOperandKind::None},
      {"", false, 0, HelpOperandKind::None},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.word);
    auto kind = HelpRequestFor(c.word);
    ASSERT_EQ(kind.has_value(), c.known);
    if (!kind) continue;
    EXPECT_EQ(kind->request, c.request);
    EXPECT_EQ(kind->operand, c.operand);
  }
}

TEST(HelpCommand, ReadsTheLeadingNumberLikeTheHostsAuthorsExpect) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      // 0
      {"42", 42},
      {"  -17", -17},
      {"+8", 8},
      {"12abc", 12},
      {"abc", 0},
      // 5
      {"", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      // 10
      {"-99999999999", -2147483647 - 1},
      {"7 8", 7},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": \"" + c.text + "\"");
    EXPECT_EQ(LeadingNumber(c.text), c.value);
  }
}

TEST(HelpCommand, TakesTheWindowNumbersInTheirFieldOrder) {
  struct Case {
    const char* operand;
    HelpWindowNumbers numbers;  // state, x, y, width, height
  };
  const Case cases[] = {
      // 0
      {"2 0 0 1024 1024", {2, 0, 0, 1024, 1024}},
      {"1 10 20 300 400", {1, 10, 20, 300, 400}},
      {"3", {3, 1, 1, 256, 256}},
      {"", {0, 1, 1, 256, 256}},
      {"1 5 6", {1, 5, 6, 256, 256}},
      // 5: runs of blanks end one number each
      {"1   5    6", {1, 5, 6, 256, 256}},
      // a trailing run of blanks adds a number 0 in the next field
      {"2 ", {2, 0, 1, 256, 256}},
      {"2 0 0 1024 ", {2, 0, 0, 1024, 0}},
      // beyond five numbers the ones before the last are passed over
      {"1 2 3 4 5 6 7", {1, 2, 3, 4, 7}},
      {"1 2 3 4 5 6 ", {1, 2, 3, 4, 0}},
      // 10
      {"x 10 y", {0, 10, 0, 256, 256}},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": \"" + c.operand + "\"");
    HelpWindowNumbers n = ParseWindowNumbers(c.operand);
    EXPECT_EQ(n.state, c.numbers.state);
    EXPECT_EQ(n.x, c.numbers.x);
    EXPECT_EQ(n.y, c.numbers.y);
    EXPECT_EQ(n.width, c.numbers.width);
    EXPECT_EQ(n.height, c.numbers.height);
  }
}

int32_t FieldAt(const std::string& record, size_t index) {
  int32_t value;
  std::memcpy(&value, record.data() + 4 * index, 4);
  return value;
}

TEST(HelpCommand, BuildsTheViewersWindowRecord) {
  struct Case {
    HelpWindowNumbers numbers;
    const char* name;
    int32_t fields[6];  // size, x, y, width, height, show state
  };
  const Case cases[] = {
      // 0
      {{2, 0, 0, 1024, 1024}, "proc", {32, 1, 1, 1024, 1024, 3}},
      {{1, 100, 200, 300, 400}, "main", {32, 100, 200, 300, 400, 6}},
      {{3, -5, 7, -1, 0}, "", {28, 1, 7, -1, 0, 0}},
      {{0, 1, 1, 256, 256}, "w", {29, 1, 1, 256, 256, 1}},
      {{4, 1, 1, 256, 256}, "w", {29, 1, 1, 256, 256, 1}},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    std::string record = HelpWindowRecord(c.numbers, c.name);
    ASSERT_EQ(record.size(), static_cast<size_t>(c.fields[0]));
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(FieldAt(record, i), c.fields[i]) << "field " << i;
    EXPECT_EQ(record.substr(24), std::string(c.name) + std::string(4, '\0'));
  }
}

}  // namespace
